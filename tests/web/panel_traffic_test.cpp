// The panel's server on loopback under bad traffic: thousands of malformed
// requests each get their refusal, and a client doing what the page does
// keeps seeing nearly every frame while many idle, half-sent and slow
// connections stay open. Bounded: a few seconds of traffic.
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <future>
#include <regex>
#include <thread>

#include "panel_fixture.h"
#include "web/panel_server.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

int Connect(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The status of the first answer to the bytes sent, read until the server closes (or 2 s pass).
int FirstStatus(int port, const std::string& bytes) {
    const int fd = Connect(port);
    if (fd < 0) return -1;
    timeval wait{2, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    std::string answer;
    if (::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) >= 0) {
        char buffer[4096];
        for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
            answer.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return answer.starts_with("HTTP/1.1 ") ? std::atoi(answer.c_str() + 9) : 0;
}

class PanelTraffic : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        std::promise<int> listening;
        server_ = std::make_unique<web::PanelServer>(session);
        web::ServerSettings settings;
        settings.port = 0;
        settings.pageFolder = AVRION_PAGE_DIR;
        serving_ = std::thread([this, settings, &listening] {
            const std::string error = server_->Serve(settings, [&](const std::string& address) {
                listening.set_value(std::stoi(address.substr(address.rfind(':') + 1)));
            });
            if (!error.empty()) listening.set_value(-1);
        });
        port_ = listening.get_future().get();
        ASSERT_GT(port_, 0);
    }
    void TearDown() override {
        server_->Stop();
        serving_.join();
        PanelFixture::TearDown();
    }

    std::unique_ptr<web::PanelServer> server_;
    std::thread serving_;
    int port_ = 0;
};

TEST_F(PanelTraffic, ThousandsOfMalformedRequestsAreEachRefusedWithTheirStatusAndThePageIsAnsweredAfter) {
    const std::string host = "Host: 127.0.0.1\r\nConnection: close\r\n";
    const struct {
        const char* what;
        std::string bytes;
        int status;
    } kinds[] = {
        {"binary garbage", std::string("\x16\x03\x01\x02\x00\x01\xfc\x03\x03", 9), 400},
        {"an oversized request line", "GET /" + std::string(10000, 'a') + " HTTP/1.1\r\n", 414},
        {"oversized headers", "GET / HTTP/1.1\r\nCookie: " + std::string(20000, 'c') + "\r\n\r\n", 431},
        {"a body larger than allowed", "POST /api/clock HTTP/1.1\r\nContent-Length: 1000000\r\n\r\n", 413},
        {"a body larger than announced",
         "POST /api/clock?action=run HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 2\r\n\r\nrun\x01\x02", 200},
        {"an unknown method", "BREW /pot HTTP/1.1\r\n" + host + "\r\n", 405},
        {"another version", "GET / HTTP/2.0\r\n\r\n", 505},
        {"a path outside the page folder", "GET /../../../../etc/passwd HTTP/1.1\r\n" + host + "\r\n", 404},
        {"an encoded path outside it", "GET /%2e%2e/%2e%2e/%2e%2e/etc/passwd HTTP/1.1\r\n" + host + "\r\n", 404},
        {"another machine's name", "GET /api/state HTTP/1.1\r\nHost: rebound.example.test\r\nConnection: close\r\n\r\n",
         403},
        {"a faulty answer's request", "GET /api/tile?ident=10000&tile=x HTTP/1.1\r\n" + host + "\r\n", 404},
    };
    constexpr int kRounds = 300;
    int wrong = 0;
    for (int round = 0; round < kRounds; ++round)
        for (const auto& kind : kinds) {
            const int status = FirstStatus(port_, kind.bytes);
            if (status != kind.status && ++wrong <= 5) ADD_FAILURE() << kind.what << ": got " << status;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GE(server_->counts().refused, kRounds * 6u);
    const auto start = Clock::now();
    EXPECT_EQ(FirstStatus(port_, "GET / HTTP/1.1\r\n" + host + "\r\n"), 200);
    EXPECT_LT(Clock::now() - start, 500ms) << "the page is answered at once after them";
}

// The module's contract: every callback on the simulator's one panel thread. Clicks come in on the gate's
// workers, several at once; each runs between frames on the thread that runs the frames.
TEST_F(PanelTraffic, MouseEventsFromManyConnectionsReachTheModuleOnThePanelThread) {
    // Where to click, as the page learns it: the session is the panel thread's now.
    httplib::Client page("127.0.0.1", port_);
    ASSERT_EQ(page.Post("/api/window?ident=12100&shown=1")->status, 200);
    double x = -1, y = -1;
    const nlohmann::json panel = nlohmann::json::parse(page.Get("/api/panel")->body);
    for (const auto& window : panel["windows"])
        for (const auto& gauge : window["gauges"])
            if (window["ident"] == kEngineerPanel && gauge["name"] == "AZS_water_level") {
                const auto& area = gauge["areas"][0];
                x = area["x"].get<double>() + area["width"].get<double>() / 2;
                y = area["y"].get<double>() + area["height"].get<double>() / 2;
            }
    ASSERT_GE(x, 0);
    std::vector<std::thread> clients;
    std::atomic<int> delivered{0};
    for (int client = 0; client < 4; ++client)
        clients.emplace_back([&] {
            httplib::Client own("127.0.0.1", port_);
            for (int click = 0; click < 4; ++click) {
                const auto answer = own.Post("/api/mouse?ident=12100&x=" + std::to_string(x) +
                                             "&y=" + std::to_string(y) + "&action=press");
                if (answer && answer->status == 200 && Contains(answer->body, "\"delivered\":true")) ++delivered;
            }
        });
    for (std::thread& client : clients) client.join();
    EXPECT_EQ(delivered, 16);
    EXPECT_EQ(session.mouseThread(), server_->panelThread());
    EXPECT_NE(session.mouseThread(), std::this_thread::get_id());
}

TEST_F(PanelTraffic, ThePageKeepsSeeingNearlyEveryFrameWithIdleHalfSentAndSlowConnectionsOpen) {
    constexpr int kIdle = 64, kHalfSent = 64, kSlow = 16;
    std::vector<int> idle, halfSent, slow;
    for (int i = 0; i < kIdle; ++i) idle.push_back(Connect(port_));
    const auto halfOpen = [&] {
        const int fd = Connect(port_);
        const std::string half = "GET /api/state?after=0 HTTP/1.1\r\nHost: 127.0.";
        ::send(fd, half.data(), half.size(), MSG_NOSIGNAL);
        return fd;
    };
    for (int i = 0; i < kHalfSent; ++i) halfSent.push_back(halfOpen());
    for (int i = 0; i < kSlow; ++i) slow.push_back(Connect(port_));
    // The slow ones send a byte at a time; the half-sent ones, refused once they are too late, come back at once.
    std::atomic<bool> attacking{true};
    std::thread attacker([&] {
        const std::string request =
            "POST /api/clock?action=run HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 9\r\n\r\n";
        // Answered (refused) or closed: the server is done with it.
        const auto answered = [](int fd) {
            char probe;
            return ::recv(fd, &probe, 1, MSG_DONTWAIT | MSG_PEEK) >= 0;
        };
        for (std::size_t byte = 0; attacking; ++byte) {
            for (int& fd : slow)
                if (answered(fd) || ::send(fd, &request[byte % request.size()], 1, MSG_NOSIGNAL) < 0) {
                    ::close(fd);
                    fd = Connect(port_);
                }
            for (int& fd : halfSent)
                if (answered(fd)) {
                    ::close(fd);
                    fd = halfOpen();
                }
            std::this_thread::sleep_for(100ms);
        }
    });

    // What the page does: wait for the next frame's state, then fetch a tile of it.
    httplib::Client page("127.0.0.1", port_);
    page.set_read_timeout(5, 0);
    const std::regex frameField("\"frame\":([0-9]+)");
    const auto frameOf = [&](const std::string& body) {
        std::smatch match;
        return std::regex_search(body, match, frameField) ? std::stoull(match[1]) : 0ull;
    };
    std::this_thread::sleep_for(500ms);  // every connection in place
    const std::size_t open = server_->counts().open;
    auto frame = frameOf(page.Get("/api/state")->body);
    const auto firstFrame = frame;
    int updates = 0;
    Clock::duration slowest{};
    const auto start = Clock::now();
    while (Clock::now() - start < 4s) {
        const auto asked = Clock::now();
        const auto state = page.Get("/api/state?after=" + std::to_string(frame));
        ASSERT_TRUE(state && state->status == 200) << "the page got no state";
        const auto tile = page.Get("/api/tile?ident=10000&tile=0");
        ASSERT_TRUE(tile && tile->status == 200);
        slowest = std::max(slowest, Clock::now() - asked);
        const auto next = frameOf(state->body);
        if (next > frame) ++updates;
        frame = next;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    attacking = false;
    attacker.join();
    for (const auto* fds : {&idle, &halfSent, &slow})
        for (const int fd : *fds) ::close(fd);

    const double rate = updates / seconds, frameRate = static_cast<double>(frame - firstFrame) / seconds;
    std::cout << "with " << open << " other connections open (" << kIdle << " idle, " << kHalfSent << " half-sent, "
              << kSlow << " slow): " << rate << " page updates per second, the server at " << frameRate
              << " frames per second; the slowest update took "
              << std::chrono::duration<double, std::milli>(slowest).count() << " ms\n";
    EXPECT_GE(open, static_cast<std::size_t>(kIdle + kHalfSent + kSlow)) << "the connections were all open at once";
    EXPECT_GE(rate, 0.8 * frameRate) << "the page missed frames";
    EXPECT_GE(frameRate, 5.0) << "the frames themselves stalled";
    EXPECT_LT(slowest, 1000ms);
}

}  // namespace
