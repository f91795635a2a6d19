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

enum class OfficeKind { Spreadsheet, Document };

// Opens an exported workbook or document with `application`, the desktop's
// application for its kind; says so when there is none, naming where the file
// was saved.
void openWithOfficeApplication(const ExportContext &context, const QString &path, OfficeKind kind,
                               const QString &application);

}  // namespace listexport
