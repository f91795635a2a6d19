#pragma once

#include <QString>
#include <QTime>

#include <cstdint>

namespace platform {

// "#,###,###,##0": thousands grouped with the locale's separator, at least one digit.
QString formatGrouped(std::int64_t value);

// A byte count in units of 1024, rounded to the nearest whole number, halves away from zero.
std::int64_t roundedKibi(std::int64_t bytes);

// The difference of two times of day as "hh:mm:ss". A search that runs past
// midnight wraps round the clock instead of going negative.
QString formatElapsed(QTime start, QTime end);

}  // namespace platform
