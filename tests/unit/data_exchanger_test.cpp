#include "state/data_exchanger.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "sim/sibling_modules.h"

namespace {

TEST(DataExchanger, ReadsWhatASiblingPublished) {
    SiblingModules sibling;
    ASSERT_TRUE(sibling.SetSlot(103, 7.5));
    EXPECT_EQ(DataExchanger().Read(103), 7.5);
}

TEST(DataExchanger, WritesPersistWhileASiblingHoldsTheBlock) {
    SiblingModules sibling;
    EXPECT_TRUE(DataExchanger().Write(10, 760.0));
    double value = 0.0;
    ASSERT_TRUE(sibling.ReadSlot(10, value));
    EXPECT_EQ(value, 760.0);
    EXPECT_EQ(DataExchanger().Read(10), 760.0);
}

TEST(DataExchanger, WithNoOtherHolderEveryAccessSeesAFreshBlock) {
    EXPECT_TRUE(DataExchanger().Write(10, 760.0));
    EXPECT_EQ(DataExchanger().Read(10), 0.0);
}

TEST(DataExchanger, ABusySlotFailsAtOnceAndIsLeftAlone) {
    SiblingModules sibling;
    ASSERT_TRUE(sibling.SetSlot(64, 3.0));
    ASSERT_TRUE(sibling.HoldSlot(64));
    EXPECT_EQ(DataExchanger().Read(64), -1.0);
    EXPECT_FALSE(DataExchanger().Write(64, 9.0));
    sibling.ReleaseSlot(64);
    EXPECT_EQ(DataExchanger().Read(64), 3.0);
    EXPECT_EQ(DataExchanger().Read(65), 0.0) << "other slots stay free";
}

TEST(DataExchanger, SlotNumbersOutsideTheTableFailLikeABusySlot) {
    SiblingModules sibling;
    for (int slot : {-1, 116, 117, 1000, INT_MAX, INT_MIN}) {
        DataExchanger exchanger;
        EXPECT_TRUE(exchanger.valid);
        EXPECT_EQ(exchanger.Read(slot), -1.0) << slot;
        EXPECT_FALSE(exchanger.Write(slot, 1.0)) << slot;
    }
    double unused = 0.0;
    EXPECT_FALSE(sibling.ReadSlot(116, unused));
}

TEST(DataExchanger, OpeningEveryGuardChangesNothingVisible) {
    SiblingModules sibling;
    ASSERT_TRUE(sibling.SetSlot(115, 1.0));
    DataExchanger exchanger;
    exchanger.OpenAllEvents();
    for (int slot = 0; slot < DataExchanger::kSlotCount; ++slot) EXPECT_NE(exchanger.events[slot], nullptr);
    EXPECT_EQ(exchanger.Read(115), 1.0);
    EXPECT_TRUE(exchanger.Write(102, 3.0));
}

TEST(DataExchanger, OnlyTheAccessedSlotsGuardIsOpened) {
    DataExchanger exchanger;
    exchanger.Read(29);
    for (int slot = 0; slot < DataExchanger::kSlotCount; ++slot)
        EXPECT_EQ(exchanger.events[slot] != nullptr, slot == 29) << slot;
}

TEST(DataExchanger, SeveralExchangersAtOnceShareTheBlock) {
    auto first = std::make_unique<DataExchanger>();
    DataExchanger second;
    EXPECT_TRUE(first->Write(70, 3.0));
    EXPECT_EQ(second.Read(70), 3.0);
    first.reset();
    EXPECT_EQ(second.Read(70), 3.0);
}

}  // namespace
