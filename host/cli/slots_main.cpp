// avrion-slots: the aircraft's other gauge modules, from another terminal.
// Reads, writes and watches the shared slot table as a sibling module does,
// for example to power the bus while the host runs. A value lives only while
// some module holds the table open, so "set" keeps holding it until stopped.
#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "cli/command_line.h"
#include "sim/objects_table.h"
#include "sim/sibling_modules.h"
#include "sim/variable_settings.h"

namespace {

std::atomic<bool> stopping{false};

void Stop(int) { stopping = true; }

// Waits until Ctrl-C or the given time, calling tick every tenth of a second.
template <typename Tick>
void HoldUntilStopped(double seconds, Tick tick) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!stopping && (seconds <= 0 || std::chrono::steady_clock::now() < end)) {
        tick();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

int Show(SiblingModules& table, const std::vector<int>& slots, double seconds, bool watch) {
    std::vector<double> last(slots.size(), 0.0);
    std::vector<bool> known(slots.size(), false);
    auto show = [&](bool changesOnly) {
        for (std::size_t i = 0; i < slots.size(); ++i) {
            double value = 0.0;
            if (!table.ReadSlot(slots[i], value)) {
                if (!changesOnly) std::cout << "slot " << slots[i] << " busy\n";
                continue;
            }
            if (changesOnly && known[i] && value == last[i]) continue;
            std::cout << "slot " << slots[i] << " = " << value << std::endl;
            last[i] = value;
            known[i] = true;
        }
    };
    if (!watch) {
        show(false);
        return 0;
    }
    HoldUntilStopped(seconds, [&] { show(true); });
    return 0;
}

int Set(SiblingModules& table, const std::vector<SlotSetting>& settings, double seconds) {
    for (const SlotSetting& setting : settings) {
        if (!table.SetSlot(setting.slot, setting.value)) {
            std::cerr << "avrion-slots: slot " << setting.slot << " is busy; not written\n";
            return 1;
        }
    }
    std::cout << "holding the slot table" << (seconds > 0 ? "" : "; Ctrl-C to let go") << std::endl;
    HoldUntilStopped(seconds, [] {});
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"The aircraft's other gauge modules, from another terminal: reads, writes and watches the shared "
                 "slot table of a running avrion-host, avrion-panel or avrion-scenario. Slots are 0 to 115. A value "
                 "lives only while some module holds the table open.",
                 "avrion-slots"};
    command_line::Describe(app);
    app.require_subcommand(1);
    std::string objects;
    command_line::AddObjects(app, objects, ObjectsTable::DefaultFolder() + ", the table avrion-host and avrion-panel use");
    app.fallthrough();  // --objects after the command too
    std::vector<int> slots;
    std::vector<SlotSetting> settings;
    double seconds = 0.0;
    const auto slotNumbers = [&](CLI::App* command) {
        command->add_option("N", slots, "slot numbers")->required()->check(CLI::Range(0, SiblingModules::kSlotCount - 1));
    };
    const auto forSeconds = [&](CLI::App* command, const char* what) {
        command->add_option("--for", seconds, what)->type_name("SECONDS")->check(CLI::PositiveNumber);
    };
    CLI::App* get = app.add_subcommand("get", "print the slots' values");
    slotNumbers(get);
    CLI::App* watch = app.add_subcommand("watch", "hold the table open and print each change until Ctrl-C");
    slotNumbers(watch);
    forSeconds(watch, "stop after this many seconds");
    CLI::App* set = app.add_subcommand("set", "write the slots and hold the table open until Ctrl-C");
    command_line::AddEach<SlotSetting>(
        *set, "N=VALUE", ParseSlotSetting, [&settings](const SlotSetting& setting) { settings.push_back(setting); },
        "slots and their values")
        ->allow_extra_args(true)
        ->required();
    forSeconds(set, "let go after this many seconds");
    if (const auto status = command_line::Parse(app, argc, argv)) return *status;

    std::string error;
    const auto objectsTable = ObjectsTable::Attach(objects, error);
    if (!objectsTable) {
        std::cerr << "avrion-slots: " << error << "\n";
        return 1;
    }
    std::signal(SIGINT, Stop);
    std::signal(SIGTERM, Stop);
    SiblingModules table;
    if (!table.valid()) {
        std::cerr << "avrion-slots: cannot open the shared slot table in " << objectsTable->folder() << "\n";
        return 1;
    }
    if (set->parsed()) return Set(table, settings, seconds);
    return Show(table, slots, seconds, watch->parsed());
}
