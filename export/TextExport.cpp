#include "export/TextExport.h"

#include "export/ExportFile.h"
#include "platform/Brand.h"
#include "platform/FileNames.h"

namespace listexport {

namespace {

bool writeText(const search::EntryList &entries, const ExportSink &sink, ExportProgress &progress)
{
    QByteArray lines;
    for (const QString &entry : entries) {
        if (progress.stopped())
            return false;
        lines += platform::shownFileName(entry).toUtf8() + "\r\n";
        if (lines.size() > qsizetype(64) * 1024) {
            sink(lines);
            lines.clear();
        }
    }
    sink(lines + "\r\n" +
         (QStringLiteral("File List Exported by Quorvel Software ") + brand::kContactEmail).toUtf8() + "\r\n");
    return true;
}

}  // namespace

QByteArray textExportContent(const search::EntryList &entries)
{
    return exportBytes(entries, &writeText);
}

void exportText(const ExportContext &context, search::EntryList entries)
{
    writeAndOpen(context, QStringLiteral("QuorvelFileSearch.txt"), std::move(entries), &writeText);
}

}  // namespace listexport
