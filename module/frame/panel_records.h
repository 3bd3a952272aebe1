// The records the simulator's panel system reads from a gauge module, and the
// PANELS function table it hands back. Both the module and the host (which
// plays the simulator) use this header, so their layouts cannot drift apart.
//
// On 32-bit targets every record is byte-exact to what FS9 reads (checked at
// compile time at the end of this file); on 64-bit targets pointers take their
// natural width and alignment, and the offsets move accordingly. No field
// needs packing: the one 64-bit value at a 4-byte offset (MODULE_VAR's) is
// kept as bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define FSAPI __stdcall
#else
#define FSAPI
#endif

struct GAUGEHDR;
struct ELEMENT_HEADER;
struct PANELS;

struct PIXPOINT {
    std::int32_t x;
    std::int32_t y;
};

enum ElementKind : std::int32_t {
    kElementStaticImage = 0,
    kElementNeedle = 1,
    kElementString = 2,
    kElementIcon = 4,
};

// Values passed through the seven generic routines: 32 bits on the simulator's
// own target, pointer-wide elsewhere.
using RoutineValue = std::uintptr_t;

using ModuleRoutine = void(FSAPI*)();
using GenericRoutine = RoutineValue(FSAPI*)();
using GenericRoutineArg = RoutineValue(FSAPI*)(RoutineValue argument);
using GaugeCallback = void(FSAPI*)(GAUGEHDR* gauge, std::int32_t serviceId, RoutineValue extraData);
using ElementCallback = double(FSAPI*)(ELEMENT_HEADER* element);
using MouseHandler = std::int32_t(FSAPI*)(PIXPOINT* point, std::uint32_t eventFlags);

// Service id with which the simulator asks every gauge to update once a frame.
inline constexpr std::int32_t kServicePreUpdate = 6;

struct ELEMENT_HEADER {
    ElementKind kind;
    std::int32_t bitmapId;  // RT_BITMAP resource id; -1 for strings
    PIXPOINT position;      // on the gauge background; a needle's pivot
    PIXPOINT simulatorPosition;
    PIXPOINT offset;  // a needle's pivot inside its own bitmap
    GAUGEHDR* gauge;
    void* simulatorLink;
    ELEMENT_HEADER** children;  // null-terminated list, or null
    std::uint32_t reserved44;
    std::uint32_t imageFlags;
    std::uint32_t reserved52[2];
};

// Bytes between the common header and the first type-specific field (offset
// 112 on 32-bit targets); they belong to the simulator.
inline constexpr std::size_t kSimulatorBytesAfterHeader = 52;

struct ELEMENT_STATIC_IMAGE {
    ELEMENT_HEADER header;
    std::uint8_t simulatorOwned[kSimulatorBytesAfterHeader + 24];
};

struct ELEMENT_ICON {
    ELEMENT_HEADER header;
    std::uint8_t simulatorOwned[kSimulatorBytesAfterHeader];
    std::int32_t pictureCount;  // picture k is bitmap bitmapId + k
    std::uint32_t reserved116[4];
    ElementCallback callback;
    std::uint32_t reserved136[6];
};

struct NEEDLE_POINT {
    std::int32_t x;  // a point on the gauge background
    std::int32_t y;
    double value;  // gauge value at which the needle points there
    std::uint8_t simulatorOwned[8];
};

struct ELEMENT_NEEDLE {
    ELEMENT_HEADER header;
    std::uint8_t simulatorOwned[kSimulatorBytesAfterHeader];
    NEEDLE_POINT* points;
    std::int32_t pointCount;
    std::int32_t maxTurnDegrees;  // largest turn per update
    std::uint32_t reserved124[25];
    ElementCallback callback;
    std::uint32_t reserved228[5];
};

struct ELEMENT_STRING {
    ELEMENT_HEADER header;
    std::uint8_t simulatorOwned[kSimulatorBytesAfterHeader];
    std::uint32_t reserved112[18];
    char* text;  // set by the simulator; holds charCount characters and a zero
    std::uint32_t reserved188;
    std::int32_t boxWidth;
    std::int32_t boxHeight;
    std::uint32_t reserved200[2];
    std::uint32_t textColour;  // 0x00BBGGRR
    std::uint32_t backgroundColour;
    std::uint32_t highlightColour;
    std::uint32_t reserved220[7];
    char fontName[32];
    std::int32_t fontWeight;
    std::int32_t charSet;
    std::int32_t fontFlags;
    std::int32_t charCount;
    std::uint32_t reserved296[4];
    ElementCallback callback;
    std::uint32_t reserved316[5];
};

enum MouseRectKind : std::int32_t {
    kMouseEnd = 0,
    kMouseParent = 1,
    kMouseChild = 2,
    kMouseCloseParent = 3,
};

struct MOUSERECT {
    MouseRectKind kind;
    std::int32_t x;  // relative to the enclosing parent area
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
    std::int32_t cursor;  // -1 except on child areas
    std::int32_t helpId;
    std::uint32_t eventMask;
    std::int32_t eventId;
    MouseHandler handler;
    std::uint32_t reserved40;
};

// Mouse event flags the simulator passes to handlers and areas mask.
namespace mouse_flag {
inline constexpr std::uint32_t kLeftSingle = 0x20000000;
inline constexpr std::uint32_t kRightSingle = 0x80000000;
inline constexpr std::uint32_t kLeftRepeat = 0x00200000;   // held down
inline constexpr std::uint32_t kLeftRelease = 0x00020000;
inline constexpr std::uint32_t kLeave = 0x00000800;        // the pointer left the area
}  // namespace mouse_flag

// Cursors a child area may show.
namespace mouse_cursor {
inline constexpr std::int32_t kNone = -1;
inline constexpr std::int32_t kUpArrow = 1;
inline constexpr std::int32_t kDownArrow = 2;
inline constexpr std::int32_t kHand = 5;
}  // namespace mouse_cursor

inline constexpr int kGenericRoutineCount = 7;

struct GAUGEHDR {
    std::int32_t version;  // 800 or 900
    const char* name;
    ELEMENT_HEADER** elements;  // holds exactly the background image
    GenericRoutine routine1;
    GenericRoutineArg routine2;
    GenericRoutine routine3;
    GenericRoutine routine4;
    GenericRoutineArg routine5;
    GenericRoutine routine6;
    GenericRoutine routine7;
    std::uint32_t reserved40;
    std::int32_t sizeValue;
    std::uint32_t reserved48[8];
    MOUSERECT* mouseRects;
    GaugeCallback callback;
    std::uint32_t reserved88[10];
};

inline constexpr int kGaugeCount = 39;
inline constexpr std::uint32_t kModuleId = 0x13;
inline constexpr std::uint32_t kModuleVersion = 0x900;

struct MODULE_LINKAGE {
    std::uint32_t moduleId;
    ModuleRoutine moduleInit;
    ModuleRoutine moduleDeinit;
    std::uint32_t flags;
    std::uint32_t status;  // the simulator's own
    std::uint32_t version;
    GAUGEHDR* gauges[kGaugeCount + 1];  // null after the last
};

inline constexpr std::uint32_t kImportPanelsId = 0x0F;

struct IMPORT_ENTRY {
    std::uint32_t id;
    PANELS* pointer;
};

struct IMPORT_TABLE {
    IMPORT_ENTRY panels;  // the simulator writes its PANELS table here
    IMPORT_ENTRY end;
};

// A simulator variable looked up through PANELS slot 40.
struct MODULE_VAR {
    std::int32_t token;  // the only field the module sets
    std::uint32_t reserved4;
    std::uint32_t reserved8;
    std::uint8_t value[8];  // a 64-bit float, or a 32-bit integer in the first 4 bytes
    std::uint8_t reserved20[8];
};

// The PANELS function table: entries by slot number. The module calls only
// the slots named below, each with the signature given beside it.
inline constexpr int kPanelsSlotCount = 128;

struct PANELS {
    void* slots[kPanelsSlotCount];
};

namespace panels_slot {
inline constexpr int kElementRoutine1 = 24;  // element
inline constexpr int kElementRoutine2 = 25;  // element, value
inline constexpr int kElementRoutine3 = 26;
inline constexpr int kElementRoutine4 = 27;
inline constexpr int kElementRoutine5 = 28;  // element, value
inline constexpr int kElementRoutine6 = 29;
inline constexpr int kElementRoutine7 = 31;
inline constexpr int kTogglePanelWindow = 35;
inline constexpr int kLookupVariable = 40;
inline constexpr int kAircraftVariable = 75;
inline constexpr int kSendEvent = 79;
}  // namespace panels_slot

using PanelsElementRoutine = RoutineValue(FSAPI*)(ELEMENT_HEADER* element);
using PanelsElementRoutineArg = RoutineValue(FSAPI*)(ELEMENT_HEADER* element, RoutineValue argument);
using PanelsTogglePanelWindow = void(FSAPI*)(std::uint32_t windowId);
using PanelsLookupVariable = void(FSAPI*)(MODULE_VAR* variable);
using PanelsAircraftVariable = double(FSAPI*)(std::int32_t variable, std::int32_t unit, std::int32_t index);
using PanelsSendEvent = void(FSAPI*)(std::uint32_t eventId, std::uint32_t value);

#if defined(__i386__) || defined(_M_IX86)
// The simulator reads these records by byte offset.
static_assert(sizeof(PIXPOINT) == 8);
static_assert(offsetof(ELEMENT_HEADER, bitmapId) == 4);
static_assert(offsetof(ELEMENT_HEADER, position) == 8);
static_assert(offsetof(ELEMENT_HEADER, simulatorPosition) == 16);
static_assert(offsetof(ELEMENT_HEADER, offset) == 24);
static_assert(offsetof(ELEMENT_HEADER, gauge) == 32);
static_assert(offsetof(ELEMENT_HEADER, simulatorLink) == 36);
static_assert(offsetof(ELEMENT_HEADER, children) == 40);
static_assert(offsetof(ELEMENT_HEADER, imageFlags) == 48);
static_assert(sizeof(ELEMENT_HEADER) == 60);
static_assert(sizeof(ELEMENT_STATIC_IMAGE) == 136);
static_assert(offsetof(ELEMENT_ICON, pictureCount) == 112);
static_assert(offsetof(ELEMENT_ICON, callback) == 132);
static_assert(sizeof(ELEMENT_ICON) == 160);
static_assert(sizeof(NEEDLE_POINT) == 24);
static_assert(offsetof(NEEDLE_POINT, value) == 8);
static_assert(offsetof(ELEMENT_NEEDLE, points) == 112);
static_assert(offsetof(ELEMENT_NEEDLE, pointCount) == 116);
static_assert(offsetof(ELEMENT_NEEDLE, maxTurnDegrees) == 120);
static_assert(offsetof(ELEMENT_NEEDLE, callback) == 224);
static_assert(sizeof(ELEMENT_NEEDLE) == 248);
static_assert(offsetof(ELEMENT_STRING, text) == 184);
static_assert(offsetof(ELEMENT_STRING, boxWidth) == 192);
static_assert(offsetof(ELEMENT_STRING, boxHeight) == 196);
static_assert(offsetof(ELEMENT_STRING, textColour) == 208);
static_assert(offsetof(ELEMENT_STRING, backgroundColour) == 212);
static_assert(offsetof(ELEMENT_STRING, highlightColour) == 216);
static_assert(offsetof(ELEMENT_STRING, fontName) == 248);
static_assert(offsetof(ELEMENT_STRING, fontWeight) == 280);
static_assert(offsetof(ELEMENT_STRING, charSet) == 284);
static_assert(offsetof(ELEMENT_STRING, fontFlags) == 288);
static_assert(offsetof(ELEMENT_STRING, charCount) == 292);
static_assert(offsetof(ELEMENT_STRING, callback) == 312);
static_assert(sizeof(ELEMENT_STRING) == 336);
static_assert(offsetof(MOUSERECT, x) == 4);
static_assert(offsetof(MOUSERECT, cursor) == 20);
static_assert(offsetof(MOUSERECT, helpId) == 24);
static_assert(offsetof(MOUSERECT, eventMask) == 28);
static_assert(offsetof(MOUSERECT, eventId) == 32);
static_assert(offsetof(MOUSERECT, handler) == 36);
static_assert(sizeof(MOUSERECT) == 44);
static_assert(offsetof(GAUGEHDR, name) == 4);
static_assert(offsetof(GAUGEHDR, elements) == 8);
static_assert(offsetof(GAUGEHDR, routine1) == 12);
static_assert(offsetof(GAUGEHDR, routine7) == 36);
static_assert(offsetof(GAUGEHDR, reserved40) == 40);
static_assert(offsetof(GAUGEHDR, sizeValue) == 44);
static_assert(offsetof(GAUGEHDR, mouseRects) == 80);
static_assert(offsetof(GAUGEHDR, callback) == 84);
static_assert(sizeof(GAUGEHDR) == 128);
static_assert(offsetof(MODULE_LINKAGE, moduleInit) == 4);
static_assert(offsetof(MODULE_LINKAGE, moduleDeinit) == 8);
static_assert(offsetof(MODULE_LINKAGE, flags) == 12);
static_assert(offsetof(MODULE_LINKAGE, status) == 16);
static_assert(offsetof(MODULE_LINKAGE, version) == 20);
static_assert(offsetof(MODULE_LINKAGE, gauges) == 24);
static_assert(offsetof(MODULE_LINKAGE, gauges) + 4 * kGaugeCount == 180);
static_assert(sizeof(MODULE_LINKAGE) == 184);
static_assert(sizeof(IMPORT_ENTRY) == 8);
static_assert(sizeof(IMPORT_TABLE) == 16);
static_assert(offsetof(MODULE_VAR, value) == 12);
static_assert(sizeof(MODULE_VAR) == 28);
#endif
static_assert(sizeof(MODULE_VAR) == 28);
static_assert(offsetof(MODULE_VAR, value) == 12);
