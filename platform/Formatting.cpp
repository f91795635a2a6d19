#include "platform/Formatting.h"

#include <QLocale>

namespace platform {

QString formatGrouped(std::int64_t value)
{
    const bool negative = value < 0;
    const quint64 magnitude = negative ? quint64(-(value + 1)) + 1 : quint64(value);
    const QString digits = QString::number(magnitude);
    const QString separator = QLocale::system().groupSeparator();
    QString out;
    out.reserve(digits.size() + digits.size() / 3 * separator.size() + 1);
    if (negative)
        out += QLatin1Char('-');
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

std::int64_t roundedKibi(std::int64_t bytes)
{
    if (bytes >= 0)
        return (bytes / 1024) + ((bytes % 1024) >= 512 ? 1 : 0);
    return -roundedKibi(-bytes);
}

QString formatElapsed(QTime start, QTime end)
{
    constexpr int day = 24 * 60 * 60;
    int seconds = start.secsTo(end);
    if (seconds < 0)
        seconds += day;
    return QTime(0, 0).addSecs(seconds).toString(QStringLiteral("hh:mm:ss"));
}

}  // namespace platform
