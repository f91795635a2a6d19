#pragma once

#include <QByteArray>
#include <QString>

#include "export/ExportContext.h"

namespace platform {
class MessageBoxes;
}

namespace listexport {

// Writes `content` to `path`, replacing a file of that name only once the new one
// is complete. On failure the user is told which file and why; false then.
bool writeExportFile(platform::MessageBoxes &messages, const QString &path, const QByteArray &content);

// Writes `content` as `name` into the application folder and opens it with its
// default application; nothing is opened when it could not be written.
void writeAndOpen(const ExportContext &context, const QString &name, const QByteArray &content);

}  // namespace listexport
