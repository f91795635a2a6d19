#pragma once

#include <QString>

#include <functional>

namespace platform {
class MessageBoxes;
class Shell;
class StatusLine;
}  // namespace platform

namespace listexport {

// What every export needs besides what it exports: where its file goes, the
// desktop to open it with, the messages, the status line for its progress, and
// whether the window is going away.
struct ExportContext {
    const QString &folder;
    platform::Shell &shell;
    platform::MessageBoxes &messages;
    platform::StatusLine &status;
    std::function<bool()> abandoned;

    // The full path of `name` in the export folder.
    QString pathOf(const QString &name) const { return folder + QLatin1Char('/') + name; }
};

}  // namespace listexport
