#include "export/Printing.h"

#include "app/Form1.h"
#include "platform/Brand.h"
#include "search/ResultList.h"

namespace listexport {

QString printText(const QStringList &entries)
{
    QString text;
    for (const QString &entry : entries)
        text += entry + QStringLiteral("\r\n");
    text += QStringLiteral("Print from Quorvel Software     ") + brand::kContactEmail + QStringLiteral("\r\n");
    return text;
}

void printList(Form1 &f)
{
    platform::PrinterService &printer = *f.services().printer;
    const std::optional<int> copies = printer.showPrinter();
    if (!copies)
        return;
    for (int copy = 1; copy <= *copies; ++copy) {
        if (!printer.printDocument(printText(f.List1->entries())))
            return;
    }
}

}  // namespace listexport
