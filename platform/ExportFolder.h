#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

// The folders where installed programs live. Root may write there, but exports
// must not litter them.
QStringList installedProgramFolders();

// Where exported files go: the program's own folder when it may be written and is
// not where installed programs live (a build, a copy carried on a stick), otherwise "Quorvel File Search" inside the
// user's documents folder, which is made when an export first needs it.
QString chooseExportFolder(const QString &programFolder, const QString &documentsFolder,
                           const QStringList &systemFolders = installedProgramFolders());

// Makes `folder` (and the folders above it) if nothing of that name exists yet;
// false, with the reason, when it cannot be made.
bool makeFolder(const QString &folder, QString &reason);

// The first of "stem.ext", "stem (2).ext", "stem (3).ext", ... that names no file
// in `folder` yet, as a full path: every export of its kind makes a new file.
// Names `promised` says are taken (to a file still being written) are skipped too.
QString firstFreeName(const QString &folder, const QString &stem, const QString &extension,
                      const std::function<bool(const QString &)> &promised = {});

}  // namespace platform
