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

QByteArray htmlExportContent(const QStringList &entries)
{
    QStringList lines = headLines();
    for (const QString &entry : entries) {
        lines.append(QStringLiteral("<TR>"));
        lines.append(cellLine(entry));
        lines.append(QStringLiteral("</TR>"));
    }
    lines.append(lines.last());
    lines.append(QStringLiteral("</Table>File List Exported by Quorvel Software   ") + brand::kContactEmail +
                 QStringLiteral("</BODY></HTML>"));
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

void exportHtml(const ExportContext &context, const QStringList &entries)
{
    writeAndOpen(context, QStringLiteral("quorvelsearchfile.html"), htmlExportContent(entries));
}

}  // namespace listexport
