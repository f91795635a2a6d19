#pragma once

#include <QByteArray>
#include <QStringList>

class Form1;

namespace listexport {

// The text file: one entry a line, an empty line, the closing line; CR LF after each.
QByteArray textExportContent(const QStringList &entries);

// Writes "QuorvelFileSearch.txt" into the application folder and opens it.
void exportText(Form1 &form);

}  // namespace listexport
