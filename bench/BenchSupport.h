#pragma once

#include "app/Form1.h"
#include "platform/Services.h"
#include "preview/Picture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace bench {

// Opens nothing: a benchmark must not start a viewer or an office program.
class QuietShell final : public platform::Shell {
public:
    bool openFile(const QString &, std::function<void()>) override { return true; }
    bool openUrl(const QUrl &) override { return true; }
    void showFolder(const QString &) override {}
    void showItemProperties(const QString &, std::function<void()>) override {}
    QString defaultApplicationFor(const QString &) override { return QStringLiteral("default.desktop"); }
};

// Shows nothing: a benchmark must not wait for someone to close a message box.
class QuietMessages final : public platform::MessageBoxes {
public:
    void show(const QString &, const QString &, platform::MessageIcon) override {}
};

// The desktop's services, but nothing opened, no message box waited for and no
// desktop listed at start-up; exports go to `exportFolder` when one is given.
inline platform::Services quietServices(const QString &folder, const QString &exportFolder = {})
{
    platform::Services services = platform::desktopServices();
    services.shell = std::make_unique<QuietShell>();
    services.messages = std::make_unique<QuietMessages>();
    services.quit = [] {};
    services.desktopFolder = folder + "/no-desktop";
    if (!exportFolder.isEmpty())
        services.applicationFolder = exportFolder;
    return services;
}

// Milliseconds `program` takes from its start to its end, its output to /dev/null.
inline double programMs(const QString &program, const QStringList &arguments)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(program, arguments);
    p.waitForFinished(-1);
    return double(t.nsecsElapsed()) / 1e6;
}

// What this benchmark prints when run again as a child process with `arguments`:
// figures measured in a process of their own (its memory, its start-up).
inline QByteArray childOutput(const QStringList &arguments)
{
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments(arguments);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start();
    child.waitForFinished(-1);
    return child.readAllStandardOutput().trimmed();
}

// The middle of `values`, 0 when there are none.
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Median wall time in milliseconds of `runs` calls of `work`, after one warm-up call.
inline double medianMs(int runs, const std::function<void()> &work)
{
    work();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The folder a benchmark makes its trees and photos in: the one it is given (run.sh
// shares one private folder among the benchmarks), else a private one of its own,
// made with mkdtemp and removed at the end. Never a fixed name in /tmp, where
// another user could plant links.
class WorkFolder {
public:
    WorkFolder(int argc, char *argv[])
    {
        if (argc > 1) {
            path_ = QString::fromLocal8Bit(argv[1]);
        } else {
            own_ = std::make_unique<QTemporaryDir>();
            path_ = own_->path();
        }
    }
    QString path() const { return path_; }
    QString operator/(const char *name) const { return path_ + QLatin1Char('/') + QLatin1String(name); }

private:
    std::unique_ptr<QTemporaryDir> own_;
    QString path_;
};

// The platform the benchmarks draw on: the X server run.sh starts (xcb), or
// offscreen when there is none (a second line, not what people see).
inline void choosePlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
}

// Waits until what `window` shows is final: the work it handed to other threads
// (the preview's decode) is done, every pending paint is painted, and the display
// server has taken the drawing.
inline void waitUntilPainted(Form1 &window)
{
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (window.working())
            QThread::usleep(200);
    } while (window.working());
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QGuiApplication::sync();
}

// Milliseconds from the start of `action` (a click) until the window shows its outcome.
inline double paintedMs(Form1 &window, const std::function<void()> &action)
{
    QElapsedTimer t;
    t.start();
    action();
    waitUntilPainted(window);
    return double(t.nsecsElapsed()) / 1e6;
}

// The median of `runs` of paintedMs, after one warm-up run.
inline double medianPaintedMs(Form1 &window, int runs, const std::function<void()> &action)
{
    std::vector<double> times;
    paintedMs(window, action);
    for (int i = 0; i < runs; ++i)
        times.push_back(paintedMs(window, action));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline void report(const char *what, double value, const char *unit)
{
    std::printf("%-58s %12.2f %s\n", what, value, unit);
    std::fflush(stdout);
}

}  // namespace bench
