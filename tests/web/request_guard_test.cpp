// Only this machine, and only the panel's own page, may use the panel.
#include "web/request_guard.h"

#include <gtest/gtest.h>

namespace {

TEST(RequestGuard, AnswersThePanelsOwnPageOnThisMachine) {
    EXPECT_EQ(web::RefusalOf({"127.0.0.1:8018", ""}), "");
    EXPECT_EQ(web::RefusalOf({"127.0.0.1:8018", "http://127.0.0.1:8018"}), "");
    EXPECT_EQ(web::RefusalOf({"localhost:8018", "http://localhost:8018"}), "");
    EXPECT_EQ(web::RefusalOf({"[::1]:8018", ""}), "");
    EXPECT_EQ(web::RefusalOf({"127.0.0.1", ""}), "");
}

TEST(RequestGuard, OnlyThisMachinesAddressesAreLoopback) {
    for (const char* address : {"127.0.0.1", "127.1.2.3", "::1", "::ffff:127.0.0.1"})
        EXPECT_TRUE(web::IsLoopbackAddress(address)) << address;
    for (const char* address : {"192.168.1.20", "", "::ffff:10.0.0.1", "128.0.0.1"})
        EXPECT_FALSE(web::IsLoopbackAddress(address)) << address;
}

TEST(RequestGuard, RefusesOtherPagesAndOtherHostNames) {
    // Another page open in the same browser, and a name of someone else's pointed at this machine.
    EXPECT_NE(web::RefusalOf({"127.0.0.1:8018", "http://example.test"}), "");
    EXPECT_NE(web::RefusalOf({"127.0.0.1:8018", "http://127.0.0.1:9999"}), "");
    EXPECT_NE(web::RefusalOf({"rebound.example.test:8018", ""}), "");
    EXPECT_NE(web::RefusalOf({"", ""}), "");
}

}  // namespace
