#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <limits>
#include <optional>
#include <variant>
#include <vector>

namespace search {

// Sizes from `least` to `most` bytes, both included.
struct SizeRange {
    std::int64_t least = 0;
    std::int64_t most = std::numeric_limits<std::int64_t>::max();
    bool holds(std::int64_t size) const { return size >= least && size <= most; }
    bool operator==(const SizeRange &) const = default;
};

// Modification times from `from` up to, not including, `to`: seconds since the epoch.
struct TimeRange {
    std::int64_t from = std::numeric_limits<std::int64_t>::min();
    std::int64_t to = std::numeric_limits<std::int64_t>::max();
    bool holds(std::int64_t seconds) const { return seconds >= from && seconds < to; }
    bool operator==(const TimeRange &) const = default;
};

// The pattern field's text read into its name patterns and its criteria. A term that
// starts (after any blanks) with one of the lowercase keywords "size:",
// "modified:", "contains:" or "skip:" is a criterion; every other term is a name
// pattern, exactly as it is written. Name patterns are alternatives; criteria
// must all hold besides.
struct SearchCriteria {
    QStringList names;                 // the name patterns, as the field splits them
    std::vector<SizeRange> sizes;      // each must hold
    std::vector<TimeRange> modified;   // each must hold
    QStringList contains;              // each must be found in the file
    QStringList skips;                 // folders of these names (wildcards) are not entered

    bool hasCriteria() const { return !sizes.empty() || !modified.empty() || !contains.isEmpty() || !skips.isEmpty(); }
    // The name patterns the walk matches: every name when there are none but criteria.
    QStringList nameItems() const;
};

// A criterion that does not read: the term as written, and the forms its keyword takes.
struct CriteriaError {
    QString term;
    QString forms;
    // "The search term ... is not understood. ..." in the user's language.
    QString message() const;
};

// Reads the pattern field's text; `now` is the moment "today" and "7d" are counted
// from, in the local time zone.
std::variant<SearchCriteria, CriteriaError> readCriteria(const QString &fieldText, const QDateTime &now);

}  // namespace search
