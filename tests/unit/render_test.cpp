// The renderer: needle geometry and travel, the bitmap store's transparent colour and placeholders, icons and
// strings as drawn, the panel layout parser and its faults, and windows drawn from a layout.
#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "../support/temp_folder.h"
#include "render/bitmap_store.h"
#include "render/gauge_renderer.h"
#include "render/label.h"
#include "render/needle_geometry.h"
#include "render/panel_layout.h"
#include "render/string_element.h"
#include "render/window_drawing.h"
#include "sim/simulator.h"

namespace {

// The font libraries' caches live as long as the process unless handed back; the leak checker would report them.
class FontCaches : public ::testing::Environment {
public:
    void TearDown() override { render::ReleaseFontCaches(); }
};
const auto* const fontCaches = ::testing::AddGlobalTestEnvironment(new FontCaches);

using render::NeedleAngle;
using render::TurnToward;

struct Colour {
    std::uint8_t red, green, blue;
};

// An indexed BMP file as the module's are: depth 8 (or 4), a palette, one palette index per pixel, rows from the top.
void WriteBitmap(const std::filesystem::path& folder, int id, int width, int height, const std::vector<Colour>& palette,
                 const std::vector<int>& indices, int depth = 8) {
    FIBITMAP* dib = FreeImage_Allocate(width, height, depth);
    ASSERT_NE(dib, nullptr);
    RGBQUAD* entries = FreeImage_GetPalette(dib);
    for (std::size_t i = 0; i < palette.size(); ++i)
        entries[i] = RGBQUAD{palette[i].blue, palette[i].green, palette[i].red, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            BYTE index = static_cast<BYTE>(indices[static_cast<std::size_t>(y * width + x)]);
            FreeImage_SetPixelIndex(dib, x, height - 1 - y, &index);
        }
    const std::string path = (folder / (std::to_string(id) + ".bmp")).string();
    EXPECT_TRUE(FreeImage_Save(FIF_BMP, dib, path.c_str(), BMP_DEFAULT));
    FreeImage_Unload(dib);
}

// A bitmap of one colour.
void WriteSolid(const std::filesystem::path& folder, int id, int width, int height, Colour colour) {
    WriteBitmap(folder, id, width, height, {colour}, std::vector<int>(static_cast<std::size_t>(width * height), 0));
}

struct Pixel {
    int alpha, red, green, blue;
};

Pixel PixelAt(cairo_surface_t* surface, int x, int y) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const std::uint32_t p = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride)[x];
    return {static_cast<int>(p >> 24), static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
            static_cast<int>(p & 0xFF)};
}

std::size_t Mentioning(const std::vector<std::string>& warnings, const std::string& text) {
    std::size_t count = 0;
    for (const std::string& warning : warnings) count += warning.find(text) != std::string::npos;
    return count;
}

bool IsColour(Pixel p, int red, int green, int blue) {
    return p.alpha == 255 && std::abs(p.red - red) <= 2 && std::abs(p.green - green) <= 2 &&
           std::abs(p.blue - blue) <= 2;
}

NEEDLE_POINT Point(int x, int y, double value) {
    NEEDLE_POINT point{};
    point.x = x;
    point.y = y;
    point.value = value;
    return point;
}

// --- Needle geometry -------------------------------------------------------------------------------------------

TEST(NeedleAngle, InterpolatesTheAngleBetweenNeighbouringEntriesByValue) {
    const NEEDLE_POINT table[] = {Point(10, 0, 0.0), Point(0, 10, 10.0), Point(-10, 0, 30.0)};
    EXPECT_NEAR(*NeedleAngle({0, 0}, table, 3, 0.0), 0.0, 1e-9);
    EXPECT_NEAR(*NeedleAngle({0, 0}, table, 3, 5.0), 45.0, 1e-9);
    EXPECT_NEAR(*NeedleAngle({0, 0}, table, 3, 10.0), 90.0, 1e-9);
    EXPECT_NEAR(*NeedleAngle({0, 0}, table, 3, 20.0), 135.0, 1e-9);
}

TEST(NeedleAngle, ClampsValuesBeyondTheTableToItsEnds) {
    const NEEDLE_POINT table[] = {Point(10, 0, 0.0), Point(0, 10, 10.0)};
    EXPECT_NEAR(*NeedleAngle({0, 0}, table, 2, -5.0), 0.0, 1e-9);
    EXPECT_NEAR(*NeedleAngle({0, 0}, table, 2, 1e9), 90.0, 1e-9);
    EXPECT_NEAR(*NeedleAngle({0, 0}, table, 2, INFINITY), 90.0, 1e-9);
    EXPECT_NEAR(*NeedleAngle({0, 0}, table, 2, -INFINITY), 0.0, 1e-9);
}

TEST(NeedleAngle, ATableThatGoesOutAndBackToTheSamePointTurnsAllTheWayRound) {
    // The ITV needle's table: up at 0, down at 5, up again at 10. Half turns go clockwise, and the needle passes
    // through the sides, never through its pivot.
    const NEEDLE_POINT table[] = {Point(24, 196, 0.0), Point(24, 238, 5.0), Point(24, 196, 10.0)};
    const PIXPOINT pivot{24, 217};
    EXPECT_NEAR(*NeedleAngle(pivot, table, 3, 0.0), -90.0, 1e-9);
    EXPECT_NEAR(*NeedleAngle(pivot, table, 3, 2.5), 0.0, 1e-9);    // right
    EXPECT_NEAR(*NeedleAngle(pivot, table, 3, 5.0), 90.0, 1e-9);   // down
    EXPECT_NEAR(*NeedleAngle(pivot, table, 3, 7.5), 180.0, 1e-9);  // left
    EXPECT_NEAR(*NeedleAngle(pivot, table, 3, 10.0), 270.0, 1e-9);
}

TEST(NeedleAngle, ValuesThatGoBackDownAndRepeatedValuesAtOnePoint) {
    const NEEDLE_POINT falling[] = {Point(10, 0, 10.0), Point(0, 10, 0.0)};
    EXPECT_NEAR(*NeedleAngle({0, 0}, falling, 2, 2.5), 67.5, 1e-9);
    EXPECT_NEAR(*NeedleAngle({0, 0}, falling, 2, 12.0), 0.0, 1e-9);

    // 0, 5 and 10 at one point: the needle rests there until the value passes 10.
    const NEEDLE_POINT resting[] = {Point(10, 0, 0.0), Point(10, 0, 5.0), Point(10, 0, 10.0), Point(0, 10, 20.0)};
    EXPECT_NEAR(*NeedleAngle({0, 0}, resting, 4, 3.0), 0.0, 1e-9);
    EXPECT_NEAR(*NeedleAngle({0, 0}, resting, 4, 7.0), 0.0, 1e-9);
    EXPECT_NEAR(*NeedleAngle({0, 0}, resting, 4, 15.0), 45.0, 1e-9);

    // Up and back down again: the first pair that brackets the value decides.
    const NEEDLE_POINT upAndDown[] = {Point(10, 0, 0.0), Point(0, 10, 10.0), Point(-10, 0, 0.0)};
    EXPECT_NEAR(*NeedleAngle({0, 0}, upAndDown, 3, 5.0), 45.0, 1e-9);
    EXPECT_NEAR(*NeedleAngle({0, 0}, upAndDown, 3, 20.0), 90.0, 1e-9);
}

TEST(NeedleAngle, ADialOfMoreThanHalfATurnIsUnwrappedAndCounterClockwiseTablesWork) {
    // Up, right, down, left, upper left: 315 degrees clockwise from up.
    const NEEDLE_POINT dial[] = {Point(0, -10, 0.0), Point(10, 0, 1.0), Point(0, 10, 2.0), Point(-10, 0, 3.0),
                                 Point(-10, -10, 3.5)};
    EXPECT_NEAR(*NeedleAngle({0, 0}, dial, 5, 3.5), 225.0, 1e-9);
    EXPECT_NEAR(*NeedleAngle({0, 0}, dial, 5, 3.0), 180.0, 1e-9);

    const NEEDLE_POINT anticlockwise[] = {Point(10, 0, 0.0), Point(0, -10, 1.0)};
    EXPECT_NEAR(*NeedleAngle({0, 0}, anticlockwise, 2, 0.5), -45.0, 1e-9);
}

TEST(NeedleAngle, NothingForAnEmptyTableOrANaNAndAPointOnThePivotKeepsItsNeighboursDirection) {
    const NEEDLE_POINT table[] = {Point(0, 0, 0.0), Point(0, 10, 10.0)};
    EXPECT_FALSE(NeedleAngle({0, 0}, table, 0, 1.0));
    EXPECT_FALSE(NeedleAngle({0, 0}, nullptr, 2, 1.0));
    EXPECT_FALSE(NeedleAngle({0, 0}, table, 2, NAN));
    EXPECT_NEAR(*NeedleAngle({0, 0}, table, 2, 0.0), 90.0, 1e-9);
    EXPECT_NEAR(*NeedleAngle({0, 0}, table, 1, 99.0), 0.0, 1e-9);  // alone on the pivot: pointing right
}

TEST(TurnToward, MovesAtMostTheLargestTurnEitherWay) {
    EXPECT_DOUBLE_EQ(TurnToward(0.0, 100.0, 18.0), 18.0);
    EXPECT_DOUBLE_EQ(TurnToward(0.0, -100.0, 18.0), -18.0);
    EXPECT_DOUBLE_EQ(TurnToward(90.0, 95.0, 18.0), 95.0);
    EXPECT_DOUBLE_EQ(TurnToward(0.0, 300.0, 0.0), 300.0);  // no limit
}

// --- A gauge of our own --------------------------------------------------------------------------------------

double needleValue = 0.0;
double iconValue = 0.0;
double FSAPI NeedleValue(ELEMENT_HEADER*) { return needleValue; }
double FSAPI IconValue(ELEMENT_HEADER*) { return iconValue; }
double FSAPI WriteText(ELEMENT_HEADER* element) {
    auto* string = reinterpret_cast<ELEMENT_STRING*>(element);
    std::strcpy(string->text, "88");
    return 88.0;
}

constexpr int kBackground = 100, kNeedle = 101, kIcon = 110;
constexpr Colour kGrey{100, 100, 100}, kWhite{250, 250, 250}, kRed{200, 0, 0}, kGreen{0, 200, 0}, kBlue{0, 0, 200};

// A 40x40 grey face; a needle of 15x3 white pixels on a pivot at the face's centre, its table giving an angle of
// one degree per unit from 0 (right) to 90 (down), at most 10 degrees a frame; an icon of three 4x4 pictures at 5, 5;
// a string box of 30x12 at 5, 25.
class OwnGauge : public ::testing::Test {
protected:
    OwnGauge() {
        WriteSolid(folder.path(), kBackground, 40, 40, kGrey);
        WriteBitmap(folder.path(), kNeedle, 16, 3, {{0, 0, 0}, kWhite}, std::vector<int>(48, 1));
        WriteSolid(folder.path(), kIcon, 4, 4, kRed);
        WriteSolid(folder.path(), kIcon + 1, 4, 4, kGreen);
        WriteSolid(folder.path(), kIcon + 2, 4, 4, kBlue);

        background.header.kind = kElementStaticImage;
        background.header.bitmapId = kBackground;
        background.header.imageFlags = image_flag::kTransparent;
        background.header.children = afterBackground;
        background.header.gauge = &gauge;

        needle.header.kind = kElementNeedle;
        needle.header.bitmapId = kNeedle;
        needle.header.position = {20, 20};
        needle.header.offset = {0, 1};
        needle.header.imageFlags = image_flag::kTransparent | image_flag::kErase;
        needle.header.children = afterNeedle;
        needle.points = points;
        needle.pointCount = 2;
        needle.maxTurnDegrees = 10;
        needle.callback = NeedleValue;

        icon.header.kind = kElementIcon;
        icon.header.bitmapId = kIcon;
        icon.header.position = {5, 5};
        icon.header.imageFlags = image_flag::kTransparent | image_flag::kErase | image_flag::kBright;
        icon.header.children = afterIcon;
        icon.pictureCount = 3;
        icon.callback = IconValue;

        text.header.kind = kElementString;
        text.header.bitmapId = -1;
        text.header.position = {5, 25};
        text.header.imageFlags = image_flag::kTransparent | image_flag::kErase | image_flag::kBright;
        text.boxWidth = 30;
        text.boxHeight = 12;
        text.textColour = 0x00FFFFFF;
        text.backgroundColour = 0x000000FF;  // red, as 0x00BBGGRR
        std::strcpy(text.fontName, "Courier New");
        text.fontWeight = 400;
        text.fontFlags = 32;
        text.charCount = 3;
        text.callback = WriteText;
        text.text = textBuffer;

        gauge.name = "own";
        gauge.elements = elements;
        needleValue = 0.0;
        iconValue = 0.0;
    }

    TempFolder folder;
    std::vector<std::string> warnings;
    render::BitmapStore bitmaps{folder.path().string(), [this](const std::string& w) { warnings.push_back(w); }};
    render::GaugeRenderer renderer{bitmaps, [this](const std::string& w) { warnings.push_back(w); }};

    NEEDLE_POINT points[2] = {Point(30, 20, 0.0), Point(20, 30, 90.0)};
    char textBuffer[8] = {};
    ELEMENT_STRING text{};
    ELEMENT_HEADER* afterIcon[2] = {&text.header, nullptr};
    ELEMENT_ICON icon{};
    ELEMENT_HEADER* afterNeedle[2] = {&icon.header, nullptr};
    ELEMENT_NEEDLE needle{};
    ELEMENT_HEADER* afterBackground[2] = {&needle.header, nullptr};
    ELEMENT_STATIC_IMAGE background{};
    ELEMENT_HEADER* elements[2] = {&background.header, nullptr};
    GAUGEHDR gauge{};
};

TEST_F(OwnGauge, ChainOrderAndSizeComeFromTheTreeAndTheBackground) {
    const auto chain = render::ChainOrder(&gauge);
    ASSERT_EQ(chain.size(), 4u);
    EXPECT_EQ(chain[0], &background.header);
    EXPECT_EQ(chain[3], &text.header);
    EXPECT_EQ(renderer.GaugeSize(&gauge).width, 40);
    EXPECT_EQ(renderer.GaugeSize(&gauge).height, 40);

    // A tree that loops back on itself is walked once.
    text.header.children = afterNeedle;
    EXPECT_EQ(render::ChainOrder(&gauge).size(), 4u);
}

TEST_F(OwnGauge, AFirstDrawSnapsAndThenTheNeedleTurnsAtMostItsLargestTurnPerFrame) {
    needleValue = 50.0;
    renderer.BeginFrame();
    renderer.DrawGauge(&gauge);
    EXPECT_NEAR(*renderer.NeedleAngleOf(&needle.header), 50.0, 1e-9);

    needleValue = 90.0;
    renderer.BeginFrame();
    renderer.DrawGauge(&gauge);
    EXPECT_NEAR(*renderer.NeedleAngleOf(&needle.header), 60.0, 1e-9);
    // Drawn again in the same frame, it does not turn again.
    renderer.DrawGauge(&gauge);
    EXPECT_NEAR(*renderer.NeedleAngleOf(&needle.header), 60.0, 1e-9);
    renderer.BeginFrame();
    renderer.Update(&gauge);
    EXPECT_NEAR(*renderer.NeedleAngleOf(&needle.header), 70.0, 1e-9);
    for (int frame = 0; frame < 5; ++frame) {
        renderer.BeginFrame();
        renderer.Update(&gauge);
    }
    EXPECT_NEAR(*renderer.NeedleAngleOf(&needle.header), 90.0, 1e-9);

    needleValue = 0.0;
    renderer.BeginFrame();
    renderer.Update(&gauge);
    EXPECT_NEAR(*renderer.NeedleAngleOf(&needle.header), 80.0, 1e-9);
}

TEST_F(OwnGauge, TheNeedleIsDrawnTurnedAboutItsPivot) {
    // Above the string box, which is drawn over the needle's tip.
    needleValue = 90.0;  // straight down
    render::Surface picture = renderer.DrawGauge(&gauge);
    EXPECT_TRUE(IsColour(PixelAt(picture.get(), 20, 23), 250, 250, 250));
    EXPECT_TRUE(IsColour(PixelAt(picture.get(), 30, 20), 100, 100, 100));
    EXPECT_TRUE(IsColour(PixelAt(picture.get(), 24, 23), 100, 100, 100));

    render::GaugeRenderer fresh(bitmaps, [](const std::string&) {});
    needleValue = 0.0;  // to the right
    picture = fresh.DrawGauge(&gauge);
    EXPECT_TRUE(IsColour(PixelAt(picture.get(), 30, 20), 250, 250, 250));
    EXPECT_TRUE(IsColour(PixelAt(picture.get(), 20, 23), 100, 100, 100));
}

TEST_F(OwnGauge, AnIconShowsPictureKAndNothingForMinusOneOrAPictureItLacks) {
    const std::vector<std::pair<double, Colour>> cases = {{0.0, kRed},   {1.0, kGreen}, {2.0, kBlue}, {2.7, kBlue},
                                                          {-1.0, kGrey}, {3.0, kGrey},  {NAN, kGrey}, {1e300, kGrey}};
    for (const auto& [value, colour] : cases) {
        iconValue = value;
        render::Surface picture = renderer.DrawGauge(&gauge);
        EXPECT_TRUE(IsColour(PixelAt(picture.get(), 6, 6), colour.red, colour.green, colour.blue)) << value;
    }
}

TEST_F(OwnGauge, AStringIsABoxInItsBackgroundColourWithTheTextInItsOwn) {
    render::Surface picture = renderer.DrawGauge(&gauge);
    EXPECT_STREQ(textBuffer, "88");
    // The bottom-right corner of the box is background, red; the text is white (its edges smoothed into the red).
    EXPECT_TRUE(IsColour(PixelAt(picture.get(), 34, 36), 255, 0, 0));
    int whitish = 0;
    for (int y = 25; y < 37; ++y)
        for (int x = 5; x < 35; ++x) whitish += PixelAt(picture.get(), x, y).green > 150;
    EXPECT_GT(whitish, 10);
    // Nothing outside the box.
    EXPECT_TRUE(IsColour(PixelAt(picture.get(), 36, 30), 100, 100, 100));

    // Background colour 0 is a black box.
    text.backgroundColour = 0;
    picture = renderer.DrawGauge(&gauge);
    EXPECT_TRUE(IsColour(PixelAt(picture.get(), 34, 36), 0, 0, 0));
}

TEST_F(OwnGauge, AStringWithoutATextBufferIsNotAskedForItsText) {
    text.text = nullptr;
    render::Surface picture = renderer.DrawGauge(&gauge);
    EXPECT_TRUE(IsColour(PixelAt(picture.get(), 34, 36), 255, 0, 0));
    EXPECT_EQ(Mentioning(warnings, "no text buffer"), 1u);
}

// The module's text is set in Courier New: a face of the same widths stands in for it without a word, and only a
// face with no such stand-in is reported, once.
TEST(FontChooser, TakesAFaceOfTheSameWidthsBeforeWarningOfAMissingOne) {
    std::vector<std::string> warnings;
    render::FontChooser fonts([&warnings](const std::string& warning) { warnings.push_back(warning); });
    EXPECT_EQ(fonts.Family("Courier New"), "Liberation Mono") << "fonts-liberation is installed by tools/setup.sh";
    EXPECT_EQ(fonts.Family("courier new"), "Liberation Mono");
    EXPECT_EQ(warnings, std::vector<std::string>{});
    EXPECT_EQ(fonts.Family("No Such Face 42"), render::FontChooser::kFallback);
    fonts.Family("No Such Face 42");
    EXPECT_EQ(warnings.size(), 1u);
}

TEST(ColourRef, IsBlueGreenRed) {
    const render::Rgb pale = render::FromColourRef(0x00F4F4EA);
    EXPECT_DOUBLE_EQ(pale.red, 0xEA / 255.0);
    EXPECT_DOUBLE_EQ(pale.green, 0xF4 / 255.0);
    EXPECT_DOUBLE_EQ(pale.blue, 0xF4 / 255.0);
}

TEST(TextToUtf8, ReadsTheWindowsLatinCodePage) {
    EXPECT_EQ(render::TextToUtf8("520.0"), "520.0");
    EXPECT_EQ(render::TextToUtf8("\xB0"
                                 "C"),
              "\u00B0C");
    EXPECT_EQ(render::TextToUtf8("a\tb"), "a b");
}

// --- Bitmap store ----------------------------------------------------------------------------------------------

TEST(BitmapStore, PureBlackAndOnlyPureBlackIsTransparent) {
    TempFolder folder;
    WriteBitmap(folder.path(), 5, 3, 1, {{0, 0, 0}, {200, 10, 10}, {8, 0, 0}}, {0, 1, 2});
    WriteBitmap(folder.path(), 6, 2, 1, {{30, 40, 50}, {0, 0, 0}}, {0, 1}, 4);
    render::BitmapStore store(folder.path().string(), [](const std::string& w) { ADD_FAILURE() << w; });

    const render::Bitmap& bitmap = store.Get(5);
    ASSERT_FALSE(bitmap.placeholder);
    EXPECT_EQ(bitmap.width, 3);
    EXPECT_EQ(bitmap.height, 1);
    EXPECT_EQ(PixelAt(bitmap.surface.get(), 0, 0).alpha, 0);
    EXPECT_TRUE(IsColour(PixelAt(bitmap.surface.get(), 1, 0), 200, 10, 10));
    EXPECT_TRUE(IsColour(PixelAt(bitmap.surface.get(), 2, 0), 8, 0, 0));  // near-black stays

    const render::Bitmap& fourBit = store.Get(6);
    EXPECT_TRUE(IsColour(PixelAt(fourBit.surface.get(), 0, 0), 30, 40, 50));
    EXPECT_EQ(PixelAt(fourBit.surface.get(), 1, 0).alpha, 0);

    EXPECT_TRUE(render::IsTransparentColour(0, 0, 0));
    EXPECT_FALSE(render::IsTransparentColour(0, 0, 1));
}

TEST(BitmapStore, AMissingOrUnreadableBitmapIsAPlaceholderWithOneWarning) {
    TempFolder folder;
    folder.Write("78.bmp", "not a bitmap");
    std::vector<std::string> warnings;
    render::BitmapStore store(folder.path().string(), [&](const std::string& w) { warnings.push_back(w); });

    const render::Bitmap& missing = store.Get(77);
    EXPECT_TRUE(missing.placeholder);
    EXPECT_EQ(missing.width, render::BitmapStore::kPlaceholderSide);
    EXPECT_EQ(missing.height, render::BitmapStore::kPlaceholderSide);
    EXPECT_TRUE(IsColour(PixelAt(missing.surface.get(), 1, 1), 255, 0, 255));
    store.Get(77);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("77.bmp is missing"), std::string::npos);

    EXPECT_TRUE(store.Get(78).placeholder);
    EXPECT_TRUE(store.Get(-1).placeholder);
    EXPECT_EQ(warnings.size(), 3u);
}

TEST_F(OwnGauge, AGaugeWhoseBitmapsAreMissingIsDrawnWithPlaceholders) {
    std::filesystem::remove(folder.path() / (std::to_string(kBackground) + ".bmp"));
    render::BitmapStore empty(folder.path().string(), [this](const std::string& w) { warnings.push_back(w); });
    render::GaugeRenderer fresh(empty, [this](const std::string& w) { warnings.push_back(w); });
    render::Surface picture = fresh.DrawGauge(&gauge);
    EXPECT_EQ(cairo_image_surface_get_width(picture.get()), render::BitmapStore::kPlaceholderSide);
    EXPECT_EQ(Mentioning(warnings, "bitmap"), 1u);
}

// --- Panel layout ----------------------------------------------------------------------------------------------

constexpr const char* kLayout = R"(// A panel file
[Window Titles]
Window00=Main panel
Window01=Setter

[Window00]
ident=10000
size_mm=100,50
visible=1
background_color=10,20,30
gauge01=Kesta_Avrion_0_018!own, 10, 10, 20, 20
   gauge00=Kesta_Avrion_0_018!own, 60, 0, 30
gauge02=Other_Module!dial, 0, 30, 10, 10, scale=2, night

[WINDOW01]
IDENT=11240
visible=0
gauge00=kesta_avrion_0_018!own, 5, 5
file=panel.bmp
)";

TEST(PanelLayout, ReadsWindowsWithTheirGaugesInTheOrderListed) {
    render::PanelLayout layout;
    ASSERT_EQ(render::ParsePanelLayout(kLayout, "panel.cfg", layout), "");
    ASSERT_EQ(layout.windows.size(), 2u);
    const render::PanelWindow& main = layout.windows[0];
    EXPECT_EQ(main.title, "Main panel");
    EXPECT_EQ(main.ident, 10000u);
    EXPECT_EQ(main.width, 100);
    EXPECT_EQ(main.height, 50);
    EXPECT_TRUE(main.visible);
    EXPECT_EQ(main.backgroundRgb, 0x0A141Eu);
    ASSERT_EQ(main.gauges.size(), 3u);
    EXPECT_EQ(main.gauges[0].x, 10);  // gauge01, listed first
    EXPECT_EQ(main.gauges[0].line, 11);
    EXPECT_EQ(main.gauges[1].x, 60);  // the indented line is a key of its own
    EXPECT_EQ(main.gauges[1].width, 30);
    EXPECT_FALSE(main.gauges[1].height);
    EXPECT_EQ(main.gauges[2].module, "Other_Module");
    EXPECT_EQ(main.gauges[2].gauge, "dial");
    EXPECT_EQ(main.gauges[2].parameters, "scale=2, night");
    EXPECT_EQ(main.gauges[0].parameters, "");

    const render::PanelWindow& setter = layout.windows[1];
    EXPECT_EQ(setter.ident, 11240u);
    EXPECT_FALSE(setter.visible);
    EXPECT_FALSE(setter.width);
    EXPECT_EQ(layout.FindByIdent(11240), &setter);
    EXPECT_EQ(render::InitiallyVisibleIdents(layout), std::vector<std::uint32_t>{10000});
}

std::string FaultOf(const std::string& text) {
    render::PanelLayout layout;
    return render::ParsePanelLayout(text, "panel.cfg", layout);
}

TEST(PanelLayout, FaultsNameTheFileAndTheLine) {
    EXPECT_EQ(FaultOf("[Window00]\nident=1\n[Window01\nident=2\n"),
              "panel.cfg:3: expected [section], name=value or a comment");
    EXPECT_EQ(FaultOf("[Window00]\nident=1\ngauge00\n"), "panel.cfg:3: expected [section], name=value or a comment");
    EXPECT_EQ(FaultOf("[Window00]\nident=main\n"), "panel.cfg:2: [Window00] ident: expected a window number");
    EXPECT_EQ(FaultOf("[Window00]\nident=-4\n"), "panel.cfg:2: [Window00] ident: expected a window number");
    EXPECT_EQ(FaultOf("[Window00]\nident=1\nvisible=yes\n"), "panel.cfg:3: [Window00] visible: expected 0 or 1");
    EXPECT_EQ(FaultOf("[Window00]\nident=1\nsize_mm=0,10\n"),
              "panel.cfg:3: [Window00] size_mm: expected width,height from 1 to 16384");
    EXPECT_EQ(FaultOf("[Window00]\nident=1\nbackground_color=1,2\n"),
              "panel.cfg:3: [Window00] background_color: expected red,green,blue from 0 to 255");
    EXPECT_EQ(FaultOf("[Window00]\nident=1\ngauge00=PPS, 0, 0\n"),
              "panel.cfg:3: [Window00] gauge00: expected module!gauge before the position, found \"PPS\"");
    EXPECT_EQ(FaultOf("[Window00]\nident=1\ngauge00=M!PPS, 0\n"),
              "panel.cfg:3: [Window00] gauge00: expected module!gauge, x, y[, width[, height[, parameters]]]");
    EXPECT_EQ(FaultOf("[Window00]\nident=1\ngauge00=M!PPS, a, 0\n"),
              "panel.cfg:3: [Window00] gauge00: expected whole numbers for x and y");
    EXPECT_EQ(FaultOf("[Window00]\nident=1\ngauge00=M!PPS, 0, 0, -5\n"),
              "panel.cfg:3: [Window00] gauge00: expected a width from 1 to 16384");
    EXPECT_EQ(FaultOf("[Window00]\nident=1\ngauge00=M!A, 0, 0\ngauge00=M!B, 0, 0\n"),
              "panel.cfg:4: [Window00] gauge00 is given twice");
    EXPECT_EQ(FaultOf("[Window00]\nident=7\n[Window01]\nvisible=0\nident=7\n"),
              "panel.cfg:5: [Window01] ident 7 is already that of [Window00]");
    EXPECT_EQ(FaultOf("[Window00]\nident=1\n[Window01]\nvisible=0\n"), "panel.cfg:4: [Window01] has no ident");
    EXPECT_EQ(FaultOf("[Views]\nx=1\n"), "panel.cfg: has no [WindowNN] section");
    EXPECT_EQ(FaultOf("[Window00]\nident=1\ngauge00=M!A, 0, 0 " + std::string(300, ' ') + "x\n"),
              "panel.cfg:3: line longer than 198 characters");
}

TEST(PanelLayout, TheFirstFaultByLineIsReported) {
    EXPECT_EQ(FaultOf("[Window00]\nvisible=2\nident=x\n"), "panel.cfg:2: [Window00] visible: expected 0 or 1");
}

TEST(PanelLayout, AFileThatCannotBeReadIsNamed) {
    render::PanelLayout layout;
    EXPECT_EQ(render::ReadPanelLayout("/nonexistent/panel.cfg", layout), "/nonexistent/panel.cfg: cannot be read");

    TempFolder folder;
    const auto path = folder.Write("panel.cfg", "[Window00]\nident=1\nvisible=3\n").string();
    EXPECT_EQ(render::ReadPanelLayout(path, layout), path + ":3: [Window00] visible: expected 0 or 1");
}

// --- Windows -----------------------------------------------------------------------------------------------------

TEST_F(OwnGauge, AWindowPlacesAndScalesItsGaugesAndMarksTheOnesItCannotFind) {
    render::PanelLayout layout;
    ASSERT_EQ(render::ParsePanelLayout(kLayout, "panel.cfg", layout), "");
    GAUGEHDR* gauges[] = {&gauge};
    const render::GaugeDirectory directory(gauges);
    iconValue = -1.0;

    render::Surface picture = render::DrawWindow(layout.windows[0], directory, renderer);
    EXPECT_EQ(cairo_image_surface_get_width(picture.get()), 100);
    EXPECT_EQ(cairo_image_surface_get_height(picture.get()), 50);
    EXPECT_TRUE(IsColour(PixelAt(picture.get(), 2, 2), 10, 20, 30));       // window background
    EXPECT_TRUE(IsColour(PixelAt(picture.get(), 11, 11), 100, 100, 100));  // the gauge at half size
    EXPECT_TRUE(IsColour(PixelAt(picture.get(), 31, 11), 10, 20, 30));
    EXPECT_TRUE(IsColour(PixelAt(picture.get(), 61, 28), 100, 100, 100));  // width 30 alone: 30 high too
    EXPECT_TRUE(IsColour(PixelAt(picture.get(), 61, 31), 10, 20, 30));
    EXPECT_TRUE(IsColour(PixelAt(picture.get(), 0, 30), 255, 0, 255));  // Other_Module!dial's placeholder
    render::DrawWindow(layout.windows[0], directory, renderer);
    EXPECT_EQ(Mentioning(warnings, "Other_Module!dial"), 1u);

    // No size_mm: the box round the gauges; module names match without regard to case.
    render::Surface setter = render::DrawWindow(layout.windows[1], directory, renderer);
    EXPECT_EQ(cairo_image_surface_get_width(setter.get()), 45);
    EXPECT_EQ(cairo_image_surface_get_height(setter.get()), 45);
}

TEST(ShownWindows, AreTheOnesTheSimulatorShows) {
    render::PanelLayout layout;
    ASSERT_EQ(render::ParsePanelLayout(kLayout, "panel.cfg", layout), "");
    Simulator simulator;
    EXPECT_TRUE(render::ShownWindows(layout, simulator).empty());
    for (std::uint32_t ident : render::InitiallyVisibleIdents(layout)) simulator.ShowWindow(ident, true);
    ASSERT_EQ(render::ShownWindows(layout, simulator).size(), 1u);
    simulator.ShowWindow(11240, true);
    EXPECT_EQ(render::ShownWindows(layout, simulator).size(), 2u);
}

// The module sets its text in Courier New, which Linux lacks: fontconfig's metric aliases put Liberation Mono
// (fonts-liberation, installed by the setup) in its place, so pictures look the same on every machine so set up.
TEST(FontChooser, TakesTheFaceItsAliasOrMonospace) {
    struct Case {
        const char* requested;
        const char* family;
        bool warned;
    };
    for (const Case& c :
         {Case{"Courier New", "Liberation Mono", false}, Case{"DejaVu Sans Mono", "DejaVu Sans Mono", false},
          Case{"No Such Face 18", render::FontChooser::kFallback, true},
          Case{"", render::FontChooser::kFallback, true}}) {
        std::vector<std::string> warnings;
        render::FontChooser fonts([&](const std::string& w) { warnings.push_back(w); });
        EXPECT_EQ(fonts.Family(c.requested), c.family) << c.requested;
        fonts.Family(c.requested);
        EXPECT_EQ(warnings.size(), c.warned ? 1u : 0u) << c.requested;
    }
}

}  // namespace
