#pragma once

#include "search/EntryList.h"

#include "export/ExportContext.h"

#include <QStringList>

namespace listexport {

// Writes the whole list into "quorvelfilesearch.pdf" in the application folder,
// 27 entries and a numbered footer to a page, and opens it in the PDF viewer.
// The entries are the list as it stood when the export began: a search started
// meanwhile changes the window, never the file.
void exportPdf(const ExportContext &context, search::EntryList entries);

}  // namespace listexport
