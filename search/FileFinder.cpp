#include "search/FileFinder.h"

#include "platform/FileNames.h"
#include "search/FolderPrefetch.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <climits>
#include <variant>

namespace search {
namespace {

// Inside one large folder, what was listed is handed over at least this often,
// so the window shows it while the rest is matched and memory stays bounded.
constexpr int kEntriesPerCheckpoint = 2048;

// Reads each folder when the walk comes to it, on the walk's thread.
class FolderReader final : public FolderSource {
public:
    FolderReader(const WalkQuery &query, const WalkSink &sink) : query_(query), sink_(sink) {}
    std::shared_ptr<const FolderScan> take(const FolderJob &job) override
    {
        if (sink_.stopRequested())
            return nullptr;
        return sharedScan(job, query_, [this] { return sink_.stopRequested(); });
    }

private:
    const WalkQuery &query_;
    const WalkSink &sink_;
};

struct Walk {
    FolderSource &source;
    WalkSink &sink;
    int &FileCount;
    int &DirCount;
    const int countLimit;
    std::int64_t listedSize = 0;
    // Translated once: the status is said for every folder.
    const QString searchingIn = QCoreApplication::translate("Search", "Searching in... ");

    std::int64_t folder(const FolderJob &job);
    void addOne(int &counter) const
    {
        if (counter >= countLimit)
            throw CounterOverflow();
        ++counter;
    }
};

std::int64_t Walk::folder(const FolderJob &job)
{
    const std::shared_ptr<const FolderScan> scan = source.take(job);
    if (!scan)
        return 0;
    if (scan->outOfMemory)
        throw std::bad_alloc();
    if (scan->opened)
        sink.folderRead();
    for (const FolderJob &sub : scan->subfolders) {
        if (sink.stopRequested())
            return 0;
        sink.status(searchingIn + sub.path.chopped(1));
        addOne(DirCount);
        sink.folderFound(DirCount);
    }

    std::int64_t size = 0;
    WalkTotals totals;
    totals.folder = job.path;
    int sinceCheckpoint = 0;
    for (const std::vector<FolderScan::Match> &matches : scan->matches) {
        sink.status(searchingIn + job.path);
        for (const FolderScan::Match &match : matches) {
            if (sink.stopRequested())
                return size;
            addOne(FileCount);
            size += match.size;
            listedSize += match.size;
            if (DirCount >= countLimit)
                throw CounterOverflow();
            totals.fileCount = FileCount;
            totals.dirCount = DirCount;
            totals.folderSize = size;
            totals.listedSize = listedSize;
            sink.listed(scan->found.bytesAt(match.entry), totals);
            if (++sinceCheckpoint == kEntriesPerCheckpoint) {
                sinceCheckpoint = 0;
                sink.checkpoint();
            }
        }
    }
    sink.checkpoint();

    for (const FolderJob &sub : scan->subfolders) {
        if (sink.stopRequested())
            break;
        size += folder(sub);
    }
    return size;
}

}  // namespace

std::int64_t FindFilesAPI(WalkSink &sink, QString &path, const QString &SearchStr, int &FileCount, int &DirCount,
                          const WalkOptions &options, WalkCut *cut)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    const std::variant<SearchCriteria, CriteriaError> read =
        readCriteria(SearchStr, options.now.isValid() ? options.now : QDateTime::currentDateTime());
    const SearchCriteria *criteria = std::get_if<SearchCriteria>(&read);
    if (!criteria)
        return 0;
    WalkQuery query;
    for (const QString &item : criteria->nameItems())
        query.items.emplace_back(item);
    for (const QString &name : criteria->skips)
        query.skips.emplace_back(name);
    query.sizes = criteria->sizes;
    query.modified = criteria->modified;
    if (!criteria->contains.isEmpty())
        query.contents = std::make_shared<const ContentsSearch>(criteria->contains, options.contents);
    query.beforeRead = options.beforeRead;
    query.reads = options.reads;

    FolderJob root;
    root.path = path;
    root.raw = platform::encodeFileName(path);
    std::unique_ptr<FolderSource> source;
    if (options.readers > 0) {
        const int readers = query.contents ? options.contentsReaders : options.readers;
        source = std::make_unique<FolderPrefetch>(query, readers, root, [&sink] { return sink.stopRequested(); });
    }
    else
        source = std::make_unique<FolderReader>(query, sink);

    Walk walk{*source, sink, FileCount, DirCount, options.countLimit};
    WalkCut ended = WalkCut::None;
    std::int64_t total = 0;
    try {
        total = walk.folder(root);
    } catch (const CounterOverflow &) {
        ended = WalkCut::CountLimit;
        total = walk.listedSize;
    } catch (const std::bad_alloc &) {
        ended = WalkCut::OutOfMemory;
        total = walk.listedSize;
    }
    if (cut)
        *cut = ended;
    sink.checkpoint();
    return total;
}

}  // namespace search
