// Where a needle points: its angle for a value, from its point table, and its travel from frame to frame.
//
// Angles are degrees from the +x axis, growing clockwise on the screen (y grows downwards), which is the sense in
// which cairo turns a bitmap drawn pointing to the right. They are unwrapped along the table: each entry's angle is
// the previous one's plus the shorter turn between the two directions (a half turn counts as clockwise), so a table
// going once round a dial runs from its first angle to that plus nearly 360 degrees and the needle never cuts across
// the dial's stop.
#pragma once

#include <optional>

#include "frame/panel_records.h"

namespace render {

// The angle the needle takes for the value: the table's angle interpolated by value between the neighbouring
// entries that bracket it (the first pair that does, for a table whose values go back and forth), a value beyond the
// table's values being clamped to them. Nothing for an empty table or a NaN value.
//
// The angles of the entries are interpolated rather than the points themselves: points on a line through the pivot
// (a knob's "up" and "down") would otherwise pass through the pivot, where the needle has no direction.
std::optional<double> NeedleAngle(PIXPOINT pivot, const NEEDLE_POINT* points, int pointCount, double value);

// One update's travel: from the current angle toward the target by at most maxTurnDegrees (no limit when it is 0 or
// less).
double TurnToward(double currentDegrees, double targetDegrees, double maxTurnDegrees);

}  // namespace render
