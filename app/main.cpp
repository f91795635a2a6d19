#include "app/Form1.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel File Search"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    Form1 window(platform::desktopServices());
    window.show();
    return app.exec();
}
