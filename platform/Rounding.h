#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace platform {

// Rounds to the nearest whole number, halves to the even neighbour.
inline double roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff > 0.5)
        return floor + 1.0;
    if (diff < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

// The value rounded (halves to even) when it fits 16 bits; nothing when it does not.
inline std::optional<std::int16_t> toInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = roundHalfEven(value);
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return std::int16_t(rounded);
}

// Stores the rounded value in `target`; an overflowing value leaves it as it was.
inline bool assignInt16(std::int16_t &target, double value)
{
    const auto v = toInt16(value);
    if (v)
        target = *v;
    return v.has_value();
}

}  // namespace platform
