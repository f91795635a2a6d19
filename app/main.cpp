#include "app/Form1.h"

#include <QApplication>
#include <QStyleFactory>

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
    const bool userStyle = styleChosenByUser(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel File Search"));
    // Fusion draws the fixed button colours on every desktop; other styles may not.
    if (!userStyle)
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    Form1 window(platform::desktopServices());
    window.show();
    return app.exec();
}
