// Where a request ends and whether it is taken: each form the gate meets,
// well made or not, and a request arriving byte by byte.
#include "web/http_framing.h"

#include <gtest/gtest.h>

namespace {

using Outcome = web::RequestFrame::Outcome;

TEST(HttpFraming, EachFormOfRequestIsTakenWaitedForOrRefusedWithItsStatus) {
    const web::FramingLimits limits;
    const std::string get = "GET /api/state?after=3 HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    const std::string post = "POST /api/slot?slot=29&value=1 HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc";
    std::string manyHeaders = "GET / HTTP/1.1\r\n";
    while (manyHeaders.size() <= limits.head) manyHeaders += "X-Padding: " + std::string(100, 'p') + "\r\n";
    const struct {
        const char* what;
        std::string bytes;
        Outcome outcome;
        int status;        // of a refusal
        std::size_t size;  // of a complete request (or a 405's)
        bool closeAfter;
    } cases[] = {
        {"a GET", get, Outcome::kComplete, 0, get.size(), false},
        {"a POST with the next request behind it", post + "GET / HTTP/1.1\r\n", Outcome::kComplete, 0, post.size(),
         false},
        {"lines ended by LF alone", "GET / HTTP/1.1\nHost: x\n\n", Outcome::kComplete, 0, 24, false},
        {"HTTP/1.0", "GET / HTTP/1.0\r\n\r\n", Outcome::kComplete, 0, 18, true},
        {"HTTP/1.0 kept alive", "GET / HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n", Outcome::kComplete, 0, 42, false},
        {"Connection: close", "GET / HTTP/1.1\r\nConnection: te, close\r\n\r\n", Outcome::kComplete, 0, 41, true},
        {"nothing yet", "", Outcome::kIncomplete, 0, 0, false},
        {"half a request line", "GET /api/sta", Outcome::kIncomplete, 0, 0, false},
        {"half a version", "GET / HTTP/1.", Outcome::kIncomplete, 0, 0, false},
        {"headers not ended", "GET / HTTP/1.1\r\nHost: x\r\n", Outcome::kIncomplete, 0, 0, false},
        {"a body not all there", "POST / HTTP/1.1\r\nContent-Length: 10\r\n\r\nabc", Outcome::kIncomplete, 0, 0, false},
        {"binary garbage", "\x16\x03\x01\x02\x00\x01", Outcome::kRefused, 400, 0, false},
        {"a control character in the path", "GET /\x01 HTTP/1.1\r\n", Outcome::kRefused, 400, 0, false},
        {"a lone CR in the request line", "GET /\r HTTP/1.1\r\n\r\n", Outcome::kRefused, 400, 0, false},
        {"no version", "GET / FOO\r\n\r\n", Outcome::kRefused, 400, 0, false},
        {"a method too long to be one", std::string(40, 'A'), Outcome::kRefused, 400, 0, false},
        {"a path not from the root", "GET http://example.test/ HTTP/1.1\r\n\r\n", Outcome::kRefused, 400, 0, false},
        {"another version", "GET / HTTP/2.0\r\n\r\n", Outcome::kRefused, 505, 0, false},
        {"an oversized request line", "GET /" + std::string(limits.requestLine, 'a'), Outcome::kRefused, 414, 0, false},
        {"an oversized header line", "GET / HTTP/1.1\r\nX: " + std::string(limits.headerLine, 'x'), Outcome::kRefused,
         431, 0, false},
        {"oversized headers", manyHeaders, Outcome::kRefused, 431, 0, false},
        {"a folded header", "GET / HTTP/1.1\r\nA: b\r\n c\r\n\r\n", Outcome::kRefused, 400, 0, false},
        {"a header without a colon", "GET / HTTP/1.1\r\nHost\r\n\r\n", Outcome::kRefused, 400, 0, false},
        {"a control character in a header", "GET / HTTP/1.1\r\nA: b\x7f\r\n\r\n", Outcome::kRefused, 400, 0, false},
        {"a body larger than allowed", "POST / HTTP/1.1\r\nContent-Length: 70000\r\n\r\n", Outcome::kRefused, 413, 0,
         false},
        {"a length no number can hold", "POST / HTTP/1.1\r\nContent-Length: 99999999999999999999\r\n\r\n",
         Outcome::kRefused, 413, 0, false},
        {"a negative length", "POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n", Outcome::kRefused, 400, 0, false},
        {"two lengths", "POST / HTTP/1.1\r\nContent-Length: 1\r\ncontent-length: 1\r\n\r\nx", Outcome::kRefused, 400, 0,
         false},
        {"a chunked body", "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", Outcome::kRefused, 501, 0, false},
        {"an expectation", "POST / HTTP/1.1\r\nExpect: 100-continue\r\n\r\n", Outcome::kRefused, 417, 0, false},
        {"an unknown method, its end known", "BREW /pot HTTP/1.1\r\nContent-Length: 2\r\n\r\nhi", Outcome::kRefused,
         405, 43, false},
    };
    for (const auto& test : cases) {
        const web::RequestFrame frame = web::FrameRequest(test.bytes, limits);
        EXPECT_EQ(frame.outcome, test.outcome) << test.what;
        EXPECT_EQ(frame.status, test.status) << test.what << ": " << frame.reason;
        if (test.outcome == Outcome::kRefused) {
            EXPECT_FALSE(frame.reason.empty()) << test.what;
        }
        if (test.size) {
            EXPECT_EQ(frame.size, test.size) << test.what;
        }
        EXPECT_EQ(frame.closeAfter, test.closeAfter) << test.what;
        EXPECT_EQ(frame.keepConnection, test.status == 405) << test.what;
    }
}

TEST(HttpFraming, ARequestArrivingByteByByteIsWaitedForUntilItsLastByte) {
    const std::string request =
        "\r\n\r\nPOST /api/variable?name=fuel&value=12 HTTP/1.1\r\nHost: 127.0.0.1:8018\r\n"
        "Origin: http://127.0.0.1:8018\r\nContent-Length: 5\r\n\r\nhello";
    for (std::size_t length = 0; length < request.size(); ++length)
        ASSERT_EQ(web::FrameRequest(std::string_view(request).substr(0, length), {}).outcome, Outcome::kIncomplete)
            << length << " bytes";
    const web::RequestFrame frame = web::FrameRequest(request, {});
    EXPECT_EQ(frame.outcome, Outcome::kComplete);
    EXPECT_EQ(frame.skipped, 4u) << "empty lines before the request are passed over";
    EXPECT_EQ(frame.skipped + frame.size, request.size());
    EXPECT_EQ(frame.method, "POST");
    EXPECT_EQ(frame.target, "/api/variable?name=fuel&value=12");
}

TEST(HttpFraming, ARefusalIsAWholeResponseWithAReason) {
    EXPECT_EQ(web::RefusalResponse(408, "too \"slow\"", true),
              "HTTP/1.1 408 Request Timeout\r\nContent-Type: application/json\r\nCache-Control: no-store\r\n"
              "Content-Length: 24\r\nConnection: close\r\n\r\n{\"error\":\"too \\\"slow\\\"\"}");
    EXPECT_NE(web::RefusalResponse(405, "no", false).find("\r\nAllow: GET, HEAD, POST\r\n"), std::string::npos);
}

}  // namespace
