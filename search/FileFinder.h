#pragma once

#include "search/WalkControl.h"

#include <QString>

#include <cstdint>
#include <stdexcept>

namespace search {

// What the walk reads from and writes to the window while it runs.
class WalkHost {
public:
    virtual ~WalkHost() = default;
    virtual WalkControl &control() = 0;
    virtual bool showListWhileSearching() = 0;  // Check1
    virtual bool previewWhileSearching() = 0;   // Check2
    virtual void setListVisible(bool visible) = 0;
    virtual void setSearchStatus(const QString &text) = 0;  // Label1
    virtual void appendEntry(const QString &entry) = 0;
    virtual void selectLastEntry() = 0;
    // The live totals: Text3 from the counts, Text4 from the folder and its size.
    virtual void showWalkTotals(int fileCount, int dirCount, const QString &folder,
                                std::int64_t folderSize) = 0;
    virtual void yieldToEvents() = 0;
};

// Raised when a counter would pass its limit; ends the whole walk.
class CounterOverflow : public std::overflow_error {
public:
    explicit CounterOverflow(std::int64_t listed = 0)
        : std::overflow_error("Overflow"), listedSize(listed) {}
    std::int64_t listedSize;  // total size of what was listed before the limit
};

// Lists every entry below `path` matching one item of the ";"-separated
// `SearchStr`, depth first, and returns the total size of what it listed.
// A missing "/" is appended to `path` (the caller sees it). Symbolic links are
// listed when they match but never walked into.
std::int64_t FindFilesAPI(WalkHost &host, QString &path, const QString &SearchStr,
                          int &FileCount, int &DirCount);

// The text up to its first NUL; the cut text is also left in the argument.
QString StripNulls(QString &OriginalStr);

}  // namespace search
