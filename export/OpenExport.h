#pragma once

#include <QString>

#include "export/ExportContext.h"

namespace platform {
class Shell;
}

namespace listexport {

// The desktop's application for the kind of the exported file, empty when there
// is none. The desktop may take a while to answer: asked on the export thread.
QString officeApplicationFor(platform::Shell &shell, const QString &path);

enum class ExportKind { Text, Html, Pdf, Spreadsheet, Document };

// Says that no application opened the exported file, naming where it was saved.
void sayNotOpened(const ExportContext &context, const QString &path, ExportKind kind);

// Opens an exported file with the desktop's application for its kind. When there
// is none (`applicationFound` false), the opener cannot be started, or it ends
// with a failure later, the person is told where the file was saved: an export
// never ends in silence.
void openExported(const ExportContext &context, const QString &path, ExportKind kind, bool applicationFound = true);

}  // namespace listexport
