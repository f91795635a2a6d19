#include "export/TextExport.h"

#include "app/Form1.h"
#include "export/ExportFile.h"
#include "platform/Brand.h"
#include "search/ResultList.h"

namespace listexport {

QByteArray textExportContent(const QStringList &entries)
{
    QString text;
    for (const QString &entry : entries)
        text += entry + QStringLiteral("\r\n");
    text += QStringLiteral("\r\n");
    text += QStringLiteral("File List Exported by Quorvel Software ") + brand::kContactEmail + QStringLiteral("\r\n");
    return text.toUtf8();
}

void exportText(Form1 &f)
{
    writeAndOpen(f, QStringLiteral("QuorvelFileSearch.txt"), textExportContent(f.List1->entries()));
}

}  // namespace listexport
