#include "export/DocumentExport.h"

#include "export/OfficeApplication.h"
#include "export/ZipPackage.h"
#include "platform/Brand.h"
#include "platform/FileUrl.h"
#include "platform/XmlText.h"
#include "platform/Services.h"

#include <QUrl>

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

QByteArray documentRelationships(const QStringList &entries)
{
    QByteArray rels = kXmlHead + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                                 "<Relationship Id=\"rIdStyles\" "
                                 "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
                                 "Target=\"styles.xml\"/>";
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString target = platform::fileUrl(entries[i]);
        rels += "<Relationship Id=\"rIdL" + QByteArray::number(i + 1) +
                "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/hyperlink\" Target=\"" +
                xmlText(target) + "\" TargetMode=\"External\"/>";
    }
    return rels + "</Relationships>";
}

QByteArray documentXml(const QStringList &entries)
{
    QByteArray body;
    if (entries.isEmpty()) {
        body += "<w:p/>";  // without rows there is no table; its paragraph stays
    } else {
        body += "<w:tbl><w:tblPr><w:tblStyle w:val=\"TableGrid\"/><w:tblW w:w=\"0\" w:type=\"auto\"/>"
                "<w:tblLayout w:type=\"autofit\"/><w:tblLook w:val=\"04A0\"/></w:tblPr>"
                "<w:tblGrid><w:gridCol w:w=\"9000\"/></w:tblGrid>";
        for (qsizetype i = 0; i < entries.size(); ++i) {
            body += "<w:tr><w:tc><w:tcPr><w:tcW w:w=\"0\" w:type=\"auto\"/></w:tcPr><w:p><w:hyperlink r:id=\"rIdL" +
                    QByteArray::number(i + 1) + "\" w:history=\"1\">";
            body += "<w:r><w:rPr><w:rStyle w:val=\"Hyperlink\"/></w:rPr><w:t xml:space=\"preserve\">" +
                    xmlText(entries[i]) + "</w:t></w:r></w:hyperlink></w:p></w:tc></w:tr>";
        }
        body += "</w:tbl>";
    }
    body += "<w:p/>";
    body += "<w:p>" + run(QStringLiteral("File List Exported by Quorvel Software ") + brand::kContactEmail) + "</w:p>";
    body += "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/>"
            "<w:pgMar w:top=\"1417\" w:right=\"1417\" w:bottom=\"1134\" w:left=\"1417\" w:header=\"708\" "
            "w:footer=\"708\" w:gutter=\"0\"/></w:sectPr>";
    return kXmlHead +
           "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><w:body>" +
           body + "</w:body></w:document>";
}

void exportDocument(const ExportContext &context, const QStringList &entries)
{
    if (!context.prepareFolder())
        return;
    const QString path = context.newPathOf(QStringLiteral("QuorvelFileSearch"), QStringLiteral(".docx"));
    ZipPackage package(path, ZipPackage::Mode::Create);
    const bool written = package.isOpen() && package.write(QStringLiteral("[Content_Types].xml"), contentTypes()) &&
                         package.write(QStringLiteral("_rels/.rels"), packageRelationships()) &&
                         package.write(QStringLiteral("docProps/core.xml"), coreProperties()) &&
                         package.write(QStringLiteral("word/styles.xml"), styles()) &&
                         package.write(QStringLiteral("word/_rels/document.xml.rels"), documentRelationships(entries)) &&
                         package.write(QStringLiteral("word/document.xml"), documentXml(entries)) && package.commit();
    if (!written) {
        context.messages.cannotWrite(path, package.errorString());
        return;
    }
    openWithOfficeApplication(context, path, QStringLiteral("document"));
}

}  // namespace listexport
