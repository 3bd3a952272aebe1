// The crew notice sheets of the Messages window: a blank form and one filled in for each message code.
#include <stdexcept>
#include <string>

#include "draw.hpp"
#include "painters.hpp"

namespace avrion::artwork {

namespace {

struct Notice {
    const char* russian;
    const char* english;
};

// The texts as the airline's flight department would type them, with a short English line under each.
constexpr Notice kNotices[] = {
    {"При послеполётном осмотре ВС на нескольких колёсах основных опор шасси обнаружены расплавленные "
     "термоиндикаторы. Командиру ВС и бортинженеру представить объяснительные записки на имя командира "
     "авиаэскадрильи.",
     "Post-flight inspection: melted thermal indicators on several main-gear wheels. Captain and flight engineer: "
     "explanatory notes to the squadron commander."},
    {"При послеполётном осмотре ВС на нескольких колёсах основных опор шасси расплавлено по два термоиндикатора. "
     "Командиру ВС и бортинженеру представить объяснительные записки на имя лётного директора. Бортинженеру — "
     "индивидуальное задание.",
     "Two thermal indicators melted on several main-gear wheels. Explanatory notes to the flight director; an "
     "individual task for the flight engineer."},
    {"При послеполётном осмотре ВС на нескольких колёсах основных опор шасси расплавлено по три термоиндикатора. "
     "За халатность — несоблюдение режимов торможения, невключение обдува колёс, непринятие мер по "
     "предотвращению перегрева тормозов — командир ВС и бортинженер лишаются квартальной премии.",
     "Three thermal indicators melted. For negligence the captain and the flight engineer lose their quarterly "
     "bonus."},
    {"Экипаж выключил реверс тяги на скорости менее 100 км/ч. Провести осмотр входных направляющих аппаратов и "
     "первых ступеней компрессоров низкого давления двигателей № 1 и № 3. Командиру ВС представить "
     "объяснительную записку на имя командира авиаэскадрильи.",
     "Reverse switched off below 100 km/h. Inspect the inlet guide vanes and first LP compressor stages of engines "
     "1 and 3. Captain: explanatory note to the squadron commander."},
};

constexpr double kW = 600, kH = 300;
// The form's rules: room for six typed lines.
constexpr int kRules = 6;
constexpr double kFirstRule = 92, kRuleStep = 24;

}  // namespace

void MessageSheet(cairo_t* cr, int code) {
    // A sheet of paper on a dark desk, with the printed form's heading and rules.
    FillRect(cr, 0, 0, kW, kH, Hex(0x2b332f));
    FillRect(cr, 8, 9, kW - 14, kH - 14, Hex(0x1f2522));
    FillRect(cr, 6, 6, kW - 14, kH - 14, colour::kPaper);
    const Rgb rule = Hex(0x9aa3b5), form = Hex(0x3a4a6a);
    Text(cr, "ЛЁТНАЯ СЛУЖБА АВИАКОМПАНИИ", 24, 24, {.px = 10, .weight = Weight::kRegular, .condensed = false}, form,
         Align::kLeft);
    Text(cr, "ИЗВЕЩЕНИЕ ЭКИПАЖУ", kW / 2, 46, {.px = 17, .weight = Weight::kBold, .condensed = false}, form);
    Text(cr, "№ ____", kW - 28, 24, {.px = 10, .weight = Weight::kRegular, .condensed = false}, form, Align::kRight);
    StrokeLine(cr, 20, 62.5, kW - 22, 62.5, 1.5, form);
    for (int i = 0; i < kRules; ++i)
        StrokeLine(cr, 20, kFirstRule + i * kRuleStep + 0.5, kW - 22, kFirstRule + i * kRuleStep + 0.5, 0.8, rule);
    Text(cr, "Щёлкните по листу, чтобы закрыть  ·  click the sheet to close", kW / 2, 280,
         {.px = 10, .weight = Weight::kRegular, .condensed = false}, Hex(0x6a7280));
    if (code < 0 || code > 3) return;

    const std::string number = std::to_string(code + 1);
    Text(cr, number, kW - 48, 22, {.px = 12, .weight = Weight::kBold, .mono = true}, colour::kInk, Align::kLeft);
    // Typed on the form's rules; the English line sits below the last rule.
    const int lines = RuledText(cr, kNotices[code].russian, 26, kFirstRule - 4, kRuleStep, kW - 56,
                                {.px = 14.5, .weight = Weight::kRegular, .mono = true}, colour::kInk);
    if (lines > kRules) throw std::runtime_error("notice " + number + " runs past the form's rules");
    RuledText(cr, kNotices[code].english, 26, kFirstRule + (kRules - 1) * kRuleStep + 20, 13, kW - 56,
              {.px = 10.5, .weight = Weight::kRegular, .condensed = false}, Hex(0x4a5060));
}

}  // namespace avrion::artwork
