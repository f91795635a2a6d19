#pragma once

#include "search/EntryList.h"

#include <QByteArray>
#include <QStringList>

#include "export/ExportContext.h"


namespace listexport {

// The HTML page: fixed head lines, three lines an entry (a link to the file), the
// last line once more and the closing line; CR LF after each, UTF-8 throughout.
QByteArray htmlExportContent(const search::EntryList &entries);

// Writes "quorvelsearchfile.html" into the application folder and opens it.
void exportHtml(const ExportContext &context, search::EntryList entries);

}  // namespace listexport
