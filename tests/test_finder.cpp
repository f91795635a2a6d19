#include "TestSupport.h"
#include "platform/FileNames.h"
#include "platform/FolderEnumeration.h"
#include "search/FileFinder.h"
#include "search/FolderPrefetch.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include <climits>
#include <sys/resource.h>

#include <atomic>
#include <climits>
#include <functional>
#include <mutex>
#include <thread>
#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

using search::FindFilesAPI;

namespace {

// Records what the walk tells, in order.
class RecordingSink final : public search::WalkSink {
public:
    void folderRead() override { ++foldersRead; }
    void status(const QString &text) override { statuses.append(text); }
    void folderFound(int dirCount) override { dirCounts.append(dirCount); }
    void listed(std::string_view entry, const search::WalkTotals &totals) override
    {
        list.append(platform::decodeFileName(QByteArray(entry.data(), qsizetype(entry.size()))));
        last = totals;
        if (onListed)
            onListed();
    }
    bool stopRequested() const override { return stop; }
    void checkpoint() override { checkpoints.append(int(list.size())); }

    int foldersRead = 0;
    QList<int> checkpoints;  // how much was listed at each
    QStringList statuses;
    QList<int> dirCounts;
    QStringList list;
    search::WalkTotals last;
    std::atomic<bool> stop{false};
    std::function<void()> onListed;
};

struct Result {
    std::int64_t size = 0;
    int files = 0;
    int dirs = 0;
    search::WalkCut cut = search::WalkCut::None;
};

// Every case runs twice: folders read when the walk reaches them, and read ahead by a pool.
int readers()
{
    QFETCH_GLOBAL(int, readers);
    return readers;
}

Result walk(RecordingSink &sink, QString path, const QString &spec, search::WalkOptions options = {})
{
    Result r;
    options.readers = readers();
    r.size = FindFilesAPI(sink, path, spec, r.files, r.dirs, options, &r.cut);
    return r;
}

QString relative(const testing::TempTree &tree, const QString &entry)
{
    return entry.mid(tree.root().size());
}

// Runs `check` where permissions bind: as nobody in a child process when the
// suite runs as the superuser (whom permissions do not bind), else here.
// Whether a check in a forked child can be trusted: the thread sanitizer cannot
// follow a process with threads behind it into a child that starts its own.
bool forkedChecksWork()
{
#if defined(__SANITIZE_THREAD__)
    return ::geteuid() != 0;
#else
    return true;
#endif
}

bool wherePermissionsBind(const std::function<bool()> &check)
{
    if (::geteuid() != 0)
        return check();

    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(3);
        ::_exit(check() ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

const auto kReadable = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                       QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

// A random tree: folders and files of a few names that match one, two or no items,
// folders that match, links to files and folders (one a loop), names that are not UTF-8.
void makeRandomTree(const QString &root, QRandomGenerator &random, int depth)
{
    const QByteArray rawRoot = QFile::encodeName(root);
    const int files = int(random.bounded(12));
    for (int i = 0; i < files; ++i) {
        static const char *const kinds[] = {".jpg", ".JPG", ".png", ".txt", ".jpg.png", ""};
        const QByteArray name = "f" + QByteArray::number(i) + kinds[random.bounded(6)];
        QFile f(root + "/" + QString::fromLatin1(name));
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(int(random.bounded(3000)), 'x'));
    }
    if (random.bounded(4) == 0) {
        const QByteArray bad = rawRoot + "/odd\xff" + QByteArray::number(depth) + ".jpg";
        if (FILE *fp = std::fopen(bad.constData(), "w"))
            std::fclose(fp);
    }
    if (random.bounded(5) == 0)
        QFile::link(root, root + "/loop.jpg");
    if (random.bounded(5) == 0)
        QFile::link(root + "/f0.jpg", root + "/link.png");
    if (depth == 0)
        return;
    const int folders = int(random.bounded(5));
    for (int i = 0; i < folders; ++i) {
        const QString sub = root + QString("/d%1%2").arg(i).arg(random.bounded(2) ? ".jpg" : "");
        QDir().mkpath(sub);
        makeRandomTree(sub, random, depth - 1);
        // Some folders cannot be read; the rest can be by anybody.
        QFile::setPermissions(sub, random.bounded(8) == 0 ? QFileDevice::Permissions{} : kReadable);
    }
}

}  // namespace

class TestFinder : public QObject {
    Q_OBJECT
private slots:
    // File systems that do not report an entry's type (DT_UNKNOWN: some network and
    // FUSE file systems) make the walk ask: a folder is one, a link to a folder is
    // not (followed, a link loop would be walked for ever), nor is a file or a name
    // that vanished.
    void anEntryOfUnknownTypeIsAskedWithoutFollowingLinks()
    {
        testing::TempTree t;
        t.folder("real");
        t.file("plain.txt");
        QVERIFY(QFile::link(t.root() + "real", t.root() + "link"));
        QVERIFY(QFile::link(t.root(), t.root() + "real/loop"));
        const std::shared_ptr<platform::FolderHandle> folder = platform::FolderHandle::open(QFile::encodeName(t.root()));
        QVERIFY(folder);
        QVERIFY(platform::isFolderEntry(DT_UNKNOWN, *folder, "real"));
        QVERIFY(!platform::isFolderEntry(DT_UNKNOWN, *folder, "link"));
        QVERIFY(!platform::isFolderEntry(DT_UNKNOWN, *folder, "plain.txt"));
        QVERIFY(!platform::isFolderEntry(DT_UNKNOWN, *folder, "gone"));
        // A reported type is taken as it is, without asking.
        QVERIFY(platform::isFolderEntry(DT_DIR, *folder, "gone"));
        QVERIFY(!platform::isFolderEntry(DT_LNK, *folder, "link"));
        const std::shared_ptr<platform::FolderHandle> inner =
            platform::FolderHandle::open(QFile::encodeName(t.root() + "real"));
        QVERIFY(!platform::isFolderEntry(DT_UNKNOWN, *inner, "loop"));
    }

    void initTestCase_data()
    {
        QTest::addColumn<int>("readers");
        QTest::newRow("each folder when reached") << 0;
        QTest::newRow("folders read ahead") << 4;
    }

    void listsPerFolderItemByItemThenSubfolders()
    {
        testing::TempTree t;
        t.file("a.jpg", "12345");
        t.file("b.bmp", "123");
        t.file("c.txt", "1");
        t.file("one/d.jpg", "1234567");
        t.file("one/deep/e.bmp");
        t.file("two/f.JPG", "12");
        RecordingSink host;
        const Result r = walk(host, t.root(), "*.jpg;*.bmp");

        QStringList names;
        for (const QString &e : host.list)
            names.append(relative(t, e));
        QCOMPARE(names.size(), 5);
        // The starting folder's matches come first, item by item.
        QCOMPARE(names.mid(0, 2), (QStringList{"a.jpg", "b.bmp"}));
        // Then each subfolder's whole subtree, depth first.
        const qsizetype d = names.indexOf("one/d.jpg");
        const qsizetype e = names.indexOf("one/deep/e.bmp");
        const qsizetype f = names.indexOf("two/f.JPG");
        QVERIFY(d >= 2 && e == d + 1);
        QVERIFY(f == 2 || f == 4);
        QCOMPARE(r.files, 5);
        QCOMPARE(r.dirs, 3);
        QCOMPARE(r.size, 5 + 3 + 7 + 0 + 2);
    }

    void pathGetsOneSlashAndCallerSeesIt()
    {
        testing::TempTree t;
        t.file("x.jpg");
        RecordingSink host;
        QString path = t.root();
        path.chop(1);
        int files = 0, dirs = 0;
        search::WalkOptions options;
        options.readers = readers();
        FindFilesAPI(host, path, "*.jpg", files, dirs, options);
        QCOMPARE(path, t.root());
        QCOMPARE(host.list, QStringList{t.root() + "x.jpg"});
    }

    void itemsAreKeptAsTyped()
    {
        testing::TempTree t;
        t.file("a.jpg");
        t.file("b.bmp");
        RecordingSink host;
        walk(host, t.root(), "*.jpg; *.bmp");
        QCOMPARE(host.list, QStringList{t.root() + "a.jpg"});

        RecordingSink twice;
        const Result r = walk(twice, t.root(), "*.jpg;*.JPG");
        QCOMPARE(twice.list.size(), 2);  // one entry matching two items is listed twice
        QCOMPARE(r.files, 2);
    }

    void emptyFileSpecStillCountsFolders()
    {
        testing::TempTree t;
        t.file("a/b/c.jpg");
        t.folder("d");
        RecordingSink host;
        const Result r = walk(host, t.root(), "");
        QVERIFY(host.list.isEmpty());
        QCOMPARE(r.dirs, 3);
        QCOMPARE(r.files, 0);
    }

    void starListsFoldersButNeverDotEntries()
    {
        testing::TempTree t;
        t.file("sub/f.txt");
        t.file(".hidden");
        RecordingSink host;
        walk(host, t.root(), "*");
        QStringList names;
        for (const QString &e : host.list)
            names.append(relative(t, e));
        names.sort();
        QCOMPARE(names, (QStringList{".hidden", "sub", "sub/f.txt"}));
        for (const QString &e : host.list)
            QVERIFY(!e.endsWith("/.") && !e.endsWith("/.."));
    }

    void sizesAreSixtyFourBit()
    {
        testing::TempTree t;
        t.sparseFile("big.bin", 5'000'000'000LL);
        RecordingSink host;
        const Result r = walk(host, t.root(), "*.bin");
        QCOMPARE(r.size, 5'000'000'000LL);
        QCOMPARE(host.last.folderSize, 5'000'000'000LL);
    }

    void liveTotalsAreForTheFolderBeingMatched()
    {
        testing::TempTree t;
        t.file("a.jpg", "1234");
        t.file("sub/b.jpg", "12");
        RecordingSink host;
        walk(host, t.root(), "*.jpg");
        QCOMPARE(host.last.folder, t.root() + "sub/");
        QCOMPARE(host.last.folderSize, 2);
        QCOMPARE(host.last.listedSize, 6);
        QCOMPARE(host.last.fileCount, 2);
        QCOMPARE(host.last.dirCount, 1);
        QVERIFY(host.statuses.contains("Searching in... " + t.root() + "sub"));
        QVERIFY(host.statuses.contains("Searching in... " + t.root() + "sub/"));
    }

    void symbolicLinksAreListedNotWalked()
    {
        testing::TempTree t;
        t.file("real/inside.jpg");
        QVERIFY(QFile::link(t.root() + "real", t.root() + "link.jpg"));
        // A cycle: a link inside a folder that points back to the folder.
        QVERIFY(QFile::link(t.root(), t.root() + "real/loop"));
        RecordingSink host;
        const Result r = walk(host, t.root(), "*");
        QStringList names;
        for (const QString &e : host.list)
            names.append(relative(t, e));
        names.sort();
        QCOMPARE(names, (QStringList{"link.jpg", "real", "real/inside.jpg", "real/loop"}));
        QCOMPARE(r.dirs, 1);
    }

    void namesWithBlanksNonAsciiAndInvalidUtf8()
    {
        testing::TempTree t;
        t.file("with blank.jpg");
        t.file(QString::fromUtf8("été.JPG"));
        const QByteArray raw = QFile::encodeName(t.root()) + QByteArray("bad\xff.jpg");
        {
            QFile f(QFile::decodeName(raw));
            FILE *fp = fopen(raw.constData(), "w");
            QVERIFY(fp);
            fclose(fp);
        }
        RecordingSink host;
        const Result r = walk(host, t.root(), "*.jpg");
        QCOMPARE(r.files, 3);
        QVERIFY(host.list.contains(t.root() + "with blank.jpg"));
        QVERIFY(host.list.contains(t.root() + QString::fromUtf8("été.JPG")));
    }

    void stopEndsTheWalkAtTheNextEntry()
    {
        testing::TempTree t;
        for (const char *sub : {"s0", "s1", "s2"})
            for (int i = 0; i < 5; ++i)
                t.file(QString("%1/f%2.jpg").arg(sub).arg(i));
        QStringList order;  // the subfolders as the directory enumerates them
        {
            platform::FolderEnumeration e(QFile::encodeName(t.root()));
            platform::FolderEntry entry;
            while (e.next(entry))
                if (entry.name[0] != '.')
                    order.append(QString::fromStdString(entry.name));
        }
        RecordingSink host;
        qsizetype statusesAtStop = -1;
        host.onListed = [&] {
            if (host.list.size() == 2) {  // what a Cancel click does
                host.stop = true;
                statusesAtStop = host.statuses.size();
            }
        };
        walk(host, t.root(), "*.jpg");
        QCOMPARE(host.list.size(), 2);
        for (const QString &e : host.list)
            QVERIFY(e.startsWith(t.root() + order[0] + "/"));
        // Nothing more: no folder is read, named or listed once the walk is stopped.
        QCOMPARE(host.statuses.size(), statusesAtStop);
    }

    // The readers keep the disk busy ahead of a walk that is held up, but no
    // further than a window of folders.
    void foldersAreReadAheadAsFarAsTheWindowGoes()
    {
        if (readers() == 0)
            QSKIP("reads each folder when the walk reaches it");
        constexpr int kWindow = 256;  // folders, as the walk's design sets it
        QCOMPARE(search::FolderPrefetch::kWindow, kWindow);
        testing::TempTree t;
        t.file("first.jpg");
        for (int i = 0; i < 2 * kWindow; ++i)
            t.folder(QString("d%1").arg(i));
        std::atomic<int> reads{0};
        testing::Gate walkGoesOn;  // the walk waits at its first entry
        walkGoesOn.close();
        RecordingSink sink;
        sink.onListed = [&walkGoesOn] { walkGoesOn.pass(); };
        search::WalkOptions options;
        options.readers = readers();
        options.beforeRead = [&reads](const QByteArray &) { ++reads; };
        std::thread walk([&] {
            QString path = t.root();
            int files = 0, dirs = 0;
            FindFilesAPI(sink, path, "*.jpg", files, dirs, options);
        });
        QTRY_VERIFY(walkGoesOn.held());
        QTRY_COMPARE(reads.load(), 1 + kWindow);  // the starting folder, then the window
        QTest::qWait(100);
        QCOMPARE(reads.load(), 1 + kWindow);  // and not one more
        walkGoesOn.open();
        walk.join();
        QCOMPARE(reads.load(), 1 + 2 * kWindow);
    }

    // A link is sized as a link, never as what it leads to.
    void aLinkIsSizedAsItself()
    {
        testing::TempTree t;
        const QString target = t.file("target.dat", QByteArray(1000, 'x'));
        QVERIFY(QFile::link(target, t.root() + "link.jpg"));
        RecordingSink host;
        const Result r = walk(host, t.root(), "*.jpg");
        QCOMPARE(host.list, QStringList{t.root() + "link.jpg"});
        QCOMPARE(r.size, std::int64_t(QFile::encodeName(target).size()));
    }

    // A folder swapped for a link (to the root, say) between being found and being
    // read is not walked into.
    void aFolderSwappedForALinkIsNotWalkedInto()
    {
        testing::TempTree t, elsewhere;
        t.file("swap/inside.jpg");
        elsewhere.file("outside.jpg");
        RecordingSink host;
        search::WalkOptions options;
        options.beforeRead = [&](const QByteArray &folder) {
            if (!folder.endsWith("/swap/"))
                return;
            const QByteArray swap = folder.chopped(1);
            QVERIFY(::rename(swap.constData(), (swap + "-gone").constData()) == 0);
            QVERIFY(::symlink(QFile::encodeName(elsewhere.root()).constData(), swap.constData()) == 0);
        };
        walk(host, t.root(), "*.jpg", options);
        QVERIFY(host.list.isEmpty());
    }

    void stopInsideOneLargeFolder()
    {
        testing::TempTree t;
        const QByteArray root = QFile::encodeName(t.root());
        for (int i = 0; i < 50'000; ++i) {
            const QByteArray name = root + "m" + QByteArray::number(i) + ".jpg";
            if (FILE *fp = std::fopen(name.constData(), "w"))
                std::fclose(fp);
        }
        RecordingSink host;
        host.onListed = [&] {
            if (host.list.size() == 100)
                host.stop = true;
        };
        const Result r = walk(host, t.root(), "*.jpg;*.JPG");
        QCOMPARE(host.list.size(), 100);
        QCOMPARE(host.last.fileCount, 100);
        QVERIFY(r.files == 100);
    }

    // One folder of thousands of matches is handed over in runs of 2,048 entries
    // while it is matched, not in one piece when it is done.
    void aLargeFolderIsHandedOverInRuns()
    {
        testing::TempTree t;
        t.files("m%1.jpg", 5000);
        t.files("sub/s%1.jpg", 10);
        RecordingSink host;
        walk(host, t.root(), "*.jpg");
        // Each folder ends with one as well, and so does the walk.
        QCOMPARE(host.checkpoints, (QList<int>{2048, 4096, 5000, 5010, 5010}));
    }

    // A folder whose listing fails part way, as a share's does on an I/O error:
    // what was read is listed, the rest skipped, and the walk comes to its end.
    void aListingThatFailsPartWayKeepsWhatWasRead()
    {
        const testing::HungShare share;
        if (!share.mounted())
            QSKIP("no FUSE file system could be mounted here (/dev/fuse, the helper or the right to mount is missing)");
        RecordingSink host;
        const Result r = walk(host, share.root() + "broken", "*.jpg");
        QCOMPARE(host.list, (QStringList{share.root() + "broken/b1.jpg", share.root() + "broken/b2.jpg"}));
        QCOMPARE(r.files, 2);
        QCOMPARE(r.cut, search::WalkCut::None);
    }

    // A chain of folders deeper than the files a desktop session may hold open
    // (1,024) and longer than any path the kernel takes whole: every file in it
    // is listed.
    void aTreeDeeperThanTheOpenFileLimitIsWalkedWhole()
    {
        testing::TempTree t;
        t.chain("d", 5000, "f.jpg");
        rlimit saved{};
        QVERIFY(::getrlimit(RLIMIT_NOFILE, &saved) == 0);
        rlimit lowered = saved;
        lowered.rlim_cur = std::min<rlim_t>(1024, saved.rlim_max);
        QVERIFY(::setrlimit(RLIMIT_NOFILE, &lowered) == 0);
        RecordingSink host;
        const Result r = walk(host, t.root(), "*.jpg");
        QVERIFY(::setrlimit(RLIMIT_NOFILE, &saved) == 0);
        QCOMPARE(r.files, 5000);
        QCOMPARE(host.list.size(), 5000);
        QVERIFY(host.list.last().size() > PATH_MAX);
        QCOMPARE(host.list.last(), t.root() + QString("d/").repeated(5000) + "f.jpg");
    }

    void vanishedAndMissingFoldersAreSkipped()
    {
        testing::TempTree t;
        t.file("gone/a.jpg");
        t.file("stays/b.jpg");
        RecordingSink host;
        std::atomic<bool> removed{false};
        search::WalkOptions options;
        // Gone between the read that found it and its own read.
        options.beforeRead = [&](const QByteArray &folder) {
            if (folder.endsWith("/gone/"))
                removed = QDir(t.root() + "gone").removeRecursively();
        };
        walk(host, t.root(), "*.jpg", options);
        QVERIFY(removed);
        QCOMPARE(host.list, QStringList{t.root() + "stays/b.jpg"});

        RecordingSink missing;
        const Result r = walk(missing, t.root() + "no-such-folder", "*");
        QVERIFY(missing.list.isEmpty());
        QCOMPARE(r.files, 0);
        QCOMPARE(r.dirs, 0);
    }

    void unreadableFolderIsSkippedSilently()
    {
        testing::TempTree t;
        t.file("locked/a.jpg");
        t.file("open/b.jpg");
        QFile::setPermissions(t.root(), kReadable);
        QFile::setPermissions(t.root() + "open", kReadable);
        QFile::setPermissions(t.root() + "locked", QFileDevice::Permissions{});
        if (!forkedChecksWork())
            QSKIP("run as root under the thread sanitizer, which cannot follow the walk into a child");
        QVERIFY(wherePermissionsBind([&] {
            RecordingSink host;
            walk(host, t.root(), "*.jpg");
            return host.list == QStringList{t.root() + "open/b.jpg"};
        }));
        QFile::setPermissions(t.root() + "locked", kReadable);
    }

    void everyFolderReadIsReported()
    {
        testing::TempTree t;
        t.file("a.jpg");
        t.folder("sub/deeper");
        RecordingSink host;
        walk(host, t.root() + "sub", "*.jpg");
        QCOMPARE(host.foldersRead, 2);
        RecordingSink missing;
        walk(missing, t.root() + "none", "*.jpg");
        QCOMPARE(missing.foldersRead, 0);
    }

    // Whatever order the readers finish in, the walk tells exactly what it tells
    // reading each folder as it reaches it.
    void foldersReadAheadGiveTheSameWalk()
    {
        if (readers() == 0)
            QSKIP("compares the two ways of reading");
        if (!forkedChecksWork())
            QSKIP("run as root under the thread sanitizer, which cannot follow the walk into a child");
        for (int seed = 1; seed <= 6; ++seed) {
            testing::TempTree t;
            QRandomGenerator random{quint32(seed)};
            makeRandomTree(t.root().chopped(1), random, 4);
            const QString spec = seed % 2 ? "*.jpg;*.png;*" : "*.JPG;?1*;";
            const auto record = [&](int pool) {
                RecordingSink sink;
                search::WalkOptions options;
                options.readers = pool;
                // Reads finish out of order.
                options.beforeRead = [](const QByteArray &folder) { QThread::usleep(qHash(folder) % 400); };
                QString path = t.root();
                int files = 0, dirs = 0;
                const std::int64_t size = FindFilesAPI(sink, path, spec, files, dirs, options);
                return std::make_tuple(sink.list, sink.statuses, sink.dirCounts, sink.foldersRead, size, files, dirs);
            };
            QFile::setPermissions(t.root(), kReadable);
            QVERIFY(wherePermissionsBind([&] {
                const auto sequential = record(0);
                return std::get<0>(sequential).size() > 10 && record(6) == sequential;
            }));
            testing::runTool("chmod", {"-R", "u+rwx", t.root()});
            // Names that are not UTF-8 are beyond the temporary folder's own clean-up.
            testing::runTool("rm", {"-rf", t.root()});
        }
    }

    void counterLimitEndsTheWholeWalk()
    {
        testing::TempTree t;
        t.file("a.jpg", "12");
        t.file("b.jpg", "12");
        t.file("sub/c.jpg", "12");
        RecordingSink host;
        QString path = t.root();
        int files = INT_MAX - 1;
        int dirs = 0;
        search::WalkCut cut = search::WalkCut::None;
        search::WalkOptions options;
        options.readers = readers();
        QCOMPARE(FindFilesAPI(host, path, "*.jpg", files, dirs, options, &cut), 2);
        QCOMPARE(cut, search::WalkCut::CountLimit);
        QCOMPARE(files, INT_MAX);
        QCOMPARE(host.list.size(), 1);
    }

    // Sizes at the edges of each form, in bytes of 1,024 to the kilobyte; a folder
    // never has a size to match.
    void sizesAreMatchedAtTheirEdges()
    {
        testing::TempTree t;
        t.file("99", QByteArray(99, 'x'));
        t.file("100", QByteArray(100, 'x'));
        t.file("101", QByteArray(101, 'x'));
        t.file("1023", QByteArray(1023, 'x'));
        t.file("1024", QByteArray(1024, 'x'));
        t.folder("0");
        const auto names = [&](const QString &terms) {
            RecordingSink host;
            const Result r = walk(host, t.root(), terms);
            QStringList found;
            for (const QString &e : host.list)
                found << relative(t, e);
            found.sort();
            return std::make_pair(found, r);
        };
        QCOMPARE(names("size:100").first, QStringList{"100"});
        QCOMPARE(names("size:>100").first, (QStringList{"101", "1023", "1024"}));
        QCOMPARE(names("size:>=100").first, (QStringList{"100", "101", "1023", "1024"}));
        QCOMPARE(names("size:<100").first, QStringList{"99"});
        QCOMPARE(names("size:<=100").first, (QStringList{"100", "99"}));
        QCOMPARE(names("size:99..101").first, (QStringList{"100", "101", "99"}));
        QCOMPARE(names("size:1KB").first, QStringList{"1024"});
        QCOMPARE(names("size:<1kb").first, (QStringList{"100", "101", "1023", "99"}));
        QCOMPARE(names("1*;size:>=100;size:<=1023").first, (QStringList{"100", "101", "1023"}));
        // The summary's figures count what matched everything.
        const auto [found, r] = names("size:>100");
        QCOMPARE(r.files, 3);
        QCOMPARE(r.dirs, 1);
        QCOMPARE(r.size, 101 + 1023 + 1024);
        // Without a size, the folder is listed as before.
        QVERIFY(names("*").first.contains("0"));
    }

    // Dates count from the walk's moment, in local time, by the entry's own time:
    // a link's, never its target's.
    void modificationTimesAreTheEntriesOwn()
    {
        testing::TempTree t;
        const QDate today(2024, 5, 15);
        const auto at = [](QDate day, int hour, int minute) { return QDateTime(day, QTime(hour, minute)); };
        const auto touch = [&t](const QString &name, const QDateTime &when, bool link = false) {
            const timespec times[2] = {{when.toSecsSinceEpoch(), 0}, {when.toSecsSinceEpoch(), 0}};
            return ::utimensat(AT_FDCWD, QFile::encodeName(t.root() + name), times, link ? AT_SYMLINK_NOFOLLOW : 0) == 0;
        };
        t.file("this-morning");
        QVERIFY(touch("this-morning", at(today, 0, 1)));
        t.file("last-night");
        QVERIFY(touch("last-night", at(today.addDays(-1), 23, 59)));
        t.file("six-days");
        QVERIFY(touch("six-days", at(today.addDays(-7), 12, 1)));
        t.file("seven-days");
        QVERIFY(touch("seven-days", at(today.addDays(-7), 11, 59)));
        QVERIFY(QFile::link("this-morning", t.root() + "old-link"));
        QVERIFY(touch("old-link", at(today.addYears(-3), 12, 0), true));
        search::WalkOptions options;
        options.now = at(today, 12, 0);
        const auto names = [&](const QString &terms) {
            RecordingSink host;
            walk(host, t.root(), terms, options);
            QStringList found;
            for (const QString &e : host.list)
                found << relative(t, e);
            found.sort();
            return found;
        };
        QCOMPARE(names("modified:today"), QStringList{"this-morning"});
        QCOMPARE(names("modified:yesterday"), QStringList{"last-night"});
        QCOMPARE(names("modified:7d"), (QStringList{"last-night", "six-days", "this-morning"}));
        QCOMPARE(names("modified:2024-05-08"), (QStringList{"seven-days", "six-days"}));
        QCOMPARE(names("modified:<2024-05-08"), QStringList{"old-link"});
        QCOMPARE(names("modified:>2024-05-13"), (QStringList{"last-night", "this-morning"}));
        QCOMPARE(names("modified:2021-05-15"), QStringList{"old-link"});
    }

    // A skipped folder is neither entered nor listed nor counted, at any depth; a
    // file of a skipped name is still listed.
    void skippedFoldersAreNeverEntered()
    {
        testing::TempTree t;
        t.file(".git/a.txt");
        t.file("src/.git/b.txt");
        t.file("src/build-debug/c.txt");
        t.file("src/deep/er/build/d.txt");
        t.file("src/builder.txt");
        t.file("src/e.txt");
        t.file("node_modules/x/f.txt");
        RecordingSink host;
        const Result r = walk(host, t.root(), "*;skip:.git;skip:build*;skip:node_modules");
        QStringList found;
        for (const QString &e : host.list)
            found << relative(t, e);
        found.sort();
        QCOMPARE(found, (QStringList{"src", "src/builder.txt", "src/deep", "src/deep/er", "src/e.txt"}));
        QCOMPARE(r.dirs, 3);
    }

    // Contents are looked for only in plain files whose name, size and date match:
    // nothing else is ever opened, not a pipe nor a device, whatever its name.
    void onlyFilesThatMatchEverythingElseAreOpened()
    {
        testing::TempTree t;
        t.file("small.txt", "abc");
        t.file("big.txt", "a needle!");
        t.file("other.dat", "a needle!");
        t.file("nothing.txt", "no such thing here");
        t.folder("needle.txt");
        const QByteArray root = QFile::encodeName(t.root());
        QVERIFY(::mkfifo(root + "pipe.txt", 0600) == 0);
        const bool device = ::mknod(root + "tty.txt", S_IFCHR | 0600, makedev(5, 0)) == 0;
        // What was listed, and the files of the folder opened, while `terms` are searched for.
        const auto search = [&](const QString &terms) {
            const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
            ::inotify_add_watch(watch, root.constData(), IN_OPEN);
            RecordingSink host;
            walk(host, t.root(), terms);
            QStringList opened;
            alignas(inotify_event) char events[4096];
            for (long n; (n = ::read(watch, events, sizeof events)) > 0;) {
                for (long at = 0; at < n;) {
                    const auto *e = reinterpret_cast<const inotify_event *>(events + at);
                    if (e->len && !(e->mask & IN_ISDIR))
                        opened << QString::fromUtf8(e->name);
                    at += long(sizeof(inotify_event) + e->len);
                }
            }
            ::close(watch);
            QStringList listed;
            for (const QString &e : host.list)
                listed << relative(t, e);
            listed.sort();
            opened.sort();
            return std::make_pair(listed, opened);
        };
        QCOMPARE(search("*.txt;size:>3;contains:NEEDLE"),
                 std::make_pair(QStringList{"big.txt"}, QStringList{"big.txt", "nothing.txt"}));
        QCOMPARE(search("*;contains:needle"), std::make_pair(QStringList{"big.txt", "other.dat"},
                                                             QStringList{"big.txt", "nothing.txt", "other.dat", "small.txt"}));
        if (!device)
            QSKIP("no device node could be made here: the pipe alone was checked");
    }

    void anUnreadableFileIsSkippedSilently()
    {
        testing::TempTree t;
        t.file("secret.txt", "needle");
        t.file("open.txt", "needle");
        QFile::setPermissions(t.root(), kReadable);
        QFile::setPermissions(t.root() + "open.txt", QFileDevice::ReadOwner | QFileDevice::ReadOther);
        QFile::setPermissions(t.root() + "secret.txt", QFileDevice::Permissions{});
        if (!forkedChecksWork())
            QSKIP("run as root under the thread sanitizer, which cannot follow the walk into a child");
        QVERIFY(wherePermissionsBind([&] {
            RecordingSink host;
            const Result r = walk(host, t.root(), "*.txt;contains:needle");
            return host.list == QStringList{t.root() + "open.txt"} && r.files == 1;
        }));
    }

    // A file matching several name patterns is listed for each, and read once.
    void aFileMatchingSeveralPatternsIsReadOnce()
    {
        testing::TempTree t;
        t.file("a.txt", QByteArray(300, 'x') + "needle");
        t.file("b.txt", QByteArray(300, 'x'));
        t.file("another.txt", QByteArray(300, 'x'));  // both patterns, not the text
        int reads = 0;
        search::WalkOptions options;
        options.contents = search::ContentsReading{64, [&reads] { ++reads; }};
        RecordingSink host;
        const Result r = walk(host, t.root(), "*.txt;a*;contains:needle", options);
        QCOMPARE(host.list, (QStringList{t.root() + "a.txt", t.root() + "a.txt"}));
        QCOMPARE(r.size, 2 * 306);
        // a.txt once: four reads after the first to reach its end; b.txt and
        // another.txt each once: five, then its end.
        QCOMPARE(reads, 4 + 5 + 5);
    }

    // A term that does not read lists nothing: the window refuses it before a walk starts.
    void aTermThatDoesNotReadListsNothing()
    {
        testing::TempTree t;
        t.file("a.jpg");
        RecordingSink host;
        const Result r = walk(host, t.root(), "*.jpg;size:>abc");
        QVERIFY(host.list.isEmpty());
        QCOMPARE(r.dirs, 0);
    }

    void stripNulls()
    {
        QString s = QString("abc") + QChar(0) + "def";
        QCOMPARE(search::StripNulls(s), QString("abc"));
        QCOMPARE(s, QString("abc"));
        QString whole = "whole";
        QCOMPARE(search::StripNulls(whole), QString("whole"));
    }
};

QTEST_GUILESS_MAIN(TestFinder)
#include "test_finder.moc"
