// The real program on a real X server with a window manager, driven with synthetic
// X input (xdotool, through the XTest extension) and checked by what the screen
// shows: the pixels of the preview, the summary boxes and what the program puts on
// the clipboard.
#include "DesktopSession.h"
#include "TestSupport.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using desktop::Program;
using desktop::xdo;

namespace {

void solidJpeg(const QString &path, QColor colour)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "JPG", 95));
}

// The list as the Action menu's first command copies it, opened with the right
// button over the first entry and chosen from the keyboard.
// A signal to end the program ends it at once while a share holds one of its
// threads: the process that was started ends cleanly within moments, and all
// that is left of its window's process is the thread the share holds, which ends
// once the share answers.
bool endsAtASignalWhileTheShareHolds(Program &running, testing::HungShare &share)
{
    QElapsedTimer sinceSignal;
    sinceSignal.start();
    if (::kill(pid_t(running.process.processId()), SIGTERM) != 0 || !running.process.waitForFinished(5000))
        return false;
    qInfo("the program ended %lld ms after SIGTERM", qlonglong(sinceSignal.elapsed()));
    const qint64 window = running.windowProcess;
    if (running.process.exitStatus() != QProcess::NormalExit || running.process.exitCode() != 0 ||
        !testing::mainThreadEnded(window))
        return false;
    share.answer();
    return desktop::waitFor([window] { return testing::processEnded(window); }, 5000);
}

QString copiedList(const Program &running, const desktop::Layout &layout)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    running.clickAt(layout.firstEntry(), 3);
    running.key("Down Return");
    desktop::waitFor([clipboard] { return !clipboard->text().isEmpty(); }, 10000);
    return clipboard->text();
}

}  // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
public:
    explicit TestEndToEnd(desktop::Session &session)
        : session_(session)
    {
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(session_.managed(), "no window manager runs: a person's desktop has one (openbox)");
        layout_ = desktop::readLayout();
    }

    void aPersonSearchesPreviewsCopiesAndExits()
    {
        testing::TempTree tree;
        solidJpeg(tree.root() + "red.jpg", Qt::red);
        tree.folder("sub");
        solidJpeg(tree.root() + "sub/blue.jpg", Qt::blue);
        for (int i = 0; i < 20; ++i)
            tree.file(QString("sub/n%1.txt").arg(i));
        // The program starts in the tree: its folder list opens the current folder.
        Program running(session_, {tree.root(), {}, false});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        const QPoint origin = running.origin;

        // Search for the pictures: the list fills, the summary shows, and the preview
        // shows the last picture found.
        running.clickAt(layout_.text2);
        running.key("ctrl+a");
        running.type("*.jpg");
        running.clickAt(layout_.command1);
        QVERIFY2(desktop::waitForColour(origin + layout_.text3Centre, QColor(255, 255, 0)), "no summary shown");
        QVERIFY2(desktop::waitForColour(origin + layout_.picture1.topLeft() + QPoint(10, 10), Qt::blue),
                 "the last picture found is not previewed");

        // A mouse click on the first entry paints that picture.
        running.clickAt(layout_.firstEntry());
        QVERIFY2(desktop::waitForColour(origin + layout_.picture1.topLeft() + QPoint(10, 10), Qt::red),
                 "a click on the red picture's entry did not preview it");

        // Copy the list from the Action menu: what the person would paste.
        QCOMPARE(copiedList(running, layout_), tree.root() + "red.jpg\r\n" + tree.root() + "sub/blue.jpg\r\n");

        // Menu, Exit: the process is gone.
        running.exitFromTheMenu(layout_);
        QVERIFY2(running.process.waitForFinished(5000), "the program did not end");
        QCOMPARE(running.process.exitStatus(), QProcess::NormalExit);
    }

    // Both picture helpers killed while the window is idle: the next picture
    // selected shows all the same.
    void aPictureShowsAfterItsHelpersWereKilled()
    {
        testing::TempTree tree;
        // The red one first: a folder's files come before its subfolders'.
        solidJpeg(tree.root() + "red.jpg", Qt::red);
        tree.folder("sub");
        solidJpeg(tree.root() + "sub/blue.jpg", Qt::blue);
        Program running(session_, {{}, {"--pattern", "*.jpg", "--search", tree.root()}, false});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        const QPoint corner = running.origin + layout_.picture1.topLeft() + QPoint(10, 10);
        QVERIFY2(desktop::waitForColour(corner, Qt::blue), "the last picture found is not previewed");
        // The preview's helper and its spare.
        const qint64 pid = running.windowProcess;
        QVERIFY(desktop::waitFor([pid] { return testing::childrenOf(pid).size() >= 2; }));
        const QList<qint64> helpers = testing::childrenOf(pid);
        for (qint64 helper : helpers)
            ::kill(pid_t(helper), SIGKILL);
        QVERIFY(desktop::waitFor([&] {
            return std::all_of(helpers.begin(), helpers.end(), [](qint64 h) { return testing::processEnded(h); });
        }));
        running.clickAt(layout_.firstEntry());
        QVERIFY2(desktop::waitForColour(corner, Qt::red), "the picture selected after the helpers died is lost");
    }

    // A picture lost to a share that stopped answering while it was read: its
    // helper is given up; once the share answers again, selecting the entry again
    // shows it.
    void aPictureLostToAHungShareIsTriedAgain()
    {
        QTemporaryDir folder;
        solidJpeg(folder.path() + "/green.jpg", Qt::green);
        testing::HungShare share(folder.path() + "/green.jpg");
        if (!share.mounted())
            QSKIP("no FUSE file system could be mounted here (/dev/fuse, the helper or the right to mount is missing)");
        Program running(session_, {{}, {"--pattern", "*", "--search", share.root() + "pictures"}, false});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        QVERIFY(desktop::waitFor([&share] { return share.readHanging(); }));
        // Given up after its time: killed while the share holds it in the kernel.
        const QList<qint64> helpers = testing::childrenOf(running.windowProcess);
        const auto killed = [](qint64 helper) {
            const QByteArray status = testing::readFile(QString("/proc/%1/status").arg(helper));
            for (const QByteArray &line : status.split('\n'))
                if (line.startsWith("ShdPnd:") && (line.mid(7).trimmed().toULongLong(nullptr, 16) & (1ULL << (SIGKILL - 1))))
                    return true;
            return testing::processEnded(helper);
        };
        QVERIFY2(desktop::waitFor([&] { return std::any_of(helpers.begin(), helpers.end(), killed); }, 30000),
                 "the hung helper was never given up");
        share.releaseRead();
        running.clickAt(layout_.firstEntry());
        QVERIFY2(desktop::waitForColour(running.origin + layout_.picture1.topLeft() + QPoint(10, 10), Qt::green),
                 "selecting the entry again did not try its picture again");
    }

    // The preview while searching shows the newest picture found while the list
    // still grows: here the walk is held by a folder that never answers, after the
    // pictures before it were listed.
    void thePreviewShowsTheNewestMatchWhileTheListGrows()
    {
        QTemporaryDir folder;
        solidJpeg(folder.path() + "/green.jpg", Qt::green);
        testing::HungShare share(folder.path() + "/green.jpg");
        if (!share.mounted())
            QSKIP("no FUSE file system could be mounted here (/dev/fuse, the helper or the right to mount is missing)");
        Program running(session_, {{}, {"--pattern", "*.jpg", "--search", share.root()}, false});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        QVERIFY(desktop::waitFor([&share] { return share.hanging(); }));
        QVERIFY2(desktop::waitForColour(running.origin + layout_.picture1.topLeft() + QPoint(10, 10), Qt::green),
                 "no picture shown while the walk is held");
        QVERIFY(share.hanging());  // the walk cannot end before that listing does
        QVERIFY(endsAtASignalWhileTheShareHolds(running, share));
    }

    // A share whose server went away: the listing of one folder never returns. The
    // window answers all the while, Cancel ends the search with what came before,
    // and the program ends at once when closed, its reader still waiting.
    void aShareThatStopsAnsweringHoldsNothingUp()
    {
        testing::HungShare share;
        if (!share.mounted())
            QSKIP("no FUSE file system could be mounted here (/dev/fuse, the helper or the right to mount is missing)");
        Program running(session_, {{}, {"--pattern", "*.jpg", "--search", share.root()}, false});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        QVERIFY(desktop::waitFor([&share] { return share.hanging(); }));

        // Cancel in the middle of the walk, then copy the list: the window took both
        // while the listing hangs, and the list holds what came before the hung folder.
        running.clickAt(layout_.command1);
        QVERIFY2(desktop::waitForColour(running.origin + layout_.text3Centre, QColor(255, 255, 0)),
                 "Cancel showed no summary");
        QCOMPARE(copiedList(running, layout_), share.root() + "a.jpg\r\n");

        // Closing ends the program at once, the listing still hanging: its window
        // goes, and the process that was started ends. The reader the file system
        // holds can only end when the file system answers (once FUSE has taken a
        // request, not even SIGKILL ends the thread waiting for it): it is all that
        // is left of the window's process until then.
        // Twenty more searches begun and cancelled, each walk held by the share.
        for (int i = 0; i < 20; ++i) {
            running.clickAt(layout_.command1);
            running.clickAt(layout_.command1);
        }
        QCOMPARE(copiedList(running, layout_), share.root() + "a.jpg\r\n");  // all taken in order
        qInfo("%lld threads in the window's process", qlonglong(QDir(QString("/proc/%1/task").arg(running.windowProcess))
                                                                    .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                                                                    .size()));
        QVERIFY(running.process.state() == QProcess::Running);
        QElapsedTimer sinceExit;
        sinceExit.start();
        running.exitFromTheMenu(layout_);
        QVERIFY2(running.process.waitForFinished(5000), "the program did not end");
        qInfo("the program ended %lld ms after Exit was chosen", qlonglong(sinceExit.elapsed()));
        QCOMPARE(running.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(running.process.exitCode(), 0);
        const qint64 window = running.windowProcess;
        QVERIFY(testing::mainThreadEnded(window));
        QVERIFY(!testing::processEnded(window));  // the share holds its reader
        QVERIFY(xdo({"search", "--all", "--onlyvisible", "--pid", QString::number(window), "--name", "^Quorvel File Search"})
                    .isEmpty());
        share.answer();
        QVERIFY2(desktop::waitFor([window] { return testing::processEnded(window); }, 5000),
                 "the window's process did not end when the share answered");
    }

    // Cancel acts at once while a file is read for its contents: in the middle of a
    // file of 10 GiB, whose reading then stops at the next piece (a reader that went
    // on would be held for good 64 MiB further, and never close the file), and in a
    // read the share never answers.
    void cancelActsWhileContentsAreRead()
    {
        testing::HungShare share;
        if (!share.mounted())
            QSKIP("no FUSE file system could be mounted here (/dev/fuse, the helper or the right to mount is missing)");
        {
            Program running(session_, {{}, {"--pattern", "*.txt", "--contains", "needle", "--search", share.root() + "big"}, false});
            QVERIFY2(running.findWindow(layout_), "the window did not appear");
            QVERIFY2(desktop::waitFor([&share] { return share.bigFileRead(); }, 30000), "the big file was not read");
            QElapsedTimer sinceCancel;
            sinceCancel.start();
            running.clickAt(layout_.command1);
            QVERIFY2(desktop::waitForColour(running.origin + layout_.text3Centre, QColor(255, 255, 0)),
                     "Cancel showed no summary");
            qInfo("the summary was on the screen %lld ms after Cancel was clicked", qlonglong(sinceCancel.elapsed()));
            share.releaseBigRead();
            QVERIFY2(desktop::waitFor([&share] { return share.bigFileClosed(); }), "the file was still read after Cancel");
            running.exitFromTheMenu(layout_);
            QVERIFY(running.process.waitForFinished(5000));
        }
        Program running(session_, {{}, {"--pattern", "*.jpg", "--contains", "abc", "--search", share.root() + "pictures"}, false});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        QVERIFY2(desktop::waitFor([&share] { return share.readHanging(); }), "the stuck file was not read");
        running.clickAt(layout_.command1);
        QVERIFY2(desktop::waitForColour(running.origin + layout_.text3Centre, QColor(255, 255, 0)),
                 "Cancel showed no summary while the share held the read");
        QVERIFY(endsAtASignalWhileTheShareHolds(running, share));
    }

    // A person opens a folder whose listing never returns: the folder list shows it
    // being read, and the window answers all the while: a search on the share
    // runs and is cancelled.
    void openingAHungFolderHoldsUpNothing()
    {
        testing::HungShare share;
        if (!share.mounted())
            QSKIP("no FUSE file system could be mounted here (/dev/fuse, the helper or the right to mount is missing)");
        Program running(session_, {share.root(), {}, false});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        // Onto the list's first row, then to its last ("z"), two up ("hang"), and open it.
        running.clickAt(layout_.firstFolder);
        running.key("End Up Up Return");
        QVERIFY2(desktop::waitFor([&share] { return share.hanging(); }), "the folder list did not open the folder");
        running.clickAt(layout_.command1);  // Search, in the share
        running.clickAt(layout_.command1);  // Cancel
        QVERIFY2(desktop::waitForColour(running.origin + layout_.text3Centre, QColor(255, 255, 0)),
                 "the window did not answer while the folder list read the folder");
        QVERIFY(endsAtASignalWhileTheShareHolds(running, share));
    }

    // A mount that never answers when asked its size (a stale share): the window
    // appears and answers all the same, and a search runs.
    void aMountThatDoesNotAnswerHoldsUpNoStart()
    {
        testing::HungShare share;
        if (!share.mounted())
            QSKIP("no FUSE file system could be mounted here (/dev/fuse, the helper or the right to mount is missing)");
        share.hangSizeQueries();
        testing::TempTree tree;
        tree.files("f%1.jpg", 3);
        Program running(session_, {tree.root(), {"--pattern", "*.jpg", "--search"}, false});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        QVERIFY2(desktop::waitForColour(running.origin + layout_.text3Centre, QColor(255, 255, 0)),
                 "the search showed no summary");
        QVERIFY(desktop::waitFor([&share] { return share.sizeQueryHanging(); }));
        QVERIFY(endsAtASignalWhileTheShareHolds(running, share));
    }

    // Started on a folder whose listing never returns: the window paints and
    // answers, the search can be cancelled, and a signal to end the program ends
    // its window and main thread at once.
    void aSearchStartedOnAHungFolderHoldsNothingUp()
    {
        testing::HungShare share;
        if (!share.mounted())
            QSKIP("no FUSE file system could be mounted here (/dev/fuse, the helper or the right to mount is missing)");
        Program running(session_, {{}, {"--pattern", "*.jpg", "--search", share.root() + "hang"}, false});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        QVERIFY(desktop::waitFor([&share] { return share.hanging(); }));
        running.clickAt(layout_.command1);  // Cancel
        QVERIFY2(desktop::waitForColour(running.origin + layout_.text3Centre, QColor(255, 255, 0)),
                 "Cancel showed no summary");
        QVERIFY(endsAtASignalWhileTheShareHolds(running, share));
        QCOMPARE(running.process.exitStatus(), QProcess::NormalExit);
    }

    // A signal to end the program ends it as the close button does, during a search.
    void aSignalToEndClosesTheProgramCleanly_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void aSignalToEndClosesTheProgramCleanly()
    {
        QFETCH(int, signalNumber);
        testing::TempTree tree;
        tree.files("f%1.jpg", 200);
        Program running(session_, {{}, {"--pattern", "*.jpg", "--search", tree.root()}, false});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        QVERIFY(::kill(pid_t(running.process.processId()), signalNumber) == 0);
        QVERIFY2(running.process.waitForFinished(5000), "the program did not end");
        QCOMPARE(running.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(running.process.exitCode(), 0);
    }

    // A signal to the program's whole group (a shell ending a job, a session
    // ending) reaches the started process and its window's both, and the first
    // passes it on: the window counts it once, and ends cleanly.
    void aSignalToTheWholeGroupCountsOnce()
    {
        testing::TempTree tree;
        tree.files("f%1.jpg", 20);
        Program running(session_, {{}, {"--pattern", "*.jpg", "--search", tree.root()}, false, true});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        const pid_t group = pid_t(running.process.processId());
        QVERIFY(::kill(-group, SIGTERM) == 0);
        QVERIFY2(running.process.waitForFinished(5000), "the program did not end");
        QCOMPARE(running.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(running.process.exitCode(), 0);
    }

    // The window's process ending otherwise than by its window (killed, or a
    // crash): the program ends as it did.
    void theProgramEndsAsItsWindowsProcessEnds()
    {
        Program running(session_, {{}, {}, false});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        QVERIFY(::kill(pid_t(running.windowProcess), SIGKILL) == 0);
        QVERIFY2(running.process.waitForFinished(5000), "the program did not end");
        QCOMPARE(running.process.exitStatus(), QProcess::CrashExit);
        QCOMPARE(running.process.exitCode(), SIGKILL);
    }

    // Ended by a signal while it writes an export: the export stops without a
    // half-written file, the earlier one stays, the program exits cleanly. The
    // export is held in the middle of the workbook, reading a picture from a share
    // that stopped answering.
    void aSignalDuringAnExportLeavesTheEarlierFile()
    {
        testing::HungShare share;
        if (!share.mounted())
            QSKIP("no FUSE file system could be mounted here (/dev/fuse, the helper or the right to mount is missing)");
        Program running(session_, {{}, {"--pattern", "*", "--search", share.root() + "pictures"}, true});
        const QString book = running.folder() + "/QuorvelFileSearch.xlsx";
        QFile earlier(book);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("the earlier export");
        earlier.close();
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        QVERIFY2(desktop::waitForColour(running.origin + layout_.text3Centre, QColor(255, 255, 0)), "no summary");
        // Menu, Export, Excel.
        running.clickAt(layout_.menuBarMenu);
        running.key("Down Right Return");
        QVERIFY2(desktop::waitFor([&share] { return share.readHanging(); }), "the export never read the picture");
        QVERIFY(endsAtASignalWhileTheShareHolds(running, share));
        QCOMPARE(testing::readFile(book), QByteArray("the earlier export"));
        // No other workbook: what the held export had begun is at most a part file,
        // which a later export sweeps away once it is old.
        QCOMPARE(QDir(running.folder()).entryList({"*.xlsx*"}, QDir::Files), QStringList{"QuorvelFileSearch.xlsx"});
    }

    // The decoder helper and its spare are started with the window, before any
    // picture is asked for: the first search's pictures do not wait for them.
    void theDecoderIsReadyBeforeTheFirstPicture()
    {
        Program running(session_, {{}, {}, false});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        const qint64 pid = running.windowProcess;
        QVERIFY2(desktop::waitFor([pid] { return testing::childrenOf(pid).size() == 2; }),
                 "no helper was started ahead");
    }

    // The window's process loads no picture decoder; its decoder helpers end with
    // it, even when it is killed outright.
    void theDecoderHelpersEndWithTheWindow()
    {
        QTemporaryDir folder;
        solidJpeg(folder.path() + "/blue.jpg", Qt::blue);
        Program running(session_, {{}, {"--pattern", "*.jpg", "--search", folder.path()}, false});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        const qint64 pid = running.windowProcess;
        QVERIFY(desktop::waitFor([pid] { return !testing::childrenOf(pid).isEmpty(); }));  // the preview's picture was decoded
        const QList<qint64> started = testing::childrenOf(pid);
        for (qint64 helper : started) {
            QFile command(QString("/proc/%1/cmdline").arg(helper));
            QVERIFY(command.open(QIODevice::ReadOnly));
            QVERIFY2(command.readAll().contains("quorvel-decoder"), "a child that is no decoder helper");
        }
        // The window itself holds no picture decoder: no image-format plugin, no
        // JPEG or metafile library is mapped in its process.
        QFile maps(QString("/proc/%1/maps").arg(pid));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        for (const char *library : {"/imageformats/", "libjpeg", "libwmf", "libemf2svg", "libuemf", "libgif", "libtiff"})
            QVERIFY2(!mapped.contains(library), library);
        // Killed outright, the process that was started takes its window's with it.
        ::kill(pid_t(running.process.processId()), SIGKILL);
        QVERIFY(running.process.waitForFinished(5000));
        QVERIFY2(desktop::waitFor([pid] { return testing::mainThreadEnded(pid); }), "the window outlived the program");
        for (qint64 helper : started)
            QVERIFY2(desktop::waitFor([helper] { return testing::mainThreadEnded(helper); }),
                     "a helper outlived the window");
    }

private:
    desktop::Session &session_;
    desktop::Layout layout_;
};

int main(int argc, char *argv[])
{
    return desktop::runOnDesktop(argc, argv, [&](desktop::Session &session) {
        TestEndToEnd test(session);
        return QTest::qExec(&test, argc, argv);
    });
}

#include "test_end_to_end.moc"
