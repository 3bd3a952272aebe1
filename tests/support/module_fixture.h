// A freshly loaded gauge module in the host, as the simulator runs it: the
// simulator stand-in, sibling modules holding the shared slots, frames,
// clicks, and element values and texts by gauge name and element index.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "loader/module_host.h"
#include "sim/gauge_access.h"
#include "sim/module_run.h"
#include "support/module_file.h"

// A run of the built module on the shipped simulator root, in the test's own
// table of named objects (AVRION_KERNEL_OBJECTS), not yet loaded.
inline std::unique_ptr<ModuleRun> TestRun(RunSetup setup = {}) {
    setup.simRoot = AVRION_SIM_ROOT;
    setup.modulePath = BuiltModulePath();
    setup.table = RunSetup::Table::kAsItIs;
    std::string error;
    auto run = ModuleRun::Open(setup, error);
    if (!run) {
        ADD_FAILURE() << "no run: " << error;
        std::abort();
    }
    return run;
}

class ModuleFixture : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(run_->Load(), ""); }
    void TearDown() override {
        EXPECT_TRUE(host.TextBuffersIntact()) << "a text callback wrote past its buffer";
        run_->Unload();
    }

    GAUGEHDR* Gauge(const char* name) {
        GAUGEHDR* gauge = host.FindGauge(name);
        EXPECT_NE(gauge, nullptr) << name;
        return gauge;
    }
    // Element by its place in the chain, 1 being the background.
    ELEMENT_HEADER* Element(const char* gauge, int number) {
        const auto elements = gauge_access::Elements(Gauge(gauge));
        EXPECT_LE(number, static_cast<int>(elements.size())) << gauge;
        return number <= static_cast<int>(elements.size()) ? elements[number - 1] : nullptr;
    }
    double Value(const char* gauge, int number) { return gauge_access::ElementValue(Element(gauge, number)); }
    std::string Text(const char* gauge, int number) { return gauge_access::ElementText(Element(gauge, number)); }

    // A click on the middle of child area n (1 = first in the list).
    bool ClickArea(const char* gauge, int area, std::uint32_t flags = mouse_flag::kLeftSingle) {
        const auto areas = gauge_access::ChildAreas(Gauge(gauge));
        if (area < 1 || area > static_cast<int>(areas.size())) {
            ADD_FAILURE() << gauge << " has no mouse area " << area;
            return false;
        }
        const auto& box = areas[area - 1];
        return gauge_access::DeliverMouse(Gauge(gauge), box.x + box.width / 2, box.y + box.height / 2, flags);
    }
    // A press held for some frames and released, as the simulator reports it.
    void PressArea(const char* gauge, int area, int heldFrames = 1) {
        ClickArea(gauge, area, mouse_flag::kLeftSingle);
        for (int i = 0; i < heldFrames; ++i) {
            host.RunFrame();
            ClickArea(gauge, area, mouse_flag::kLeftRepeat);
        }
        ClickArea(gauge, area, mouse_flag::kLeftRelease);
    }
    void Frames(int count) {
        for (int i = 0; i < count; ++i) host.RunFrame();
    }

private:
    std::unique_ptr<ModuleRun> run_ = TestRun();

protected:
    Simulator& simulator = run_->simulator();
    SiblingModules& siblings = run_->siblings();
    ModuleHost& host = run_->host();
};
