// The records the simulator's panel system reads from a gauge module, and the
// PANELS function table it hands back. Both the module and the host (which
// plays the simulator) use this header, so their layouts cannot drift apart.
//
// On 32-bit targets every record is byte-exact to what FS9 reads (checked at
// compile time at the end of this file); on 64-bit targets pointers take their
// natural width and alignment, and the offsets move accordingly. No field
// needs packing: the 64-bit values at 4-byte offsets (MODULE_VAR's, the
// gauge header's user area) are kept as bytes.
//
// Each record holds the simulator's own fields too, named as the simulator
// names them: the host writes them as the simulator does, so a module that
// read one, or a record shorter than the simulator's, would show in a test.
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

// Image flag bits by meaning. The module sets bits 0, 1, 2, 14 and 30 in its
// data; bits 25 to 31 are the simulator's and change at run time.
namespace image_flag {
inline constexpr std::uint32_t kTransparent = 0x1;  // the transparent colour lets what is beneath show
inline constexpr std::uint32_t kErase = 0x2;        // the background is restored before each drawing
inline constexpr std::uint32_t kBright = 0x4;       // not darkened at night
inline constexpr std::uint32_t kLuminous = 0x4000;  // lit by the panel light at night
inline constexpr std::uint32_t kHiddenTree = 0x02000000;
inline constexpr std::uint32_t kHidden = 0x40000000;  // not drawn (the logic gauge's pixel)
inline constexpr std::uint32_t kOnScreen = 0x80000000;
inline constexpr std::uint32_t kChangedAtRunTime = 0xFE000000;  // bits 25 to 31
}  // namespace image_flag

// The head of every element record. The simulator writes the previous
// position and the previous element as it draws.
struct ELEMENT_HEADER {
    ElementKind kind;
    std::int32_t bitmapId;  // RT_BITMAP resource id; -1 for strings
    PIXPOINT position;      // on the gauge background; a needle's pivot
    PIXPOINT previousPosition;  // the simulator's
    PIXPOINT offset;  // a needle's pivot inside its own bitmap
    GAUGEHDR* gauge;
    ELEMENT_HEADER* previousElement;  // the simulator's
    ELEMENT_HEADER** children;  // null-terminated list, or null
    void* failures;             // failure records; none in this module
    std::uint32_t imageFlags;   // image_flag bits
    std::uint32_t specialFlags;
    std::uint32_t reserved56;
};

// Bytes between the common header and the first type-specific field (offset
// 112 on 32-bit targets): the element's source variables, none in this module.
inline constexpr std::size_t kSourceVariableBytes = 52;

// Bytes that are the simulator's alone are kept as plain bytes where the
// module never names them.
struct ELEMENT_STATIC_IMAGE {
    ELEMENT_HEADER header;
    std::uint8_t simulatorImages[36];  // its images and save buffers
    std::uint8_t reserved96[40];
};

struct ELEMENT_ICON {
    ELEMENT_HEADER header;
    std::uint8_t sourceVariables[kSourceVariableBytes];
    std::int32_t pictureCount;  // picture k is bitmap bitmapId + k
    std::uint8_t simulatorPictures[16];  // current and destination picture, their images
    ElementCallback callback;
    std::uint8_t simulatorSaveBuffer[4];
    std::uint32_t reserved140[5];
};

struct NEEDLE_POINT {
    std::int32_t x;  // a point on the gauge background
    std::int32_t y;
    double value;  // gauge value at which the needle points there
    double angle;  // the simulator's: the angle it points at there
};

struct ELEMENT_NEEDLE {
    ELEMENT_HEADER header;
    std::uint8_t sourceVariables[kSourceVariableBytes];
    NEEDLE_POINT* points;
    std::int32_t pointCount;
    std::int32_t maxTurnDegrees;  // largest turn per update
    std::uint8_t simulatorNeedle[100];  // goal, angles, image and save buffers
    ElementCallback callback;
    std::uint8_t simulatorSaved[8];
    std::uint32_t reserved236[3];
};

struct ELEMENT_STRING {
    ELEMENT_HEADER header;
    std::uint8_t sourceVariables[kSourceVariableBytes + 32];
    std::uint8_t simulatorSavedValues[24];
    std::uint32_t reserved168[4];
    char* text;  // set by the simulator; holds charCount characters and a zero
    char* simulatorOldText;
    std::int32_t boxWidth;
    std::int32_t boxHeight;
    void* simulatorImage;
    void* simulatorDevice;
    std::uint32_t textColour;  // 0x00BBGGRR
    std::uint32_t backgroundColour;
    std::uint32_t highlightColour;
    std::uint8_t simulatorFonts[28];  // font, brush and device handles
    char fontName[32];
    std::int32_t fontWeight;
    std::int32_t charSet;
    std::int32_t fontFlags;
    // Two 16-bit fields share the 32 bits at 292: the module's character count
    // (written with the high half zero) and the character width the simulator
    // measures when it creates the element. Only the count is ever read.
    std::uint16_t charCount;
    std::uint16_t charWidth;  // the simulator's
    std::uint16_t selectionStart;  // the simulator's
    std::uint16_t selectionEnd;    // the simulator's
    void* sequence;                // the simulator's
    void* savedSequence;           // the simulator's
    std::int32_t charHeight;       // the simulator's
    ElementCallback callback;
    std::uint32_t useUserColour;  // the simulator's
    std::uint32_t userColour;     // the simulator's
    std::uint32_t reserved324[3];
};

// The sizes of the simulator's own records on its 32-bit target; the
// module's are at least as long.
namespace simulator_size {
inline constexpr std::size_t kStaticImage = 96;
inline constexpr std::size_t kNeedle = 236;
inline constexpr std::size_t kString = 324;
inline constexpr std::size_t kIcon = 140;
inline constexpr std::size_t kGaugeHeaderFs9 = 204;
inline constexpr std::size_t kGaugeHeader = 252;  // the later simulator's, which covers FS9's
}  // namespace simulator_size

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

// A gauge's header. The module fills the fields up to the gauge callback and
// leaves every later field zero; those are the simulator's, which it writes
// when it creates the gauge from a panel configuration line.
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
    std::int32_t sizeValue;  // width in millimetres
    std::int32_t sizeY;      // height in millimetres
    float adjustX;
    float adjustY;
    std::uint32_t reserved60;
    std::uint32_t reserved64;
    PIXPOINT position;  // the simulator's: where the gauge sits in its window
    std::uint32_t reserved76;
    MOUSERECT* mouseRects;
    GaugeCallback callback;
    // The simulator's from here on.
    std::uint32_t userData;
    const char* parameters;  // the gauge line's parameter string
    const char* usage;
    std::uint32_t reserved100;
    std::uint32_t reserved104;
    PIXPOINT sizePixels;
    std::uint8_t userArea[10][8];  // ten 64-bit floats, at a 4-byte offset
    std::uint32_t flags;
    void* reserved200;
    // The later simulator's header goes on.
    std::uint8_t identifier[16];
    std::uint32_t keyId;
    void* callbacks[5];
    PIXPOINT originalPosition;
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
static_assert(offsetof(ELEMENT_HEADER, previousPosition) == 16);
static_assert(offsetof(ELEMENT_HEADER, offset) == 24);
static_assert(offsetof(ELEMENT_HEADER, gauge) == 32);
static_assert(offsetof(ELEMENT_HEADER, previousElement) == 36);
static_assert(offsetof(ELEMENT_HEADER, children) == 40);
static_assert(offsetof(ELEMENT_HEADER, failures) == 44);
static_assert(offsetof(ELEMENT_HEADER, imageFlags) == 48);
static_assert(offsetof(ELEMENT_HEADER, specialFlags) == 52);
static_assert(sizeof(ELEMENT_HEADER) == 60);
static_assert(offsetof(ELEMENT_STATIC_IMAGE, simulatorImages) == 60);
static_assert(sizeof(ELEMENT_STATIC_IMAGE) == 136 && 136 >= simulator_size::kStaticImage);
static_assert(offsetof(ELEMENT_ICON, pictureCount) == 112);
static_assert(offsetof(ELEMENT_ICON, simulatorPictures) == 116);
static_assert(offsetof(ELEMENT_ICON, callback) == 132);
static_assert(offsetof(ELEMENT_ICON, simulatorSaveBuffer) == 136);
static_assert(sizeof(ELEMENT_ICON) == 160 && 160 >= simulator_size::kIcon);
static_assert(sizeof(NEEDLE_POINT) == 24);
static_assert(offsetof(NEEDLE_POINT, value) == 8);
static_assert(offsetof(NEEDLE_POINT, angle) == 16);
static_assert(offsetof(ELEMENT_NEEDLE, points) == 112);
static_assert(offsetof(ELEMENT_NEEDLE, pointCount) == 116);
static_assert(offsetof(ELEMENT_NEEDLE, maxTurnDegrees) == 120);
static_assert(offsetof(ELEMENT_NEEDLE, simulatorNeedle) == 124);
static_assert(offsetof(ELEMENT_NEEDLE, callback) == 224);
static_assert(offsetof(ELEMENT_NEEDLE, simulatorSaved) == 228);
static_assert(sizeof(ELEMENT_NEEDLE) == 248 && 248 >= simulator_size::kNeedle);
static_assert(offsetof(ELEMENT_STRING, simulatorSavedValues) == 144);
static_assert(offsetof(ELEMENT_STRING, text) == 184);
static_assert(offsetof(ELEMENT_STRING, simulatorOldText) == 188);
static_assert(offsetof(ELEMENT_STRING, boxWidth) == 192);
static_assert(offsetof(ELEMENT_STRING, boxHeight) == 196);
static_assert(offsetof(ELEMENT_STRING, simulatorImage) == 200);
static_assert(offsetof(ELEMENT_STRING, simulatorDevice) == 204);
static_assert(offsetof(ELEMENT_STRING, textColour) == 208);
static_assert(offsetof(ELEMENT_STRING, backgroundColour) == 212);
static_assert(offsetof(ELEMENT_STRING, highlightColour) == 216);
static_assert(offsetof(ELEMENT_STRING, simulatorFonts) == 220);
static_assert(offsetof(ELEMENT_STRING, fontName) == 248);
static_assert(offsetof(ELEMENT_STRING, fontWeight) == 280);
static_assert(offsetof(ELEMENT_STRING, charSet) == 284);
static_assert(offsetof(ELEMENT_STRING, fontFlags) == 288);
static_assert(offsetof(ELEMENT_STRING, charCount) == 292);
static_assert(offsetof(ELEMENT_STRING, charWidth) == 294);
static_assert(offsetof(ELEMENT_STRING, selectionStart) == 296);
static_assert(offsetof(ELEMENT_STRING, selectionEnd) == 298);
static_assert(offsetof(ELEMENT_STRING, sequence) == 300);
static_assert(offsetof(ELEMENT_STRING, savedSequence) == 304);
static_assert(offsetof(ELEMENT_STRING, charHeight) == 308);
static_assert(offsetof(ELEMENT_STRING, callback) == 312);
static_assert(offsetof(ELEMENT_STRING, useUserColour) == 316);
static_assert(offsetof(ELEMENT_STRING, userColour) == 320);
static_assert(sizeof(ELEMENT_STRING) == 336 && 336 >= simulator_size::kString);
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
static_assert(offsetof(GAUGEHDR, sizeY) == 48);
static_assert(offsetof(GAUGEHDR, adjustX) == 52);
static_assert(offsetof(GAUGEHDR, adjustY) == 56);
static_assert(offsetof(GAUGEHDR, position) == 68);
static_assert(offsetof(GAUGEHDR, mouseRects) == 80);
static_assert(offsetof(GAUGEHDR, callback) == 84);
static_assert(offsetof(GAUGEHDR, userData) == 88);
static_assert(offsetof(GAUGEHDR, parameters) == 92);
static_assert(offsetof(GAUGEHDR, usage) == 96);
static_assert(offsetof(GAUGEHDR, reserved100) == 100);
static_assert(offsetof(GAUGEHDR, sizePixels) == 108);
static_assert(offsetof(GAUGEHDR, userArea) == 116);
static_assert(offsetof(GAUGEHDR, flags) == 196);
static_assert(offsetof(GAUGEHDR, reserved200) == 200);
static_assert(offsetof(GAUGEHDR, identifier) == simulator_size::kGaugeHeaderFs9);
static_assert(offsetof(GAUGEHDR, keyId) == 220);
static_assert(offsetof(GAUGEHDR, callbacks) == 224);
static_assert(offsetof(GAUGEHDR, originalPosition) == 244);
static_assert(sizeof(GAUGEHDR) == simulator_size::kGaugeHeader);
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
