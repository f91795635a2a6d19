#pragma once

#include <QByteArray>
#include <QStringList>

#include "export/ExportContext.h"


namespace listexport {

// The text file: one entry a line, an empty line, the closing line; CR LF after each.
QByteArray textExportContent(const QStringList &entries);

// Writes "QuorvelFileSearch.txt" into the application folder and opens it.
void exportText(const ExportContext &context, QStringList entries);

}  // namespace listexport
