#include "fake/fake_platform.h"

#include <cstdio>
#include <cstring>

namespace platform::fake {
namespace {

namespace code = result_code;
using audio::Result;

FakePlatform* active = nullptr;

std::string Describe(const char* format, auto... values) {
    char text[128];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

class FakeBuffer final : public audio::Buffer {
public:
    FakeBuffer(FakePlatform& fake, std::shared_ptr<FakeBufferState> state, bool primary)
        : fake_(fake), state_(std::move(state)), primary_(primary) {}

    Result GetStatus(std::uint32_t* status) override {
        fake_.calls.push_back("GetStatus");
        *status = (state_->playing ? audio::kStatusPlaying : 0) | (state_->looping ? audio::kStatusLooping : 0);
        if (fake_.statusReportsLost > 0) {
            --fake_.statusReportsLost;
            *status |= audio::kStatusBufferLost;
        }
        return code::kOk;
    }
    Result Restore() override {
        fake_.calls.push_back("Restore");
        if (fake_.restoreStaysLost != 0) {
            if (fake_.restoreStaysLost > 0) --fake_.restoreStaysLost;
            return code::kBufferLost;
        }
        return code::kOk;
    }
    Result Lock(std::uint32_t offset, std::uint32_t bytes, void** region1, std::uint32_t* bytes1, void** region2,
                std::uint32_t* bytes2, std::uint32_t) override {
        fake_.calls.push_back(Describe("Lock(%u,%u)", offset, bytes));
        if (fake_.lockResult != code::kOk) return fake_.lockResult;
        if (offset != 0 || bytes > state_->bytes.size()) return code::kInvalidArgument;
        state_->locked = true;
        *region1 = state_->bytes.data();
        *bytes1 = bytes;
        if (region2 != nullptr) *region2 = nullptr;
        if (bytes2 != nullptr) *bytes2 = 0;
        return code::kOk;
    }
    Result Unlock(void*, std::uint32_t bytes1, void*, std::uint32_t) override {
        fake_.calls.push_back(Describe("Unlock(%u)", bytes1));
        state_->locked = false;
        return code::kOk;
    }
    Result Play(std::uint32_t priority, std::uint32_t flags) override {
        fake_.calls.push_back(Describe("Play(%u,%u)", priority, flags));
        ++state_->playCalls;
        state_->playing = true;
        state_->looping = (flags & audio::kPlayLooping) != 0;
        return code::kOk;
    }
    Result Stop() override {
        fake_.calls.push_back("Stop");
        state_->playing = false;
        return code::kOk;
    }
    Result SetCurrentPosition(std::uint32_t position) override {
        fake_.calls.push_back(Describe("SetCurrentPosition(%u)", position));
        state_->position = position;
        return code::kOk;
    }
    Result SetVolume(std::int32_t volume) override {
        fake_.calls.push_back(Describe("SetVolume(%d)", volume));
        ++state_->volumeCalls;
        if (volume < audio::kVolumeMin || volume > audio::kVolumeMax) return code::kInvalidArgument;
        state_->volume = volume;
        return code::kOk;
    }
    Result SetFrequency(std::uint32_t frequency) override {
        fake_.calls.push_back(Describe("SetFrequency(%u)", frequency));
        state_->frequency = frequency;
        return code::kOk;
    }
    Result SetPan(std::int32_t pan) override {
        fake_.calls.push_back(Describe("SetPan(%d)", pan));
        state_->pan = pan;
        return code::kOk;
    }
    Result SetFormat(const WaveFormat* format) override {
        fake_.calls.push_back("SetFormat");
        if (!primary_) return code::kInvalidCall;
        if (fake_.setFormatResult == code::kOk) fake_.primaryFormat = *format;
        return fake_.setFormatResult;
    }
    void Release() override {
        fake_.calls.push_back(primary_ ? "ReleasePrimary" : "ReleaseBuffer");
        state_->released = true;
        delete this;
    }

private:
    ~FakeBuffer() = default;
    FakePlatform& fake_;
    std::shared_ptr<FakeBufferState> state_;
    bool primary_;
};

class FakeDevice final : public audio::Device {
public:
    explicit FakeDevice(FakePlatform& fake) : fake_(fake) { ++fake_.devicesOpen; }

    Result SetCooperativeLevel(WindowHandle window, std::uint32_t level) override {
        fake_.calls.push_back(Describe("SetCooperativeLevel(%p,%u)", window, level));
        return fake_.cooperativeLevelResult;
    }
    Result CreateSoundBuffer(const audio::BufferDescription& description, audio::Buffer** buffer) override {
        const bool primary = (description.flags & audio::kBufferPrimary) != 0;
        fake_.calls.push_back(Describe("CreateSoundBuffer(0x%X,%u)", description.flags, description.bufferBytes));
        if (code::Failed(fake_.createBufferResult)) return fake_.createBufferResult;
        auto state = std::make_shared<FakeBufferState>();
        state->flags = description.flags;
        if (!primary) {
            if (description.format == nullptr) return code::kInvalidArgument;
            state->format = *description.format;
            state->bytes.assign(description.bufferBytes, 0xEE);  // garbage until filled
            fake_.buffers.push_back(state);
        }
        *buffer = new FakeBuffer(fake_, state, primary);
        return fake_.createBufferResult;
    }
    void Release() override {
        fake_.calls.push_back("ReleaseDevice");
        --fake_.devicesOpen;
        delete this;
    }

private:
    ~FakeDevice() = default;
    FakePlatform& fake_;
};

Result CreateFakeDevice(audio::Device** device) {
    active->calls.push_back("CreateDevice");
    if (code::Failed(active->createDeviceResult)) return active->createDeviceResult;
    *device = new FakeDevice(*active);
    return code::kOk;
}

WindowHandle FindFakeWindow(const char* className) {
    active->calls.push_back(std::string("FindWindow(") + className + ")");
    return active->mainWindow;
}

int ShowFakeMessageBox(const char* text, const char* caption, std::uint32_t style) {
    active->messageBoxes.push_back({text, caption, style});
    return 1;
}

void FakeSleep(std::uint32_t milliseconds) { active->sleptMilliseconds += milliseconds; }

}  // namespace

FakePlatform::FakePlatform() : saved_(CurrentServices()) {
    active = this;
    CurrentServices() = Services{CreateFakeDevice, FindFakeWindow, ShowFakeMessageBox, FakeSleep};
}

FakePlatform::~FakePlatform() {
    CurrentServices() = saved_;
    active = nullptr;
}

int FakePlatform::CallCount(const std::string& prefix) const {
    int count = 0;
    for (const std::string& call : calls) count += call.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

}  // namespace platform::fake
