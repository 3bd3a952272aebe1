#include "loader/simulator_fields.h"

#include <cmath>
#include <cstring>

#include "sim/gauge_access.h"

namespace {

// The simulator's saved images, values and buffers, as far as the module can
// tell: bytes it never wrote.
constexpr unsigned char kSimulatorByte = 0xA5;
constexpr std::uint32_t kSimulatorWord = 0xA5A5A5A5u;
constexpr std::size_t kSimulatorMemoryBytes = 256;
// A gauge on no window line: the simulator never creates one, so any place
// off every window does.
constexpr PIXPOINT kUnplaced = {-30000, -30000};
constexpr double kRadiansToDegrees = 57.29577951308232;

template <typename Bytes>
void Fill(Bytes& bytes) {
    std::memset(&bytes, kSimulatorByte, sizeof bytes);
}

void WriteHeader(GAUGEHDR* gauge, const GaugeSite& placement, void* simulatorMemory, const char* usage) {
    gauge->position = placement.position;
    gauge->userData = kSimulatorWord;
    gauge->parameters = placement.parameters.c_str();
    gauge->usage = usage;
    gauge->sizePixels = placement.size;
    Fill(gauge->userArea);
    gauge->flags = kSimulatorWord;
    gauge->reserved200 = simulatorMemory;
    Fill(gauge->identifier);
    gauge->keyId = kSimulatorWord;
    for (void*& callback : gauge->callbacks) callback = simulatorMemory;
    gauge->originalPosition = placement.position;
}

// The font measured: a character as wide as the box holds the count, as high
// as the box.
void WriteString(ELEMENT_STRING* string, void* simulatorMemory) {
    Fill(string->simulatorSavedValues);
    string->simulatorOldText = static_cast<char*>(simulatorMemory);
    string->simulatorImage = simulatorMemory;
    string->simulatorDevice = simulatorMemory;
    Fill(string->simulatorFonts);
    const int count = string->charCount > 0 ? string->charCount : 1;
    string->charWidth = static_cast<std::uint16_t>(string->boxWidth > count ? string->boxWidth / count : 1);
    string->selectionStart = 0xFFFF;
    string->selectionEnd = 0xFFFF;
    string->sequence = simulatorMemory;
    string->savedSequence = simulatorMemory;
    string->charHeight = string->boxHeight;
    string->useUserColour = 1;
    string->userColour = kSimulatorWord;
}

void WriteElement(ELEMENT_HEADER* element, void* simulatorMemory) {
    switch (element->kind) {
        case kElementStaticImage:
            Fill(reinterpret_cast<ELEMENT_STATIC_IMAGE*>(element)->simulatorImages);
            break;
        case kElementIcon: {
            auto* icon = reinterpret_cast<ELEMENT_ICON*>(element);
            Fill(icon->simulatorPictures);
            Fill(icon->simulatorSaveBuffer);
            break;
        }
        case kElementNeedle: {
            auto* needle = reinterpret_cast<ELEMENT_NEEDLE*>(element);
            Fill(needle->simulatorNeedle);
            Fill(needle->simulatorSaved);
            break;
        }
        case kElementString:
            WriteString(reinterpret_cast<ELEMENT_STRING*>(element), simulatorMemory);
            break;
    }
}

// Where each point of a needle's table lies from its pivot.
void WritePointAngles(ELEMENT_NEEDLE* needle) {
    if (needle->points == nullptr) return;
    for (std::int32_t i = 0; i < needle->pointCount; ++i) {
        NEEDLE_POINT& point = needle->points[i];
        point.angle = std::atan2(point.y - needle->header.position.y, point.x - needle->header.position.x) *
                      kRadiansToDegrees;
    }
}

}  // namespace

SimulatorFields::SimulatorFields() : simulatorMemory_(kSimulatorMemoryBytes, kSimulatorByte) {
    unplaced_.position = kUnplaced;
}

void SimulatorFields::Place(std::string_view gauge, GaugeSite placement) {
    placements_.insert_or_assign(std::string(gauge), std::move(placement));
}

const GaugeSite& SimulatorFields::PlacementOf(const GAUGEHDR* gauge) const {
    if (gauge->name != nullptr)
        if (auto found = placements_.find(std::string_view(gauge->name)); found != placements_.end())
            return found->second;
    return unplaced_;
}

void SimulatorFields::WriteAtCreation(const std::vector<GAUGEHDR*>& gauges) {
    for (GAUGEHDR* gauge : gauges) {
        WriteHeader(gauge, PlacementOf(gauge), simulatorMemory_.data(), usage_.c_str());
        for (ELEMENT_HEADER* element : gauge_access::Elements(gauge)) WriteElement(element, simulatorMemory_.data());
    }
    WriteAtFrame(gauges);
}

void SimulatorFields::WriteAtFrame(const std::vector<GAUGEHDR*>& gauges) {
    for (GAUGEHDR* gauge : gauges) {
        ELEMENT_HEADER* previous = nullptr;
        for (ELEMENT_HEADER* element : gauge_access::Elements(gauge)) {
            element->previousPosition = element->position;
            element->previousElement = previous;
            if ((element->imageFlags & image_flag::kHidden) == 0) element->imageFlags |= image_flag::kOnScreen;
            if (element->kind == kElementNeedle) WritePointAngles(reinterpret_cast<ELEMENT_NEEDLE*>(element));
            previous = element;
        }
    }
}
