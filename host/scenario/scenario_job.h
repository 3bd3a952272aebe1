// A scenario as avrion-scenario plays it on Linux: a run of its own, freshly
// loaded, leaving in its output folder trace.csv, summary.txt, the pictures of
// its moments and a contact sheet, the sound recorded in simulator time, the
// report page and junit.xml; and, once every scenario of a call has run, the
// index page and the JUnit file of them all. Each output is an observer.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scenario/run_observer.h"
#include "scenario/run_record.h"
#include "scenario/scenario.h"

class ProgressBar;

namespace scenario {

struct JobSettings {
    // All absolute: the simulator root becomes the working folder while a run lives.
    std::string simRoot;
    std::string modulePath;
    std::string layoutPath;
    std::string bitmapFolder;
    std::string assets;   // the report pages' templates and scripts
    std::string objects;  // a table to share; empty: each run's own
    bool pictures = true;
    bool sound = true;
    bool soundDevice = false;  // play to this machine's output instead of recording
    bool updateReferences = false;
    std::optional<bool> realTime;
};

// scenarioPath (absolute) finds the reference pictures.
RunRecord PlayJob(const Scenario& scenario, const std::string& scenarioPath, const std::string& outputFolder,
                  const JobSettings& settings, ProgressBar* progress);

// The outputs of a call of several scenarios (the index page and a JUnit file
// of all in the output folder) and the JUnit file asked for (--junit).
class CallFiles final : public RunObserver {
public:
    CallFiles(std::string outputRoot, bool several, std::string junitPath, std::string assets)
        : outputRoot_(std::move(outputRoot)), several_(several), junitPath_(std::move(junitPath)),
          assets_(std::move(assets)) {}
    void AllEnded(const std::vector<const RunRecord*>& records) override;

    // Each line a person reads, as written or as not written ("index: ...", "junit: ...").
    const std::vector<std::string>& written() const { return written_; }
    const std::vector<std::string>& notWritten() const { return notWritten_; }

private:
    std::string outputRoot_;
    bool several_;
    std::string junitPath_;
    std::string assets_;
    std::vector<std::string> written_;
    std::vector<std::string> notWritten_;
};

}  // namespace scenario
