#include "platform/ExportFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace platform {

QStringList installedProgramFolders()
{
    return {QStringLiteral("/usr"), QStringLiteral("/bin"),  QStringLiteral("/sbin"), QStringLiteral("/lib"),
            QStringLiteral("/opt"), QStringLiteral("/snap"), QStringLiteral("/app"),  QStringLiteral("/nix")};
}

namespace {

bool isInside(const QString &folder, const QStringList &parents)
{
    const QString path = QDir::cleanPath(folder) + QLatin1Char('/');
    for (const QString &parent : parents)
        if (path.startsWith(QDir::cleanPath(parent) + QLatin1Char('/')))
            return true;
    return false;
}

}  // namespace

QString chooseExportFolder(const QString &programFolder, const QString &documentsFolder,
                           const QStringList &systemFolders)
{
    const bool writable =
        QFileInfo(programFolder).isDir() && ::access(QFile::encodeName(programFolder).constData(), W_OK) == 0;
    if (writable && !isInside(programFolder, systemFolders))
        return programFolder;
    return QDir(documentsFolder).filePath(QStringLiteral("Quorvel File Search"));
}

bool makeFolder(const QString &folder, QString &reason)
{
    if (QFileInfo::exists(folder))
        return true;  // what is there is written into, or fails with its own reason
    errno = 0;
    if (QDir().mkpath(folder))
        return true;
    reason = errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : QCoreApplication::translate("Export", "the folder cannot be made");
    return false;
}

QString firstFreeName(const QString &folder, const QString &stem, const QString &extension,
                      const std::function<bool(const QString &)> &promised)
{
    const QDir dir(folder);
    QString path = dir.filePath(stem + extension);
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink() || (promised && promised(path)); ++n)
        path = dir.filePath(stem + QStringLiteral(" (%1)").arg(n) + extension);
    return path;
}

}  // namespace platform
