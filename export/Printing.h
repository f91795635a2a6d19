#pragma once

#include <QString>
#include <QStringList>

namespace platform {
class PrinterService;
}

namespace listexport {

// What one printed copy holds: every entry, then the closing line, CR LF after each.
QString printText(const QStringList &entries);

// Shows the printer dialog and prints the list once per copy, each copy a job of
// its own. Cancel, or a failing printer, ends it without a word.
void printList(platform::PrinterService &printer, const QStringList &entries);

}  // namespace listexport
