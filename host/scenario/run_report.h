// The report page of a run (report.html in its output folder) and the index
// page of several runs. Each page is a template from the program's
// report-files folder with the run's data inserted as JSON; its script, style
// and charting library (uPlot) are copied beside it, so that the page opens
// from disk with no network.
#pragma once

#include <string>
#include <vector>

#include "scenario/run_record.h"

namespace report {

using scenario::RunRecord;

// The folder of the templates and scripts: report-files beside the program.
std::string AssetsFolder();

// Each returns an empty string on success, else what could not be written.
std::string WriteReport(const RunRecord& run, const std::string& assetsFolder);
// links: each run's report page relative to the index's folder.
std::string WriteIndex(const std::vector<const RunRecord*>& runs, const std::vector<std::string>& links,
                       const std::string& folder, const std::string& assetsFolder);

}  // namespace report
