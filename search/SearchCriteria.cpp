#include "search/SearchCriteria.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cmath>

namespace search {
namespace {

const QString kSize = QStringLiteral("size:");
const QString kModified = QStringLiteral("modified:");
const QString kContains = QStringLiteral("contains:");
const QString kSkip = QStringLiteral("skip:");

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

qsizetype firstNonBlank(const QString &text, qsizetype from)
{
    while (from < text.size() && isBlank(text[from]))
        ++from;
    return from;
}

// The terms of the field: split on ";", except inside the double quotes that a
// "contains:" term opens.
QStringList termsOf(const QString &fieldText)
{
    QStringList terms;
    qsizetype start = 0;
    for (;;) {
        const qsizetype begin = firstNonBlank(fieldText, start);
        qsizetype searchFrom = start;
        if (QStringView(fieldText).mid(begin).startsWith(kContains + QLatin1Char('"'))) {
            const qsizetype closing = fieldText.indexOf(QLatin1Char('"'), begin + kContains.size() + 1);
            if (closing >= 0)
                searchFrom = closing + 1;
        }
        const qsizetype end = fieldText.indexOf(QLatin1Char(';'), searchFrom);
        if (end < 0) {
            terms << fieldText.mid(start);
            return terms;
        }
        terms << fieldText.mid(start, end - start);
        start = end + 1;
    }
}

// A number of bytes: whole or decimal, with an optional unit of 1,024 steps.
std::optional<long double> bytesOf(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*(\\d+(?:\\.\\d+)?)\\s*(b|kb|mb|gb|tb)?\\s*$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = number.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QString unit = m.captured(2).toLower();
    const int power = unit == QLatin1String("kb") ? 1 : unit == QLatin1String("mb") ? 2 : unit == QLatin1String("gb") ? 3
                    : unit == QLatin1String("tb") ? 4 : 0;
    const long double value = std::stold(m.captured(1).toStdString()) * std::pow(1024.0L, power);
    if (value > static_cast<long double>(std::numeric_limits<std::int64_t>::max()))
        return std::nullopt;
    return value;
}

std::int64_t up(long double v)
{
    return static_cast<std::int64_t>(std::ceil(v));
}

std::int64_t down(long double v)
{
    return static_cast<std::int64_t>(std::floor(v));
}

std::optional<SizeRange> sizeRangeOf(const QString &text)
{
    const auto after = [&](qsizetype n) { return bytesOf(text.mid(n)); };
    if (text.startsWith(QLatin1String(">="))) {
        if (const auto n = after(2))
            return SizeRange{up(*n)};
    } else if (text.startsWith(QLatin1Char('>'))) {
        if (const auto n = after(1))
            return SizeRange{down(*n) + 1};
    } else if (text.startsWith(QLatin1String("<="))) {
        if (const auto n = after(2))
            return SizeRange{0, down(*n)};
    } else if (text.startsWith(QLatin1Char('<'))) {
        if (const auto n = after(1))
            return SizeRange{0, up(*n) - 1};
    } else if (const qsizetype dots = text.indexOf(QLatin1String("..")); dots >= 0) {
        const auto least = bytesOf(text.left(dots));
        const auto most = bytesOf(text.mid(dots + 2));
        if (least && most && *least <= *most)
            return SizeRange{up(*least), down(*most)};
    } else if (const auto n = bytesOf(text)) {
        return SizeRange{up(*n), down(*n)};
    }
    return std::nullopt;
}

std::int64_t secondsAt(const QDateTime &moment)
{
    return moment.toSecsSinceEpoch();
}

// Local midnight at the start of `day`; where a change of clocks skips midnight,
// the first moment of the day.
std::int64_t startOf(QDate day)
{
    return secondsAt(day.startOfDay(Qt::LocalTime));
}

std::optional<QDate> dateOf(const QString &text)
{
    static const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (!shape.match(text).hasMatch())
        return std::nullopt;
    const QDate date = QDate::fromString(text, Qt::ISODate);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

std::optional<TimeRange> timeRangeOf(const QString &text, const QDateTime &now)
{
    const QDate today = now.toLocalTime().date();
    if (text == QLatin1String("today"))
        return TimeRange{startOf(today)};
    if (text == QLatin1String("yesterday"))
        return TimeRange{startOf(today.addDays(-1)), startOf(today)};
    static const QRegularExpression within(QStringLiteral("^(\\d{1,6})([dwmy])$"));
    if (const QRegularExpressionMatch m = within.match(text); m.hasMatch()) {
        const std::int64_t days = m.captured(1).toLongLong() * (m.captured(2) == QLatin1String("d")   ? 1
                                                                : m.captured(2) == QLatin1String("w") ? 7
                                                                : m.captured(2) == QLatin1String("m") ? 30
                                                                                                      : 365);
        return TimeRange{secondsAt(now) - days * 24 * 60 * 60};
    }
    if (text.startsWith(QLatin1Char('>'))) {
        if (const auto day = dateOf(text.mid(1)))
            return TimeRange{startOf(day->addDays(1))};
    } else if (text.startsWith(QLatin1Char('<'))) {
        if (const auto day = dateOf(text.mid(1)))
            return TimeRange{std::numeric_limits<std::int64_t>::min(), startOf(*day)};
    } else if (const qsizetype dots = text.indexOf(QLatin1String("..")); dots >= 0) {
        const auto first = dateOf(text.left(dots));
        const auto last = dateOf(text.mid(dots + 2));
        if (first && last && *first <= *last)
            return TimeRange{startOf(*first), startOf(last->addDays(1))};
    } else if (const auto day = dateOf(text)) {
        return TimeRange{startOf(*day), startOf(day->addDays(1))};
    }
    return std::nullopt;
}

std::optional<QString> containedTextOf(const QString &text)
{
    if (text.startsWith(QLatin1Char('"'))) {
        if (text.size() < 2 || !text.endsWith(QLatin1Char('"')))
            return std::nullopt;
        const QString inside = text.mid(1, text.size() - 2);
        return inside.isEmpty() ? std::nullopt : std::optional<QString>(inside);
    }
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}

QString formsOf(const QString &keyword)
{
    if (keyword == kSize)
        return QCoreApplication::translate(
            "Search", "size:>N, size:>=N, size:<N, size:<=N, size:N..M or size:N, where N is a number of bytes "
                      "with B, KB, MB, GB or TB after it (1 KB = 1,024 bytes), as in size:>1.5MB");
    if (keyword == kModified)
        return QCoreApplication::translate(
            "Search", "modified:today, modified:yesterday, modified:7d (days), 2w (weeks), 3m (30-day months), "
                      "1y (365-day years), modified:>YYYY-MM-DD, modified:<YYYY-MM-DD, modified:YYYY-MM-DD or "
                      "modified:YYYY-MM-DD..YYYY-MM-DD");
    if (keyword == kContains)
        return QCoreApplication::translate("Search", "contains:TEXT, or contains:\"TEXT\" for text with blanks or \";\"");
    return QCoreApplication::translate("Search", "skip:NAME, where NAME may hold the wildcards * and ?, as in skip:.git");
}

}  // namespace

QStringList SearchCriteria::nameItems() const
{
    return names.isEmpty() ? QStringList{QStringLiteral("*")} : names;
}

QString CriteriaError::message() const
{
    return QCoreApplication::translate("Search", "The search term \"%1\" is not understood. It can be written as %2.")
        .arg(term, forms);
}

std::variant<SearchCriteria, CriteriaError> readCriteria(const QString &fieldText, const QDateTime &now)
{
    SearchCriteria criteria;
    for (const QString &term : termsOf(fieldText)) {
        const QString criterion = term.mid(firstNonBlank(term, 0));
        const QString keyword = [&] {
            for (const QString &k : {kSize, kModified, kContains, kSkip})
                if (criterion.startsWith(k))
                    return k;
            return QString();
        }();
        if (keyword.isEmpty()) {
            criteria.names << term;  // a name pattern, blanks and all
            continue;
        }
        const QString value = criterion.mid(keyword.size());
        bool read = false;
        if (keyword == kSize) {
            if (const auto range = sizeRangeOf(value.trimmed()))
                criteria.sizes.push_back(*range), read = true;
        } else if (keyword == kModified) {
            if (const auto range = timeRangeOf(value.trimmed(), now))
                criteria.modified.push_back(*range), read = true;
        } else if (keyword == kContains) {
            if (const auto text = containedTextOf(value))
                criteria.contains << *text, read = true;
        } else if (!value.trimmed().isEmpty()) {
            criteria.skips << value.trimmed();
            read = true;
        }
        if (!read)
            return CriteriaError{criterion.trimmed(), formsOf(keyword)};
    }
    return criteria;
}

}  // namespace search
