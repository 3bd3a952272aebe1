// Synthesises the panel's six sounds: four mechanical clicks and two looping warning sirens.
//
// Every file is built from a fixed recipe and a fixed-seed generator, so a rerun gives the same bytes and the
// shipped files can be regenerated and compared at any time.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "cli/command_line.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRate = 22050;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

using Signal = std::vector<double>;

int Samples(double ms) { return static_cast<int>(std::lround(ms * kRate / 1000.0)); }

// std::uniform_real_distribution differs between standard libraries; mt19937's raw output does not.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : gen_(seed) {}
    double Next() { return static_cast<double>(gen_() >> 8) * (2.0 / 16777216.0) - 1.0; }

private:
    std::mt19937 gen_;
};

// Constant-peak band-pass: no gain at DC, so the noise burst adds no offset.
class BandPass {
public:
    BandPass(double hz, double q) {
        const double w = kTwoPi * hz / kRate;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        b0_ = alpha / a0;
        a1_ = -2.0 * std::cos(w) / a0;
        a2_ = (1.0 - alpha) / a0;
    }
    double Run(double x) {
        const double y = b0_ * (x - x2_) - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

private:
    double b0_, a1_, a2_;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// A resonance of the part that was struck: a decaying sine.
struct Mode {
    double hz;
    double level;
    double decay_ms;
};

// The contact itself: a band-passed noise burst.
struct Burst {
    double level;
    double decay_ms;
    double hz;
    double q;
};

// The panel taking the blow: a low sine whose pitch falls quickly from one frequency to another.
struct Thump {
    double level;
    double from_hz;
    double to_hz;
    double decay_ms;
};

// One mechanical impact: the contact, the ringing of the metal or plastic struck, and the body of the panel.
struct Impact {
    double at_ms;
    double gain;
    Burst burst;
    std::vector<Mode> modes;
    Thump thump;
};

void AddImpact(Signal& out, const Impact& hit, Noise& noise) {
    BandPass filter(hit.burst.hz, hit.burst.q);
    const double fall = 0.004;  // the thump's pitch settles within a few milliseconds
    for (std::size_t i = static_cast<std::size_t>(Samples(hit.at_ms)), k = 0; i < out.size(); ++i, ++k) {
        const double t = static_cast<double>(k) / kRate;
        double v = hit.burst.level * filter.Run(noise.Next() * std::exp(-t * 1000.0 / hit.burst.decay_ms));
        for (const Mode& m : hit.modes) v += m.level * std::exp(-t * 1000.0 / m.decay_ms) * std::sin(kTwoPi * m.hz * t);
        const double thump_cycles =
            hit.thump.to_hz * t + (hit.thump.from_hz - hit.thump.to_hz) * fall * (1.0 - std::exp(-t / fall));
        v += hit.thump.level * std::exp(-t * 1000.0 / hit.thump.decay_ms) * std::sin(kTwoPi * thump_cycles);
        out[i] += hit.gain * v;
    }
}

// Ends the click at true silence and takes out its mean. The mean goes with a Hann-shaped subsonic bump that is
// zero at both ends, so the sharp first sample and the silent last one are kept.
void FinishClick(Signal& s, double fade_ms) {
    const std::size_t n = s.size();
    const std::size_t fade = std::min(n, static_cast<std::size_t>(Samples(fade_ms)));
    for (std::size_t i = 0; i < fade; ++i)
        s[n - fade + i] *= 0.5 + 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) / (fade - 1.0));

    double sum = 0, window_sum = 0;
    std::vector<double> window(n);
    for (std::size_t i = 0; i < n; ++i) {
        window[i] = 0.5 - 0.5 * std::cos(kTwoPi * static_cast<double>(i) / (n - 1.0));
        sum += s[i];
        window_sum += window[i];
    }
    for (std::size_t i = 0; i < n; ++i) s[i] -= sum / window_sum * window[i];
}

Signal MakeClick(double length_ms, double fade_ms, std::uint32_t seed, const std::vector<Impact>& hits) {
    Signal s(static_cast<std::size_t>(Samples(length_ms)), 0.0);
    Noise noise(seed);
    for (const Impact& hit : hits) AddImpact(s, hit, noise);
    FinishClick(s, fade_ms);
    return s;
}

struct Partial {
    int harmonic;
    double level;
};

struct Siren {
    Signal samples;
    double low_hz;
    double high_hz;
};

// A looping tone. Pitch and loudness follow functions of the position u in [0, 1) within one period; the file
// holds whole periods. The carrier advances by an exact integer count of cycles over the file (checked), and the
// pitch deviation's phase is tabulated over one period with its mean removed, so it returns to zero at every
// period boundary. Each sample is therefore a function of n modulo the file length alone: the sample after the
// last is exactly the first, for every partial.
Siren MakeSiren(int period, int periods, int centre_hz, const std::function<double(double)>& deviation_hz,
                const std::function<double(double)>& amplitude, const std::vector<Partial>& partials) {
    const std::int64_t length = static_cast<std::int64_t>(period) * periods;
    if (centre_hz * length % kRate != 0) throw std::logic_error("siren centre does not close the loop");

    std::vector<double> deviation(static_cast<std::size_t>(period));
    double mean = 0;
    for (int m = 0; m < period; ++m) mean += deviation[m] = deviation_hz(static_cast<double>(m) / period);
    mean /= period;

    Siren siren{Signal(static_cast<std::size_t>(length)), 1e9, -1e9};
    std::vector<double> phase(static_cast<std::size_t>(period));  // deviation phase in cycles
    double cycles = 0;
    for (int m = 0; m < period; ++m) {
        phase[m] = cycles;
        const double hz = deviation[m] - mean;
        cycles += hz / kRate;
        siren.low_hz = std::min(siren.low_hz, centre_hz + hz);
        siren.high_hz = std::max(siren.high_hz, centre_hz + hz);
    }

    for (std::int64_t n = 0; n < length; ++n) {
        const int m = static_cast<int>(n % period);
        double v = 0;
        for (const Partial& p : partials) {
            const std::int64_t carrier = p.harmonic * centre_hz * n % kRate;
            double c = static_cast<double>(carrier) / kRate + p.harmonic * phase[m];
            c -= std::floor(c);
            v += p.level * std::sin(kTwoPi * c);
        }
        siren.samples[n] = amplitude(static_cast<double>(m) / period) * v;
    }
    return siren;
}

// Raised-cosine rise from 0 to 1 as x goes from 0 to 1.
double Ease(double x) { return 0.5 - 0.5 * std::cos(std::numbers::pi * std::clamp(x, 0.0, 1.0)); }

std::vector<std::int16_t> ToPcm(const Signal& s, double peak_dbfs) {
    double peak = 0;
    for (double v : s) peak = std::max(peak, std::abs(v));
    if (peak <= 0) throw std::logic_error("silent sound");
    const double scale = std::pow(10.0, peak_dbfs / 20.0) * 32767.0 / peak;
    std::vector<std::int16_t> pcm(s.size());
    for (std::size_t i = 0; i < s.size(); ++i)
        pcm[i] = static_cast<std::int16_t>(std::clamp(std::lround(s[i] * scale), -32767L, 32767L));
    return pcm;
}

// Written beside the target and renamed into place, so a failed run never leaves a half-written sound behind.
void WriteWav(const fs::path& path, const std::vector<std::int16_t>& pcm) {
    const fs::path partial = path.string() + ".partial";
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(partial.string().c_str(), SFM_WRITE, &info);
    if (file == nullptr) throw std::runtime_error("cannot create " + partial.string() + ": " + sf_strerror(nullptr));
    sf_command(file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    const sf_count_t written = sf_write_short(file, pcm.data(), static_cast<sf_count_t>(pcm.size()));
    std::string error = written == static_cast<sf_count_t>(pcm.size()) ? "" : sf_strerror(file);
    if (sf_close(file) != 0 && error.empty()) error = "close failed";
    std::error_code ec;
    if (error.empty()) fs::rename(partial, path, ec);
    if (!error.empty() || ec) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        throw std::runtime_error("cannot write " + path.string() + ": " + (error.empty() ? ec.message() : error));
    }
}

void Emit(const fs::path& folder, const char* name, const Signal& s, double peak_dbfs, const std::string& note = "") {
    const std::vector<std::int16_t> pcm = ToPcm(s, peak_dbfs);
    WriteWav(folder / name, pcm);
    int peak = 0;
    double energy = 0;
    for (std::int16_t v : pcm) {
        peak = std::max(peak, std::abs(static_cast<int>(v)));
        energy += static_cast<double>(v) * v;
    }
    std::printf("%-16s %6.3f s  peak %6.2f dBFS  rms %6.2f dBFS%s\n", name, static_cast<double>(pcm.size()) / kRate,
                20.0 * std::log10(peak / 32768.0), 10.0 * std::log10(energy / pcm.size() / (32768.0 * 32768.0)),
                note.c_str());
}

std::string ToneNote(const Siren& s) {
    char text[64];
    std::snprintf(text, sizeof text, "  tone %.0f-%.0f Hz", s.low_hz, s.high_hz);
    return text;
}

void Generate(const fs::path& folder) {
    // Toggle switch snapping over: a hard contact, bright ringing lever, a firm knock into the panel, and the lever
    // settling once more a few milliseconds later.
    Emit(folder, "Tumb_fix.wav",
         MakeClick(95, 18, 1,
                   {{.at_ms = 0,
                     .gain = 1.0,
                     .burst = {1.2, 0.7, 4200, 0.7},
                     .modes = {{2370, 0.30, 9}, {3890, 0.26, 7}, {5630, 0.18, 5}, {7940, 0.10, 3}},
                     .thump = {0.40, 260, 150, 9}},
                    {.at_ms = 6.5,
                     .gain = 0.35,
                     .burst = {1.0, 0.5, 5200, 0.8},
                     .modes = {{2370, 0.15, 6}, {5630, 0.10, 4}},
                     .thump = {0.10, 200, 150, 6}}}),
         -1.5);

    // Guard cover: a duller plastic clack, then the cover striking its stop and a small rebound.
    Emit(folder, "Kolp.wav",
         MakeClick(165, 30, 2,
                   {{.at_ms = 0,
                     .gain = 1.0,
                     .burst = {1.0, 1.6, 1700, 0.8},
                     .modes = {{780, 0.34, 15}, {1340, 0.26, 11}, {2150, 0.16, 7}, {3300, 0.07, 4}},
                     .thump = {0.80, 170, 100, 20}},
                    {.at_ms = 30,
                     .gain = 0.60,
                     .burst = {1.0, 1.2, 1900, 0.8},
                     .modes = {{830, 0.30, 12}, {1420, 0.22, 9}, {2270, 0.12, 6}},
                     .thump = {0.55, 150, 105, 16}},
                    {.at_ms = 56,
                     .gain = 0.15,
                     .burst = {1.0, 0.8, 2100, 0.9},
                     .modes = {{830, 0.2, 8}},
                     .thump = {0.3, 140, 110, 10}}}),
         -4.0);

    // Push-button: short and muffled by the cap, quieter than the switch.
    Emit(folder, "Tumb_no_fix.wav",
         MakeClick(60, 14, 3,
                   {{.at_ms = 0,
                     .gain = 1.0,
                     .burst = {1.3, 0.6, 1500, 1.0},
                     .modes = {{1250, 0.22, 4}, {2600, 0.12, 3}},
                     .thump = {0.40, 300, 190, 6}},
                    {.at_ms = 3.5,
                     .gain = 0.3,
                     .burst = {1.0, 0.4, 1800, 1.0},
                     .modes = {{1250, 0.12, 3}},
                     .thump = {0.1, 260, 190, 4}}}),
         -6.0);

    // Rotary selector detent: a bright tick from the ball dropping into the notch, with a faint after-tick.
    Emit(folder, "Galetn.wav",
         MakeClick(55, 12, 4,
                   {{.at_ms = 0,
                     .gain = 1.0,
                     .burst = {1.3, 0.35, 5600, 0.9},
                     .modes = {{3150, 0.26, 5}, {4720, 0.26, 4}, {6480, 0.22, 3}, {8900, 0.14, 2}},
                     .thump = {0.22, 420, 300, 4}},
                    {.at_ms = 8,
                     .gain = 0.30,
                     .burst = {1.0, 0.25, 6200, 1.0},
                     .modes = {{4720, 0.18, 3}, {6480, 0.14, 2}},
                     .thump = {0.0, 400, 300, 4}}}),
         -3.0);

    // Fire siren: a slow rise and a quicker fall, louder as the pitch climbs, like a motor siren; two 0.8 s sweeps.
    const double rise = 0.6;
    const Siren fire = MakeSiren(
        Samples(800), 2, 850,
        [=](double u) { return 600.0 + 500.0 * (u < rise ? Ease(u / rise) : 1.0 - Ease((u - rise) / (1 - rise))); },
        [=](double u) { return 0.7 + 0.3 * (u < rise ? Ease(u / rise) : 1.0 - Ease((u - rise) / (1 - rise))); },
        {{1, 1.0}, {2, 0.32}, {3, 0.20}, {4, 0.07}});
    Emit(folder, "SIRENA.wav", fire.samples, -3.0, ToneNote(fire));

    // Second alarm: five bright upward chirps a second; the pitch falls back while the tone is gated off.
    const double on = 0.6, edge = 0.03;
    const Siren pulses = MakeSiren(
        Samples(200), 6, 1700, [=](double u) { return 1450.0 + 500.0 * (u < on ? u / on : 1.0 - (u - on) / (1 - on)); },
        [=](double u) { return Ease(u / edge) * Ease((on - u) / edge); }, {{1, 1.0}, {2, 0.12}, {3, 0.30}});
    Emit(folder, "sirena_pr.wav", pulses.samples, -3.0, ToneNote(pulses));
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Generates the six panel sounds into the folder (sim/Gauges/Avrion_cfg/Sound holds the committed "
                 "ones).",
                 "avrion-soundgen"};
    command_line::Describe(app);
    std::string folderName;
    app.add_option("OUTPUT_FOLDER", folderName, "where the sounds go")->required();
    if (const auto status = command_line::Parse(app, argc, argv)) return *status;
    try {
        const fs::path folder = folderName;
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (ec) throw std::runtime_error("cannot create folder " + folder.string() + ": " + ec.message());
        if (!fs::is_directory(folder)) throw std::runtime_error(folder.string() + " is not a folder");
        Generate(folder);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "avrion-soundgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
