#pragma once

#include <QString>

#include "export/ExportContext.h"


namespace listexport {

// Opens an exported workbook or document with the desktop's application for its
// kind; says so when there is none, naming where the file was saved.
void openWithOfficeApplication(const ExportContext &context, const QString &path, const QString &kind);

}  // namespace listexport
