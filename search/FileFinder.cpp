#include "search/FileFinder.h"

#include "platform/FileNames.h"
#include "platform/FolderEnumeration.h"
#include "platform/WildcardPattern.h"

#include <QFile>

#include <climits>
#include <vector>

namespace search {
namespace {

const QString kSearchingIn = QStringLiteral("Searching in... ");

struct Walk {
    WalkHost &host;
    std::vector<platform::WildcardPattern> items;
    std::int64_t listedSize = 0;  // over all levels, for a walk cut short by a limit
};

void addOne(int &counter)
{
    if (counter == INT_MAX)
        throw CounterOverflow();
    ++counter;
}

bool isDotEntry(const std::string &name)
{
    return name == "." || name == "..";
}

QString decodeName(const std::string &raw)
{
    QString name = platform::decodeFileName(QByteArray(raw.data(), qsizetype(raw.size())));
    return StripNulls(name);
}

// Index of the next entry at or after `from` that matches `item`; entries.size() when none.
size_t nextMatch(const std::vector<platform::FolderEntry> &entries, size_t from,
                 const platform::WildcardPattern &item)
{
    while (from < entries.size() && !item.matches(entries[from].name))
        ++from;
    return from;
}

std::int64_t walkFolder(Walk &walk, const QString &path, const QByteArray &rawPath,
                        int &FileCount, int &DirCount)
{
    WalkHost &host = walk.host;
    WalkControl &state = host.control();
    std::int64_t size = 0;

    platform::FolderEnumeration enumeration(rawPath);
    const bool opened = enumeration.isOpen();

    if (state.StopRequested) {
        // Nothing in this folder may be examined any more; all that is left of it
        // is that it was opened and named.
        if (opened)
            state.FindContinue = 1;
        host.setSearchStatus(kSearchingIn + path);
        return 0;
    }

    // One read of the folder serves the subfolder pass and every item.
    std::vector<platform::FolderEntry> entries;
    bool closedOk = true;
    if (opened) {
        platform::FolderEntry entry;
        while (enumeration.next(entry))
            entries.push_back(entry);
        closedOk = enumeration.close();
    }

    struct Subfolder {
        QString name;
        QByteArray raw;
    };
    std::vector<Subfolder> FolderNames;

    if (!entries.empty()) {
        size_t current = 0;
        while (state.FindContinue != 0 && !state.StopRequested) {
            host.setListVisible(host.showListWhileSearching());
            const platform::FolderEntry &entry = entries[current];
            if (!isDotEntry(entry.name) && entry.isFolder) {
                const QString name = decodeName(entry.name);
                host.setSearchStatus(kSearchingIn + path + name);
                FolderNames.push_back({name, QByteArray::fromStdString(entry.name)});
                addOne(DirCount);
            }
            ++current;
            state.FindContinue = current < entries.size() ? 1 : 0;
            host.yieldToEvents();
        }
        state.FindContinue = closedOk ? 1 : 0;
    }

    for (const platform::WildcardPattern &item : walk.items) {
        size_t current = nextMatch(entries, 0, item);
        host.setSearchStatus(kSearchingIn + path);
        if (current == entries.size())
            continue;
        while (state.FindContinue != 0) {
            if (state.StopRequested)
                return size;
            const platform::FolderEntry &entry = entries[current];
            if (!isDotEntry(entry.name)) {
                QByteArray rawFull = rawPath;
                rawFull.append(entry.name.data(), qsizetype(entry.name.size()));
                const std::int64_t entrySize = platform::entrySize(rawFull);
                addOne(FileCount);
                size += entrySize;
                walk.listedSize += entrySize;
                host.appendEntry(path + decodeName(entry.name));
                if (host.previewWhileSearching())
                    host.selectLastEntry();
                if (DirCount == INT_MAX)
                    throw CounterOverflow();
                host.showWalkTotals(FileCount, DirCount, path, size);
                host.yieldToEvents();
            }
            current = nextMatch(entries, current + 1, item);
            state.FindContinue = current < entries.size() ? 1 : 0;
        }
        state.FindContinue = 1;
    }

    for (const Subfolder &sub : FolderNames) {
        const QString subPath = path + sub.name + QLatin1Char('/');
        QByteArray subRaw = rawPath;
        subRaw.append(sub.raw).append('/');
        size += walkFolder(walk, subPath, subRaw, FileCount, DirCount);
        host.yieldToEvents();
    }
    return size;
}

}  // namespace

QString StripNulls(QString &OriginalStr)
{
    const qsizetype nul = OriginalStr.indexOf(QChar(0));
    if (nul >= 0)
        OriginalStr.truncate(nul);
    return OriginalStr;
}

std::int64_t FindFilesAPI(WalkHost &host, QString &path, const QString &SearchStr,
                          int &FileCount, int &DirCount)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    Walk walk{host, {}};
    for (const QString &item : SearchStr.split(QLatin1Char(';')))
        walk.items.emplace_back(item);
    try {
        return walkFolder(walk, path, platform::encodeFileName(path), FileCount, DirCount);
    } catch (const CounterOverflow &) {
        throw CounterOverflow(walk.listedSize);
    }
}

}  // namespace search
