#include "render/needle_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace render {
namespace {

constexpr double kHalfTurn = 180.0;
constexpr double kFullTurn = 360.0;
// Integer points give exact half turns only up to rounding in atan2.
constexpr double kHalfTurnTolerance = 1e-9;

// The shorter turn from one direction to another, in (-180, 180]; a half turn goes clockwise.
double ShorterTurn(double fromDegrees, double toDegrees) {
    double turn = std::fmod(toDegrees - fromDegrees, kFullTurn);
    if (turn > kHalfTurn) turn -= kFullTurn;
    if (turn < -kHalfTurn) turn += kFullTurn;
    if (std::abs(std::abs(turn) - kHalfTurn) < kHalfTurnTolerance) turn = kHalfTurn;
    return turn;
}

// Each entry's direction from the pivot, unwrapped along the table. An entry on the pivot itself has no direction
// and keeps its neighbour's.
std::vector<double> UnwrappedAngles(PIXPOINT pivot, const NEEDLE_POINT* points, int pointCount) {
    std::vector<std::optional<double>> directions(static_cast<std::size_t>(pointCount));
    for (int i = 0; i < pointCount; ++i) {
        const double dx = static_cast<double>(points[i].x) - pivot.x;
        const double dy = static_cast<double>(points[i].y) - pivot.y;
        if (dx != 0.0 || dy != 0.0) directions[i] = std::atan2(dy, dx) * 180.0 / std::numbers::pi;
    }
    std::vector<double> angles(directions.size(), 0.0);
    const auto first = std::find_if(directions.begin(), directions.end(), [](const auto& d) { return d.has_value(); });
    if (first == directions.end()) return angles;
    const std::size_t firstIndex = static_cast<std::size_t>(first - directions.begin());
    for (std::size_t i = 0; i <= firstIndex; ++i) angles[i] = **first;
    for (std::size_t i = firstIndex + 1; i < angles.size(); ++i)
        angles[i] = directions[i] ? angles[i - 1] + ShorterTurn(angles[i - 1], *directions[i]) : angles[i - 1];
    return angles;
}

}  // namespace

std::optional<double> NeedleAngle(PIXPOINT pivot, const NEEDLE_POINT* points, int pointCount, double value) {
    if (points == nullptr || pointCount <= 0 || std::isnan(value)) return std::nullopt;
    const std::vector<double> angles = UnwrappedAngles(pivot, points, pointCount);

    double lowest = points[0].value, highest = points[0].value;
    for (int i = 1; i < pointCount; ++i) {
        lowest = std::min(lowest, points[i].value);
        highest = std::max(highest, points[i].value);
    }
    value = std::clamp(value, lowest, highest);

    for (int i = 0; i + 1 < pointCount; ++i) {
        const double from = points[i].value, to = points[i + 1].value;
        if (value < std::min(from, to) || value > std::max(from, to)) continue;
        if (from == to) return angles[i];
        const double t = (value - from) / (to - from);
        return angles[i] + t * (angles[i + 1] - angles[i]);
    }
    // Only a table of one entry brackets nothing.
    return angles[0];
}

double TurnToward(double currentDegrees, double targetDegrees, double maxTurnDegrees) {
    if (!(maxTurnDegrees > 0.0) || !std::isfinite(currentDegrees)) return targetDegrees;
    const double turn = targetDegrees - currentDegrees;
    if (std::abs(turn) <= maxTurnDegrees) return targetDegrees;
    return currentDegrees + std::copysign(maxTurnDegrees, turn);
}

}  // namespace render
