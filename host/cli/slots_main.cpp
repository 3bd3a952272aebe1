// avrion-slots: the aircraft's other gauge modules, from another terminal.
// Reads, writes and watches the shared slot table as a sibling module does,
// for example to power the bus while the host runs. A value lives only while
// some module holds the table open, so "set" keeps holding it until stopped.
#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <iostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sim/sibling_modules.h"
#include "sim/variable_settings.h"

namespace {

std::atomic<bool> stopping{false};

void Stop(int) { stopping = true; }

const char* kUsage =
    "usage: avrion-slots get N...            print the slots' values\n"
    "       avrion-slots set N=VALUE... [--for SECONDS]\n"
    "                                       write the slots and hold the table open until Ctrl-C (or SECONDS)\n"
    "       avrion-slots watch N... [--for SECONDS]\n"
    "                                       hold the table open and print each change\n"
    "Slots are 0 to 115. A value lives only while some module holds the table open.\n";

bool ParseSlot(std::string_view text, int& slot) {
    const char* end = text.data() + text.size();
    return std::from_chars(text.data(), end, slot).ptr == end && slot >= 0 && slot < SiblingModules::kSlotCount;
}

// Waits until Ctrl-C or the given time, calling tick every tenth of a second.
template <typename Tick>
void HoldUntilStopped(double seconds, Tick tick) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!stopping && (seconds <= 0 || std::chrono::steady_clock::now() < end)) {
        tick();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string_view command = argv[1];
    double seconds = 0.0;
    std::vector<std::string_view> arguments;
    for (int i = 2; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--for" && i + 1 < argc) {
            const std::string_view value = argv[++i];
            if (std::from_chars(value.data(), value.data() + value.size(), seconds).ptr !=
                    value.data() + value.size() ||
                !(seconds > 0)) {
                std::cerr << "avrion-slots: --for takes a number of seconds above 0\n";
                return 2;
            }
        } else {
            arguments.push_back(argument);
        }
    }
    std::signal(SIGINT, Stop);
    std::signal(SIGTERM, Stop);

    SiblingModules table;
    if (!table.valid()) {
        std::cerr << "avrion-slots: cannot open the shared slot table\n";
        return 1;
    }
    if (command == "get" || command == "watch") {
        std::vector<int> slots;
        for (std::string_view argument : arguments) {
            int slot = 0;
            if (!ParseSlot(argument, slot)) {
                std::cerr << "avrion-slots: slots run from 0 to 115, got \"" << argument << "\"\n";
                return 2;
            }
            slots.push_back(slot);
        }
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
        if (command == "get") {
            show(false);
            return 0;
        }
        HoldUntilStopped(seconds, [&] { show(true); });
        return 0;
    }
    if (command == "set") {
        for (std::string_view argument : arguments) {
            SlotSetting setting;
            if (std::string error = ParseSlotSetting(argument, setting); !error.empty()) {
                std::cerr << "avrion-slots: " << error << "\n";
                return 2;
            }
            if (!table.SetSlot(setting.slot, setting.value)) {
                std::cerr << "avrion-slots: slot " << setting.slot << " is busy; not written\n";
                return 1;
            }
        }
        std::cout << "holding the slot table" << (seconds > 0 ? "" : "; Ctrl-C to let go") << std::endl;
        HoldUntilStopped(seconds, [] {});
        return 0;
    }
    std::cerr << kUsage;
    return 2;
}
