// The module as the simulator sees it: its exported records, its frame and
// its generic routines, through the host's loader.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "loader/module_host.h"
#include "sim/gauge_access.h"
#include "sim/simulator.h"
#include "support/gauge_record_checks.h"
#include "support/module_fixture.h"

namespace {

struct GaugeRow {
    const char* name;
    int bitmapId;
};

const GaugeRow kGaugeTable[kGaugeCount] = {
    {"logic", 1281},
    {"PPS", 256},
    {"KAI_487", 312},
    {"AZS_KAI_487", 320},
    {"ITV", 321},
    {"AZS_ITV", 320},
    {"zad_ARD", 336},
    {"SSOS_lamp", 339},
    {"SSOS_btn1", 260},
    {"SSOS_btn2", 260},
    {"SSOS_btn3", 260},
    {"Eng_R_toggl", 341},
    {"zad_SRD_toggl", 341},
    {"Eng_over_toggl", 1289},
    {"AZS_wing_lights", 320},
    {"AZS_ARD_heat", 320},
    {"AZS_door_heat", 320},
    {"AZS_gear_vent", 320},
    {"A723", 353},
    {"AZS_A723", 320},
    {"SO72", 512},
    {"AZS_water_level", 320},
    {"AZS_water_pump1", 320},
    {"AZS_water_pump2", 320},
    {"water_lamp_0", 560},
    {"water_lamp_1_4", 560},
    {"water_lamp_1_2", 560},
    {"water_lamp_1", 560},
    {"water_level_check", 260},
    {"AZS_sliv_heat", 320},
    {"sliv_heat_check_btn", 260},
    {"sliv_heat_lamp", 339},
    {"AZS_Thvost_signal", 320},
    {"Thvost_check_1", 260},
    {"Thvost_check_2", 260},
    {"Thvost_lamp", 1285},
    {"BI_lamp", 1287},
    {"Messages", 592},
    {"test", 1291},
};

class ModuleSpine : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(run->Load(), ""); }

    GAUGEHDR* Gauge(int index) const { return host.gauges().at(index); }
    ELEMENT_HEADER* LogicBackground() const { return Gauge(0)->elements[0]; }

    std::unique_ptr<ModuleRun> run = TestRun();
    Simulator& simulator = run->simulator();
    ModuleHost& host = run->host();
};

TEST_F(ModuleSpine, LinkageListsThe39GaugesInTableOrder) {
    const MODULE_LINKAGE* linkage = host.linkage();
    EXPECT_EQ(linkage->moduleId, 0x13u);
    EXPECT_EQ(linkage->version, 0x900u);
    EXPECT_NE(linkage->moduleInit, nullptr);
    EXPECT_NE(linkage->moduleDeinit, nullptr);
    ASSERT_EQ(host.gauges().size(), static_cast<std::size_t>(kGaugeCount));
    EXPECT_EQ(linkage->gauges[kGaugeCount], nullptr);
    for (int i = 0; i < kGaugeCount; ++i) EXPECT_STREQ(Gauge(i)->name, kGaugeTable[i].name) << i;
}

TEST_F(ModuleSpine, EveryHeaderCarriesItsBackgroundAndAnEmptyMouseFrame) {
    for (int i = 0; i < kGaugeCount; ++i) {
        SCOPED_TRACE(kGaugeTable[i].name);
        const GAUGEHDR* gauge = Gauge(i);
        const bool isLogic = i == 0;
        EXPECT_EQ(gauge->version, isLogic ? 800 : 900);
        EXPECT_EQ(gauge->sizeValue, isLogic ? 1 : 300);

        ASSERT_NE(gauge->elements, nullptr);
        ASSERT_NE(gauge->elements[0], nullptr);
        EXPECT_EQ(gauge->elements[1], nullptr) << "one top-level element";
        const ELEMENT_HEADER* background = gauge->elements[0];
        EXPECT_EQ(background->kind, kElementStaticImage);
        EXPECT_EQ(background->bitmapId, kGaugeTable[i].bitmapId);
        EXPECT_EQ(background->gauge, gauge);
        EXPECT_EQ(gauge_records::ModuleImageFlags(background),
                  isLogic ? image_flag::kHidden | image_flag::kTransparent : image_flag::kTransparent);
        EXPECT_EQ(background->position.x, 0);
        EXPECT_EQ(background->position.y, 0);

        const MOUSERECT* mouse = gauge->mouseRects;
        ASSERT_NE(mouse, nullptr);
        EXPECT_EQ(mouse[0].kind, kMouseParent);
        int end = 0;
        while (mouse[end].kind != kMouseEnd) ++end;
        EXPECT_EQ(mouse[end - 1].kind, kMouseCloseParent);
        EXPECT_EQ(mouse[end].cursor, -1);
    }
}

// Where a record were shorter than the simulator's, the simulator's writes to
// its own fields would land on the next record.
TEST_F(ModuleSpine, EveryRecordHasTheSimulatorsSizeToItself) {
    host.RunFrame();
    gauge_records::ExpectRecordsApart(host.gauges());
}

// The host plays the simulator's part in the records too, so that a module
// reading a byte of the simulator's would read what the simulator put there.
TEST_F(ModuleSpine, TheHostWritesTheSimulatorsFieldsAsItCreatesAndDrawsTheGauges) {
    host.PlaceGauge("PPS", {.position = {12, 34}, .size = {545, 412}, .parameters = "night"});
    host.RunFrame();
    for (const GAUGEHDR* gauge : host.gauges()) {
        SCOPED_TRACE(gauge->name);
        EXPECT_NE(gauge->flags, 0u);
        EXPECT_NE(gauge->reserved200, nullptr);
        ASSERT_NE(gauge->parameters, nullptr);
        for (const ELEMENT_HEADER* element : gauge_access::Elements(gauge)) {
            EXPECT_EQ(element->previousPosition.x, element->position.x);
            EXPECT_EQ((element->imageFlags & image_flag::kOnScreen) != 0,
                      (element->imageFlags & image_flag::kHidden) == 0);
            if (element->kind == kElementString) {
                const auto* string = reinterpret_cast<const ELEMENT_STRING*>(element);
                EXPECT_GT(string->charWidth, 0);
                EXPECT_EQ(string->charHeight, string->boxHeight);
            }
        }
    }
    const GAUGEHDR* pps = host.FindGauge("PPS");
    EXPECT_EQ(pps->position.y, 34);
    EXPECT_EQ(pps->sizePixels.x, 545);
    EXPECT_STREQ(pps->parameters, "night");
}

TEST_F(ModuleSpine, AllHeadersShareTheSevenRoutinesAndOnlyLogicDrivesTheFrame) {
    const GAUGEHDR* logic = Gauge(0);
    std::set<GaugeCallback> idleCallbacks;
    for (int i = 1; i < kGaugeCount; ++i) {
        const GAUGEHDR* gauge = Gauge(i);
        EXPECT_EQ(gauge->routine1, logic->routine1);
        EXPECT_EQ(gauge->routine2, logic->routine2);
        EXPECT_EQ(gauge->routine3, logic->routine3);
        EXPECT_EQ(gauge->routine4, logic->routine4);
        EXPECT_EQ(gauge->routine5, logic->routine5);
        EXPECT_EQ(gauge->routine6, logic->routine6);
        EXPECT_EQ(gauge->routine7, logic->routine7);
        idleCallbacks.insert(gauge->callback);
    }
    EXPECT_EQ(idleCallbacks.size(), 1u);
    EXPECT_EQ(idleCallbacks.count(logic->callback), 0u);
}

TEST_F(ModuleSpine, AFrameTakesOneSnapshotOfAllNineteenVariables) {
    host.RunFrame();
    EXPECT_EQ(simulator.frameLookups().size(), 19u);
    EXPECT_EQ(simulator.frameAircraftQueries().size(), 1u);
    host.RunFrame();
    EXPECT_EQ(simulator.frameLookups().size(), 19u);
    EXPECT_EQ(simulator.callCounts().at(panels_slot::kLookupVariable), 38u);
}

TEST_F(ModuleSpine, ServiceIdsOtherThanSixAndGaugesOtherThanLogicDoNothing) {
    for (int serviceId : {0, 1, 2, 5, 7, 8, 10, 13, 15, -1})
        for (GAUGEHDR* gauge : host.gauges()) host.Service(gauge, serviceId);
    for (int i = 1; i < kGaugeCount; ++i) host.Service(Gauge(i), kServicePreUpdate);
    EXPECT_TRUE(simulator.callCounts().empty());
}

TEST_F(ModuleSpine, EveryGenericRoutineReachesTheSimulatorWithTheLogicBackground) {
    simulator.routineResult = 0x5A5A;
    constexpr RoutineValue kArgument = 0x1234;
    for (int i = 0; i < kGaugeCount; ++i) {
        SCOPED_TRACE(kGaugeTable[i].name);
        const GAUGEHDR* gauge = Gauge(i);
        simulator.ClearRecords();
        EXPECT_EQ(gauge->routine1(), 0x5A5Au);
        EXPECT_EQ(gauge->routine2(kArgument), 0x5A5Au);
        EXPECT_EQ(gauge->routine3(), 0x5A5Au);
        EXPECT_EQ(gauge->routine4(), 0x5A5Au);
        EXPECT_EQ(gauge->routine5(kArgument), 0x5A5Au);
        EXPECT_EQ(gauge->routine6(), 0x5A5Au);
        EXPECT_EQ(gauge->routine7(), 0x5A5Au);

        const int expectedSlots[] = {24, 25, 26, 27, 28, 29, 31};
        ASSERT_EQ(simulator.actions().size(), 7u);
        for (int r = 0; r < 7; ++r) {
            const Simulator::Action& action = simulator.actions()[r];
            EXPECT_EQ(action.slot, expectedSlots[r]);
            EXPECT_EQ(action.element, LogicBackground());
            EXPECT_EQ(action.first, (r == 1 || r == 4) ? kArgument : 0u);
        }
    }
}

// On the simulator's own 32-bit target, read the records as it does: by byte
// offset, without the shared header's structures.
TEST_F(ModuleSpine, RecordsSitAtTheSimulatorsByteOffsets) {
    if (sizeof(void*) != 4) GTEST_SKIP() << "byte offsets apply to 32-bit builds";
    auto word = [](const void* base, int offset) {
        std::uint32_t value;
        std::memcpy(&value, static_cast<const char*>(base) + offset, 4);
        return value;
    };
    auto pointer = [&](const void* base, int offset) {
        return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(word(base, offset)));
    };
    const void* linkage = host.linkage();
    EXPECT_EQ(word(linkage, 0), 0x13u);
    EXPECT_EQ(word(linkage, 12), 0u);
    EXPECT_EQ(word(linkage, 20), 0x900u);
    EXPECT_EQ(word(linkage, 180), 0u);
    for (int i = 0; i < kGaugeCount; ++i) {
        SCOPED_TRACE(kGaugeTable[i].name);
        const void* gauge = pointer(linkage, 24 + 4 * i);
        EXPECT_EQ(word(gauge, 0), i == 0 ? 800u : 900u);
        EXPECT_STREQ(static_cast<const char*>(pointer(gauge, 4)), kGaugeTable[i].name);
        EXPECT_EQ(word(gauge, 44), i == 0 ? 1u : 300u);
        EXPECT_EQ(word(gauge, 40), 0u);
        const void* elementList = pointer(gauge, 8);
        const void* background = pointer(elementList, 0);
        EXPECT_EQ(word(elementList, 4), 0u);
        EXPECT_EQ(word(background, 0), 0u);
        EXPECT_EQ(word(background, 4), static_cast<std::uint32_t>(kGaugeTable[i].bitmapId));
        EXPECT_EQ(pointer(background, 32), gauge);
        EXPECT_EQ(word(background, 48), i == 0 ? 0x40000001u : 0x1u);
        const void* mouse = pointer(gauge, 80);
        EXPECT_EQ(word(mouse, 0), 1u);
        EXPECT_EQ(word(mouse, 20), 0xFFFFFFFFu);
        EXPECT_NE(word(gauge, 84), 0u);
    }
}

TEST(ModuleLoading, AFileThatIsNotAModuleIsRefusedWithItsName) {
    const auto run = TestRun();
    const std::string error = run->Load("no-such-module.gau");
    EXPECT_NE(error.find("no-such-module.gau"), std::string::npos) << error;
    EXPECT_FALSE(run->host().loaded());
}

TEST(ModuleLoading, LoadsAgainAfterUnloading) {
    const auto run = TestRun();
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(run->Load(), "");
        run->host().RunFrame();
        run->Unload();
    }
    EXPECT_EQ(run->simulator().callCounts().at(panels_slot::kLookupVariable), 38u);
}

}  // namespace
