#include "search/SearchTexts.h"

#include "platform/Formatting.h"

namespace search {

using platform::formatGrouped;
using platform::roundedKibi;

QString countsText(int fileCount, int dirCount)
{
    return QStringLiteral("Total Items found = ") + QString::number(fileCount) +
           QStringLiteral("  in Directories = ") + QString::number(std::int64_t(dirCount) + 1);
}

QString walkSizeText(const QString &folder, std::int64_t folderSize)
{
    return folder + QLatin1Char('\n') + QStringLiteral("   >>> Size of files found =") +
           formatGrouped(folderSize) + QStringLiteral(" Bytes ( ") + formatGrouped(roundedKibi(folderSize)) +
           QStringLiteral(" KB )");
}

QString summarySizeText(const QString &folder, std::int64_t total)
{
    return QStringLiteral("Size of files found under ") + folder + QStringLiteral(" = ") + formatGrouped(total) +
           QStringLiteral(" Bytes (") + formatGrouped(roundedKibi(total)) + QStringLiteral(" KB )");
}

QString elapsedText(QTime start, QTime end, bool stopped)
{
    return QStringLiteral("Find in ") + platform::formatElapsed(start, end) +
           (stopped ? QStringLiteral(" .....Stopped.") : QString());
}

}  // namespace search
