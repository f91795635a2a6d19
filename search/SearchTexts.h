#pragma once

#include "search/FileFinder.h"

#include <QString>
#include <QTime>

#include <cstdint>

namespace search {

// "Total Items found = 125  in Directories = 18": the "+ 1" counts the starting folder.
QString countsText(int fileCount, int dirCount);
// The size line while a folder is matched: the folder, a line feed, its size.
QString walkSizeText(const QString &folder, std::int64_t folderSize);
// The size line of the summary.
QString summarySizeText(const QString &folder, std::int64_t total);
// "Find in 00:00:07", with " .....Stopped." after a cancelled search, and the
// reason after a search that ended early on its own.
QString elapsedText(QTime start, QTime end, bool stopped, WalkCut cut = WalkCut::None);

}  // namespace search
