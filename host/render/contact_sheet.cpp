#include "render/contact_sheet.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "render/label.h"

namespace render {
namespace {

constexpr double kMargin = 16.0;
constexpr double kGap = 16.0;
constexpr double kLabelGap = 4.0;
constexpr LabelStyle kNameStyle{.sizePx = 13.0, .red = 0.95, .green = 0.95, .blue = 0.9, .bold = true};
constexpr LabelStyle kDetailStyle{.sizePx = 11.0, .red = 0.7, .green = 0.75, .blue = 0.75, .bold = false};
// Cells show transparent parts of a gauge against a colour no gauge paints.
constexpr double kSheetGrey = 0.16;
constexpr double kCellBlue[3] = {0.22, 0.26, 0.34};

struct Cell {
    const GAUGEHDR* gauge;
    std::string name, detail;
    double scale;
    double pictureWidth, pictureHeight;
    double width, height;  // with the labels
    double x = 0, y = 0;
};

}  // namespace

Surface DrawContactSheet(std::span<GAUGEHDR* const> gauges, GaugeRenderer& renderer,
                         const ContactSheetOptions& options) {
    // Labels are measured on a scratch surface before the sheet's size is known.
    Surface scratch = MakeSurface(1, 1);
    Context measure = MakeContext(scratch.get());

    std::vector<Cell> cells;
    int number = 0;
    for (const GAUGEHDR* gauge : gauges) {
        ++number;
        if (gauge == nullptr) continue;
        const Size size = renderer.GaugeSize(gauge);
        Cell cell{gauge,
                  "#" + std::to_string(number) + " " + (gauge->name != nullptr ? gauge->name : "(unnamed)"),
                  std::to_string(size.width) + "\u00d7" + std::to_string(size.height),
                  1.0,
                  0,
                  0,
                  0,
                  0};
        const int largest = std::max(size.width, size.height);
        if (largest > options.largestCell) {
            cell.scale = static_cast<double>(options.largestCell) / largest;
            cell.detail += ", drawn at " + std::to_string(static_cast<int>(std::lround(cell.scale * 100))) + "%";
        }
        if (renderer.IsHidden(gauge)) cell.detail += ", hidden";
        cell.pictureWidth = std::ceil(size.width * cell.scale);
        cell.pictureHeight = std::ceil(size.height * cell.scale);
        const LabelExtent name = MeasureLabel(measure.get(), cell.name, kNameStyle);
        const LabelExtent detail = MeasureLabel(measure.get(), cell.detail, kDetailStyle);
        cell.width = std::max({cell.pictureWidth, name.width, detail.width});
        cell.height = cell.pictureHeight + kLabelGap + name.height + detail.height;
        cells.push_back(std::move(cell));
    }

    // Shelves from left to right, a new one when the next cell would pass the sheet's right edge.
    const double usable = std::max(options.sheetWidth - 2 * kMargin, 1.0);
    double x = kMargin, y = kMargin, shelfHeight = 0, widest = 0;
    for (Cell& cell : cells) {
        if (x > kMargin && x + cell.width > kMargin + usable) {
            x = kMargin;
            y += shelfHeight + kGap;
            shelfHeight = 0;
        }
        cell.x = x;
        cell.y = y;
        x += cell.width + kGap;
        shelfHeight = std::max(shelfHeight, cell.height);
        widest = std::max(widest, cell.x + cell.width);
    }
    const int sheetWidth = static_cast<int>(std::ceil(std::max(widest + kMargin, 2 * kMargin)));
    const int sheetHeight = static_cast<int>(std::ceil(y + shelfHeight + kMargin));

    Surface sheet = MakeSurface(sheetWidth, sheetHeight);
    Context cr = MakeContext(sheet.get());
    cairo_set_source_rgb(cr.get(), kSheetGrey, kSheetGrey, kSheetGrey);
    cairo_paint(cr.get());
    for (const Cell& cell : cells) {
        cairo_save(cr.get());
        cairo_rectangle(cr.get(), cell.x, cell.y, cell.pictureWidth, cell.pictureHeight);
        cairo_set_source_rgb(cr.get(), kCellBlue[0], kCellBlue[1], kCellBlue[2]);
        cairo_fill(cr.get());
        cairo_translate(cr.get(), cell.x, cell.y);
        cairo_scale(cr.get(), cell.scale, cell.scale);
        renderer.Draw(cr.get(), cell.gauge);
        cairo_restore(cr.get());
        const double labelY = cell.y + cell.pictureHeight + kLabelGap;
        const LabelExtent name = DrawLabel(cr.get(), cell.name, cell.x, labelY, kNameStyle);
        DrawLabel(cr.get(), cell.detail, cell.x, labelY + name.height, kDetailStyle);
    }
    cairo_surface_flush(sheet.get());
    return sheet;
}

}  // namespace render
