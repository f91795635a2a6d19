#include "search/FolderScan.h"

#include "platform/FileNames.h"

#include <algorithm>
#include <chrono>
#include <optional>


namespace search {
namespace {

bool isDotEntry(const std::string &name)
{
    return name == "." || name == "..";
}

QString decodeName(const std::string &raw)
{
    QString name = platform::decodeFileName(QByteArray(raw.data(), qsizetype(raw.size())));
    return StripNulls(name);
}

std::shared_ptr<const platform::FolderHandle> openFolder(const FolderJob &job)
{
    if (!job.anchor)
        return platform::FolderHandle::open(job.raw);
    std::shared_ptr<const platform::FolderHandle> handle = platform::FolderHandle::openBelow(*job.anchor, job.below);
    // Out of descriptors: the full path may still reach the folder.
    if (!handle && errno == EMFILE)
        handle = platform::FolderHandle::open(job.raw);
    return handle;
}

bool skipped(const WalkQuery &query, const platform::FolderEntry &entry)
{
    return entry.isFolder && std::any_of(query.skips.begin(), query.skips.end(),
                                         [&](const platform::WildcardPattern &p) { return p.matches(entry.name); });
}

// Checks what a matching name must be besides, cheapest first, and sizes it:
// nothing when it is not all of it.
class Criteria {
public:
    Criteria(const WalkQuery &query, const platform::FolderHandle &folder, const std::function<bool()> &stopped)
        : query_(query), folder_(folder), stopped_(stopped ? stopped : [] { return false; })
    {
    }

    std::optional<std::int64_t> sizeIfMet(const std::string &name)
    {
        if (query_.sizes.empty() && query_.modified.empty() && !query_.contents)
            return folder_.sizeOf(name);
        const std::optional<platform::EntryStatus> status = folder_.statusOf(name);
        if (!status)
            return std::nullopt;
        for (const SizeRange &range : query_.sizes)
            if (status->isFolder || !range.holds(status->size))
                return std::nullopt;
        for (const TimeRange &range : query_.modified)
            if (!range.holds(status->modified))
                return std::nullopt;
        if (query_.contents) {
            if (!status->isRegular)
                return std::nullopt;
            if (!query_.contents->foundIn(folder_, name, buffer_, stopped_))
                return std::nullopt;
        }
        return status->size;
    }

private:
    const WalkQuery &query_;
    const platform::FolderHandle &folder_;
    const std::function<bool()> stopped_;
    std::vector<char> buffer_;  // one for every file of the folder
};

// Whether the folder of `job` stays open as the anchor of its subfolders.
bool anchorsItsSubfolders(const FolderJob &job)
{
    return job.place.size() < kAnchoredDepth || job.below.size() >= kAnchorEvery;
}

}  // namespace

bool FolderReads::begin(const QByteArray &folder, const std::function<bool()> &stopped)
{
    using namespace std::chrono_literals;
    std::unique_lock lock(mutex_);
    while (reading_.count(folder)) {
        if (stopped())
            return false;
        ended_.wait_for(lock, 20ms);
    }
    reading_.insert(folder);
    return true;
}

void FolderReads::end(const QByteArray &folder)
{
    const std::lock_guard lock(mutex_);
    reading_.erase(folder);
    ended_.notify_all();
}

std::shared_ptr<const FolderScan> sharedScan(const FolderJob &job, const WalkQuery &query,
                                             const std::function<bool()> &stopped)
{
    if (query.reads && !query.reads->begin(job.raw, stopped))
        return nullptr;
    struct Ended {
        const WalkQuery &query;
        const QByteArray &folder;
        ~Ended()
        {
            if (query.reads)
                query.reads->end(folder);
        }
    } const ended{query, job.raw};
    // Made before it is needed: when the memory has run out there is none for it.
    static const std::shared_ptr<const FolderScan> outOfMemory = [] {
        auto scan = std::make_shared<FolderScan>();
        scan->outOfMemory = true;
        return scan;
    }();
    try {
        return std::make_shared<const FolderScan>(scanFolder(job, query, stopped));
    } catch (const std::bad_alloc &) {
        return outOfMemory;
    }
}

QString StripNulls(QString &OriginalStr)
{
    const qsizetype nul = OriginalStr.indexOf(QChar(0));
    if (nul >= 0)
        OriginalStr.truncate(nul);
    return OriginalStr;
}

FolderScan scanFolder(const FolderJob &job, const WalkQuery &query, const std::function<bool()> &stopped)
{
    FolderScan scan;
    scan.matches.resize(query.items.size());
    if (query.beforeRead)
        query.beforeRead(job.raw);
    const std::shared_ptr<const platform::FolderHandle> folder = openFolder(job);
    if (!folder)
        return scan;
    scan.opened = true;
    std::vector<platform::FolderEntry> entries;
    folder->readEntries(entries);

    std::uint32_t index = 0;
    for (const platform::FolderEntry &e : entries) {
        if (!e.isFolder || isDotEntry(e.name) || skipped(query, e))
            continue;
        WalkPlace place = job.place;
        place.push_back(index++);
        const QString name = decodeName(e.name);
        QByteArray raw = job.raw;
        raw.append(e.name.data(), qsizetype(e.name.size())).append('/');
        FolderJob sub{std::move(place), job.path + name + QLatin1Char('/'), std::move(raw), folder, {e.name}};
        if (!anchorsItsSubfolders(job)) {
            sub.anchor = job.anchor;
            sub.below = job.below;
            sub.below.push_back(e.name);
        }
        scan.subfolders.push_back(std::move(sub));
    }

    // An entry matching several items is listed each time, but read and sized once.
    const bool severalItems = query.items.size() > 1;
    constexpr qsizetype kNotSeen = -1;
    constexpr qsizetype kNotMet = -2;
    std::vector<FolderScan::Match> listedAs;  // by place in the folder
    if (severalItems)
        listedAs.assign(entries.size(), FolderScan::Match{kNotSeen, 0});
    Criteria criteria(query, *folder, stopped);
    std::string full(job.raw.constData(), std::size_t(job.raw.size()));
    const std::size_t folderLength = full.size();
    for (size_t item = 0; item < query.items.size(); ++item) {
        for (size_t i = 0; i < entries.size(); ++i) {
            const std::string &name = entries[i].name;
            if (isDotEntry(name) || !query.items[item].matches(name) || skipped(query, entries[i]))
                continue;
            if (severalItems && listedAs[i].entry != kNotSeen) {
                if (listedAs[i].entry != kNotMet)
                    scan.matches[item].push_back(listedAs[i]);
                continue;
            }
            const std::optional<std::int64_t> size = criteria.sizeIfMet(name);
            if (!size) {
                if (severalItems)
                    listedAs[i].entry = kNotMet;
                continue;
            }
            full.resize(folderLength);
            full += name;
            scan.found.append(full);
            const FolderScan::Match match{scan.found.size() - 1, *size};
            if (severalItems)
                listedAs[i] = match;
            scan.matches[item].push_back(match);
        }
    }
    return scan;
}

}  // namespace search
