#include "export/DocumentExport.h"

#include "export/BackgroundExport.h"
#include "export/ExportFile.h"
#include "export/OpenExport.h"
#include "export/ZipPackage.h"
#include "platform/Brand.h"
#include "platform/FileUrl.h"
#include "platform/Services.h"
#include "platform/WholeFile.h"
#include "platform/XmlText.h"

#include <QFile>

#include <QUrl>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>

namespace listexport {
namespace {

const QByteArray kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";

// Text for an XML element or attribute; characters XML cannot hold become U+FFFD.
QByteArray xmlText(const QString &text)
{
    return platform::xmlSafe(text).toHtmlEscaped().toUtf8();
}

QByteArray contentTypes()
{
    return kXmlHead +
           "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
           "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
           "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
           "<Override PartName=\"/word/document.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
           "<Override PartName=\"/word/styles.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
           "<Override PartName=\"/docProps/core.xml\" "
           "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
           "</Types>";
}

QByteArray packageRelationships()
{
    return kXmlHead +
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" "
           "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
           "Target=\"word/document.xml\"/>"
           "<Relationship Id=\"rId2\" "
           "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties\" "
           "Target=\"docProps/core.xml\"/>"
           "</Relationships>";
}

QByteArray coreProperties()
{
    return kXmlHead +
           "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
           "<dc:title>File List by Quorvel Software</dc:title><dc:creator>Quorvel File Search</dc:creator>"
           "</cp:coreProperties>";
}

QByteArray styles()
{
    return kXmlHead +
           "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
           "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/>"
           "<w:pPr><w:spacing w:after=\"0\"/></w:pPr></w:style>"
           "<w:style w:type=\"character\" w:styleId=\"Hyperlink\"><w:name w:val=\"Hyperlink\"/>"
           "<w:rPr><w:color w:val=\"0563C1\"/><w:u w:val=\"single\"/></w:rPr></w:style>"
           "<w:style w:type=\"table\" w:styleId=\"TableGrid\"><w:name w:val=\"Table Grid\"/>"
           "<w:tblPr><w:tblBorders>"
           "<w:top w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
           "<w:left w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
           "<w:bottom w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
           "<w:right w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
           "<w:insideH w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
           "<w:insideV w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>"
           "</w:tblBorders></w:tblPr></w:style>"
           "</w:styles>";
}

QByteArray run(const QString &text)
{
    return "<w:r><w:t xml:space=\"preserve\">" + xmlText(text) + "</w:t></w:r>";
}

}  // namespace

namespace {

// A part of the document made of a head, a piece for each entry and a tail.
struct EntryPart {
    QByteArray head;
    std::function<QByteArray(qsizetype)> entry;
    QByteArray tail;
};

EntryPart relationshipsPart(const search::EntryList &entries)
{
    return {kXmlHead + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                       "<Relationship Id=\"rIdStyles\" "
                       "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
                       "Target=\"styles.xml\"/>",
            [&entries](qsizetype i) {
                return "<Relationship Id=\"rIdL" + QByteArray::number(i + 1) +
                       "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/hyperlink\" "
                       "Target=\"" +
                       xmlText(platform::fileUrl(entries[i])) + "\" TargetMode=\"External\"/>";
            },
            "</Relationships>"};
}

EntryPart documentPart(const search::EntryList &entries)
{
    QByteArray head = kXmlHead +
                      "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
                      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><w:body>";
    QByteArray tail;
    if (entries.isEmpty()) {
        head += "<w:p/>";  // without rows there is no table; its paragraph stays
    } else {
        head += "<w:tbl><w:tblPr><w:tblStyle w:val=\"TableGrid\"/><w:tblW w:w=\"0\" w:type=\"auto\"/>"
                "<w:tblLayout w:type=\"autofit\"/><w:tblLook w:val=\"04A0\"/></w:tblPr>"
                "<w:tblGrid><w:gridCol w:w=\"9000\"/></w:tblGrid>";
        tail += "</w:tbl>";
    }
    tail += "<w:p/>";
    tail += "<w:p>" + run(QStringLiteral("File List Exported by Quorvel Software ") + brand::kContactEmail) + "</w:p>";
    tail += "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/>"
            "<w:pgMar w:top=\"1417\" w:right=\"1417\" w:bottom=\"1134\" w:left=\"1417\" w:header=\"708\" "
            "w:footer=\"708\" w:gutter=\"0\"/></w:sectPr>";
    tail += "</w:body></w:document>";
    return {head,
            [&entries](qsizetype i) {
                return "<w:tr><w:tc><w:tcPr><w:tcW w:w=\"0\" w:type=\"auto\"/></w:tcPr><w:p><w:hyperlink r:id=\"rIdL" +
                       QByteArray::number(i + 1) + "\" w:history=\"1\">" +
                       "<w:r><w:rPr><w:rStyle w:val=\"Hyperlink\"/></w:rPr><w:t xml:space=\"preserve\">" +
                       xmlText(entries[i]) + "</w:t></w:r></w:hyperlink></w:p></w:tc></w:tr>";
            },
            tail};
}

QByteArray whole(const EntryPart &part, qsizetype count)
{
    QByteArray bytes = part.head;
    for (qsizetype i = 0; i < count; ++i)
        bytes += part.entry(i);
    return bytes + part.tail;
}

// The part a few hundred entries at a time, as the package is written; nothing
// once the export is to stop.
ZipPackage::Pieces pieces(EntryPart part, qsizetype count, ExportProgress &progress)
{
    constexpr qsizetype kBatch = 512;
    return [part = std::move(part), count, &progress, next = qsizetype(-1)]() mutable -> std::optional<QByteArray> {
        if (progress.stopped())
            return std::nullopt;
        if (next == -1) {
            next = 0;
            return part.head;
        }
        if (next > count)
            return QByteArray();
        if (next == count) {
            ++next;
            return part.tail;
        }
        QByteArray batch;
        for (const qsizetype end = std::min(count, next + kBatch); next < end; ++next)
            batch += part.entry(next);
        return batch;
    };
}

}  // namespace

QByteArray documentRelationships(const search::EntryList &entries)
{
    return whole(relationshipsPart(entries), entries.size());
}

QByteArray documentXml(const search::EntryList &entries)
{
    return whole(documentPart(entries), entries.size());
}

void exportDocument(const ExportContext &context, search::EntryList entries)
{
    if (!context.prepareFolder())
        return;
    const QString path = context.newPathOf(QStringLiteral("QuorvelFileSearch"), QStringLiteral(".docx"));
    context.background.run([&context, planned = path, entries = std::move(entries)](ExportProgress &progress) {
        // Written beside its name, and given the first of its names free when complete.
        platform::FileBeside file(QFile::encodeName(planned).toStdString());
        if (!file.create() || !file.close()) {
            const QString reason = QString::fromLocal8Bit(std::strerror(file.errorNumber()));
            return std::function<void()>([&context, planned, reason] { context.messages.cannotWrite(planned, reason); });
        }
        ZipPackage package(QFile::decodeName(QByteArray::fromStdString(file.path())), ZipPackage::Mode::Create);
        bool written =
            package.isOpen() && package.write(QStringLiteral("[Content_Types].xml"), contentTypes()) &&
            package.write(QStringLiteral("_rels/.rels"), packageRelationships()) &&
            package.write(QStringLiteral("docProps/core.xml"), coreProperties()) &&
            package.write(QStringLiteral("word/styles.xml"), styles()) &&
            package.write(QStringLiteral("word/_rels/document.xml.rels"),
                          pieces(relationshipsPart(entries), entries.size(), progress)) &&
            package.write(QStringLiteral("word/document.xml"), pieces(documentPart(entries), entries.size(), progress)) &&
            package.commit();
        if (progress.stopped())
            return std::function<void()>();
        QString reason = package.errorString();
        if (written && !claimNumberedName(file, context.folder, QStringLiteral("QuorvelFileSearch"), QStringLiteral(".docx"))) {
            written = false;
            reason = QString::fromLocal8Bit(std::strerror(file.errorNumber()));
        }
        const QString path = QFile::decodeName(QByteArray::fromStdString(file.target()));
        if (!written)
            return std::function<void()>([&context, path, reason] { context.messages.cannotWrite(path, reason); });
        const QString application = officeApplicationFor(context.shell, path);
        return std::function<void()>([&context, path, application] {
            openExported(context, path, ExportKind::Document, !application.isEmpty());
        });
    });
}

}  // namespace listexport
