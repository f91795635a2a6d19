#pragma once

#include "search/EntryList.h"

#include <QByteArray>
#include <QStringList>

#include "export/ExportContext.h"


namespace listexport {

// The text file: one entry a line, an empty line, the closing line; CR LF after each.
QByteArray textExportContent(const search::EntryList &entries);

// Writes "QuorvelFileSearch.txt" into the application folder and opens it.
void exportText(const ExportContext &context, search::EntryList entries);

}  // namespace listexport
