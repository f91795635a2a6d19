#include "export/TextExport.h"

#include "export/ExportFile.h"
#include "platform/Brand.h"
#include "platform/FileNames.h"
#include "platform/PlainText.h"

namespace listexport {

QByteArray textExportContent(const QStringList &entries)
{
    QString text = platform::shownFileName(platform::withLineEnds(entries));
    text += QStringLiteral("\r\n");
    text += QStringLiteral("File List Exported by Quorvel Software ") + brand::kContactEmail + QStringLiteral("\r\n");
    return text.toUtf8();
}

void exportText(const ExportContext &context, const QStringList &entries)
{
    writeAndOpen(context, QStringLiteral("QuorvelFileSearch.txt"), textExportContent(entries));
}

}  // namespace listexport
