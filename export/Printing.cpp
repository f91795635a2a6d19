#include "export/Printing.h"

#include "platform/FileNames.h"
#include "platform/PlainText.h"
#include "platform/Services.h"

namespace listexport {

QString printText(const search::EntryList &entries)
{
    QString text = platform::shownFileName(platform::withLineEnds(entries.toStringList()));
    text += QStringLiteral("Print from Quorvel Software     ") + brand::kContactEmail + QStringLiteral("\r\n");
    return text;
}

void printList(platform::PrinterService &printer, const search::EntryList &entries)
{
    const std::optional<int> copies = printer.showPrinter();
    if (!copies)
        return;
    for (int copy = 1; copy <= *copies; ++copy) {
        if (!printer.printDocument(printText(entries)))
            return;
    }
}

}  // namespace listexport
