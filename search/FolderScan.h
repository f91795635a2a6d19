#pragma once

#include "platform/FolderEnumeration.h"
#include "platform/WildcardPattern.h"
#include "search/ContentsSearch.h"
#include "search/EntryList.h"
#include "search/SearchCriteria.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace search {

// Where a folder stands in the walk's order: the index of each folder on the way
// down from the starting one. Comparing two places compares their order in a
// depth-first walk (a folder comes before everything below it).
using WalkPlace = std::vector<std::uint32_t>;

// A folder the walk is to read, and how to reach it: by the path of names from
// an open folder above it, its anchor. Near the top every folder is the anchor
// of its subfolders; deeper down only every few levels is, so that a deep tree
// holds a descriptor for a few of its levels, not for each.
struct FolderJob {
    WalkPlace place;
    QString path;    // as the list shows it, ending with "/"
    QByteArray raw;  // the same path as the file system's bytes
    std::shared_ptr<const platform::FolderHandle> anchor;  // null for the starting folder
    std::vector<std::string> below;  // the names from `anchor` down to the folder
};

// The folders being read now, by every walk of a window. A folder that a hung
// share holds in the kernel is read by one thread at a time however often it is
// searched again: a later read of it waits until the first is over, or until
// its own walk is stopped, and then ends as any thread of a stopped walk does.
class FolderReads {
public:
    // Marks `folder` as being read, waiting first while another read of it is
    // under way; false, and nothing marked, once `stopped` says so.
    bool begin(const QByteArray &folder, const std::function<bool()> &stopped);
    void end(const QByteArray &folder);

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    std::set<QByteArray> reading_;
};

// What one walk asks of every folder: its items, what else a match must be, and a
// hook that runs before each folder is read (tests slow or block the file system there).
struct WalkQuery {
    std::vector<platform::WildcardPattern> items;
    std::vector<platform::WildcardPattern> skips;  // folders of these names are neither entered nor listed
    std::vector<SizeRange> sizes;                  // a folder never holds
    std::vector<TimeRange> modified;
    std::shared_ptr<const ContentsSearch> contents;  // null: the contents do not matter
    std::function<void(const QByteArray &folder)> beforeRead;
    std::shared_ptr<FolderReads> reads;  // shared with the window's other walks; none: no wait
};

// One folder, read once: its subfolders and, item by item, its matches with their
// sizes. Made on whichever thread reads the folder; read-only afterwards.
struct FolderScan {
    struct Match {
        qsizetype entry = 0;  // in `found`
        std::int64_t size = 0;
    };
    bool opened = false;
    bool outOfMemory = false;  // the folder could not be read for want of memory
    EntryList found;  // the full paths of what matched, each once
    std::vector<FolderJob> subfolders;          // in the order read
    std::vector<std::vector<Match>> matches;    // one list per item, in the order read
};

// Gives the walk each folder's scan in the walk's order.
class FolderSource {
public:
    virtual ~FolderSource() = default;
    // The scan of `job`; null once the walk is asked to stop.
    virtual std::shared_ptr<const FolderScan> take(const FolderJob &job) = 0;
};

// How deep every folder stays open for its subfolders; below, every
// kAnchorEvery-th level does.
constexpr std::size_t kAnchoredDepth = 128;
constexpr std::size_t kAnchorEvery = 16;

// Reads the folder of `job`: lists it, finds its subfolders (never through a
// link), matches each item and sizes what matches, relative to the folder. Name,
// size and date are checked before a file is opened for its contents; reading
// them ends as soon as `stopped` says so, and what was not read does not match.
FolderScan scanFolder(const FolderJob &job, const WalkQuery &query, const std::function<bool()> &stopped = {});
// The same, shared, once no other walk is reading the folder; a scan that says so
// when the memory ran out, and null when `stopped` said so first.
std::shared_ptr<const FolderScan> sharedScan(const FolderJob &job, const WalkQuery &query,
                                             const std::function<bool()> &stopped);

// The text up to its first NUL; the cut text is also left in the argument.
QString StripNulls(QString &OriginalStr);

}  // namespace search
