#include "platform/DesktopBackground.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace platform {
namespace {

QString fromGsettings(const QString &schema, const QString &key, const std::function<bool()> &stopped)
{
    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    if (gsettings.isEmpty())
        return {};
    QProcess query;
    query.start(gsettings, {QStringLiteral("get"), schema, key});
    QElapsedTimer waited;
    waited.start();
    while (!query.waitForFinished(50)) {
        if (query.state() == QProcess::NotRunning || (stopped && stopped()) || waited.elapsed() > 1500) {
            query.kill();
            query.waitForFinished(100);
            return {};
        }
    }
    QString value = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\'')))
        value = value.mid(1, value.size() - 2);
    if (value.startsWith(QLatin1String("file://")))
        value = QUrl(value).toLocalFile();
    return value;
}

QString fromKde()
{
    const QString config = QStandardPaths::locate(QStandardPaths::GenericConfigLocation,
                                                  QStringLiteral("plasma-org.kde.plasma.desktop-appletsrc"));
    if (config.isEmpty())
        return {};
    QFile file(config);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    static const QRegularExpression image(QStringLiteral("^Image=(.+)$"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = image.match(QString::fromUtf8(file.readAll()));
    if (!m.hasMatch())
        return {};
    const QString value = m.captured(1).trimmed();
    return value.startsWith(QLatin1String("file://")) ? QUrl(value).toLocalFile() : value;
}

}  // namespace

QString desktopWallpaperPath(const std::function<bool()> &stopped)
{
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower();
    QStringList candidates;
    if (desktop.contains(QLatin1String("kde")))
        candidates << fromKde();
    if (desktop.contains(QLatin1String("mate")))
        candidates << fromGsettings(QStringLiteral("org.mate.background"), QStringLiteral("picture-filename"), stopped);
    if (desktop.contains(QLatin1String("cinnamon")))
        candidates << fromGsettings(QStringLiteral("org.cinnamon.desktop.background"), QStringLiteral("picture-uri"),
                                    stopped);
    if (!desktop.isEmpty())
        candidates << fromGsettings(QStringLiteral("org.gnome.desktop.background"), QStringLiteral("picture-uri"),
                                    stopped);
    for (const QString &path : candidates)
        if (!path.isEmpty() && QFileInfo(path).isFile())
            return path;
    return {};
}

void paintDesktopBackground(QPainter &painter, const QRect &area, const QImage &wallpaper)
{
    if (!wallpaper.isNull()) {
        // The middle of the wallpaper, cut to the area's shape, so it covers the area undistorted.
        QRect source(QPoint(0, 0), area.size().scaled(wallpaper.size(), Qt::KeepAspectRatio));
        source.moveCenter(wallpaper.rect().center());
        painter.drawImage(area, wallpaper, source);
        return;
    }
    painter.fillRect(area, QColor(236, 238, 241));
    painter.setPen(QPen(QColor(226, 229, 234), 1));
    for (int x = area.left() - area.height(); x < area.right(); x += 9)
        painter.drawLine(x, area.bottom(), x + area.height(), area.top());
}

}  // namespace platform
