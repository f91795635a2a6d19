#pragma once

#include "search/FolderScan.h"

#include <QDateTime>
#include <QString>

#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string_view>

namespace search {

// The live figures of a walk after an entry was listed.
struct WalkTotals {
    int fileCount = 0;
    int dirCount = 0;
    QString folder;               // the folder being matched
    std::int64_t folderSize = 0;  // what was listed of it so far
    std::int64_t listedSize = 0;  // what was listed in all
};

// What a walk tells, in the order a person reads it. Called on the walk's thread.
class WalkSink {
public:
    virtual ~WalkSink() = default;
    // The walk looks through the entries of a folder.
    virtual void folderRead() = 0;
    // The status line.
    virtual void status(const QString &text) = 0;
    // A subfolder was found; `dirCount` counts it.
    virtual void folderFound(int dirCount) = 0;
    // An entry was listed (its full path as the file system's bytes), and the figures after it.
    virtual void listed(std::string_view entry, const WalkTotals &totals) = 0;
    // A good moment to hand over what was gathered: a folder is done, or a long
    // run of entries inside one large folder was listed.
    virtual void checkpoint() {}
    // Read before every step; a walk asked to stop returns at once.
    virtual bool stopRequested() const = 0;
};

// Raised when a counter would pass its limit; ends the whole walk.
class CounterOverflow : public std::overflow_error {
public:
    CounterOverflow() : std::overflow_error("Overflow") {}
};

// Why a walk ended before it had looked everywhere, other than being asked to.
enum class WalkCut {
    None,
    CountLimit,   // more entries or folders than the counters hold
    OutOfMemory,  // the walk's memory ran out
};

struct WalkOptions {
    // Threads that read folders ahead of the walk; 0 reads each folder only when
    // the walk comes to it, on the walk's own thread.
    int readers = 0;
    // The same when contents are searched, unless `readers` is 0: reading files
    // keeps more requests in flight than listing folders, which pays on a cold
    // disk and costs nothing warm (bench_contents).
    int contentsReaders = 16;
    // Runs before each folder is read, on the thread that reads it.
    std::function<void(const QByteArray &folder)> beforeRead;
    // The most the counters hold (tests lower it).
    int countLimit = INT_MAX;
    // The folders the window's walks are reading; none: each walk reads on its own.
    std::shared_ptr<FolderReads> reads;
    // The moment "modified:today" and "modified:7d" count from; invalid: when the walk starts.
    QDateTime now;
    // How files are read for their contents (tests act between two reads).
    ContentsReading contents;
};

// Lists every entry below `path` matching one item of the ";"-separated
// `SearchStr` and all the criteria among its terms ("size:", "modified:",
// "contains:", "skip:"; a text whose criteria do not read lists nothing), depth first: in each folder all matches of the first item in the
// order the folder lists them, then the next item's, then each subfolder's whole
// subtree in the order found. Returns the total size of what it listed. A missing
// "/" is appended to `path` (the caller sees it). Symbolic links are listed when
// they match but never walked into. A counter passing its limit, or the memory
// running out, ends the walk with what it listed, and `cut` says which.
std::int64_t FindFilesAPI(WalkSink &sink, QString &path, const QString &SearchStr, int &FileCount, int &DirCount,
                          const WalkOptions &options = {}, WalkCut *cut = nullptr);

}  // namespace search
