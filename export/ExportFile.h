#pragma once

#include <QByteArray>
#include <QString>

class Form1;

namespace listexport {

// Writes `content` to `path`, replacing a file of that name only once the new one
// is complete. On failure the user is told which file and why; false then.
bool writeExportFile(Form1 &form, const QString &path, const QByteArray &content);

}  // namespace listexport
