#include "scenario/scenario_pictures.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include "render/contact_sheet.h"
#include "render/picture_compare.h"
#include "render/surface.h"
#include "sim/module_run.h"

namespace {

std::string SizeText(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

scenario::Problem ProblemAt(const scenario::Location& where, std::string what) {
    scenario::Problem problem;
    problem.where = where;
    problem.what = std::move(what);
    return problem;
}

}  // namespace

std::string ScenarioPictures::Open(ModuleHost& host, Simulator& simulator) {
    if (std::string error = render::ReadPanelLayout(settings_.layoutPath, layout_); !error.empty()) return error;
    if (!std::filesystem::is_directory(settings_.bitmapFolder))
        return "the bitmap folder " + settings_.bitmapFolder + " is missing";
    host_ = &host;
    simulator_ = &simulator;
    std::error_code ignored;
    std::filesystem::create_directories(settings_.outputFolder, ignored);
    for (std::uint32_t ident : render::InitiallyVisibleIdents(layout_)) simulator.ShowWindow(ident, true);
    bitmaps_ = std::make_unique<render::BitmapStore>(settings_.bitmapFolder);
    renderer_ = std::make_unique<render::GaugeRenderer>(*bitmaps_);
    directory_ = std::make_unique<render::GaugeDirectory>(host.gauges(), settings_.moduleName);
    render::PlaceGauges(layout_, *directory_, *renderer_, host);
    return std::string();
}

std::vector<scenario::Problem> ScenarioPictures::Loaded(ModuleRun& run, const scenario::Scenario& scenario) {
    if (std::string error = Open(run.host(), run.simulator()); !error.empty())
        std::cerr << "avrion-scenario: warning: no pictures: " << error << "\n";
    std::vector<scenario::Problem> problems;
    scenario_ = &scenario;
    references_.assign(scenario.pictures.size(), {});
    for (std::size_t i = 0; i < scenario.pictures.size(); ++i) {
        const scenario::Picture& picture = scenario.pictures[i];
        if (picture.reference.empty()) continue;
        if (!renderer_) {
            problems.push_back(ProblemAt(
                picture.where, "the picture cannot be compared with " + picture.reference + ": no pictures are taken"));
            continue;
        }
        const render::PanelWindow* window = picture.window            ? layout_.FindByIdent(*picture.window)
                                            : layout_.windows.empty() ? nullptr
                                                                      : &layout_.windows.front();
        if (window == nullptr) {
            problems.push_back(ProblemAt(picture.where, (picture.window ? "window " + std::to_string(*picture.window)
                                                                        : std::string("a window")) +
                                                            " is not in the panel layout " + layout_.source));
            continue;
        }
        Reference& reference = references_[i];
        reference.window = window->ident;
        reference.path =
            (std::filesystem::path(settings_.scenarioFolder) / picture.reference).lexically_normal().string();
        if (settings_.rewrite) continue;
        std::error_code error;
        if (!std::filesystem::is_regular_file(reference.path, error)) {
            problems.push_back(ProblemAt(picture.where, "the reference picture " + picture.reference + " (" +
                                                            reference.path +
                                                            ") is missing; --update-references writes it"));
            continue;
        }
        render::PictureSize size;
        if (std::string fault = render::ReadPictureSize(reference.path, size); !fault.empty()) {
            problems.push_back(
                ProblemAt(picture.where, "the reference picture " + picture.reference + " cannot be read: " + fault));
            continue;
        }
        const render::Size drawn = render::WindowSize(*window, *directory_, *renderer_);
        if (size.width != drawn.width || size.height != drawn.height)
            problems.push_back(ProblemAt(picture.where, "the reference picture " + picture.reference + " is " +
                                                            SizeText(size.width, size.height) + " pixels, but window " +
                                                            std::to_string(window->ident) + " is drawn " +
                                                            SizeText(drawn.width, drawn.height)));
    }
    fits_ = problems.empty();
    return problems;
}

void ScenarioPictures::AfterFrame() {
    if (!renderer_) return;
    renderer_->BeginFrame();
    for (const render::PanelWindow* window : render::ShownWindows(layout_, *simulator_))
        render::UpdateWindow(*window, *directory_, *renderer_);
}

std::optional<std::string> ScenarioPictures::PictureMoment(const scenario::Picture& picture, double time) {
    if (!renderer_) return std::string();
    scenario::PictureMoment moment;
    // The scenario's own list, of which picture is an entry.
    moment.picture = scenario_ != nullptr ? static_cast<std::size_t>(&picture - scenario_->pictures.data()) : 0;
    moment.time = time;
    std::string comparedFile;
    const bool compared =
        scenario_ != nullptr && moment.picture < references_.size() && !references_[moment.picture].path.empty();
    if (compared) moment.window = references_[moment.picture].window;
    for (const render::PanelWindow* window : render::ShownWindows(layout_, *simulator_)) {
        render::Surface drawn = render::DrawWindow(*window, *directory_, *renderer_);
        const std::string fileName = picture.name + "-window" + std::to_string(window->ident) + ".png";
        if (!Write(drawn.get(), fileName)) continue;
        moment.windows.emplace_back(window->ident, fileName);
        if (compared && window->ident == moment.window) comparedFile = fileName;
    }
    if (compared) {
        if (comparedFile.empty())
            moment.failure = "window " + std::to_string(moment.window) + " is not shown (or was not drawn), so it " +
                             "cannot be compared with " + picture.reference;
        else
            moment.failure = Compare(picture, comparedFile, moment);
    }
    std::string failure = moment.failure;
    moments_.push_back(std::move(moment));
    return failure;
}

std::string ScenarioPictures::Compare(const scenario::Picture& picture, const std::string& actualFile,
                                      scenario::PictureMoment& moment) {
    const std::filesystem::path folder(settings_.outputFolder);
    const std::string& reference = references_[moment.picture].path;
    moment.reference = reference;
    std::error_code error;
    if (settings_.rewrite) {
        std::filesystem::create_directories(std::filesystem::path(reference).parent_path(), error);
        std::filesystem::copy_file(folder / actualFile, reference, std::filesystem::copy_options::overwrite_existing,
                                   error);
        if (error) return "cannot write the reference picture " + reference + ": " + error.message();
        moment.rewritten = true;
        return std::string();
    }
    const std::string stem = std::filesystem::path(actualFile).stem().string();
    const std::string differenceFile = stem + "-difference.png";
    const std::string copyFile = stem + "-reference.png";
    // Those of an earlier run into the same folder would tell of a mismatch this run did not have.
    std::filesystem::remove(folder / differenceFile, error);
    std::filesystem::remove(folder / copyFile, error);
    const render::PictureDifference difference = render::ComparePictures(
        (folder / actualFile).string(), reference, picture.threshold, (folder / differenceFile).string());
    if (!difference.error.empty()) return "cannot compare it with " + picture.reference + ": " + difference.error;
    moment.differing = difference.differing;
    if (difference.differing <= picture.tolerance) return std::string();
    if (std::filesystem::exists(folder / differenceFile, error)) moment.difference = differenceFile;
    std::filesystem::copy_file(reference, folder / copyFile, std::filesystem::copy_options::overwrite_existing, error);
    if (!error) moment.referenceCopy = copyFile;
    return std::to_string(difference.differing) + " pixels of window " + std::to_string(moment.window) +
           " differ from " + picture.reference + " (tolerance " + std::to_string(picture.tolerance) + ", threshold " +
           scenario::FormatNumber(picture.threshold) + "); actual " + actualFile +
           (moment.difference.empty() ? std::string() : ", difference " + moment.difference);
}

bool ScenarioPictures::Write(cairo_surface_t* picture, const std::string& fileName) {
    const std::string path = (std::filesystem::path(settings_.outputFolder) / fileName).string();
    if (std::string error = render::WritePng(picture, path); !error.empty()) {
        problems_.push_back(error);
        return false;
    }
    written_.push_back(path);
    return true;
}

void ScenarioPictures::End(scenario::RunRecord& record) {
    if (!fits_) return;
    if (renderer_) {
        render::Surface sheet = render::DrawContactSheet(host_->gauges(), *renderer_);
        Write(sheet.get(), "contact-sheet.png");
    }
    record.notWritten.insert(record.notWritten.end(), problems_.begin(), problems_.end());
    record.pictures = moments_;
    record.picturesWritten = written_.size();
    for (const std::string& path : written_)
        if (std::filesystem::path(path).filename() == "contact-sheet.png") record.contactSheet = "contact-sheet.png";
}
