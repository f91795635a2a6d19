#pragma once

#include <QByteArray>
#include <QString>

#include "export/ExportContext.h"
#include "platform/WholeFile.h"

namespace platform {
class MessageBoxes;
}

namespace listexport {

// Writes `content` to `path` whole or not at all: a file of that name is replaced
// only once the new one is complete, and a link planted there is replaced, not
// written through. On failure the user is told which file and why; false then.
// `write` stands in for the system's write in tests that make the disk fail.
bool writeExportFile(platform::MessageBoxes &messages, const QString &path, const QByteArray &content,
                     platform::WholeFile::WriteFunction write = nullptr);

// Writes `content` as `name` into the application folder and opens it with its
// default application; nothing is opened when it could not be written.
void writeAndOpen(const ExportContext &context, const QString &name, const QByteArray &content);

}  // namespace listexport
