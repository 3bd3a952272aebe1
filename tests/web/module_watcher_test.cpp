// A rebuilt module file is told once it is whole and left alone, however the
// build writes it, and never while it is half-written.
#include "web/module_watcher.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

#include "support/module_file.h"

namespace {

using namespace std::chrono_literals;
using Clock = web::ModuleWatcher::Clock;
namespace fs = std::filesystem;

constexpr auto kQuiet = 100ms;

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const fs::path& path, std::string_view bytes, std::ios::openmode mode = std::ios::trunc) {
    std::ofstream out(path, std::ios::binary | mode);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class ModuleWatcherTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("avrion-watch-" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        module_ = Bytes(BuiltModulePath());
        ASSERT_GT(module_.size(), 4096u);
        Write(file(), module_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path file() const { return folder_ / "Kesta_Avrion_0_018.so"; }

    // Whether the watcher tells of a rebuild once the quiet while is over (and before it, never).
    bool ToldAfterQuiet(web::ModuleWatcher& watcher) {
        const auto now = Clock::now();
        if (watcher.Rebuilt(now)) ADD_FAILURE() << "told before the quiet while was over";
        return watcher.Rebuilt(now + kQuiet + 1ms);
    }

    fs::path folder_;
    std::string module_;
};

TEST_F(ModuleWatcherTest, EveryWayABuildWritesTheFileIsToldOnceItIsWholeAndLeftAlone) {
    const struct {
        const char* writer;
        std::function<void(const fs::path&, const std::string&)> write;
    } writers[] = {
        {"a temporary file renamed into place",
         [](const fs::path& path, const std::string& bytes) {
             Write(path.string() + ".tmp", bytes);
             fs::rename(path.string() + ".tmp", path);
         }},
        {"truncated and rewritten in place",
         [](const fs::path& path, const std::string& bytes) { Write(path, bytes); }},
        {"deleted and made anew",
         [](const fs::path& path, const std::string& bytes) {
             fs::remove(path);
             Write(path, bytes);
         }},
    };
    for (const auto& writer : writers) {
        SCOPED_TRACE(writer.writer);
        web::ModuleWatcher watcher(file().string(), kQuiet);
        EXPECT_FALSE(watcher.Rebuilt(Clock::now() + 1s)) << "nothing changed yet";
        writer.write(file(), module_);
        EXPECT_TRUE(ToldAfterQuiet(watcher));
        EXPECT_FALSE(watcher.Rebuilt(Clock::now() + 1s)) << "told twice of one rebuild";
    }
}

TEST_F(ModuleWatcherTest, AFileHalfWrittenIsNotToldWhileItsWriterHoldsItOrWhileItIsCutShort) {
    web::ModuleWatcher watcher(file().string(), kQuiet);
    {
        std::ofstream writer(file(), std::ios::binary | std::ios::trunc);
        writer.write(module_.data(), static_cast<std::streamsize>(module_.size() / 3));
        writer.flush();
        EXPECT_FALSE(ToldAfterQuiet(watcher)) << "still open for writing";
        writer.write(module_.data() + module_.size() / 3, 1000);
    }
    EXPECT_FALSE(ToldAfterQuiet(watcher)) << "closed, but cut short";
    Write(file(), std::string_view(module_).substr(module_.size() / 3 + 1000), std::ios::app);
    EXPECT_TRUE(ToldAfterQuiet(watcher));
}

TEST_F(ModuleWatcherTest, WhatIsNoElfAtAllIsToldSoThatTheLoaderSaysWhatIsWrong) {
    web::ModuleWatcher watcher(file().string(), kQuiet);
    Write(file(), "not a module\n");
    EXPECT_EQ(web::ModuleWatcher::ElfCompleteness(file().string()), web::ModuleWatcher::Completeness::kNotElf);
    EXPECT_TRUE(ToldAfterQuiet(watcher));
    // A folder made anew (a clean build) is watched again.
    fs::remove_all(folder_);
    EXPECT_FALSE(watcher.Rebuilt(Clock::now() + 1s));
    fs::create_directories(folder_);
    Write(file(), module_);
    EXPECT_TRUE(ToldAfterQuiet(watcher));
}

}  // namespace
