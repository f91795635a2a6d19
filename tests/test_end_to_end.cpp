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
#include <memory>


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
    QPoint text2, command1, command9, picture1Centre, menuBarMenu, list, listViewportOrigin;
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
        QTemporaryDir home;

        // The program starts in the tree: its folder list opens the current folder.
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", session_.display());
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("HOME", home.path());
        env.insert("XDG_CONFIG_HOME", home.path() + "/config");
        env.insert("XDG_RUNTIME_DIR", home.path());
        env.remove("DBUS_SESSION_BUS_ADDRESS");
        env.remove("QT_SCALE_FACTOR");
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(tree.path());
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(programPath(), {});
        QVERIFY(program.waitForStarted(5000));

        const QString window =
            xdo({"search", "--sync", "--onlyvisible", "--name", "^Quorvel File Search"}).section('\n', 0, 0);
        QVERIFY2(!window.isEmpty(), "the window did not appear");
        const QStringList geometry = xdo({"getwindowgeometry", "--shell", window}).split('\n');
        QPoint origin;
        for (const QString &line : geometry) {
            if (line.startsWith("X="))
                origin.setX(line.mid(2).toInt());
            if (line.startsWith("Y="))
                origin.setY(line.mid(2).toInt());
        }
        auto clickAt = [&](QPoint inWindow, int button = 1) {
            const QPoint p = origin + inWindow;
            xdo({"mousemove", QString::number(p.x()), QString::number(p.y()), "click",
                 QString::number(button)});
        };
        QTest::qWait(300);  // the first layout and paint

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
        clickAt(layout.menuBarMenu);
        QTest::qWait(200);
        xdo({"key", "Up", "Return"});
        QVERIFY2(program.waitForFinished(1000), "the program did not end within a second");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
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
