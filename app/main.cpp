#include "app/CommandLine.h"
#include "platform/OpenFileLimit.h"
#include "app/Form1.h"
#include "app/Translations.h"
#include "app/Version.h"
#include "platform/ExitDeadline.h"
#include "platform/TerminationSignals.h"
#include "platform/WindowProcess.h"

#include <QApplication>
#include <QStyleFactory>

#include <clocale>
#include <cstdio>
#include <cstring>

namespace {

// Whether the person starting the program chose a style (-style, --style or the
// environment); the program's own default must not override that choice.
bool styleChosenByUser(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsEmpty("QT_STYLE_OVERRIDE"))
        return true;
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (std::strncmp(arg, "--", 2) == 0)
            ++arg;
        if (std::strcmp(arg, "-style") == 0 || std::strncmp(arg, "-style=", 7) == 0)
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char *argv[])
{
    // Read before the window system is reached: --help and a bad option need no
    // display. They are answered in the user's language all the same.
    CommandLine commandLine;
    {
        const QCoreApplication reading(argc, argv);
        const Translations language;
        commandLine = readCommandLine(commandLineArguments(argc, argv));
    }
    if (!commandLine.options) {
        std::fputs(commandLine.output.toLocal8Bit().constData(), stdout);
        std::fputs(commandLine.error.toLocal8Bit().constData(), stderr);
        return commandLine.exitStatus;
    }
    // The window runs in a child, so that whoever started the program sees it end
    // when its window does, whatever a share still holds.
    const platform::WindowProcess process = platform::WindowProcess::split();
    platform::raiseOpenFileLimit();
    const bool userStyle = styleChosenByUser(argc, argv);
    QApplication app(argc, argv);
    // The toolkit took the user's locale for the C library too; file formats need
    // numbers with ".", and the window's own texts follow Qt's locale, not this one.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Quorvel File Search"));
    QApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(QUORVEL_APP_ID));
    // Fusion draws the fixed button colours on every desktop; other styles may not.
    if (!userStyle)
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const Translations language;
    Form1 window(platform::desktopServices());
    // A signal to end ends the program as its close button does: a walk let go, an
    // export stopped before it leaves a half-written file.
    const platform::TerminationSignals termination(process.front());
    QObject::connect(&termination, &platform::TerminationSignals::received, &window, &QWidget::close);
    window.show();
    window.start(*commandLine.options);
    const int status = app.exec();
    process.windowClosed(status);
    // The window is closed and has stopped its work; what is left of it ends now,
    // or within half a second should a share hold one of its threads.
    platform::endProcessWithin(std::chrono::milliseconds(500), status);
    return status;
}
