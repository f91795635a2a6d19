#include "TestSupport.h"
#include "app/Form1.h"
#include "search/FolderList.h"
#include "search/ResultList.h"
#include "search/WalkSession.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using testing::FakeServices;
using testing::TempTree;

namespace {

void runSearch(Form1 &w, const QString &folder, const QString &spec)
{
    testing::user::search(w, folder, spec);
}

// A frame clock the test moves by hand.
class ManualFrameClock final : public platform::FrameClock {
public:
    qint64 now = 1000;
    int requestedMs = -1;  // the wait last asked for

    qint64 nowMs() const override { return now; }
    void callAfter(int ms, std::function<void()> due) override
    {
        requestedMs = ms;
        due_ = std::move(due);
    }
    void cancel() override { due_ = nullptr; }
    bool pending() const override { return bool(due_); }
    void fire()
    {
        if (const std::function<void()> due = std::exchange(due_, nullptr))
            due();
    }

private:
    std::function<void()> due_;
};

QList<QPushButton *> exportButtons(Form1 &w)
{
    return {w.Command3, w.Command4, w.Command5, w.Command6, w.Command7, w.Command8};
}

}  // namespace

class TestSearchWindow : public QObject {
    Q_OBJECT
private slots:
    void opensWithDesignValues()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        QCOMPARE(w->windowTitle(), QString("Quorvel File Search    Ver 13.1"));
        QCOMPARE(w->innerArea()->size(), QSize(885, 374));
        QCOMPARE(w->Text2->text(), QString("*.jpg"));
        QCOMPARE(w->Text1->text(), QDir::currentPath());
        QVERIFY(w->Check1->isChecked());
        QVERIFY(w->Check2->isChecked());
        for (QPushButton *b : exportButtons(*w))
            QVERIFY(b->isHidden());
        QVERIFY(w->Command10->isHidden());
        QVERIFY(w->Text3->isHidden() && w->Text4->isHidden() && w->Text1->isHidden());
        QVERIFY(!w->Dir1->isHidden());
        QCOMPARE(w->Command1->text(), QString("Search"));
        QCOMPARE(w->Command6->text(), QString("P&df"));
        QCOMPARE(w->Text2->toolTip(), QString("write your file specification here,  e.g. *.jpg;*.bmp"));
        QCOMPARE(w->List1->geometry(), QRect(40, 48, 537, 95));
        QCOMPARE(w->Notepad->text(), QString("Note pad"));
        QCOMPARE(w->Helpf1->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(w->state().Limits.MaxWidth, 2000);
        QCOMPARE(w->state().ControlGeometryTable.size(), w->controls().size());
        QVERIFY(!w->walkSession().searchIdle());
    }

    void exportMenusGuardAnEmptyList()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        w->List1->Clear();
        w->Excel->trigger();
        QVERIFY(testing::settled(*w));
        QVERIFY(fakes.shell->opened.isEmpty());  // no workbook made
        QCOMPARE(fakes.messages->shown.size(), size_t(1));
        QCOMPARE(fakes.messages->shown[0].text, QString("List box empty"));
        QCOMPARE(fakes.messages->shown[0].title, QString("Quorvel File Search"));

        w->List1->AddItem("/x.jpg");
        QVERIFY(w->Command3->isHidden());
        w->Excel->trigger();  // runs even though the button is hidden
        QVERIFY(testing::settled(*w));
        QCOMPARE(fakes.shell->opened.size(), 1);
        QVERIFY(fakes.shell->opened[0].endsWith("/QuorvelFileSearch.xlsx"));
        QCOMPARE(fakes.messages->shown.size(), size_t(1));
    }

    void searchWritesTheSummary()
    {
        TempTree t;
        t.file("a.jpg", QByteArray(1500, 'x'));
        t.file("sub/b.jpg", QByteArray(600, 'x'));
        t.file("sub/c.txt");
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        fakes.clock->stepSeconds = 7;
        QString folder = t.root();
        folder.chop(1);
        runSearch(*w, folder, "*.jpg");
        QCOMPARE(w->List1->ListCount(), 2);
        QCOMPARE(w->Text3->text(), QString("Total Items found = 2  in Directories = 2"));
        QCOMPARE(w->Text4->toPlainText(),
                 QString("Size of files found under %1 = 2,100 Bytes (2 KB )").arg(t.root()));
        QCOMPARE(w->Label1->text(), QString("Find in 00:00:07"));
        QCOMPARE(w->Command1->text(), QString("Search"));
        QVERIFY(w->walkSession().searchIdle());
        QVERIFY(!w->Text3->isHidden() && !w->Text4->isHidden());
        QVERIFY(!w->List1->isHidden());
        QCOMPARE(w->List1->backColor(), QColor(214, 230, 230));
        QVERIFY(w->Dir1->isHidden());

        // A second search starts from an empty list and zeroed counters.
        runSearch(*w, folder, "*.jpg");
        QCOMPARE(w->List1->ListCount(), 2);
        QCOMPARE(w->Text3->text(), QString("Total Items found = 2  in Directories = 2"));
    }

    // The summary counts what matched every criterion, and sizes only that.
    void criteriaNarrowTheSummary()
    {
        TempTree t;
        t.file("a.txt", QByteArray(1500, 'x') + "Invoice");
        t.file("sub/b.txt", "invoice");
        t.file("sub/c.txt", QByteArray(2000, 'x'));
        t.file(".git/d.txt", "invoice");
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        runSearch(*w, t.root(), "*.txt; contains:INVOICE; skip:.git");
        QCOMPARE(w->List1->entries().toStringList(), (QStringList{t.root() + "a.txt", t.root() + "sub/b.txt"}));
        QCOMPARE(w->Text3->text(), QString("Total Items found = 2  in Directories = 2"));
        QCOMPARE(w->Text4->toPlainText(),
                 QString("Size of files found under %1 = 1,514 Bytes (1 KB )").arg(t.root()));
        QVERIFY(fakes.messages->shown.empty());
    }

    // A criterion that does not read starts nothing: a message names it and shows
    // how it is written, and the window stays as the last search left it.
    void aTermThatDoesNotReadStartsNoSearch()
    {
        TempTree t;
        t.file("a.jpg");
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        runSearch(*w, t.root(), "*.jpg");
        const QString counts = w->Text3->text();
        const QString status = w->Label1->text();
        for (const QString &bad : {QString("*.jpg;size:>abc"), QString("modified:2024-13-01"), QString("contains:")}) {
            fakes.messages->shown.clear();
            w->Text2->setText(bad);
            w->Command1->click();
            QCOMPARE(fakes.messages->shown.size(), std::size_t(1));
            const QString term = bad.mid(bad.indexOf(';') + 1);
            QVERIFY2(fakes.messages->shown[0].text.startsWith("The search term \"" + term + "\" is not understood. It can be written as "),
                     qPrintable(fakes.messages->shown[0].text));
            QCOMPARE(w->Command1->text(), QString("Search"));
            QVERIFY(w->walkSession().searchIdle());
            QCOMPARE(w->List1->entries().toStringList(), QStringList{t.root() + "a.jpg"});
            QCOMPARE(w->Text3->text(), counts);
            QCOMPARE(w->Label1->text(), status);
            QCOMPARE(w->Text2->text(), bad);
        }
        QVERIFY(fakes.messages->shown[0].text.contains("contains:\"TEXT\""));
    }

    void exportButtonsNeedMoreThanTenEntries()
    {
        TempTree t;
        t.files("f%1.jpg", 10);
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        runSearch(*w, t.root(), "*.jpg");
        QCOMPARE(w->List1->ListCount(), 10);
        for (QPushButton *b : exportButtons(*w))
            QVERIFY(b->isHidden());
        QVERIFY(w->Command9->isHidden());
        QCOMPARE(w->Command9->text(), QString("Showing Desktop File"));  // as the start-up listing left it

        t.file("f10.jpg");
        runSearch(*w, t.root(), "*.jpg");
        QCOMPARE(w->List1->ListCount(), 11);
        for (QPushButton *b : exportButtons(*w))
            QVERIFY(!b->isHidden());
        QVERIFY(!w->Command9->isHidden());
        QCOMPARE(w->Command9->text(), QString("Show Desktop File"));
        QVERIFY(w->Command10->isHidden());
    }

    // The position counter never speaks of a list that is gone.
    void theCounterSaysNothingIsSelected()
    {
        TempTree t;
        t.files("d%1/f.jpg", 5);
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        runSearch(*w, t.root(), "*.jpg");
        QCOMPARE(w->Label4->text(), QString("5 from 5"));
        runSearch(*w, t.root(), "*.none");
        QCOMPARE(w->Label4->text(), QString("0 from 0"));
        testing::user::click(w->Check2);  // no preview while searching: nothing gets selected
        runSearch(*w, t.root(), "*.jpg");
        QCOMPARE(w->List1->ListIndex(), -1);
        QCOMPARE(w->Label4->text(), QString("0 from 5"));
    }

    void missingFolderGivesAnEmptySummary()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        runSearch(*w, "/no/such/folder", "*");
        QCOMPARE(w->List1->ListCount(), 0);
        QCOMPARE(w->Text3->text(), QString("Total Items found = 0  in Directories = 1"));
        QCOMPARE(w->Text4->toPlainText(), QString("Size of files found under /no/such/folder/ = 0 Bytes (0 KB )"));
        QCOMPARE(w->Label1->text(), QString("Find in 00:00:00"));
    }

    // A search cut short on its own says so, rather than passing for a whole one:
    // a counter at its limit, a walk out of memory.
    void aSearchCutShortSaysWhy()
    {
        TempTree t;
        t.files("f%1.jpg", 10);
        t.file("big/x.jpg");
        {
            FakeServices fakes;
            platform::Services services = fakes.make();
            services.walkCountLimit = 5;
            Form1 w(std::move(services));
            runSearch(w, t.root(), "*.jpg");
            QCOMPARE(w.List1->ListCount(), 5);
            QVERIFY2(w.Label1->text().endsWith(" .....Stopped: more entries than can be counted."),
                     qPrintable(w.Label1->text()));
        }
        {
            FakeServices fakes;
            platform::Services services = fakes.make();
            services.beforeFolderRead = [](const QByteArray &folder) {
                if (folder.endsWith("/big/"))
                    throw std::bad_alloc();
            };
            Form1 w(std::move(services));
            runSearch(w, t.root(), "*.jpg");
            QCOMPARE(w.List1->ListCount(), 10);  // the folder's own files, found before
            QVERIFY2(w.Label1->text().endsWith(" .....Stopped: out of memory."), qPrintable(w.Label1->text()));
            QCOMPARE(w.Text3->text(), QString("Total Items found = 10  in Directories = 2"));
        }
    }

    // The status line names a folder whose name is not UTF-8 as every other place
    // shows such names: a replacement character for each byte that is not.
    void theStatusLineShowsAFolderNameThatIsNotUtf8()
    {
        TempTree t;
        const QByteArray bad = QFile::encodeName(t.root()) + "bad\xff";
        QVERIFY(::mkdir(bad.constData(), 0755) == 0);
        QVERIFY(::mkdir((bad + "/hold").constData(), 0755) == 0);
        QVERIFY(::close(::open((bad + "/a.jpg").constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644)) == 0);
        FakeServices fakes;
        fakes.fileSystem->hangIn("/hold/");  // the walk waits just past that folder's files
        auto w = testing::makeWindow(fakes);
        testing::user::startSearch(*w, t.root(), "*.jpg");
        QTRY_COMPARE(w->Label1->text(), "Searching in... " + t.root() + QString::fromUtf8("bad\uFFFD/"));
        fakes.fileSystem->release();
        QVERIFY(testing::settled(*w));
    }

    // Cancel right after the window took a batch with nothing listed in it: the
    // summary still holds the size of everything listed before.
    void cancelAfterAnEmptyBatchKeepsTheListedSize()
    {
        TempTree t;
        t.file("a.jpg", QByteArray(100, 'x'));
        t.folder("sub/hold");  // "sub" lists nothing; the walk waits in "hold"
        FakeServices fakes;
        fakes.fileSystem->hangIn("/hold/");
        auto w = testing::makeWindow(fakes);
        testing::user::startSearch(*w, t.root(), "*.jpg");
        // The batch that says "sub" is being looked through, with no entry in it, was taken.
        QTRY_COMPARE(w->Label1->text(), "Searching in... " + t.root() + "sub/");
        testing::user::click(w->Command1);
        QCOMPARE(w->Text4->toPlainText(), QString("Size of files found under %1 = 100 Bytes (0 KB )").arg(t.root()));
        fakes.fileSystem->release();
    }

    // What a walk finds reaches the window at most once a frame of a 60 Hz screen,
    // and at once when a frame has passed since the last update.
    void aWalkUpdatesTheWindowOnceAFrame()
    {
        TempTree t;
        t.file("1.jpg");
        t.file("a/2.jpg");
        t.file("a/b/3.jpg");
        t.file("a/b/c/4.jpg");
        FakeServices fakes;
        for (const char *folder : {"/a/", "/b/", "/c/"})
            fakes.fileSystem->hangIn(folder);
        platform::Services services = fakes.make();
        services.walkFrameMs = platform::Services{}.walkFrameMs;  // the pace the program runs at
        const auto clock = std::make_shared<ManualFrameClock>();
        services.walkFrameClock = clock;
        Form1 w(std::move(services));

        testing::user::startSearch(w, t.root(), "*.jpg");
        QTRY_COMPARE(w.List1->ListCount(), 1);  // the first batch is shown at once

        clock->now += 15;
        fakes.fileSystem->release("/a/");
        QTRY_VERIFY(clock->pending());  // the next waits for the rest of the frame
        QCOMPARE(clock->requestedMs, 1);
        QCOMPARE(w.List1->ListCount(), 1);
        clock->now += 1;
        clock->fire();
        QCOMPARE(w.List1->ListCount(), 2);

        clock->now += 16;
        fakes.fileSystem->release("/b/");
        QTRY_COMPARE(w.List1->ListCount(), 3);
        QVERIFY(!clock->pending());

        fakes.fileSystem->release("/c/");  // the end is shown at once
        QVERIFY(testing::settled(w));
        QCOMPARE(w.List1->ListCount(), 4);
    }

    void closingDuringASearchUnwindsAtOnce()
    {
        TempTree t;
        t.files("d%1/f.jpg", 50);
        FakeServices fakes;
        fakes.fileSystem->hangIn("/d7/");  // the walk is held in the middle
        auto w = testing::makeWindow(fakes);
        w->Check2->setChecked(false);
        testing::user::startSearch(*w, t.root(), "*.jpg");
        QTRY_COMPARE(fakes.fileSystem->hanging(), 1);
        w->close();  // returns while the folder still hangs
        QCOMPARE(fakes.quitRequests, 1);
        QVERIFY(!w->walkSession().walking());
        QVERIFY(w->List1->ListCount() < 50);
        fakes.fileSystem->release();
    }

    // A share that stopped answering: one folder's listing never returns.
    void cancelAndCloseDoNotWaitForAHungFolder()
    {
        TempTree t;
        t.file("a.jpg");
        t.file("hung/b.jpg");
        TempTree other;
        other.file("c.jpg");
        FakeServices fakes;
        fakes.fileSystem->hangIn("/hung/");
        auto w = testing::makeWindow(fakes);
        testing::user::startSearch(*w, t.root(), "*.jpg");
        QTRY_COMPARE(fakes.fileSystem->hanging(), 1);
        QTRY_COMPARE(w->List1->entries().toStringList(), QStringList{t.root() + "a.jpg"});  // what came before it is shown
        QVERIFY(w->walkSession().walking());

        testing::user::click(w->Command1);  // returns while the folder still hangs
        QVERIFY(!w->walkSession().walking());
        QCOMPARE(w->Command1->text(), QString("Search"));
        QVERIFY(w->Label1->text().endsWith(" .....Stopped."));
        QCOMPARE(w->Text3->text(), QString("Total Items found = 1  in Directories = 2"));

        // The next search does not wait for the one left hanging.
        runSearch(*w, other.root(), "*.jpg");
        QCOMPARE(w->List1->entries().toStringList(), QStringList{other.root() + "c.jpg"});
        QCOMPARE(fakes.fileSystem->hanging(), 1);

        // Searched again, the folder the share holds is not read a second time: the
        // walk waits for the first read. Nor does closing wait.
        w->Text1->setText(t.root());
        testing::user::click(w->Command1);
        QTRY_COMPARE(w->List1->entries().toStringList(), QStringList{t.root() + "a.jpg"});
        QVERIFY(w->walkSession().walking());
        QCOMPARE(fakes.fileSystem->hanging(), 1);
        w->close();
        QCOMPARE(fakes.quitRequests, 1);
        QVERIFY(!w->walkSession().walking());
        fakes.fileSystem->release();
    }

    void searchLocationFollowsTheFolderList()
    {
        TempTree t;
        t.folder("Photos");
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        QVERIFY(testing::openFolder(*w->Dir1, t.root() + "Photos"));
        QCOMPARE(w->Text1->text(), t.root() + "Photos");
        QVERIFY(!testing::openFolder(*w->Dir1, t.root() + "missing"));
        QCOMPARE(w->Text1->text(), t.root() + "Photos");
        QCOMPARE(w->Dir1->path(), t.root() + "Photos");
        QVERIFY(!w->Dir1->findItems("Photos", Qt::MatchEndsWith).isEmpty());  // shown as it was

        // A search hides the folder list; the file specification box getting the focus brings it back,
        // by the mouse or by the keyboard.
        runSearch(*w, w->Text1->text(), "*.jpg");
        QVERIFY(w->Dir1->isHidden());
        w->Command1->setFocus();
        testing::user::click(w->Text2);
        QVERIFY(w->Text2->hasFocus());
        QVERIFY(!w->Dir1->isHidden());
        runSearch(*w, w->Text1->text(), "*.jpg");
        QVERIFY(w->Dir1->isHidden());
        w->Check2->setFocus();
        QTest::keyClick(w->Check2, Qt::Key_Backtab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), w->Text2);
        QVERIFY(!w->Dir1->isHidden());
    }

    void folderListOpensWithDoubleClickAndEnter()
    {
        TempTree t;
        t.folder("Photos/2012");
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        QVERIFY(testing::openFolder(*w->Dir1, t.root() + "Photos"));
        testing::user::show(*w);
        auto itemPoint = [&](const QString &name) {
            const QList<QListWidgetItem *> items = w->Dir1->findItems(name, Qt::MatchEndsWith);
            return items.isEmpty() ? QPoint() : w->Dir1->visualItemRect(items.first()).center();
        };
        const QPoint sub = itemPoint("2012");
        QVERIFY(!sub.isNull());
        QTest::mouseClick(w->Dir1->viewport(), Qt::LeftButton, {}, sub);
        QCOMPARE(w->Text1->text(), t.root() + "Photos");  // one click only highlights
        QTest::mouseDClick(w->Dir1->viewport(), Qt::LeftButton, {}, sub);
        QTRY_COMPARE(w->Text1->text(), t.root() + "Photos/2012");
        // Enter on the highlighted parent opens it.
        const QPoint parent = itemPoint("Photos");
        QVERIFY(!parent.isNull());
        QTest::mouseClick(w->Dir1->viewport(), Qt::LeftButton, {}, parent);
        QTest::keyClick(w->Dir1, Qt::Key_Return);
        QTRY_COMPARE(w->Text1->text(), t.root() + "Photos");
    }

    void enterInTheFileSpecBoxSearches()
    {
        TempTree t;
        t.file("a.jpg");
        t.file("b.png");
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::user::show(*w);
        w->Text1->setText(t.root());
        testing::user::typeInto(w->Text2, "*.png");
        QTest::keyClick(w->Text2, Qt::Key_Return);
        QVERIFY(testing::settled(*w));
        QCOMPARE(w->List1->entries().toStringList(), QStringList{t.root() + "b.png"});
        QCOMPARE(w->Text3->text(), QString("Total Items found = 1  in Directories = 1"));
    }

    void listHiddenWhileSearchingWhenAsked()
    {
        TempTree t;
        t.files("d%1/f.jpg", 5);
        FakeServices fakes;
        fakes.fileSystem->hangIn("/d3/");
        auto w = testing::makeWindow(fakes);
        testing::user::show(*w);
        testing::user::click(w->Check1);
        QVERIFY(!w->Check1->isChecked());
        testing::user::startSearch(*w, t.root(), "*.jpg");
        QTRY_COMPARE(fakes.fileSystem->hanging(), 1);
        QTRY_VERIFY(!w->List1->isVisible());  // hidden while the walk runs
        QVERIFY(w->walkSession().walking());
        fakes.fileSystem->release();
        QVERIFY(testing::settled(*w));
        QVERIFY(w->List1->isVisible());  // shown again with the summary
        QCOMPARE(w->List1->ListCount(), 5);
    }

    // A share that stopped answering holds up neither the start nor the folder
    // list: its volume is listed as not answering, and a folder on it shows as
    // being read while any other opens at once; the late answer is dropped.
    void aShareThatStopsAnsweringHoldsUpNeitherDrivesNorFolders()
    {
        testing::HungShare share;
        if (!share.mounted())
            QSKIP("no FUSE file system could be mounted here (/dev/fuse, the helper or the right to mount is missing)");
        share.hangSizeQueries();
        TempTree other;
        other.folder("sub");
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);  // returns, the share's size unanswered
        const QString mount = share.root().chopped(1);
        QTRY_VERIFY_WITH_TIMEOUT(w->Drive1->findText(mount + " [not answering]") >= 0, 10000);
        QVERIFY(share.sizeQueryHanging());

        w->Dir1->setPath(share.root() + "hang");
        QTRY_VERIFY(share.hanging());
        QVERIFY(w->Dir1->reading());
        QCOMPARE(w->Dir1->findItems("Reading...", Qt::MatchEndsWith).size(), 1);
        QVERIFY(testing::openFolder(*w->Dir1, other.root() + "sub"));
        QCOMPARE(w->Text1->text(), other.root() + "sub");
        share.answer();  // the held listing ends in an error, for nobody
        QTest::qWait(200);
        QCOMPARE(w->Dir1->path(), other.root() + "sub");
        QVERIFY(!w->Dir1->reading());
    }

    // The walk's threads give way to the window a little, and no more: niced
    // further, they fall far behind on a desktop whose cores other programs keep
    // busy. Read from the system while a walk is held in a folder.
    void theWalkGivesWayOnlyALittle()
    {
        testing::HungShare share;
        if (!share.mounted())
            QSKIP("no FUSE file system could be mounted here (/dev/fuse, the helper or the right to mount is missing)");
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::user::startSearch(*w, share.root(), "*.jpg");
        QTRY_VERIFY(share.hanging());
        QList<int> niceness;
        for (const QString &task : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QByteArray nice = testing::statField("/proc/self/task/" + task + "/stat", 19);
            if (!nice.isEmpty())
                niceness << nice.toInt();
        }
        QVERIFY2(niceness.contains(2), "no thread of the walk gives way to the window");
        QVERIFY2(*std::max_element(niceness.begin(), niceness.end()) <= 2, "a thread is niced past 2");
        testing::user::click(w->Command1);  // Cancel
    }

    // Search and Cancel, a hundred times, on a share that stopped answering: the
    // folder it holds is read by one thread, and the program's threads and open
    // files stay within a fixed number of those before (16 and 32).
    void aHundredCancelsOnAHungShareStayBounded()
    {
        testing::HungShare share;
        if (!share.mounted())
            QSKIP("no FUSE file system could be mounted here (/dev/fuse, the helper or the right to mount is missing)");
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        w->Check2->setChecked(false);
        QVERIFY(testing::settled(*w));
        const auto count = [](const char *folder) {
            return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size();
        };
        const qsizetype threads = count("/proc/self/task"), files = count("/proc/self/fd");
        for (int cycle = 0; cycle < 100; ++cycle) {
            testing::user::startSearch(*w, share.root(), "*.jpg");
            QTRY_COMPARE(w->List1->ListCount(), 1);  // the walk is at the held folder
            QVERIFY(share.hanging());
            testing::user::click(w->Command1);
            QVERIFY(!w->walkSession().walking());
        }
        QTRY_VERIFY2(count("/proc/self/task") <= threads + 16,
                     qPrintable(QString("%1 threads, %2 before").arg(count("/proc/self/task")).arg(threads)));
        QTRY_VERIFY2(count("/proc/self/fd") <= files + 32,
                     qPrintable(QString("%1 open files, %2 before").arg(count("/proc/self/fd")).arg(files)));
        qInfo("after 100 cycles: %lld threads (%lld before), %lld open files (%lld before)",
              qlonglong(count("/proc/self/task")), qlonglong(threads), qlonglong(count("/proc/self/fd")), qlonglong(files));
        // A healthy search elsewhere runs all the same.
        TempTree other;
        other.files("f%1.jpg", 3);
        runSearch(*w, other.root(), "*.jpg");
        QCOMPARE(w->List1->ListCount(), 3);
    }

    void driveChangeOpensTheVolumeRoot()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        QTRY_VERIFY(w->Drive1->count() > 0);
        int rootIndex = -1;
        for (int i = 0; i < w->Drive1->count(); ++i)
            if (w->Drive1->itemData(i).toString() == "/")
                rootIndex = i;
        QVERIFY(rootIndex >= 0);
        if (w->Drive1->count() < 2)
            QSKIP("one volume only: no other drive to change from");
        testing::user::show(*w);
        w->Dir1->hide();
        // The person steps onto the root's entry with the arrow keys.
        const bool fromAbove = rootIndex > 0;
        w->Drive1->setCurrentIndex(fromAbove ? rootIndex - 1 : rootIndex + 1);
        w->Drive1->setFocus();
        QTest::keyClick(w->Drive1, fromAbove ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(w->Drive1->currentIndex(), rootIndex);
        QCOMPARE(w->Text1->text(), QString("/"));
        QVERIFY(!w->Dir1->isHidden());
        QTRY_COMPARE(w->Dir1->path(), QString("/"));
    }
};

QTEST_MAIN(TestSearchWindow)
#include "test_search_window.moc"
