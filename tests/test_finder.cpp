#include "TestSupport.h"
#include "platform/FolderEnumeration.h"
#include "search/FileFinder.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <climits>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

using search::FindFilesAPI;

namespace {

// Records what the walk asks of the window.
class RecordingHost final : public search::WalkHost {
public:
    RecordingHost()
    {
        st.FindContinue = 1;
        st.StopRequested = false;
    }
    search::WalkControl &control() override { return st; }
    bool showListWhileSearching() override { return check1; }
    bool previewWhileSearching() override { return check2; }
    void setListVisible(bool visible) override { listVisible = visible; }
    void setSearchStatus(const QString &text) override { statuses.append(text); }
    void appendEntry(const QString &entry) override { list.append(entry); }
    void selectLastEntry() override { selected.append(list.size() - 1); }
    void showWalkTotals(int fileCount, int dirCount, const QString &folder, std::int64_t size) override
    {
        lastCounts = {fileCount, dirCount};
        lastFolder = folder;
        lastFolderSize = size;
    }
    void yieldToEvents() override
    {
        ++yields;
        if (onYield)
            onYield();
    }

    search::WalkControl st;
    bool check1 = true;
    bool check2 = false;
    bool listVisible = true;
    QStringList statuses;
    QStringList list;
    QList<int> selected;
    std::pair<int, int> lastCounts{};
    QString lastFolder;
    std::int64_t lastFolderSize = 0;
    int yields = 0;
    std::function<void()> onYield;
};

struct Result {
    std::int64_t size = 0;
    int files = 0;
    int dirs = 0;
};

Result walk(RecordingHost &host, QString path, const QString &spec)
{
    Result r;
    r.size = FindFilesAPI(host, path, spec, r.files, r.dirs);
    return r;
}

QString relative(const testing::TempTree &tree, const QString &entry)
{
    return entry.mid(tree.root().size());
}

}  // namespace

class TestFinder : public QObject {
    Q_OBJECT
private slots:
    void listsPerFolderItemByItemThenSubfolders()
    {
        testing::TempTree t;
        t.file("a.jpg", "12345");
        t.file("b.bmp", "123");
        t.file("c.txt", "1");
        t.file("one/d.jpg", "1234567");
        t.file("one/deep/e.bmp");
        t.file("two/f.JPG", "12");
        RecordingHost host;
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
        RecordingHost host;
        QString path = t.root();
        path.chop(1);
        int files = 0, dirs = 0;
        FindFilesAPI(host, path, "*.jpg", files, dirs);
        QCOMPARE(path, t.root());
        QCOMPARE(host.list, QStringList{t.root() + "x.jpg"});
    }

    void itemsAreKeptAsTyped()
    {
        testing::TempTree t;
        t.file("a.jpg");
        t.file("b.bmp");
        RecordingHost host;
        walk(host, t.root(), "*.jpg; *.bmp");
        QCOMPARE(host.list, QStringList{t.root() + "a.jpg"});

        RecordingHost twice;
        const Result r = walk(twice, t.root(), "*.jpg;*.JPG");
        QCOMPARE(twice.list.size(), 2);  // one entry matching two items is listed twice
        QCOMPARE(r.files, 2);
    }

    void emptyFileSpecStillCountsFolders()
    {
        testing::TempTree t;
        t.file("a/b/c.jpg");
        t.folder("d");
        RecordingHost host;
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
        RecordingHost host;
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
        RecordingHost host;
        const Result r = walk(host, t.root(), "*.bin");
        QCOMPARE(r.size, 5'000'000'000LL);
        QCOMPARE(host.lastFolderSize, 5'000'000'000LL);
    }

    void liveTotalsAreForTheFolderBeingMatched()
    {
        testing::TempTree t;
        t.file("a.jpg", "1234");
        t.file("sub/b.jpg", "12");
        RecordingHost host;
        walk(host, t.root(), "*.jpg");
        QCOMPARE(host.lastFolder, t.root() + "sub/");
        QCOMPARE(host.lastFolderSize, 2);
        QCOMPARE(host.lastCounts, std::make_pair(2, 1));
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
        RecordingHost host;
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
        RecordingHost host;
        const Result r = walk(host, t.root(), "*.jpg");
        QCOMPARE(r.files, 3);
        QVERIFY(host.list.contains(t.root() + "with blank.jpg"));
        QVERIFY(host.list.contains(t.root() + QString::fromUtf8("été.JPG")));
    }

    void cancelStopsAtTheNextEntry()
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
        RecordingHost host;
        qsizetype statusesAtCancel = -1;
        host.onYield = [&] {
            if (host.list.size() == 2 && statusesAtCancel < 0) {  // what a Cancel click does
                host.st.FindContinue = 0;
                host.st.StopRequested = true;
                statusesAtCancel = host.statuses.size();
            }
        };
        walk(host, t.root(), "*.jpg");
        QCOMPARE(host.list.size(), 2);
        for (const QString &e : host.list)
            QVERIFY(e.startsWith(t.root() + order[0] + "/"));
        // The folders still pending are opened and named, but nothing in them is listed.
        const QStringList after = host.statuses.mid(statusesAtCancel);
        QCOMPARE(after, (QStringList{"Searching in... " + t.root() + order[1] + "/",
                                     "Searching in... " + t.root() + order[2] + "/"}));
    }

    void vanishedAndMissingFoldersAreSkipped()
    {
        testing::TempTree t;
        t.file("gone/a.jpg");
        t.file("stays/b.jpg");
        RecordingHost host;
        bool removed = false;
        host.onYield = [&] {
            if (!removed) {
                removed = QDir(t.root() + "gone").removeRecursively();
            }
        };
        walk(host, t.root(), "*.jpg");
        QVERIFY(removed);
        QCOMPARE(host.list, QStringList{t.root() + "stays/b.jpg"});

        RecordingHost missing;
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
        const auto readable = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                              QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                              QFileDevice::ExeOther;
        QFile::setPermissions(t.root(), readable);
        QFile::setPermissions(t.root() + "open", readable);
        QFile::setPermissions(t.root() + "locked", QFileDevice::Permissions{});
        // Permissions do not bind the superuser, so the walk then runs as nobody in a child process.
        const bool asRoot = ::geteuid() == 0;
        const pid_t child = asRoot ? ::fork() : 0;
        if (child == 0) {
            if (asRoot && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(3);
            RecordingHost host;
            walk(host, t.root(), "*.jpg");
            const bool ok = host.list == QStringList{t.root() + "open/b.jpg"};
            if (asRoot)
                ::_exit(ok ? 0 : 1);
            QVERIFY(ok);
        } else {
            int status = -1;
            ::waitpid(child, &status, 0);
            QVERIFY(WIFEXITED(status));
            QCOMPARE(WEXITSTATUS(status), 0);
        }
        QFile::setPermissions(t.root() + "locked", readable);
    }

    void checkBoxesAreReadAtEveryEntry()
    {
        testing::TempTree t;
        t.file("a.jpg");
        t.file("b.jpg");
        t.folder("sub");
        RecordingHost host;
        host.check1 = false;
        host.check2 = true;
        walk(host, t.root(), "*.jpg");
        QVERIFY(!host.listVisible);
        QCOMPARE(host.selected, (QList<int>{0, 1}));
    }

    void counterLimitEndsTheWholeWalk()
    {
        testing::TempTree t;
        t.file("a.jpg", "12");
        t.file("b.jpg", "12");
        t.file("sub/c.jpg", "12");
        RecordingHost host;
        QString path = t.root();
        int files = INT_MAX - 1;
        int dirs = 0;
        try {
            FindFilesAPI(host, path, "*.jpg", files, dirs);
            QFAIL("the walk went past the limit");
        } catch (const search::CounterOverflow &overflow) {
            QCOMPARE(overflow.listedSize, 2);
        }
        QCOMPARE(files, INT_MAX);
        QCOMPARE(host.list.size(), 1);
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
