#pragma once

#include "search/EntryList.h"

#include <QString>
#include <QStringList>

namespace platform {
class PrinterService;
}

namespace listexport {

// What one printed copy holds: every entry, then the closing line, CR LF after each.
QString printText(const search::EntryList &entries);

// Shows the printer dialog and prints the list once per copy, each copy a job of
// its own. Cancel, or a failing printer, ends it without a word.
void printList(platform::PrinterService &printer, const search::EntryList &entries);

}  // namespace listexport
