#pragma once

// The real program on a real X server with a window manager, driven as a person
// drives it: synthetic X input (xdotool, through the XTest extension), checked by
// what the screen shows and what the program leaves behind.

#include <QColor>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

namespace desktop {

// Xvfb and Openbox of the test's own. A test program starts one before its
// QApplication, and runs on its display.
class Session {
public:
    Session();
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // False when Xvfb could not be started; the window manager is optional, and
    // `managed()` tells whether one runs.
    bool started() const { return !display_.isEmpty(); }
    bool managed() const { return managed_; }
    QString display() const { return display_; }

private:
    // Starts Xvfb and Openbox; why the window manager is not running, if it is not.
    QString start();
    void stop();

    QProcess server_, windowManager_;
    QString display_;
    bool managed_ = false;
};

// Runs xdotool with `arguments`; its standard output, trimmed.
QString xdo(const QStringList &arguments);
// The visible windows whose title matches the regular expression `title`.
QStringList windowsNamed(const QString &title);
// A window's property as xprop prints it, empty when it has none.
QString windowProperty(const QString &window, const QString &property);
// The window that has the keyboard, as the window manager says.
QString activeWindow();
// The window's top-left corner and size on the screen.
QRect windowGeometry(const QString &window);

// What a window manager sends when a person clicks a window's close button.
void askToClose(const QString &window);

QColor screenPixel(QPoint at);
bool near(QColor a, QColor b, int tolerance = 30);
// Waits, delivering events, until the screen at `at` shows `colour`.
bool waitForColour(QPoint at, QColor colour, int timeoutMs = 10000);
// Waits, delivering events, until `condition` holds; false after `timeoutMs`.
bool waitFor(const std::function<bool()> &condition, int timeoutMs = 10000);

// Where each control the tests use sits inside the window, read off a window of
// our own built on the same display with the same fonts and style; read before
// the program starts.
struct Layout {
    QPoint text2, text2Inside, text3Centre, command1, command2, command9, picture1Centre, menuBarMenu, listViewportOrigin;
    QRect text3, text4, picture1;
    int entryHeight = 0;
    QPoint firstEntry() const { return listViewportOrigin + QPoint(20, entryHeight / 2); }
    // The folder list's first row ("/", while the list is not scrolled).
    QPoint firstFolder;
    // The box of "preview while searching".
    QPoint check2;
    // The export buttons: spreadsheet, document, text, PDF, printer, HTML.
    QPoint command3, command4, command5, command6, command7, command8;
};
Layout readLayout();

// Where the OK button of a message showing `text` sits inside the message.
QPoint messageOkButton(const QString &text, bool critical);

// The desktop's openers as the program meets them, standing in for xdg-open and
// xdg-mime: nothing is ever opened, and what would have been is recorded.
class Openers {
public:
    explicit Openers(const QString &folder);
    QString folder() const { return folder_; }
    // What was given to xdg-open (file addresses), in order.
    QStringList opened() const;
    // The opener's exit status from now on.
    void openerExitsWith(int status);
    // Queries for a default application wait until release() (at most a minute).
    void holdQueries();
    void release();
    // A query for a default application is waiting.
    bool queryWaiting() const;

private:
    QString folder_;
};

// The real program on the session's display, with a home and openers of its own.
class Program {
public:
    struct Options {
        QString workingFolder;
        QStringList arguments;
        // Run from a copy in a folder of its own (with its decoder helper), where
        // its exports go.
        bool ownFolder = false;
        // Started as a process group of its own, so that a signal can be sent to
        // the whole group.
        bool ownGroup = false;
        // Another build of the program, with its helper beside it; empty: this build's.
        QString program{};
    };
    Program(const Session &session, const Options &options);
    ~Program();

    // Waits for the window, reads where it is, activates it and waits for its
    // first paint; false when it never showed.
    bool findWindow(const Layout &layout);
    void clickAt(QPoint inWindow, int button = 1) const;
    void key(const QString &keys) const;
    void type(const QString &text) const;
    // Menu, Exit, with the mouse on the menu bar and the keyboard in the menu.
    void exitFromTheMenu(const Layout &layout) const;
    // The messages shown now (windows titled as the program is, without its version).
    QStringList messages() const;
    // Where the program writes its exports (with `ownFolder`).
    QString folder() const { return installed_.path(); }
    Openers &openers() { return openers_; }

    // The program as it was started; it runs its window in a child of its own,
    // `windowProcess` (known once the window is found).
    QProcess process;
    qint64 windowProcess = 0;
    QString window;  // the X window's id
    QPoint origin;

private:
    QTemporaryDir home_, installed_;
    Openers openers_;
};

// Runs `test`'s slots on a session's display; skips them all where Xvfb is missing.
int runOnDesktop(int argc, char *argv[], const std::function<int(Session &)> &test);

}  // namespace desktop
