#include "export/HtmlExport.h"

#include "export/ExportFile.h"
#include "platform/Brand.h"
#include "platform/FileNames.h"
#include "platform/FileUrl.h"

#include <QUrl>

namespace listexport {
namespace {

const QString Q = QStringLiteral("\"");

QStringList headLines()
{
    return {
        QStringLiteral("<HTML><HEAD><TITLE>quorvel File Search</TITLE></HTML><BODY>"),
        // The page is UTF-8, like the names in it, and says so.
        QStringLiteral("<META HTTP-EQUIV=") + Q + QStringLiteral("CONTENT-TYPE") + Q + QStringLiteral("CONTENT=") + Q +
            QStringLiteral("text/html; CHARSET=UTF-8") + Q + QStringLiteral(">"),
        QStringLiteral("<META HTTP-EQUIV=") + Q + QStringLiteral("Content-Type") + Q + QStringLiteral(" CONTENT=") + Q +
            QStringLiteral("text/html; charset=utf-8") + Q + QStringLiteral(">"),
        QStringLiteral("<!-- Copyright (c) Quorvel Software. All rights reserved. ") + brand::kWebAddress +
            QStringLiteral(" -->"),
        QStringLiteral("<META HTTP-EQUIV=") + Q + QStringLiteral("content-language") + Q + QStringLiteral(" content=") + Q +
            QStringLiteral("TR") + Q + QStringLiteral(">"),
        QStringLiteral("<META HTTP-EQUIV=") + Q + QStringLiteral("cache-control") + Q + QStringLiteral(" CONTENT=") + Q +
            QStringLiteral("no-cache") + Q + QStringLiteral(">"),
        QStringLiteral("<META NAME=") + Q + QStringLiteral("Quorvel File Search") + Q + QStringLiteral(" CONTENT=") + Q +
            QStringLiteral("no-cache") + Q + QStringLiteral(">"),
        QStringLiteral("</HEAD>"),
        QStringLiteral("<body bgcolor=") + Q + QStringLiteral("#FFFFFF") + Q + QStringLiteral(" leftmargin=") + Q +
            QStringLiteral("0") + Q + QStringLiteral(" topmargin=") + Q + QStringLiteral("0") + Q +
            QStringLiteral(" marginwidth=") + Q + QStringLiteral("0") + Q + QStringLiteral(" marginheight=") + Q +
            QStringLiteral("0") + Q + QStringLiteral(">"),
        QStringLiteral("<BR><p align=center><TABLE border=1 width=600 height=400><Tr><TD>"),
    };
}

// A name from the disk is shown as text and linked as a file address, never read as markup.
QString cellLine(const QString &entry)
{
    QString link = QStringLiteral("&nbsp");
    QString shown = link;
    if (!entry.isEmpty()) {
        link = platform::fileUrl(entry).toHtmlEscaped();
        shown = platform::shownFileName(entry).toHtmlEscaped();
    }
    return QStringLiteral("<TD WIDTH=") + Q + QStringLiteral("700") + Q + QStringLiteral("><Left><a><a href=") + Q +
           link + Q + QStringLiteral(" target=") + Q + QStringLiteral("quorvellink") + Q + QStringLiteral(">") + shown +
           QStringLiteral("<a/></left></TD>");
}

}  // namespace

namespace {

// Line by line, so a long list never stands in memory a second time as a page.
bool writeHtml(const search::EntryList &entries, const ExportSink &sink, ExportProgress &progress)
{
    const QByteArray lineEnd = "\r\n";
    for (const QString &line : headLines())
        sink(line.toUtf8() + lineEnd);
    // The line before the closing one repeats whatever line came last.
    QByteArray last = headLines().last().toUtf8();
    QByteArray rows;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (progress.stopped())
            return false;
        rows += "<TR>\r\n" + cellLine(entries[i]).toUtf8() + "\r\n</TR>\r\n";
        if (rows.size() > qsizetype(64) * 1024) {
            sink(rows);
            rows.clear();
        }
    }
    if (!entries.isEmpty())
        last = "</TR>";
    sink(rows + last + lineEnd);
    sink((QStringLiteral("</Table>File List Exported by Quorvel Software   ") + brand::kContactEmail +
          QStringLiteral("</BODY></HTML>"))
             .toUtf8() +
         lineEnd);
    return true;
}

}  // namespace

QByteArray htmlExportContent(const search::EntryList &entries)
{
    return exportBytes(entries, &writeHtml);
}

void exportHtml(const ExportContext &context, search::EntryList entries)
{
    writeAndOpen(context, QStringLiteral("quorvelsearchfile.html"), ExportKind::Html, std::move(entries), &writeHtml);
}

}  // namespace listexport
