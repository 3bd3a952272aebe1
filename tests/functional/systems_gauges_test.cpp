// Filled in by the gauges' work.
