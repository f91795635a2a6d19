#include "search/SearchTexts.h"

#include "platform/Formatting.h"

#include <QCoreApplication>

namespace search {

using platform::formatGrouped;
using platform::roundedKibi;

QString countsText(int fileCount, int dirCount)
{
    return QCoreApplication::translate("Search", "Total Items found = %1  in Directories = %2")
        .arg(QString::number(fileCount), QString::number(std::int64_t(dirCount) + 1));
}

QString walkSizeText(const QString &folder, std::int64_t folderSize)
{
    return folder + QLatin1Char('\n') +
           QCoreApplication::translate("Search", "   >>> Size of files found =%1 Bytes ( %2 KB )")
               .arg(formatGrouped(folderSize), formatGrouped(roundedKibi(folderSize)));
}

QString summarySizeText(const QString &folder, std::int64_t total)
{
    return QCoreApplication::translate("Search", "Size of files found under %1 = %2 Bytes (%3 KB )")
        .arg(folder, formatGrouped(total), formatGrouped(roundedKibi(total)));
}

QString elapsedText(QTime start, QTime end, bool stopped, WalkCut cut)
{
    const QString elapsed = platform::formatElapsed(start, end);
    // A search cut short on its own says so: its figures are not the folder's.
    switch (cut) {
    case WalkCut::CountLimit:
        return QCoreApplication::translate("Search", "Find in %1 .....Stopped: more entries than can be counted.")
            .arg(elapsed);
    case WalkCut::OutOfMemory:
        return QCoreApplication::translate("Search", "Find in %1 .....Stopped: out of memory.").arg(elapsed);
    case WalkCut::None:
        break;
    }
    return stopped ? QCoreApplication::translate("Search", "Find in %1 .....Stopped.").arg(elapsed)
                   : QCoreApplication::translate("Search", "Find in %1").arg(elapsed);
}

}  // namespace search
