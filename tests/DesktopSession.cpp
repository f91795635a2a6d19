#include "DesktopSession.h"

#include "TestSupport.h"
#include "app/Form1.h"
#include "platform/PictureBox.h"
#include "search/FolderList.h"
#include "search/ResultList.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleFactory>
#include <QtTest>

#include <cstdlib>
#include <cstring>
#include <memory>

#include <unistd.h>
#include <xcb/xcb.h>

namespace desktop {
namespace {

QString programPath()
{
    return QStringLiteral(QUORVEL_PROGRAM);
}

using Reply = std::unique_ptr<void, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// A window manager has announced itself on the display's root window.
bool windowManagerRuns(const QString &display)
{
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(display.toLocal8Bit().constData(), nullptr), &xcb_disconnect);
    if (xcb_connection_has_error(connection.get()))
        return false;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection.get())).data;
    const xcb_get_property_cookie_t cookie = xcb_get_property(
        connection.get(), 0, screen->root, atom(connection.get(), "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection.get(), cookie, nullptr), &std::free);
    return reply && xcb_get_property_value_length(reply.get()) > 0;
}

void writeScript(const QString &path, const QByteArray &script)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(script);
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

}  // namespace

Session::Session()
{
    // A display whose window manager does not come up (seldom, and not on a second
    // try) is made anew; what went wrong is said when none does.
    QString why;
    for (int attempt = 0; attempt < 3 && !managed_; ++attempt) {
        if (attempt > 0)
            stop();
        why = start();
    }
    if (!managed_ && started())
        qWarning("no window manager: %s", qPrintable(why));
}

QString Session::start()
{
    display_.clear();
    server_.setProgram(QStandardPaths::findExecutable(QStringLiteral("Xvfb")));
    if (server_.program().isEmpty())
        return QStringLiteral("Xvfb is not installed");
    // What it says is not read: a full pipe would hold the server.
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.setArguments({"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    server_.start();
    if (!server_.waitForStarted(5000))
        return QStringLiteral("Xvfb did not start");
    QByteArray number;
    while (!number.contains('\n') && server_.waitForReadyRead(10000))
        number += server_.readAllStandardOutput();
    if (!number.contains('\n'))
        return QStringLiteral("Xvfb named no display");
    display_ = QStringLiteral(":") + QString::fromLatin1(number.trimmed());

    // A window manager, so that focus, stacking and decorations are a desktop's.
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (openbox.isEmpty())
        return QStringLiteral("openbox is not installed");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_);
    windowManager_.setProcessEnvironment(env);
    windowManager_.setStandardOutputFile(QProcess::nullDevice());
    windowManager_.start(openbox, {"--sm-disable"});
    windowManager_.waitForStarted(5000);
    QElapsedTimer waited;
    waited.start();
    while (!managed_ && waited.elapsed() < 10000 && windowManager_.state() == QProcess::Running) {
        managed_ = windowManagerRuns(display_);
        if (!managed_)
            windowManager_.waitForFinished(20);
    }
    if (managed_)
        return {};
    return QString("openbox on %1 %2 (exit %3): %4")
        .arg(display_, windowManager_.state() == QProcess::Running ? "never announced itself" : "ended")
        .arg(windowManager_.exitCode())
        .arg(QString::fromLocal8Bit(windowManager_.readAllStandardError()));
}

void Session::stop()
{
    windowManager_.terminate();
    windowManager_.waitForFinished(3000);
    server_.terminate();
    server_.waitForFinished(3000);
}

Session::~Session()
{
    stop();
}

QString xdo(const QStringList &arguments)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), arguments);
    p.waitForFinished(15000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

QStringList windowsNamed(const QString &title)
{
    return xdo({"search", "--onlyvisible", "--name", title}).split('\n', Qt::SkipEmptyParts);
}

QString windowProperty(const QString &window, const QString &property)
{
    const QString said = testing::runTool(QStringLiteral("xprop"), {"-id", window, property});
    return said.contains(QLatin1String("not found")) || said.contains(QLatin1String("no such atom")) ? QString()
                                                                                                       : said.trimmed();
}

QString activeWindow()
{
    return xdo({"getactivewindow"});
}

QRect windowGeometry(const QString &window)
{
    // Asked of the X server itself: xdotool counts a window manager's frame twice.
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return {};
    xcb_connection_t *connection = x11->connection();
    const auto id = xcb_window_t(window.toULong());
    const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr), &std::free);
    if (!geometry)
        return {};
    const std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> onScreen(
        xcb_translate_coordinates_reply(connection, xcb_translate_coordinates(connection, id, geometry->root, 0, 0),
                                        nullptr),
        &std::free);
    if (!onScreen)
        return {};
    return QRect(onScreen->dst_x, onScreen->dst_y, geometry->width, geometry->height);
}

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

bool near(QColor a, QColor b, int tolerance)
{
    return a.isValid() && std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QTest::qWait(20);
    }
    return true;
}

bool waitForColour(QPoint at, QColor colour, int timeoutMs)
{
    return waitFor([&] { return near(screenPixel(at), colour); }, timeoutMs);
}

Layout readLayout()
{
    testing::FakeServices fakes;
    auto w = testing::makeWindow(fakes);
    // Shown, to be laid out as on the screen: before the program starts, whose
    // focus it would take.
    testing::user::show(*w);
    auto at = [&](QWidget *widget, QPoint point) { return widget->mapTo(w.get(), point); };
    auto centre = [&](QWidget *widget) { return at(widget, widget->rect().center()); };
    Layout l;
    l.text2 = centre(w->Text2);
    l.text2Inside = at(w->Text2, QPoint(w->Text2->width() - 4, w->Text2->height() / 2));
    QStyleOptionButton box;
    box.initFrom(w->Check2);
    l.check2 = at(w->Check2, w->Check2->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &box, w->Check2).center());
    l.command1 = centre(w->Command1);
    l.command2 = centre(w->Command2);
    l.command3 = centre(w->Command3);
    l.command4 = centre(w->Command4);
    l.command5 = centre(w->Command5);
    l.command6 = centre(w->Command6);
    l.command7 = centre(w->Command7);
    l.command8 = centre(w->Command8);
    l.command9 = centre(w->Command9);
    l.picture1 = QRect(at(w->Picture1, w->Picture1->contentsRect().topLeft()), w->Picture1->contentsRect().size());
    l.picture1Centre = l.picture1.center();
    l.text3 = QRect(at(w->Text3, QPoint(0, 0)), w->Text3->size());
    l.text3Centre = l.text3.center();
    l.text4 = QRect(at(w->Text4, QPoint(0, 0)), w->Text4->size());
    l.listViewportOrigin = at(w->List1->viewport(), QPoint(0, 0));
    testing::openFolder(*w->Dir1, QStringLiteral("/"));
    l.firstFolder = at(w->Dir1->viewport(), w->Dir1->visualItemRect(w->Dir1->item(0)).center());
    testing::fillList(*w, {"/a.jpg", "/b.jpg"});
    l.entryHeight = w->List1->visualRect(w->List1->model()->index(0, 0)).height();
    l.menuBarMenu = at(w->menuBar(), w->menuBar()->actionGeometry(w->menuBar()->actions().first()).center());
    return l;
}

QPoint messageOkButton(const QString &text, bool critical)
{
    QMessageBox box(critical ? QMessageBox::Critical : QMessageBox::NoIcon, QStringLiteral("layout probe"), text,
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setAttribute(Qt::WA_DontShowOnScreen);
    box.show();
    QAbstractButton *ok = box.button(QMessageBox::Ok);
    const QPoint centre = ok->mapTo(&box, ok->rect().center());
    box.hide();
    return centre;
}

Openers::Openers(const QString &folder)
    : folder_(folder)
{
    QDir().mkpath(folder_);
    writeScript(folder_ + "/xdg-open", "#!/bin/sh\n"
                                       "here=$(dirname \"$0\")\n"
                                       "printf '%s\\n' \"$1\" >> \"$here/opened\"\n"
                                       "exit \"$(cat \"$here/status\" 2>/dev/null || echo 0)\"\n");
    // Asked for a default application, it knows of none.
    writeScript(folder_ + "/xdg-mime", "#!/bin/sh\n"
                                       "here=$(dirname \"$0\")\n"
                                       "if [ -e \"$here/hold\" ]; then\n"
                                       "  touch \"$here/waiting\"\n"
                                       "  i=0\n"
                                       "  while [ ! -e \"$here/released\" ] && [ $i -lt 600 ]; do sleep 0.1; i=$((i+1)); done\n"
                                       "  rm -f \"$here/waiting\"\n"
                                       "fi\n"
                                       "exit 0\n");
}

QStringList Openers::opened() const
{
    return QString::fromUtf8(testing::readFile(folder_ + "/opened")).split('\n', Qt::SkipEmptyParts);
}

void Openers::openerExitsWith(int status)
{
    QFile file(folder_ + "/status");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::number(status));
}

void Openers::holdQueries()
{
    QFile::remove(folder_ + "/released");
    QFile(folder_ + "/hold").open(QIODevice::WriteOnly);
}

void Openers::release()
{
    QFile(folder_ + "/released").open(QIODevice::WriteOnly);
    QFile::remove(folder_ + "/hold");
}

bool Openers::queryWaiting() const
{
    return QFile::exists(folder_ + "/waiting");
}

Program::Program(const Session &session, const Options &options)
    : openers_(home_.path() + "/openers")
{
    QString program = options.program.isEmpty() ? programPath() : options.program;
    if (options.ownFolder) {
        program = installed_.path() + "/quorvelfilesearch";
        const QString helper = QFileInfo(programPath()).dir().filePath("quorvel-decoder");
        QFile::copy(programPath(), program);
        QFile::copy(helper, installed_.path() + "/quorvel-decoder");
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", session.display());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("HOME", home_.path());
    env.insert("XDG_CONFIG_HOME", home_.path() + "/config");
    env.insert("XDG_RUNTIME_DIR", home_.path());
    env.insert("PATH", openers_.folder() + ":" + env.value("PATH"));
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    env.remove("QT_SCALE_FACTOR");
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(options.workingFolder.isEmpty() ? QDir::tempPath() : options.workingFolder);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (options.ownGroup)
        process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start(program, options.arguments);
}

Program::~Program()
{
    process.kill();
    process.waitForFinished(3000);
}

bool Program::findWindow(const Layout &layout)
{
    if (!process.waitForStarted(5000))
        return false;
    const qint64 started = process.processId();
    if (!waitFor([&] { return testing::childrenOf(started).size() == 1; }))
        return false;
    windowProcess = testing::childrenOf(started).constFirst();
    window = xdo({"search", "--sync", "--all", "--onlyvisible", "--pid", QString::number(windowProcess), "--name",
                  "^Quorvel File Search .*Ver"})
                 .section('\n', 0, 0);
    if (window.isEmpty())
        return false;
    origin = windowGeometry(window).topLeft();
    // In front and with the keyboard, as after a person's click on its task.
    xdo({"windowactivate", "--sync", window});
    if (!waitFor([this] { return activeWindow() == window; }))
        return false;
    // Painted: the file specification's yellow is on the screen.
    return waitForColour(origin + layout.text2Inside, QColor(255, 255, 192));
}

void Program::clickAt(QPoint inWindow, int button) const
{
    const QPoint p = origin + inWindow;
    xdo({"mousemove", QString::number(p.x()), QString::number(p.y()), "click", QString::number(button)});
}

void Program::key(const QString &keys) const
{
    xdo(QStringList{"key", "--clearmodifiers"} + keys.split(' '));
}

void Program::type(const QString &text) const
{
    xdo({"type", "--delay", "20", text});
}

void Program::exitFromTheMenu(const Layout &layout) const
{
    // The keys reach the menu the click opens: the program reads its input in order.
    clickAt(layout.menuBarMenu);
    key("Up Return");
}

QStringList Program::messages() const
{
    return xdo({"search", "--all", "--onlyvisible", "--pid", QString::number(windowProcess), "--name",
                "^Quorvel File Search$"})
        .split('\n', Qt::SkipEmptyParts);
}

int runOnDesktop(int argc, char *argv[], const std::function<int(Session &)> &test)
{
    Session session;
    if (!session.started() || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        // Without an X server there is nothing to drive.
        std::puts("SKIP   : Xvfb or xdotool is not installed, or Xvfb did not start");
        return 0;
    }
    qputenv("DISPLAY", session.display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    qunsetenv("QT_SCALE_FACTOR");
    QApplication app(argc, argv);
    // The program's own style, so that what the test measures is where the program draws.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    return test(session);
}

}  // namespace desktop
