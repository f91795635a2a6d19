#pragma once

#include "search/EntryList.h"

#include <QByteArray>
#include <QStringList>

#include "export/ExportContext.h"


namespace listexport {

// The body of the document: a one-column table with a row an entry, each cell the
// path as a hyperlink (relationship "rIdL<n>" for row n), then the closing line.
QByteArray documentXml(const search::EntryList &entries);
QByteArray documentRelationships(const search::EntryList &entries);

// Writes "QuorvelFileSearch.docx" into the application folder and opens it with
// the desktop's word processor.
void exportDocument(const ExportContext &context, search::EntryList entries);

}  // namespace listexport
