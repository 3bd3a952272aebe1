// The invisible logic gauge: a 1x1 picture whose callback drives the frame.
#include "frame/gauge_builder.h"
#include "frame/gauge_table.h"

namespace gauges {
namespace logic_records {

constexpr std::uint32_t kLogicImageFlags = image_flag::kHidden | image_flag::kTransparent;

ELEMENT_STATIC_IMAGE background = gauge_builder::BackgroundImage(1281, &logic, nullptr, kLogicImageFlags);
ELEMENT_HEADER* elements[] = {&background.header, nullptr};
MOUSERECT mouse[] = {gauge_builder::MouseOpenParent(), gauge_builder::MouseCloseParent(),
                     gauge_builder::MouseListEnd()};

}  // namespace logic_records

GAUGEHDR logic = gauge_builder::GaugeHeader(gauge_builder::kVersionLogic, "logic", logic_records::elements,
                                            gauge_builder::kSizeLogic, logic_records::mouse, LogicCallback);
}  // namespace gauges
