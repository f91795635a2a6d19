#pragma once

#include <QString>


namespace platform {
class MessageBoxes;
class Shell;
class StatusLine;
}  // namespace platform

namespace listexport {

class BackgroundExports;

// What every export needs besides what it exports: where its file goes, the
// desktop to open it with, the messages, the status line for its progress, and
// the thread that writes the files (which stops when the window goes away).
struct ExportContext {
    const QString &folder;
    platform::Shell &shell;
    platform::MessageBoxes &messages;
    platform::StatusLine &status;
    BackgroundExports &background;  // where the files are written

    // The full path of `name` in the export folder.
    QString pathOf(const QString &name) const { return folder + QLatin1Char('/') + name; }
    // The first name of the "stem.ext", "stem (2).ext", ... series not taken yet,
    // as a full path: such exports never overwrite an earlier one.
    QString newPathOf(const QString &stem, const QString &extension) const;
    // Makes the export folder when it is missing; says why and gives false when
    // it cannot be made.
    bool prepareFolder() const;
};

}  // namespace listexport
