#include "TestSupport.h"
#include "app/Form1.h"
#include "export/DocumentExport.h"
#include "export/SpreadsheetExport.h"
#include "export/ZipPackage.h"
#include "platform/XmlText.h"
#include "search/ResultList.h"

#include <QAction>
#include <QElapsedTimer>
#include <QBuffer>
#include <QFile>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QStandardPaths>
#include <QProcess>
#include <QXmlStreamReader>
#include <QDir>
#include <QSet>
#include <QtTest>

#include <zip.h>

using listexport::ZipPackage;
using testing::FakeServices;
using testing::TempTree;

namespace {

using testing::checkWellFormed;

QByteArray part(const QString &package, const QString &name)
{
    return testing::packagePart(package, name);
}

int count(const QByteArray &text, const QByteArray &what)
{
    return int(text.count(what));
}

// Saves a JPEG of one colour, `size` pixels.
bool savePicture(QSize size, const QString &path, int quality = -1)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    return picture.save(path, "JPG", quality);
}

// Saves a JPEG of `stored` pixels that says, in its EXIF data, that it is to be
// shown turned a quarter clockwise (orientation 6): a phone's portrait photo.
bool saveTurned(QSize stored, const QString &path)
{
    QImage image(stored, QImage::Format_RGB32);
    image.fill(Qt::darkMagenta);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "JPG"))
        return false;
    // An APP1 segment: "Exif", a big-endian TIFF header, one IFD with one entry.
    const QByteArray exif = QByteArray("Exif\0\0MM\0\x2A\0\0\0\x08", 14) + QByteArray("\0\x01", 2) +
                            QByteArray("\x01\x12\0\x03\0\0\0\x01\0\x06\0\0", 12) + QByteArray(4, '\0');
    const QByteArray segment = QByteArray("\xFF\xE1", 2) + char((exif.size() + 2) >> 8) + char((exif.size() + 2) & 0xFF) + exif;
    jpeg.insert(2, segment);  // after the start of image
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size();
}

}  // namespace

class TestOfficeExports : public QObject {
    Q_OBJECT
private slots:
    void fileNameFromPath()
    {
        testing::RecordingMessageBoxes messages;
        using listexport::GetFilenameFromPath;
        QCOMPARE(GetFilenameFromPath(messages, "/Photos/IMG_0012.JPG", false, 2), QString("img_0012"));
        QCOMPARE(GetFilenameFromPath(messages, "/Docs/report.final.txt", false, 2), QString("report.final"));
        QCOMPARE(GetFilenameFromPath(messages, "/Docs/README", false, 2), QString("readme"));
        QCOMPARE(GetFilenameFromPath(messages, "/Docs/report.txt", true, 1), QString("REPORT.TXT"));
        QCOMPARE(GetFilenameFromPath(messages, "/Docs/my report.txt", false, 3), QString("My Report"));
        QCOMPARE(GetFilenameFromPath(messages, "plain.txt", false, 2), QString("plain"));
        QVERIFY(messages.shown.empty());
        QCOMPARE(GetFilenameFromPath(messages, "/Docs/x.txt", false, 9), QString());
        QCOMPARE(messages.shown.size(), size_t(1));
        QCOMPARE(messages.shown[0].text, QString("Error on Line "));
        QCOMPARE(messages.shown[0].title, QString("Quorvel File Search: Function>Getfilename.."));
        QCOMPARE(messages.shown[0].icon, platform::MessageIcon::Critical);
    }

    // Where a spreadsheet application puts the pictures: LibreOffice places them by
    // their anchors' cells. Each lies over B of its own row, 161 points high, inside
    // the row, and none overlaps the next, three tall rows running.
    void libreOfficePlacesEachPictureInItsRow()
    {
        const QString office = QStandardPaths::findExecutable("soffice");
        if (office.isEmpty())
            QSKIP("LibreOffice is not installed: the pictures' placement is not measured");
        TempTree t;
        // A landscape photo, a portrait one, an icon, and a portrait photo stored on its side.
        const QList<QSize> sizes{{800, 600}, {300, 600}, {16, 16}};
        QStringList photos;
        for (int i = 0; i < 3; ++i) {
            photos << t.root() + QString("IMG_%1.jpg").arg(i);
            QVERIFY(savePicture(sizes[i], photos.last()));
        }
        photos << t.root() + "IMG_3.jpg";
        QVERIFY(saveTurned(QSize(600, 300), photos.last()));
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, photos);
        w->Excel->trigger();
        QVERIFY(testing::settled(*w));
        const QString book = fakes.appFolder->path() + "/QuorvelFileSearch.xlsx";
        QTemporaryDir profile;
        QProcess convert;
        convert.start(office, {"-env:UserInstallation=file://" + profile.path(), "--headless", "--convert-to", "fods",
                               "--outdir", t.root(), book});
        QVERIFY(convert.waitForFinished(120000));
        const QByteArray flat = testing::readFile(t.root() + "QuorvelFileSearch.fods");
        QVERIFY2(!flat.isEmpty(), convert.readAllStandardError().constData());

        // Each picture's frame on the sheet: pictures that keep their place whatever
        // the cells do stand on the sheet itself, at their own distance from its top.
        struct Frame {
            double y = 0, height = 0, x = 0, width = 0;  // inches
        };
        const auto inches = [](QStringView length) {
            const double value = length.left(length.size() - 2).toDouble();
            return length.endsWith(u"cm") ? value / 2.54 : length.endsWith(u"mm") ? value / 25.4 : value;
        };
        std::vector<Frame> frames;
        QXmlStreamReader xml(flat);
        while (!xml.atEnd()) {
            if (xml.readNextStartElement() && xml.qualifiedName() == u"draw:frame") {
                const QXmlStreamAttributes a = xml.attributes();
                frames.push_back({inches(a.value("svg:y")), inches(a.value("svg:height")), inches(a.value("svg:x")),
                                  inches(a.value("svg:width"))});
            }
        }
        QCOMPARE(int(frames.size()), 4);
        std::sort(frames.begin(), frames.end(), [](const Frame &a, const Frame &b) { return a.y < b.y; });
        const double row = 175 / 72.0;  // each photo's row, in inches
        const double high = 161 / 72.0;  // 14 points less
        // Each keeps its shape; the icon stays its own size, 16 pixels at 96 an inch.
        const QList<QSizeF> shapes{{high * 4 / 3, high}, {high / 2, high}, {16 / 96.0, 16 / 96.0}, {high / 2, high}};
        for (int i = 0; i < 4; ++i) {
            const Frame &f = frames[size_t(i)];
            // From the top of its own row, ending inside it: no overlap.
            QVERIFY2(std::abs(f.y - i * row) < 0.02, qPrintable(QString("picture %1 at %2 in").arg(i).arg(f.y)));
            QVERIFY2(std::abs(f.height - shapes[i].height()) < 0.02 && std::abs(f.width - shapes[i].width()) < 0.02,
                     qPrintable(QString("picture %1: %2 x %3 in").arg(i).arg(f.width).arg(f.height)));
            QVERIFY2(f.y + f.height <= (i + 1) * row + 0.01, qPrintable(QString::number(f.y + f.height)));
            QCOMPARE(f.x, frames[0].x);  // all over the same column
        }
    }

    // Every character of the first plane, against what XML 1.0 may hold: the
    // controls but tab, line feed and carriage return, U+FFFE and U+FFFF become
    // U+FFFD, everything else stays; halves of surrogate pairs only when alone.
    void xmlSafeTextKeepsWhatXmlHoldsAndNothingElse()
    {
        for (char32_t c = 0; c <= 0xFFFF; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            const bool held = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
            const QString one{QChar(char16_t(c))};
            QCOMPARE(platform::xmlSafe(one), held ? one : QString(QChar(0xFFFD)));
        }
        const QChar replacement(0xFFFD);
        const QString pair = QString::fromUcs4(U"\U0001F600");
        QCOMPARE(platform::xmlSafe(pair), pair);
        QCOMPARE(platform::xmlSafe("a" + pair + "b"), "a" + pair + "b");
        for (char16_t half : {char16_t(0xD800), char16_t(0xDBFF), char16_t(0xDC00), char16_t(0xDFFF)}) {
            QCOMPARE(platform::xmlSafe(QString(QChar(half))), QString(replacement));
            QCOMPARE(platform::xmlSafe("x" + QString(QChar(half)) + "y"), "x" + QString(replacement) + "y");
        }
        // A pair the wrong way round is two halves alone.
        const QChar reversed[] = {QChar(0xDE00), QChar(0xD83D)};
        QCOMPARE(platform::xmlSafe(QString(reversed, 2)), QString(2, replacement));
    }

    void workbookRowsLinksAndPictures()
    {
        TempTree t;
        const QString photo = t.root() + "IMG_0012.JPG";
        QVERIFY(savePicture(QSize(800, 600), photo));
        const QString odd = t.root() + QString::fromUtf8("a&b <\"été\">.txt");
        const QStringList entries{photo, "/Docs/report.final.txt", "/Docs/README", "/x/notajpg", "/gone/missing.jpg",
                                  odd};
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        w->Text1->setText("/Photos");
        w->Text2->setText("*.jpg");
        testing::fillList(*w, entries, 2);
        w->Label1->setText("before");
        w->Excel->trigger();
        QVERIFY(testing::settled(*w));
        QVERIFY(fakes.messages->shown.empty());
        QCOMPARE(w->Label1->text(), QString("before"));
        const QString book = fakes.appFolder->path() + "/QuorvelFileSearch.xlsx";
        QCOMPARE(fakes.shell->opened, QStringList{book});

        checkWellFormed(book);
        const QByteArray sheet = part(book, "xl/worksheets/sheet1.xml");
        // Texts stand in the rows themselves, or in the table of shared strings.
        const QByteArray strings = part(book, "xl/sharedStrings.xml") + sheet;
        const QByteArray rels = part(book, "xl/worksheets/_rels/sheet1.xml.rels");
        QVERIFY(!sheet.isEmpty() && !strings.isEmpty() && !rels.isEmpty());
        // Every entry is a hyperlink in A to its own file.
        for (int row = 1; row <= 6; ++row)
            QVERIFY2(sheet.contains("<hyperlink ref=\"A" + QByteArray::number(row) + "\""), sheet.constData());
        QVERIFY(rels.contains("Target=\"file://" + QUrl::fromLocalFile(photo).path(QUrl::FullyEncoded).toUtf8() + "\""));
        QVERIFY(rels.contains("file:///Docs/report.final.txt"));
        QVERIFY(rels.contains("TargetMode=\"External\""));
        for (const char *name : {"<t>img_0012</t>", "<t>report.final</t>", "<t>readme</t>", "<t>notajpg</t>",
                                 "<t>missing</t>"})
            QVERIFY2(strings.contains(name), name);
        QVERIFY(strings.contains(QString::fromUtf8("a&amp;b &lt;\"été\"&gt;").toUtf8()));
        QVERIFY(strings.contains("<t>File List exported by quorvel software:  support@quorvel.example</t>"));
        QVERIFY(strings.contains("<t>File Spec : /Photos/*.jpg</t>"));
        QVERIFY(sheet.contains("<c r=\"A7\""));
        QVERIFY(sheet.contains("<c r=\"A8\""));
        // Rows of entries ending in JPG are tall; the others keep their height.
        const auto row = [&sheet](int r) {
            const QRegularExpression tag("<row r=\"" + QString::number(r) + "\"( spans=\"1:2\")?([^>]*)>");
            return tag.match(QString::fromUtf8(sheet)).captured(2);
        };
        for (int r : {1, 4, 5})
            QVERIFY2(row(r) == " ht=\"175\" customHeight=\"1\"", qPrintable(QString::number(r)));
        for (int r : {2, 3, 6})
            QVERIFY2(row(r).isEmpty() && sheet.contains("<row r=\"" + QByteArray::number(r) + "\""),
                     qPrintable(QString::number(r)));
        QVERIFY(sheet.contains("<col min=\"2\" max=\"2\" width=\"45.7109375\" customWidth=\"1\"/>"));
        QVERIFY(sheet.contains("<col min=\"1\" max=\"1\" width="));
        QVERIFY(sheet.contains("<selection activeCell=\"A3\" sqref=\"A3\"/>"));

        // One picture, over B of the photo's row: the file that is gone, and the one that is no picture, get none.
        const QByteArray drawing = part(book, "xl/drawings/drawing1.xml");
        QCOMPARE(count(drawing, "<xdr:twoCellAnchor editAs=\"absolute\">"), 1);
        QVERIFY(drawing.contains("<xdr:from><xdr:col>1</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>0</xdr:row>"));
        const QRegularExpression extent("<a:ext cx=\"(\\d+)\" cy=\"(\\d+)\"/>");
        const auto m = extent.match(QString::fromUtf8(drawing));
        QVERIFY(m.hasMatch());
        // 14 points less high than the row (161 points), and as wide as its shape
        // makes it (4:3, 286 pixels).
        QVERIFY(std::abs(m.captured(2).toLongLong() - 161LL * 12700) <= 2 * 9525);
        QVERIFY2(std::abs(m.captured(1).toLongLong() - 286LL * 9525) <= 2 * 9525, qPrintable(m.captured(1)));
        // It ends in its own row too, and within its own cell: readers that place
        // pictures by their cells draw it there, whatever the rows below.
        QVERIFY2(drawing.contains("<xdr:to><xdr:col>1</xdr:col><xdr:colOff>" + m.captured(1).toUtf8() +
                                  "</xdr:colOff><xdr:row>0</xdr:row><xdr:rowOff>" + m.captured(2).toUtf8() +
                                  "</xdr:rowOff></xdr:to>"),
                 drawing.constData());
        QVERIFY(drawing.contains("<xdr:clientData fPrintsWithSheet=\"0\"/>"));
        // The picture itself, not the stand-in the library was given, and nothing
        // left beside the workbook.
        QVERIFY(drawing.contains("r:embed=\"rIdP1\""));
        QVERIFY(part(book, "xl/drawings/_rels/drawing1.xml.rels")
                    .contains("Id=\"rIdP1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
                              "Target=\"../media/picture1.jpeg\""));
        QCOMPARE(QImage::fromData(part(book, "xl/media/picture1.jpeg")).height(), 428);  // twice what is shown
        QVERIFY(part(book, "xl/media/image1.jpeg").isEmpty());
        QCOMPARE(QDir(fakes.appFolder->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"QuorvelFileSearch.xlsx"});

        // The print layout.
        QVERIFY(sheet.contains("<printOptions headings=\"1\" gridLines=\"1\"/>"));
        QVERIFY(sheet.contains("<pageMargins left=\"0.14\" right=\"0.14\" top=\"0.14\" bottom=\"0.14\" header=\"0\" footer=\"0\"/>"));
        QVERIFY(sheet.contains("paperSize=\"9\""));
        QVERIFY(sheet.contains("orientation=\"portrait\""));
        QVERIFY(sheet.contains("blackAndWhite=\"1\""));
        QVERIFY(sheet.contains("horizontalDpi=\"300\" verticalDpi=\"300\""));
        QVERIFY(sheet.contains("firstPageNumber=\"1\""));
        QCOMPARE(count(sheet, " useFirstPageNumber=\"1\""), 1);
        QCOMPARE(count(sheet, " firstPageNumber=\"1\""), 1);
        QVERIFY(sheet.contains("<oddHeader>&amp;CPage &amp;P of &amp;N</oddHeader>"));
        QVERIFY(sheet.contains("<oddFooter>&amp;CFile List by Quorvel Software support@quorvel.example</oddFooter>"));
        QVERIFY(part(book, "docProps/core.xml").contains("<dc:title>File List by Quorvel Software</dc:title>"));
    }

    // The same picture in two rows is stored once, and shown in both.
    void aPictureInTwoRowsIsStoredOnce()
    {
        TempTree t;
        const QString photo = t.root() + "same.jpg";
        QVERIFY(savePicture(QSize(400, 300), photo));
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {photo, photo});
        w->Excel->trigger();
        QVERIFY(testing::settled(*w));
        const QString book = fakes.appFolder->path() + "/QuorvelFileSearch.xlsx";
        const QByteArray relationships = part(book, "xl/drawings/_rels/drawing1.xml.rels");
        QCOMPARE(count(relationships, "Target=\"../media/picture1.jpeg\""), 2);
        QVERIFY(part(book, "xl/media/picture2.jpeg").isEmpty());
        QCOMPARE(count(part(book, "xl/drawings/drawing1.xml"), "<xdr:pic>"), 2);
    }

    void workbookWithoutSelectionOrPictures()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {"/a.txt", "/b.txt", "/c.txt"});
        w->Command3->click();
        QVERIFY(testing::settled(*w));
        const QString book = fakes.appFolder->path() + "/QuorvelFileSearch.xlsx";
        const QByteArray sheet = part(book, "xl/worksheets/sheet1.xml");
        QVERIFY(!sheet.contains("<selection"));
        QVERIFY(!sheet.contains("customHeight"));
        QVERIFY(part(book, "xl/drawings/drawing1.xml").isEmpty());
        // With 3 entries the closing texts stand in A4 and A5.
        QVERIFY(sheet.contains("<c r=\"A4\""));
        QVERIFY(sheet.contains("<c r=\"A5\""));
        QVERIFY(!sheet.contains("<c r=\"A6\""));
    }

    void picturesAreScaledCopies()
    {
        TempTree t;
        const QString photo = t.file("big.jpg");
        QVERIFY(savePicture(QSize(3000, 2000), photo, 90));
        const listexport::CellPicture copy = listexport::cellPicture(photo, QSize(320, 215));
        QVERIFY(!copy.encoded.isEmpty());
        QCOMPARE(copy.size, QSize(640, 426));  // within twice what is shown, its shape kept
        QCOMPARE(copy.natural, QSize(3000, 2000));
        QVERIFY(copy.encoded.size() < QFile(photo).size());
        QVERIFY(listexport::cellPicture(t.file("no.jpg", "not a picture"), QSize(320, 215)).encoded.isEmpty());
        // A phone's portrait photo, stored on its side with an EXIF orientation, stands upright.
        const QString turned = t.root() + "turned.jpg";
        QVERIFY(saveTurned(QSize(600, 300), turned));
        const listexport::CellPicture upright = listexport::cellPicture(turned, QSize(320, 215));
        QCOMPARE(upright.natural, QSize(300, 600));
        QCOMPARE(upright.size, QSize(215, 430));
    }

    // The size shown over the cell: as high as the row allows, its shape kept, never enlarged.
    void picturesKeepTheirShape()
    {
        using listexport::shownPictureSize;
        QCOMPARE(shownPictureSize(QSize(800, 600), 215), QSizeF(800 * 215 / 600.0, 215));
        QCOMPARE(shownPictureSize(QSize(300, 600), 215), QSizeF(107.5, 215));
        QCOMPARE(shownPictureSize(QSize(16, 16), 215), QSizeF(16, 16));
        QCOMPARE(shownPictureSize(QSize(200, 215), 215), QSizeF(200, 215));
        QCOMPARE(shownPictureSize(QSize(3000, 500), 215), QSizeF(1290, 215));
    }

    void documentTableOfLinks()
    {
        const QStringList entries{"/a.jpg", "/b c/d.jpg", QString::fromUtf8("/x/a&b <\"é\">.txt")};
        const QByteArray body = listexport::documentXml(entries);
        const QByteArray rels = listexport::documentRelationships(entries);
        QCOMPARE(count(body, "<w:tbl>"), 1);
        QCOMPARE(count(body, "<w:tr>"), 3);
        QCOMPARE(count(body, "<w:tc>"), 3);
        QCOMPARE(count(body, "<w:gridCol "), 1);
        for (int i = 1; i <= 3; ++i)
            QVERIFY(body.contains("<w:hyperlink r:id=\"rIdL" + QByteArray::number(i) + "\" w:history=\"1\">"));
        QVERIFY(!body.contains("w:tooltip"));
        QVERIFY(body.contains(">/b c/d.jpg</w:t>"));
        QVERIFY(body.contains(QString::fromUtf8(">/x/a&amp;b &lt;&quot;é&quot;&gt;.txt</w:t>").toUtf8()));
        QVERIFY(rels.contains("Id=\"rIdL2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                              "hyperlink\" Target=\"file:///b%20c/d.jpg\" TargetMode=\"External\""));
        // The closing line follows the table, with the empty paragraph the table leaves.
        QVERIFY(body.contains("</w:tbl><w:p/><w:p><w:r><w:t xml:space=\"preserve\">File List Exported by Quorvel "
                              "Software support@quorvel.example</w:t></w:r></w:p>"));

        const QByteArray empty = listexport::documentXml({});
        QVERIFY(!empty.contains("<w:tbl>"));
        QVERIFY(empty.contains("File List Exported by Quorvel Software"));
    }

    void documentIsWrittenAndOpened()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {"/a.jpg", "/b.jpg"});
        w->Word->trigger();
        QVERIFY(testing::settled(*w));
        const QString doc = fakes.appFolder->path() + "/QuorvelFileSearch.docx";
        QCOMPARE(fakes.shell->opened, QStringList{doc});
        checkWellFormed(doc);
        QCOMPARE(part(doc, "word/document.xml"), listexport::documentXml({"/a.jpg", "/b.jpg"}));
        QVERIFY(part(doc, "[Content_Types].xml").contains("wordprocessingml.document.main+xml"));
        QVERIFY(!part(doc, "_rels/.rels").isEmpty());
        // Every part unpacks as a file its owner may change and others only read.
        int error = 0;
        zip_t *zip = zip_open(QFile::encodeName(doc).constData(), ZIP_RDONLY, &error);
        QVERIFY(zip);
        const zip_int64_t parts = zip_get_num_entries(zip, 0);
        QVERIFY(parts >= 4);
        for (zip_int64_t i = 0; i < parts; ++i) {
            zip_uint8_t system = 0;
            zip_uint32_t attributes = 0;
            QCOMPARE(zip_file_get_external_attributes(zip, zip_uint64_t(i), 0, &system, &attributes), 0);
            QCOMPARE(int(system), ZIP_OPSYS_UNIX);
            QCOMPARE((attributes >> 16) & 07777, 0644u);
        }
        zip_discard(zip);
        // A second export makes a new document and leaves the first as it was.
        testing::fillList(*w, {"/only.jpg"});
        w->Command4->click();
        QVERIFY(testing::settled(*w));
        const QString second = fakes.appFolder->path() + "/QuorvelFileSearch (2).docx";
        QCOMPARE(fakes.shell->opened, (QStringList{doc, second}));
        QCOMPARE(part(second, "word/document.xml"), listexport::documentXml({"/only.jpg"}));
        QCOMPARE(part(doc, "word/document.xml"), listexport::documentXml({"/a.jpg", "/b.jpg"}));
    }

    void theWindowAnswersWhileAnExportIsWrittenAndTheDesktopAsked()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        fakes.shell->answerDelayMs = 300;  // the desktop takes its time to name the application
        QStringList entries;
        for (int i = 0; i < 20000; ++i)
            entries << QString("/data/%1/report %2.txt").arg(i % 40).arg(i);
        testing::fillList(*w, entries);
        testing::user::show(*w);
        for (QAction *exportAction : {w->Excel, w->Word, w->PDF, w->Html}) {
            exportAction->trigger();
            // The click has returned; the file is still being written, the desktop still asked.
            QVERIFY2(w->working(), qPrintable(exportAction->objectName()));
            QVERIFY(testing::settled(*w));
        }
        QVERIFY(!fakes.shell->asked.isEmpty());
        QVERIFY(!fakes.shell->askedOnWindowThread);  // never asked where the window waits for it
        QCOMPARE(fakes.shell->opened.size(), 4);  // each opened once written
    }

    // Two windows exporting into one folder at the same moment: each claims a name
    // of its own when its file is complete, and neither replaces the other's.
    void twoWindowsExportingAtOnceGetTwoNames()
    {
        FakeServices first, second;
        auto a = testing::makeWindow(first);
        auto b = testing::makeWindow(second);
        b->services().applicationFolder = first.appFolder->path();
        const QString folder = first.appFolder->path() + "/";
        for (const char *kind : {"docx", "xlsx"}) {
            testing::fillList(*a, {"/first/a.txt", "/first/b.txt"});
            testing::fillList(*b, {"/second/c.txt"});
            QAction *exportA = QByteArray(kind) == "docx" ? a->Word : a->Excel;
            QAction *exportB = QByteArray(kind) == "docx" ? b->Word : b->Excel;
            exportA->trigger();
            exportB->trigger();
            QVERIFY(testing::settled(*a) && testing::settled(*b));
            const QString one = folder + "QuorvelFileSearch." + kind;
            const QString two = folder + "QuorvelFileSearch (2)." + kind;
            QCOMPARE(first.shell->opened.size() + second.shell->opened.size(), 2);
            const QString fromA = first.shell->opened.last();
            const QString fromB = second.shell->opened.last();
            QCOMPARE(QSet<QString>({fromA, fromB}), QSet<QString>({one, two}));
            const QByteArray partA = part(fromA, QByteArray(kind) == "docx" ? "word/document.xml" : "xl/worksheets/sheet1.xml");
            const QByteArray partB = part(fromB, QByteArray(kind) == "docx" ? "word/document.xml" : "xl/worksheets/sheet1.xml");
            QVERIFY(partA.contains("/first/b.txt") && !partA.contains("/second/"));
            QVERIFY(partB.contains("/second/c.txt") && !partB.contains("/first/"));
            first.shell->opened.clear();
            second.shell->opened.clear();
            QFile::remove(one);
            QFile::remove(two);
        }
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());  // nothing left beside
    }

    void everyWorkbookIsANewFile()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        const QString folder = fakes.appFolder->path();
        // A file of the second name already there (edited by hand, say) is skipped too.
        QFile taken(folder + "/QuorvelFileSearch (2).xlsx");
        QVERIFY(taken.open(QIODevice::WriteOnly));
        taken.write("mine");
        taken.close();
        testing::fillList(*w, {"/a.txt"});
        // Three clicks before the first workbook is written: each gets a name of its own.
        for (int i = 0; i < 3; ++i)
            w->Excel->trigger();
        QVERIFY(testing::settled(*w));
        QCOMPARE(fakes.shell->opened, (QStringList{folder + "/QuorvelFileSearch.xlsx",
                                                   folder + "/QuorvelFileSearch (3).xlsx",
                                                   folder + "/QuorvelFileSearch (4).xlsx"}));
        QVERIFY(taken.open(QIODevice::ReadOnly));
        QCOMPARE(taken.readAll(), QByteArray("mine"));
        for (const QString &book : fakes.shell->opened)
            checkWellFormed(book);
    }

    void failuresAreReported()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {"/a.jpg"});
        fakes.shell->defaultApplication.clear();
        w->Command3->click();
        QVERIFY(testing::settled(*w));
        w->Command4->click();
        QVERIFY(testing::settled(*w));
        QCOMPARE(fakes.messages->shown.size(), size_t(2));
        QVERIFY(fakes.messages->shown[0].text.startsWith("No application on this desktop opens spreadsheet files."));
        QVERIFY(fakes.messages->shown[1].text.startsWith("No application on this desktop opens document files."));
        QVERIFY(fakes.shell->opened.isEmpty());

        fakes.messages->shown.clear();
        fakes.shell->defaultApplication = "office.desktop";
        const QString blocked = testing::blockApplicationFolder(*w, fakes);
        w->Command3->click();
        QVERIFY(testing::settled(*w));
        w->Command4->click();
        QVERIFY(testing::settled(*w));
        QCOMPARE(fakes.messages->shown.size(), size_t(2));
        QVERIFY(fakes.messages->shown[0].text.startsWith("Cannot write " + blocked + "/QuorvelFileSearch.xlsx"));
        QVERIFY(fakes.messages->shown[1].text.startsWith("Cannot write " + blocked + "/QuorvelFileSearch.docx"));
        QVERIFY(fakes.shell->opened.isEmpty());
    }
};

QTEST_MAIN(TestOfficeExports)
#include "test_office_exports.moc"
