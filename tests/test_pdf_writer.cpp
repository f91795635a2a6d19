#include "pdf/CffCharset.h"
#include "pdf/Cp1252.h"
#include "pdf/quorvelPDF.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

struct Message {
    std::string text, title;
    bool critical;
};

class RecordingMessages final : public pdf::PdfMessages {
public:
    void show(const std::string &text, const std::string &title, bool critical) override
    {
        shown.push_back({text, title, critical});
    }
    std::vector<Message> shown;
};

class RecordingViewer final : public pdf::PdfViewer {
public:
    std::string findViewer() override { return viewer; }
    void openWith(const std::string &v, const std::string &file) override { calls.push_back("with " + v + " " + file); }
    void openWithDefault(const std::string &file) override { calls.push_back("default " + file); }
    std::string viewer;
    std::vector<std::string> calls;
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Starts a document in `dir` with a fixed creation date.
std::string beginIn(quorvelPDF &pdf, const QTemporaryDir &dir, const char *name = "t.pdf")
{
    const std::string path = (dir.path() + "/" + name).toStdString();
    pdf.setCreationDate("20240101120000");
    pdf.PDFFileName(path);
    pdf.PDFBeginDoc();
    return path;
}

QByteArray contentOfObject(const QByteArray &file, int number)
{
    const QByteArray head = QByteArray::number(number) + " 0 obj\r\n";
    const qsizetype start = file.indexOf("\n" + head) + 1;
    const qsizetype end = file.indexOf("endobj\r\n", start);
    return file.mid(start, end + 8 - start);
}

}  // namespace

class TestPdfWriter : public QObject {
    Q_OBJECT
private slots:
    // The CIDs of a CID-keyed CFF font's glyphs, read from its charset in each of
    // the three formats; a font keyed by names, or a table cut short, gives none.
    void cffCharsetsGiveEachGlyphsCid_data()
    {
        QTest::addColumn<QByteArray>("charset");
        QTest::addColumn<bool>("cidKeyed");
        QTest::addColumn<QList<int>>("cids");
        const QList<int> expected{0, 100, 101, 102, 7, 8, 9};
        // Format 0: each glyph's CID; format 1: ranges of up to 256; format 2: ranges of up to 65,536.
        QTest::newRow("format 0") << QByteArray("\x00\x00\x64\x00\x65\x00\x66\x00\x07\x00\x08\x00\x09", 13)
                                  << true << expected;
        QTest::newRow("format 1") << QByteArray("\x01\x00\x64\x02\x00\x07\x02", 7) << true << expected;
        QTest::newRow("format 2") << QByteArray("\x02\x00\x64\x00\x02\x00\x07\x00\x02", 9) << true << expected;
        QTest::newRow("keyed by names") << QByteArray("\x02\x00\x64\x00\x02\x00\x07\x00\x02", 9) << false
                                        << QList<int>{};
        QTest::newRow("cut short") << QByteArray("\x01\x00\x64\x02\x00", 5) << true << QList<int>{};
    }

    void cffCharsetsGiveEachGlyphsCid()
    {
        QFETCH(QByteArray, charset);
        QFETCH(bool, cidKeyed);
        QFETCH(QList<int>, cids);
        // Header; a Name INDEX of one name; a Top DICT INDEX whose dict names the
        // registry, ordering and supplement (ROS, when keyed by CID) and where the
        // charset stands; then the charset.
        QByteArray dict;
        if (cidKeyed)
            dict += QByteArray("\x8b\x8c\x8b\x0c\x1e", 5);  // 0 1 0 ROS
        const int charsetAt = 4 + 6 + 5 + int(dict.size()) + 4;
        dict += char(28);
        dict += char(charsetAt >> 8);
        dict += char(charsetAt & 0xFF);
        dict += char(15);  // charset
        QByteArray cff("\x01\x00\x04\x01", 4);
        cff += QByteArray("\x00\x01\x01\x01\x02" "A", 6);
        cff += QByteArray("\x00\x01\x01\x01", 4) + char(1 + dict.size()) + dict;
        QCOMPARE(cff.size(), charsetAt);
        cff += charset;
        const std::optional<std::vector<std::uint16_t>> read = pdf::cidsOfGlyphs(std::string_view(cff.constData(), size_t(cff.size())), 7);
        QCOMPARE(read.has_value(), !cids.isEmpty());
        if (read)
            QCOMPARE(QList<int>(read->begin(), read->end()), cids);
    }

    void freshObjectDefaults()
    {
        quorvelPDF pdf;
        QCOMPARE(pdf.PDFGetUnit(), std::string("cm"));
        QCOMPARE(pdf.PDFGetPageWidth(), 595.28);
        QCOMPARE(pdf.PDFGetPageHeight(), 841.89);
        QCOMPARE(pdf.PDFGetLeftMargin(), 1.0);
        QCOMPARE(pdf.PDFGetTopMargin(), 1.0);
        QCOMPARE(pdf.PDFGetRightMargin(), 1.0);
        QCOMPARE(pdf.PDFGetBottomMargin(), 1.0);
        QCOMPARE(pdf.PDFGetCellMargin(), 3.0);
        QCOMPARE(pdf.PDFGetX(), std::int16_t(1));
        QCOMPARE(pdf.PDFGetY(), std::int16_t(1));
        QVERIFY(!pdf.PDFGetZoomMode().has_value());
        QCOMPARE(pdf.PDFNbPage(), -1);
    }

    void settingsAndTheirMessages()
    {
        RecordingMessages m;
        quorvelPDF pdf(&m);
        pdf.PDFFormatPage(std::int32_t(0));
        QVERIFY(m.shown.empty());
        pdf.PDFFormatPage(std::int16_t(0));
        QCOMPARE(m.shown.size(), size_t(1));
        QCOMPARE(m.shown[0].text, std::string("Format page set incorrectly : 0.\r\nFormat page set to A4"));
        QCOMPARE(m.shown[0].title, std::string("Format Page - quorvelPDF 1.0"));
        QVERIFY(m.shown[0].critical);
        pdf.PDFFormatPage(std::int32_t(7));
        QCOMPARE(m.shown.back().text, std::string("Format page set incorrectly : 7.\r\nFormat page set to A4."));
        QCOMPARE(pdf.PDFGetPageWidth(), 595.28);

        pdf.PDFFormatPage(std::int32_t(3));
        pdf.PDFOrientation(0);
        QCOMPARE(pdf.PDFGetPageWidth(), 792.0);
        QCOMPARE(pdf.PDFGetPageHeight(), 612.0);
        pdf.PDFOrientation(0);  // the swap is unconditional
        QCOMPARE(pdf.PDFGetPageWidth(), 612.0);
        QCOMPARE(pdf.PDFGetPageHeight(), 792.0);

        pdf.PDFFormatPage(std::vector<double>{300.5, 400.25});
        QCOMPARE(pdf.PDFGetPageWidth(), 300.5);
        pdf.PDFOrientation(1);
        QCOMPARE(pdf.PDFGetPageWidth(), 300.0);  // halves to even
        QCOMPARE(pdf.PDFGetPageHeight(), 400.0);
        const size_t before = m.shown.size();
        pdf.PDFOrientation(5);
        QCOMPARE(m.shown.size(), before + 1);
        QCOMPARE(m.shown.back().text, std::string("Orientation set incorrectly: 5.\r\nOrientation set to portrait."));
        QCOMPARE(m.shown.back().title, std::string("Error in orientation - quorvelPDF 1.0"));

        pdf.PDFSetMargins(2, 3, -1, -1);
        QCOMPARE(pdf.PDFGetRightMargin(), 2.0);
        QCOMPARE(pdf.PDFGetBottomMargin(), 3.0);
        pdf.PDFSetMargins(2, 3, 5, 6);
        QCOMPARE(pdf.PDFGetRightMargin(), 5.0);
        QCOMPARE(pdf.PDFGetBottomMargin(), 6.0);
        pdf.PDFSetLeftMargin(2.5);
        QCOMPARE(pdf.PDFGetLeftMargin(), 2.0);
        pdf.PDFSetLeftMargin(3.5);
        QCOMPARE(pdf.PDFGetLeftMargin(), 4.0);

        pdf.PDFSetUnit(1);
        QCOMPARE(pdf.PDFGetUnit(), std::string("mm"));
        pdf.PDFSetUnit(-1);
        QCOMPARE(pdf.PDFGetUnit(), std::string("cm"));
        QCOMPARE(m.shown.back().text, std::string("Incorrect Unit of Measure : -1.\r\nUsing centimeter "));

        pdf.PDFSetLayoutMode(-1);
        QCOMPARE(m.shown.back().title, std::string("Layout Mode - quorvelPDF 1.0"));
        QCOMPARE(pdf.PDFGetLayoutMode().value(), 0);
        const size_t quiet = m.shown.size();
        pdf.PDFSetLayoutMode(3);
        pdf.PDFSetZoomMode(150);
        QCOMPARE(m.shown.size(), quiet);
        QCOMPARE(pdf.PDFGetZoomMode().value(), 150);

        pdf.PDFSetAlignement(3);
        QCOMPARE(pdf.PDFGetAlignement(), std::string("Left"));
        pdf.PDFSetAlignement(0);
        QCOMPARE(pdf.PDFGetAlignement(), std::string("Center"));
        pdf.PDFSetAlignement(9);
        QCOMPARE(m.shown.back().text, std::string("Invalid alignment set. : 9.\r\nUsing left alignment."));
        pdf.PDFSetDrawMode(4);
        QCOMPARE(m.shown.back().text, std::string("Draw Mode set incorrectly : 4.\r\nDraw mode set to normal"));
    }

    void formatNumber()
    {
        QCOMPARE(quorvelPDF::FormatNumber(56.692913, 2), std::string("56.69"));
        QCOMPARE(quorvelPDF::FormatNumber(0.5, 2), std::string("0.50"));
        QCOMPARE(quorvelPDF::FormatNumber(10, 2), std::string("10.00"));
        QCOMPARE(quorvelPDF::FormatNumber(1234.5, 2), std::string("1234.50"));
        QCOMPARE(quorvelPDF::FormatNumber(0.125, 2), std::string("0.13"));
        QCOMPARE(quorvelPDF::FormatNumber(-0.125, 2), std::string("-0.13"));
        QCOMPARE(quorvelPDF::FormatNumber(-3.5, 2), std::string("-3.50"));
    }

    void emptyOnePageDocumentByteForByte()
    {
        QTemporaryDir dir;
        quorvelPDF pdf;
        const std::string path = beginIn(pdf, dir);
        pdf.PDFEndPage();
        pdf.PDFEndDoc();
        const QByteArray font = "/F0 << /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>";
        const QByteArray expected = QByteArray(
            "%PDF-1.0\r\n"
            "1 0 obj\r\n<<\r\n/Producer ()\r\n/Author ()\r\n/CreationDate (D:20240101120000)\r\n/Creator ()\r\n"
            "/Keywords ()\r\n/Subject ()\r\n/Title ()\r\n/ModDate ()\r\n>>\r\nendobj\r\n\r\n"
            "2 0 obj\r\n<< /Length 3 0 R\r\n >>\r\nstream\r\nendstream\r\nendobj\r\n\r\n"
            "3 0 obj\r\n0\r\nendobj\r\n\r\n"
            "4 0 obj\r\n<< /Type /Pages\r\n/Kids [\r\n6 0 R\r\n]\r\n/Count 1\r\n>>\r\nendobj\r\n\r\n"
            "5 0 obj\r\n<< /ProcSet [ /PDF /Text /ImageC]\r\n/XObject << \r\n>>\r\n/Font << \r\n") + font +
            QByteArray("\r\n>>\r\n>>\r\nendobj\r\n\r\n"
            "6 0 obj\r\n<< /Type /Page\r\n/Parent 4 0 R\r\n/MediaBox [ 0 0 595.28 841.89]\r\n/Resources 5 0 R\r\n"
            "/Contents 2 0 R\r\n>>\r\nendobj\r\n\r\n"
            "7 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 4 0 R\r\n/OpenAction [6 0 R /Fit]\r\n"
            "/PageLayout /SinglePage\r\n>>\r\nendobj\r\n\r\n"
            "xref\r\n0 8\r\n0000000000 65535 f\r\n"
            "0000000010 00000 n\r\n0000000161 00000 n\r\n0000000222 00000 n\r\n0000000244 00000 n\r\n"
            "0000000313 00000 n\r\n0000000491 00000 n\r\n0000000612 00000 n\r\n"
            "trailer\r\n<< /Size 8\r\n/Root 7 0 R\r\n/Info 1 0 R\r\n>>\r\nstartxref\r\n720\r\n\r\n"
            "%%EOF\r\n");
        const QByteArray actual = readAll(QString::fromStdString(path));
        QCOMPARE(actual, expected);
        QCOMPARE(actual.size(), 880 + 87);  // the font line adds 87 bytes to the 880 of the bare layout
        // Every offset of the table points at its object's first line.
        for (int k = 1; k <= 7; ++k) {
            const int offset = actual.mid(actual.indexOf("xref") + 31 + 20 * (k - 1), 10).toInt();
            QVERIFY(actual.mid(offset).startsWith(QByteArray::number(k) + " 0 obj"));
        }
        QCOMPARE(pdf.PDFNbPage(), 1);
    }

    void pagesAndPageSizes()
    {
        QTemporaryDir dir;
        quorvelPDF pdf;
        const std::string path = beginIn(pdf, dir);
        QCOMPARE(pdf.PDFNbPage(), 1);
        double x = 1, y = 1;
        pdf.PDFTextOut("first", x, y);
        pdf.PDFEndPage();
        pdf.PDFFormatPage(std::int32_t(1));  // applies to the next page
        pdf.PDFNewPage();
        QCOMPARE(pdf.PDFGetX(), std::int16_t(1));
        QCOMPARE(pdf.PDFGetY(), std::int16_t(1));
        pdf.PDFEndPage();
        pdf.PDFNewPage();
        QCOMPARE(pdf.PDFPageNumber(), 3);
        pdf.PDFEndPage();
        pdf.PDFEndDoc();
        QCOMPARE(pdf.PDFNbPage(), 3);
        const QByteArray file = readAll(QString::fromStdString(path));
        // Three pages: contents 2, 4, 6; page tree 8, resources 9, pages 10-12, catalog 13.
        QVERIFY(contentOfObject(file, 8).contains("/Kids [\r\n10 0 R\r\n11 0 R\r\n12 0 R\r\n]\r\n/Count 3"));
        QVERIFY(contentOfObject(file, 10).contains("/MediaBox [ 0 0 595.28 841.89]"));
        QVERIFY(contentOfObject(file, 11).contains("/MediaBox [ 0 0 841.89 1190.55]"));
        QVERIFY(contentOfObject(file, 12).contains("/MediaBox [ 0 0 841.89 1190.55]"));
        QVERIFY(contentOfObject(file, 13).contains("/OpenAction [10 0 R /Fit]"));
        QVERIFY(file.contains("trailer\r\n<< /Size 14\r\n/Root 13 0 R\r\n"));
        // Later pages start their stream with the comment line, and count it.
        QVERIFY(contentOfObject(file, 4).contains("stream\r\n%DEBUT_OBJ/%\r\nendstream"));
        QCOMPARE(contentOfObject(file, 5), QByteArray("5 0 obj\r\n14\r\nendobj\r\n"));
        QVERIFY(contentOfObject(file, 2).contains("stream\r\nq 0 g \r\n%DEBUT_TEXT/%"));
        const QByteArray firstContent = contentOfObject(file, 2);
        const qsizetype s = firstContent.indexOf("stream\r\n") + 8;
        const qsizetype e = firstContent.indexOf("endstream");
        QCOMPARE(contentOfObject(file, 3), "3 0 obj\r\n" + QByteArray::number(e - s) + "\r\nendobj\r\n");
    }

    void catalogVariants_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("layout");
        QTest::addColumn<bool>("thumbs");
        QTest::addColumn<bool>("outlines");
        QTest::addColumn<int>("prefs");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("zoom 2") << 2 << -2 << false << false << -1
                                << QByteArray("/OpenAction [6 0 R /XYZ null null 1]\r\n/PageLayout /SinglePage\r\n>>");
        QTest::newRow("zoom 1") << 1 << -2 << false << false << -1 << QByteArray("/OpenAction [6 0 R /FitH null]\r\n");
        QTest::newRow("zoom 3") << 3 << -2 << false << false << -1 << QByteArray("/XYZ null null 0.03]");
        QTest::newRow("zoom 150") << 150 << -2 << false << false << -1 << QByteArray("/XYZ null null 1.50]");
        QTest::newRow("zoom 0") << 0 << -2 << false << false << -1 << QByteArray("[6 0 R /Fit]");
        QTest::newRow("layout 1") << -1 << 1 << false << false << -1 << QByteArray("/PageLayout /OneColumn\r\n");
        QTest::newRow("layout 2") << -1 << 2 << false << false << -1 << QByteArray("/PageLayout /TwoColumnLeft\r\n");
        QTest::newRow("layout 3") << -1 << 3 << false << false << -1
                                  << QByteArray("/OpenAction [6 0 R /Fit]\r\n>>\r\nendobj");
        QTest::newRow("thumbs and outlines") << -1 << -2 << true << true << -1
                                             << QByteArray("/PageMode /UseThumbs\r\n/PageMode /UseOutlines\r\n>>");
        QTest::newRow("prefs 21") << -1 << -2 << false << false << 21
                                  << QByteArray("/ViewerPreferences<<\r\n/HideMenubar true\r\n/HideToolbar true\r\n>>\r\n>>");
        QTest::newRow("prefs 12") << -1 << -2 << false << false << 12
                                  << QByteArray("/ViewerPreferences<<\r\n/HideMenubar true\r\n/HideToolbar true\r\n>>\r\n>>");
        QTest::newRow("prefs 654321") << -1 << -2 << false << false << 654321
                                      << QByteArray("<<\r\n/HideMenubar true\r\n/HideToolbar true\r\n/HideWindowUI true\r\n"
                                                    "/DisplayDocTitle true\r\n/CenterWindow true\r\n/FitWindow true\r\n>>");
        QTest::newRow("prefs 9") << -1 << -2 << false << false << 9 << QByteArray("/ViewerPreferences<<\r\n>>\r\n>>");
    }
    void catalogVariants()
    {
        QFETCH(int, zoom);
        QFETCH(int, layout);
        QFETCH(bool, thumbs);
        QFETCH(bool, outlines);
        QFETCH(int, prefs);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        quorvelPDF pdf;
        if (zoom >= 0)
            pdf.PDFSetZoomMode(zoom);
        if (layout >= 0)
            pdf.PDFSetLayoutMode(layout);
        pdf.PDFUseThumbs(thumbs);
        pdf.PDFUseOutlines(outlines);
        if (prefs >= 0)
            pdf.PDFSetViewerPreferences(prefs);
        const std::string path = beginIn(pdf, dir);
        pdf.PDFEndPage();
        pdf.PDFEndDoc();
        const QByteArray catalog = contentOfObject(readAll(QString::fromStdString(path)), 7);
        QVERIFY2(catalog.contains(expected), catalog.constData());
    }

    void textLines()
    {
        QTemporaryDir dir;
        quorvelPDF pdf;
        const std::string path = beginIn(pdf, dir);
        pdf.PDFOrientation(1);  // 595 x 842
        double x = 1, y = 1;
        pdf.PDFTextOut("C:\\x a(b)c", x, y);
        double y2 = 2, y28 = 28, y29 = 29, x7 = 7;
        pdf.PDFTextOut("two", x, y2);
        pdf.PDFTextOut("t28", x, y28);
        pdf.PDFTextOut("t29", x7, y29);
        pdf.PDFEndPage();
        pdf.PDFEndDoc();
        const QByteArray content = contentOfObject(readAll(QString::fromStdString(path)), 2);
        QVERIFY(content.contains("stream\r\nq 0 g \r\n%DEBUT_TEXT/%\r\nBT\r\n56.69 813.65 Td\r\n/F0 10.00 Tf\r\n"
                                 "(C:\\\\x a\\(b\\)c) Tj\r\nET\r\nQ\r\n%FIN_TEXT/%\r\n"));
        QVERIFY(content.contains("56.69 785.31 Td"));
        QVERIFY(content.contains("56.69 48.30 Td"));
        QVERIFY(content.contains("226.77 19.95 Td"));
    }

    // Text is measured as viewers draw it: the standard fonts by their published
    // widths (Helvetica's "Hello" is 2,278 thousandths of an em, Times-Roman's
    // 2,222, every Courier letter 600), other text by the embedded font's widths.
    // Scaled text sets Tz and sets it back, since it outlives ET.
    void textWidthsAndHorizontalScaling()
    {
        QTemporaryDir dir;
        quorvelPDF pdf;
        const std::string path = beginIn(pdf, dir);
        QCOMPARE(qRound(pdf.PDFTextWidth("Hello") * 100), 2278);  // 10 points
        pdf.PDFSetFont(2, 10, 0);  // Times
        QCOMPARE(qRound(pdf.PDFTextWidth("Hello") * 100), 2222);
        pdf.PDFSetFont(1, 20, 0);  // Courier
        QCOMPARE(qRound(pdf.PDFTextWidth("Hello") * 100), 6000);
        pdf.PDFSetFont(0, 10, 0);
        const double wide = pdf.PDFTextWidth(reinterpret_cast<const char *>(u8"写真写真"));
        QVERIFY2(wide > 35 && wide <= 40, qPrintable(QString::number(wide)));  // four ideographs, an em or less each
        double x = 1, y = 1;
        pdf.PDFSetHorizontalScaling(62.5);
        pdf.PDFTextOut("narrow", x, y);
        pdf.PDFSetHorizontalScaling(100);
        double y2 = 2;
        pdf.PDFTextOut("plain", x, y2);
        pdf.PDFEndPage();
        pdf.PDFEndDoc();
        const QByteArray content = contentOfObject(readAll(QString::fromStdString(path)), 2);
        QVERIFY(content.contains("Td\r\n62.50 Tz\r\n/F0 10.00 Tf\r\n(narrow) Tj\r\n100 Tz\r\nET\r\n"));
        QVERIFY(content.contains("Td\r\n/F0 10.00 Tf\r\n(plain) Tj\r\nET\r\n"));
    }

    void currentPositionAndFonts()
    {
        QTemporaryDir dir;
        quorvelPDF pdf;
        const std::string path = beginIn(pdf, dir);
        double x = 0, y = 0;
        pdf.PDFTextOut("a", x, y);
        QCOMPARE(x, 1.0);  // the caller's variables receive the position used
        QCOMPARE(y, 1.0);
        QCOMPARE(pdf.PDFGetY(), std::int16_t(11));
        double x2 = 0, y2 = 0;
        pdf.PDFTextOut("b", x2, y2);
        QCOMPARE(y2, 11.0);
        pdf.PDFSetFont(0, 12, 3);
        double a = 1, b = 3, c = 1, d = 4;
        pdf.PDFTextOut("under", a, b);
        pdf.PDFTextOut("plain", c, d);
        pdf.PDFSetFont(9, 8, 0);
        QCOMPARE(pdf.PDFTextHeight(), 8 * 72 / 2.54);
        pdf.PDFSetFont(0, 10, 0);
        QCOMPARE(pdf.PDFTextHeight(), 283.46456692913385);
        pdf.PDFEndPage();
        pdf.PDFEndDoc();
        const QByteArray content = contentOfObject(readAll(QString::fromStdString(path)), 2);
        QVERIFY(content.contains("56.69 813.54 Td"));
        QVERIFY(content.contains("(under) Tj\r\nET\r\n\r\nQ\r\n"));
        QVERIFY(content.contains("(plain) Tj\r\nET\r\nQ\r\n"));
        QVERIFY(content.contains("/F0 12.00 Tf"));
    }

    void fontObjectFollowsTheFontState_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("style");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("default") << -1 << 0 << QByteArray("/BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
        QTest::newRow("times plain") << 2 << 0 << QByteArray("/BaseFont /Times-Roman /Encoding");
        QTest::newRow("times italic") << 2 << 1 << QByteArray("/BaseFont /Times-Italic /Encoding");
        QTest::newRow("times bold italic") << 2 << 21 << QByteArray("/BaseFont /Times-BoldItalic /Encoding");
        QTest::newRow("courier bold") << 1 << 2 << QByteArray("/BaseFont /Courier-Bold /Encoding");
        QTest::newRow("helvetica bold italic") << 0 << 12 << QByteArray("/BaseFont /Helvetica-BoldOblique /Encoding");
        QTest::newRow("symbol") << 3 << 0 << QByteArray("/BaseFont /Symbol >>");
        QTest::newRow("unknown family") << 9 << 1 << QByteArray("/BaseFont /Helvetica-Oblique /Encoding");
    }
    void fontObjectFollowsTheFontState()
    {
        QFETCH(int, family);
        QFETCH(int, style);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        quorvelPDF pdf;
        if (family >= 0)
            pdf.PDFSetFont(family, 10, style);
        const std::string path = beginIn(pdf, dir);
        pdf.PDFEndPage();
        pdf.PDFEndDoc();
        QVERIFY(contentOfObject(readAll(QString::fromStdString(path)), 5).contains(expected));
    }

    void informationAndTextAreSafeStrings()
    {
        QTemporaryDir dir;
        quorvelPDF pdf;
        pdf.PDFTitle("Unbalanced (title");
        pdf.PDFAuthor(reinterpret_cast<const char *>(u8"Renée \\ €"));
        const std::string path = beginIn(pdf, dir);
        double x = 1, y = 1;
        pdf.PDFTextOut(reinterpret_cast<const char *>(u8"/home/zoë/写真.jpg"), x, y);
        pdf.PDFEndPage();
        pdf.PDFEndDoc();
        const QByteArray file = readAll(QString::fromStdString(path));
        QVERIFY(file.contains("/Title (Unbalanced \\(title)\r\n"));
        QVERIFY(file.contains(QByteArray("/Author (Ren\xe9" "e \\\\ \x80)\r\n")));
        // A line Windows-1252 cannot hold is drawn with an embedded font, as glyph
        // codes, on a page stored compressed.
        QVERIFY(!file.contains("(/home/zo"));
        QVERIFY(file.contains("/Subtype /Type0"));
        const qsizetype stream = file.indexOf(" /Filter /FlateDecode\r\n >>\r\nstream\r\n");
        QVERIFY(stream > 0);
        const qsizetype data = file.indexOf("stream\r\n", stream) + 8;
        QByteArray packed = file.mid(data, file.indexOf("\r\nendstream", data) - data);
        packed.prepend(QByteArray("\x00\x01\x00\x00", 4));
        QVERIFY(qUncompress(packed).contains("/F1 10.00 Tf\r\n<"));
    }

    void cp1252()
    {
        QCOMPARE(pdf::toCp1252("plain"), std::string("plain"));
        QCOMPARE(pdf::toCp1252(reinterpret_cast<const char *>(u8"é€Ÿ")), std::string("\xe9\x80\x9f"));
        QCOMPARE(pdf::toCp1252("bad\xff\xc3"), std::string("bad??"));
        QCOMPARE(pdf::toCp1252(reinterpret_cast<const char *>(u8"\u0081")), std::string("?"));
    }

    void fileCreation()
    {
        QTemporaryDir dir;
        {
            quorvelPDF pdf;
            pdf.PDFFileName("");
            QVERIFY_THROWS_EXCEPTION(pdf::PdfError, pdf.PDFBeginDoc());
        }
        {
            // A folder that is a file: no file is opened, and the first write says why.
            QFile plain(dir.path() + "/plain");
            QVERIFY(plain.open(QIODevice::WriteOnly));
            plain.close();
            quorvelPDF pdf;
            pdf.PDFFileName((dir.path() + "/plain/x.pdf").toStdString());
            try {
                pdf.PDFBeginDoc();
                QFAIL("wrote into nothing");
            } catch (const pdf::PdfError &e) {
                QVERIFY(std::string(e.what()).find("/plain/x.pdf") != std::string::npos);
            }
        }
        {
            // A second document replaces the first.
            quorvelPDF first;
            const std::string path = beginIn(first, dir, "r.pdf");
            double x = 1, y = 1;
            first.PDFTextOut(std::string(5000, 'x'), x, y);
            first.PDFEndPage();
            first.PDFEndDoc();
            quorvelPDF second;
            beginIn(second, dir, "r.pdf");
            second.PDFEndPage();
            second.PDFEndDoc();
            QVERIFY(readAll(QString::fromStdString(path)).size() < 2000);
        }
        if (::geteuid() != 0) {
            QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            quorvelPDF pdf;
            QVERIFY_THROWS_EXCEPTION(pdf::PdfError, pdf.PDFFileName((dir.path() + "/denied.pdf").toStdString()));
            QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
    }

    void moreObjectsThanSixteenBitsHold()
    {
        QTemporaryDir dir;
        quorvelPDF pdf;
        const std::string path = beginIn(pdf, dir);
        const int pages = 11000;  // 3 * 11000 + 5 objects: past 32,767
        for (int p = 1; p <= pages; ++p) {
            double x = 1, y = 1;
            pdf.PDFTextOut("page " + std::to_string(p), x, y);
            pdf.PDFEndPage();
            if (p < pages)
                pdf.PDFNewPage();
        }
        pdf.PDFEndDoc();
        QCOMPARE(pdf.PDFNbPage(), pages);
        const QByteArray file = readAll(QString::fromStdString(path));
        QVERIFY(file.contains("trailer\r\n<< /Size 33005\r\n"));
        QProcess check;
        check.start("qpdf", {"--check", QString::fromStdString(path)});
        QVERIFY(check.waitForFinished(60000));
        QCOMPARE(check.exitCode(), 0);
    }

    void missingPageSizeIsAnError()
    {
        QTemporaryDir dir;
        quorvelPDF pdf;
        beginIn(pdf, dir);
        pdf.PDFNewPage();  // no PDFEndPage for the break
        QVERIFY_THROWS_EXCEPTION(pdf::PdfError, pdf.PDFEndDoc());
    }

    void confirmationAndViewer()
    {
        QTemporaryDir dir;
        RecordingMessages m;
        RecordingViewer v;
        {
            quorvelPDF pdf(&m, &v);
            const std::string path = beginIn(pdf, dir);
            pdf.PDFEndPage();
            pdf.PDFEndDoc();
            QVERIFY(m.shown.empty() && v.calls.empty());
        }
        {
            quorvelPDF pdf(&m, &v);
            pdf.PDFConfirm(true);
            pdf.PDFView(true);
            const std::string path = beginIn(pdf, dir);
            pdf.PDFEndPage();
            pdf.PDFEndDoc();
            QCOMPARE(m.shown.size(), size_t(2));
            QCOMPARE(m.shown[0].text, std::string("PDF file generated."));
            QCOMPARE(m.shown[0].title, std::string("Generated PDF file - quorvelPDF 1.0"));
            QCOMPARE(m.shown[1].text,
                     std::string("Adob Software not installed. This file can only be best viewd with Adob Software"));
            QCOMPARE(m.shown[1].title, std::string("Quorvel File Search"));
            QCOMPARE(v.calls, std::vector<std::string>{"default " + path});
        }
        {
            v.viewer = "okular.desktop";
            v.calls.clear();
            quorvelPDF pdf(&m, &v);
            pdf.PDFView(true);
            const std::string path = beginIn(pdf, dir);
            pdf.PDFEndPage();
            pdf.PDFEndDoc();
            QCOMPARE(v.calls, std::vector<std::string>{"with okular.desktop " + path});
        }
    }
};

QTEST_GUILESS_MAIN(TestPdfWriter)
#include "test_pdf_writer.moc"
