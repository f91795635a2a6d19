// The real program on a real X server, driven with synthetic X input (xdotool,
// through the XTest extension) and checked by what the screen shows: the pixels
// of the preview, the summary boxes and what the program puts on the clipboard.
#include "TestSupport.h"
#include "app/Form1.h"
#include "platform/PictureBox.h"
#include "search/ResultList.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QtTest>

#include <cstdlib>
#include <cstring>
#include <memory>

#include <csignal>
#include <xcb/xcb.h>


namespace {

constexpr int kBigTreeFolders = 400;
constexpr int kFilesPerFolder = 400;  // 160,000 files: a search long enough to cancel

QString programPath()
{
    return QStringLiteral(QUORVEL_PROGRAM);
}

// Where each control the test uses sits inside the window, read off a window of
// our own built on the same display with the same fonts.
struct Layout {
    QPoint text2, command1, command3, command9, picture1Centre, menuBarMenu, list, listViewportOrigin;
    QRect text3, picture1;
    int entryHeight = 0;
    QRect copyListItem;  // inside the Action menu, relative to its top-left corner
};

Layout readLayout()
{
    testing::FakeServices fakes;
    auto w = testing::makeWindow(fakes);
    testing::user::show(*w);
    auto at = [&](QWidget *widget, QPoint point) { return widget->mapTo(w.get(), point); };
    Layout l;
    l.text2 = at(w->Text2, w->Text2->rect().center());
    l.command1 = at(w->Command1, w->Command1->rect().center());
    l.command3 = at(w->Command3, w->Command3->rect().center());
    l.command9 = at(w->Command9, w->Command9->rect().center());
    l.picture1 = QRect(at(w->Picture1, w->Picture1->contentsRect().topLeft()), w->Picture1->contentsRect().size());
    l.picture1Centre = l.picture1.center();
    l.text3 = QRect(at(w->Text3, QPoint(0, 0)), w->Text3->size());
    l.listViewportOrigin = at(w->List1->viewport(), QPoint(0, 0));
    testing::fillList(*w, {"/a.jpg", "/b.jpg"});
    l.entryHeight = w->List1->visualRect(w->List1->model()->index(0, 0)).height();
    l.menuBarMenu = at(w->menuBar(), w->menuBar()->actionGeometry(w->menuBar()->actions().first()).center());
    w->menuCopy->popup(QPoint(0, 0));
    l.copyListItem = w->menuCopy->actionGeometry(w->copylist);
    w->menuCopy->hide();
    return l;
}

class Session {
public:
    bool startServer()
    {
        server_.setProgram(QStandardPaths::findExecutable(QStringLiteral("Xvfb")));
        if (server_.program().isEmpty())
            return false;
        server_.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                              QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                              QStringLiteral("tcp")});
        server_.start();
        if (!server_.waitForStarted(5000))
            return false;
        QByteArray number;
        while (!number.contains('\n') && server_.waitForReadyRead(10000))
            number += server_.readAllStandardOutput();
        display_ = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
        return number.contains('\n');
    }
    QString display() const { return display_; }
    ~Session()
    {
        server_.terminate();
        server_.waitForFinished(3000);
    }

private:
    QProcess server_;
    QString display_;
};

// Runs xdotool with `arguments`; its standard output.
QString xdo(const QStringList &arguments)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), arguments);
    p.waitForFinished(15000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// What a window manager sends when a person clicks a window's close button.
void askToClose(const QString &window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    QVERIFY(x11);
    xcb_connection_t *connection = x11->connection();
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(window.toULong());
    message.type = atom(connection, "WM_PROTOCOLS");
    message.data.data32[0] = atom(connection, "WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, message.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&message));
    xcb_flush(connection);
}

QColor screenPixel(QPoint at)
{
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), 1, 1).toImage();
    return shot.isNull() ? QColor() : shot.pixelColor(0, 0);
}

bool near(QColor a, QColor b, int tolerance = 30)
{
    return a.isValid() && std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// Waits, delivering events, until the screen at `at` shows `colour`.
bool waitForColour(QPoint at, QColor colour, int timeoutMs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (near(screenPixel(at), colour))
            return true;
        QTest::qWait(50);
    }
    return false;
}

// The real program on the test's X server, with a home of its own, and where its
// window is on the screen.
class Program {
public:
    Program(const QString &display, const QString &folder, const QStringList &arguments,
            const QString &program = programPath())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", display);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("HOME", home_.path());
        env.insert("XDG_CONFIG_HOME", home_.path() + "/config");
        env.insert("XDG_RUNTIME_DIR", home_.path());
        env.remove("DBUS_SESSION_BUS_ADDRESS");
        env.remove("QT_SCALE_FACTOR");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program, arguments);
    }
    ~Program()
    {
        process.kill();
        process.waitForFinished(3000);
    }
    // Waits for the window and reads where it is; false when it never showed.
    bool findWindow()
    {
        if (!process.waitForStarted(5000))
            return false;
        window = xdo({"search", "--sync", "--onlyvisible", "--name", "^Quorvel File Search .*Ver"}).section('\n', 0, 0);
        if (window.isEmpty())
            return false;
        for (const QString &line : xdo({"getwindowgeometry", "--shell", window}).split('\n')) {
            if (line.startsWith("X="))
                origin.setX(line.mid(2).toInt());
            if (line.startsWith("Y="))
                origin.setY(line.mid(2).toInt());
        }
        QTest::qWait(300);  // the first layout and paint
        return true;
    }
    void clickAt(QPoint inWindow, int button = 1) const
    {
        const QPoint p = origin + inWindow;
        xdo({"mousemove", QString::number(p.x()), QString::number(p.y()), "click", QString::number(button)});
    }
    // Menu, Exit.
    void exitFromTheMenu(const Layout &layout) const
    {
        clickAt(layout.menuBarMenu);
        QTest::qWait(200);
        xdo({"key", "Up", "Return"});
    }

    QProcess process;
    QString window;  // the X window's id
    QPoint origin;

private:
    QTemporaryDir home_;
};

// A file system of ours mounted on a folder of its own, that stops answering when
// its folder "hang" is listed.
class HungShare {
public:
    HungShare()
    {
        const QString helper = QStringLiteral(QUORVEL_HUNGFS);
        if (helper.isEmpty() || !QFileInfo(helper).isExecutable() || !QFileInfo("/dev/fuse").exists())
            return;
        mountPoint_ = folder_.path() + "/share";
        marker_ = folder_.path() + "/hung";
        QDir().mkpath(mountPoint_);
        fs_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        fs_.start(helper, {mountPoint_, marker_});
        fs_.waitForStarted(3000);
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 3000 && fs_.state() == QProcess::Running && !QFile::exists(mountPoint_ + "/a.jpg"))
            QTest::qWait(20);
        mounted_ = QFile::exists(mountPoint_ + "/a.jpg");
    }
    ~HungShare()
    {
        // Killing it answers every request still waiting with an error.
        fs_.kill();
        fs_.waitForFinished(3000);
        if (!mountPoint_.isEmpty()) {
            QProcess umount;
            umount.setStandardErrorFile(QProcess::nullDevice());
            umount.start("umount", {"-l", mountPoint_});
            umount.waitForFinished(3000);
        }
    }
    bool mounted() const { return mounted_; }
    QString root() const { return mountPoint_ + "/"; }
    // A listing of "hang" has begun (and will not end).
    bool hanging() const { return QFile::exists(marker_); }
    // The file system goes away: every request it holds ends with an error.
    void answer()
    {
        fs_.kill();
        fs_.waitForFinished(3000);
    }

private:
    QTemporaryDir folder_;
    QString mountPoint_, marker_;
    QProcess fs_;
    bool mounted_ = false;
};

// The process's main thread has ended: the process is gone, or only threads the
// kernel holds are left of it.
bool mainThreadEnded(qint64 pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const qsizetype afterName = line.lastIndexOf(')');
    return afterName < 0 || line.mid(afterName + 2, 1) == "Z" || line.mid(afterName + 2, 1) == "X";
}

void solidJpeg(const QString &path, QColor colour)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "JPG", 95));
}

}  // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
public:
    explicit TestEndToEnd(Session &session)
        : session_(session)
    {
    }

private slots:
    void aPersonSearchesPreviewsCancelsAndCloses()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not installed");
        const Layout layout = readLayout();

        // In memory where the machine has a memory file system: a tree this size is
        // made there in a second.
        QTemporaryDir tree(QFileInfo("/dev/shm").isWritable() ? QStringLiteral("/dev/shm/quorvel-e2e-XXXXXX")
                                                              : QDir::tempPath() + "/quorvel-e2e-XXXXXX");
        QVERIFY(tree.isValid());
        const auto folder = [&](const QString &relative) {
            QDir().mkpath(tree.path() + "/" + relative);
            return tree.path() + "/" + relative;
        };
        const QString root = tree.path() + "/";
        solidJpeg(root + "red.jpg", Qt::red);
        folder("sub");
        solidJpeg(root + "sub/blue.jpg", Qt::blue);
        for (int f = 0; f < kBigTreeFolders; ++f) {
            const QString dir = folder(QString("big/f%1").arg(f));
            for (int i = 0; i < kFilesPerFolder; ++i) {
                QFile f(dir + QString("/n%1.txt").arg(i));
                QVERIFY(f.open(QIODevice::WriteOnly));
            }
        }
        // The program starts in the tree: its folder list opens the current folder.
        Program running(session_.display(), tree.path(), {});
        QVERIFY2(running.findWindow(), "the window did not appear");
        QProcess &program = running.process;
        const QPoint origin = running.origin;
        const auto clickAt = [&running](QPoint inWindow, int button = 1) { running.clickAt(inWindow, button); };

        // Search for the pictures: the list fills, the summary shows, and the preview
        // shows the last picture found.
        clickAt(layout.text2);
        xdo({"key", "--clearmodifiers", "ctrl+a"});
        xdo({"type", "--delay", "20", "*.jpg"});
        clickAt(layout.command1);
        QVERIFY2(waitForColour(origin + layout.text3.center(), QColor(255, 255, 0)), "no summary shown");
        QVERIFY2(waitForColour(origin + layout.picture1.topLeft() + QPoint(10, 10), Qt::blue),
                 "the last picture found is not previewed");

        // A mouse click on the first entry paints that picture.
        clickAt(layout.listViewportOrigin + QPoint(20, layout.entryHeight / 2));
        QVERIFY2(waitForColour(origin + layout.picture1.topLeft() + QPoint(10, 10), Qt::red),
                 "a click on the red picture's entry did not preview it");

        // Copy the list from the Action menu: what the person would paste.
        const QPoint entry = layout.listViewportOrigin + QPoint(20, layout.entryHeight / 2);
        clickAt(entry, 3);
        QTest::qWait(200);
        clickAt(entry + layout.copyListItem.center());
        QClipboard *clipboard = QGuiApplication::clipboard();
        QTRY_COMPARE_WITH_TIMEOUT(clipboard->text(), root + "red.jpg\r\n" + root + "sub/blue.jpg\r\n",
                                  5000);

        // A search of everything, cancelled at once: it ends with part of the tree.
        clickAt(layout.text2);
        xdo({"key", "--clearmodifiers", "ctrl+a"});
        xdo({"type", "--delay", "20", "*"});
        clipboard->clear();
        const QPoint button = origin + layout.command1;
        xdo({"mousemove", QString::number(button.x()), QString::number(button.y()), "click", "1", "sleep",
             "0.02", "click", "1"});
        QTest::qWait(500);
        clickAt(entry, 3);
        QTest::qWait(200);
        clickAt(entry + layout.copyListItem.center());
        QTRY_VERIFY_WITH_TIMEOUT(!clipboard->text().isEmpty(), 20000);
        const qsizetype listed = clipboard->text().count(QStringLiteral("\r\n"));
        qInfo("cancelled after %lld of %d entries", qlonglong(listed), kBigTreeFolders * kFilesPerFolder);
        QVERIFY2(listed > 0 && listed < kBigTreeFolders * kFilesPerFolder,
                 qPrintable(QString("listed %1 entries").arg(listed)));

        // Menu, Exit: the process is gone within a second.
        running.exitFromTheMenu(layout);
        QVERIFY2(program.waitForFinished(1000), "the program did not end within a second");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    }

    // A share whose server went away: the listing of one folder never returns. The
    // window answers all the while, Cancel ends the search with what came before,
    // and the program ends at once when closed, its reader still waiting.
    void aShareThatStopsAnsweringHoldsNothingUp()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not installed");
        HungShare share;
        if (!share.mounted())
            QSKIP("no FUSE file system could be mounted here (/dev/fuse, the helper or the right to mount is missing)");
        const Layout layout = readLayout();
        Program running(session_.display(), QDir::tempPath(), {"--pattern", "*.jpg", "--search", share.root()});
        QVERIFY2(running.findWindow(), "the window did not appear");
        QTRY_VERIFY_WITH_TIMEOUT(share.hanging(), 10000);

        // Cancel, then copy the list: the window took both while the listing hangs.
        running.clickAt(layout.command1);
        QTest::qWait(200);
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        const QPoint entry = layout.listViewportOrigin + QPoint(20, layout.entryHeight / 2);
        running.clickAt(entry, 3);
        QTest::qWait(200);
        running.clickAt(entry + layout.copyListItem.center());
        QTRY_COMPARE_WITH_TIMEOUT(clipboard->text(), share.root() + "a.jpg\r\n", 5000);

        // Closing ends the program at once, the listing still hanging: its window
        // goes and its main thread ends. The reader the file system holds can only
        // end when the file system answers (once FUSE has taken a request, not even
        // SIGKILL ends the thread waiting for it); then the process is gone too.
        QVERIFY(running.process.state() == QProcess::Running);
        QElapsedTimer sinceExit;
        sinceExit.start();
        running.exitFromTheMenu(layout);
        const qint64 pid = running.process.processId();
        QTRY_VERIFY_WITH_TIMEOUT(mainThreadEnded(pid), 5000);
        const qint64 ms = sinceExit.elapsed() - 200;  // the menu is given 200 ms to open
        qInfo("main thread gone %lld ms after Exit was chosen", qlonglong(ms));
        QVERIFY2(ms < 500, qPrintable(QString("the program took %1 ms to end").arg(ms)));
        QVERIFY(xdo({"search", "--onlyvisible", "--name", "^Quorvel File Search"}).isEmpty());
        share.answer();
        QVERIFY2(running.process.waitForFinished(5000), "the program did not end when the share answered");
        QCOMPARE(running.process.exitStatus(), QProcess::NormalExit);
    }

    // The window's close button ends the program even while a message waits for
    // an answer, and the message goes with it.
    void closingTheWindowWithAMessageOpenClosesBoth()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not installed");
        const Layout layout = readLayout();
        Program running(session_.display(), QDir::tempPath(), {});
        QVERIFY2(running.findWindow(), "the window did not appear");
        running.clickAt(layout.text2);
        xdo({"key", "F1"});
        QTRY_VERIFY_WITH_TIMEOUT(
            xdo({"search", "--onlyvisible", "--name", "^Quorvel File Search"}).split('\n').size() == 2, 5000);
        askToClose(running.window);
        QVERIFY2(running.process.waitForFinished(2000), "the program did not end");
        QCOMPARE(running.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(running.process.exitCode(), 0);
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
        Program running(session_.display(), QDir::tempPath(), {"--pattern", "*.jpg", "--search", tree.root()});
        QVERIFY2(running.findWindow(), "the window did not appear");
        QVERIFY(::kill(pid_t(running.process.processId()), signalNumber) == 0);
        QVERIFY2(running.process.waitForFinished(2000), "the program did not end");
        QCOMPARE(running.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(running.process.exitCode(), 0);
    }

    // Ended by a signal while it writes an export: the export stops without a
    // half-written file, the earlier one stays, the program exits cleanly.
    void aSignalDuringAnExportLeavesTheEarlierFile()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not installed");
        const Layout layout = readLayout();
        // The program in a folder of its own, where its exports go.
        QTemporaryDir install;
        const QString program = install.path() + "/quorvelfilesearch";
        QVERIFY(QFile::copy(programPath(), program));
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
        const QString book = install.path() + "/QuorvelFileSearch.xlsx";
        QFile earlier(book);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("the earlier export");
        earlier.close();
        QTemporaryDir tree(QFileInfo("/dev/shm").isWritable() ? QStringLiteral("/dev/shm/quorvel-e2e-XXXXXX")
                                                              : QDir::tempPath() + "/quorvel-e2e-XXXXXX");
        for (int f = 0; f < 100; ++f) {
            QDir().mkpath(tree.path() + QString("/f%1").arg(f));
            for (int i = 0; i < 1000; ++i)
                QFile(tree.path() + QString("/f%1/%2.txt").arg(f).arg(i)).open(QIODevice::WriteOnly);
        }
        Program running(session_.display(), QDir::tempPath(), {"--pattern", "*", "--search", tree.path()}, program);
        QVERIFY2(running.findWindow(), "the window did not appear");
        // The search ends when its summary shows.
        QVERIFY2(waitForColour(running.origin + layout.text3.center(), QColor(255, 255, 0), 30000), "no summary");
        // A workbook of 100,000 rows takes a while to write.
        running.clickAt(layout.command3);
        QTest::qWait(300);
        QVERIFY(::kill(pid_t(running.process.processId()), SIGTERM) == 0);
        QVERIFY2(running.process.waitForFinished(3000), "the program did not end");
        QCOMPARE(running.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(running.process.exitCode(), 0);
        QCOMPARE(testing::readFile(book), QByteArray("the earlier export"));
        QCOMPARE(QDir(install.path()).entryList({"*.xlsx*"}, QDir::Files | QDir::Hidden),
                 QStringList{"QuorvelFileSearch.xlsx"});
    }

    // The window's process loads no picture decoder; its decoder helpers end with
    // it, even when it is killed outright.
    void theDecoderHelpersEndWithTheWindow()
    {
        QTemporaryDir folder;
        solidJpeg(folder.path() + "/blue.jpg", Qt::blue);
        Program running(session_.display(), QDir::tempPath(), {"--pattern", "*.jpg", "--search", folder.path()});
        QVERIFY2(running.findWindow(), "the window did not appear");
        const qint64 pid = running.process.processId();
        const auto helpers = [pid] {
            QList<qint64> found;
            for (const QString &task : QDir(QString("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
                QFile children(QString("/proc/%1/task/%2/children").arg(pid).arg(task));
                if (children.open(QIODevice::ReadOnly))
                    for (const QByteArray &child : children.readAll().split(' '))
                        if (!child.trimmed().isEmpty())
                            found << child.trimmed().toLongLong();
            }
            return found;
        };
        QTRY_VERIFY_WITH_TIMEOUT(!helpers().isEmpty(), 10000);  // the preview's picture was decoded
        const QList<qint64> started = helpers();
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
        ::kill(pid_t(pid), SIGKILL);
        QVERIFY(running.process.waitForFinished(3000));
        const auto alive = [](qint64 helper) {
            QFile stat(QString("/proc/%1/stat").arg(helper));
            return stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z ");
        };
        for (qint64 helper : started)
            QTRY_VERIFY2_WITH_TIMEOUT(!alive(helper), "a helper outlived the window", 2000);
    }

private:
    Session &session_;
};

int main(int argc, char *argv[])
{
    Session session;
    if (!session.startServer()) {
        // Without an X server there is nothing to drive.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        std::puts("SKIP   : Xvfb is not installed or did not start");
        return 0;
    }
    qputenv("DISPLAY", session.display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    qunsetenv("QT_SCALE_FACTOR");
    QApplication app(argc, argv);
    TestEndToEnd test(session);
    return QTest::qExec(&test, argc, argv);
}

#include "test_end_to_end.moc"
