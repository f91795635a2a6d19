#pragma once

#include <QByteArray>
#include <QString>

class Form1;

namespace listexport {

// Writes `content` to `path`, replacing a file of that name only once the new one
// is complete. On failure the user is told which file and why; false then.
bool writeExportFile(Form1 &form, const QString &path, const QByteArray &content);

// Writes `content` as `name` into the application folder and opens it with its
// default application; nothing is opened when it could not be written.
void writeAndOpen(Form1 &form, const QString &name, const QByteArray &content);

}  // namespace listexport
