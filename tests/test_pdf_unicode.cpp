// Names in every script in the PDF export: drawn with embedded font subsets,
// copied and searched back as the names they are.
#include "TestSupport.h"
#include "app/Form1.h"
#include "pdf/quorvelPDF.h"
#include "search/ResultList.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QtTest>

using testing::FakeServices;

namespace {

// pdftotext marks right-to-left stretches with embedding controls; the names are
// what stands between them.
QString withoutBidiMarks(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("[\\x{202A}-\\x{202E}]")));
}

bool fontInstalledFor(const char *language)
{
    return !testing::runTool("fc-list", {QStringLiteral(":lang=") + language, "family"}).trimmed().isEmpty();
}

// The file with its compressed pages unpacked in place, for reading their content.
QByteArray uncompressed(const QString &pdf)
{
    QByteArray bytes = testing::readFile(pdf);
    const QByteArray start = " /Filter /FlateDecode\r\n >>\r\nstream\r\n";
    for (qsizetype at = bytes.indexOf(start); at >= 0; at = bytes.indexOf(start, at)) {
        const qsizetype data = at + start.size();
        const qsizetype end = bytes.indexOf("\r\nendstream", data);
        QByteArray packed = bytes.mid(data, end - data);
        packed.prepend(QByteArray("\x00\x10\x00\x00", 4));  // a size to start from: 1 MiB
        const QByteArray content = qUncompress(packed);
        bytes.replace(at, end - at, " >>\r\nstream\r\n" + content);
        at += content.size();
    }
    return bytes;
}

QString exportPdf(FakeServices &fakes, Form1 &w, const QStringList &entries)
{
    testing::fillList(w, entries);
    w.PDF->trigger();
    testing::settled(w);
    return fakes.appFolder->path() + "/quorvelfilesearch.pdf";
}

const QStringList kScripts{
    QString::fromUtf8("/home/eleni/Έγγραφα/φωτογραφία.jpg"),
    QString::fromUtf8("/home/ivan/Документы/отчёт за год.pdf"),
    QString::fromUtf8("/data/שלום עולם.jpg"),
    QString::fromUtf8("/data/مرحبا بالعالم.png"),
    QString::fromUtf8("/x/≈ → 1.txt"),
};

}  // namespace

class TestPdfUnicode : public QObject {
    Q_OBJECT
private slots:
    void windows1252ListsKeepTheirBytes()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        const QString pdf = exportPdf(fakes, *w, {"/a.jpg", QString::fromUtf8("/été/Ærø €.jpg")});
        const QByteArray bytes = testing::readFile(pdf);
        QVERIFY(bytes.startsWith("%PDF-1.0\r\n"));
        QVERIFY(!bytes.contains("/Type0"));
        QVERIFY(bytes.contains(QByteArray("(/\xe9t\xe9/\xc6r\xf8 \x80.jpg) Tj")));
        QVERIFY(bytes.contains("/Font << \r\n/F0 << /Type /Font /Subtype /Type1 /BaseFont /Helvetica "
                               "/Encoding /WinAnsiEncoding >>\r\n>>"));
    }

    void everyScriptComesBackFromTheFile()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        QStringList names = kScripts;
        const std::pair<const char *, const char *> eastAsian[] = {
            {"zh", "/data/中文文件名.jpg"}, {"ja", "/data/日本語のファイル.png"}, {"ko", "/data/한국어 파일.txt"}};
        for (const auto &[language, name] : eastAsian) {
            if (fontInstalledFor(language))
                names << QString::fromUtf8(name);
            else
                qWarning("no font for the language %s is installed: %s is not tried", language, name);
        }
        const QString pdf = exportPdf(fakes, *w, names);
        QVERIFY(testing::runTool("qpdf", {"--check", pdf}).contains("No syntax or stream encoding errors"));
        QVERIFY(!testing::runTool("qpdf", {"--check", pdf}).contains("WARNING"));
        const QString text = withoutBidiMarks(testing::runTool("pdftotext", {"-enc", "UTF-8", pdf, "-"}));
        for (const QString &name : names)
            QVERIFY2(text.contains(name), qPrintable(name + " missing from:\n" + text));
        // Embedded subsets, with a map back to the text.
        const QString fonts = testing::runTool("pdffonts", {pdf});
        QVERIFY(QRegularExpression(R"([A-Z]{6}\+DejaVuSans\s+CID TrueType\s+Identity-H\s+yes\s+yes\s+yes)")
                    .match(fonts)
                    .hasMatch());
    }

    // Each name is one paragraph read left to right, ordered by the Unicode
    // Bidirectional Algorithm: right-to-left words are drawn from their last letter,
    // numbers inside them keep their order (both kinds of digits), brackets round a
    // number in a right-to-left name are drawn mirrored, so that they still open
    // towards it. What is drawn is read back through the file's own map from glyphs
    // to text, left to right as the eye meets it (a mirrored bracket maps to the
    // character it stands for).
    void rightToLeftTextIsOrderedAsReadersShowIt_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("drawn");
        // pdftotext rebuilds the order it was written in only where no number stands
        // inside right-to-left text: it turns round every stretch that is neither a
        // left-to-right letter nor a digit.
        QTest::addColumn<bool>("extractable");
        QTest::newRow("Hebrew") << u8"/d/שלום.txt" << u8"/d/םולש.txt" << true;
        QTest::newRow("Hebrew with a year") << u8"/d/שנה 2024 טיול.jpg" << u8"/d/לויט 2024 הנש.jpg" << false;
        QTest::newRow("Arabic with Arabic-Indic digits") << u8"/d/سنة ١٤٤٥.jpg" << u8"/d/١٤٤٥ ةنس.jpg" << false;
        QTest::newRow("a number after Hebrew") << u8"/d/טיול 3.jpg" << u8"/d/3 לויט.jpg" << false;
        QTest::newRow("Latin and Hebrew") << u8"/photos/Trip טיול/x.jpg" << u8"/photos/Trip לויט/x.jpg" << true;
        QTest::newRow("brackets round a number") << u8"/d/שלום (2).jpg" << u8"/d/)2( םולש.jpg" << false;
        QTest::newRow("two Hebrew words") << u8"/data/שלום עולם.jpg" << u8"/data/םלוע םולש.jpg" << true;
    }

    void rightToLeftTextIsOrderedAsReadersShowIt()
    {
        QFETCH(QString, name);
        QFETCH(QString, drawn);
        QFETCH(bool, extractable);
        QTemporaryDir dir;
        const QString path = dir.path() + "/rtl.pdf";
        {
            quorvelPDF pdf;
            pdf.PDFFileName(path.toStdString());
            pdf.PDFBeginDoc();
            double x = 1, y = 1;
            pdf.PDFTextOut(name.toStdString(), x, y);
            // Among other names, as in a list: a page of left-to-right lines.
            for (const char *other : {"/photos/a.jpg", "/photos/b.jpg", "/photos/c.jpg"}) {
                x = 1;
                y += 1;
                pdf.PDFTextOut(other, x, y);
            }
            pdf.PDFEndPage();
            pdf.PDFEndDoc();
        }
        // The maps are stored compressed: read them unpacked.
        testing::runTool("qpdf", {"--stream-data=uncompress", path, dir.path() + "/plain.pdf"});
        const QString bytes = QString::fromLatin1(testing::readFile(dir.path() + "/plain.pdf"));
        QHash<QString, QString> toUnicode;  // per font and glyph code
        const QRegularExpression cmap(R"(beginbfchar\r\n((?:<[0-9A-F]{4}> <[0-9A-F]+>\r\n)+)endbfchar)");
        const QRegularExpression pair(R"(<([0-9A-F]{4})> <([0-9A-F]+)>)");
        for (auto block = cmap.globalMatch(bytes); block.hasNext();) {
            for (auto it = pair.globalMatch(block.next().captured(1)); it.hasNext();) {
                const auto m = it.next();
                QString text;
                for (int i = 0; i < m.captured(2).size(); i += 4)
                    text += QChar(m.captured(2).mid(i, 4).toUShort(nullptr, 16));
                toUnicode.insert(m.captured(1), text);
            }
        }
        QString seen;
        const QRegularExpression run(R"(<([0-9A-F]+)> Tj)");
        for (auto it = run.globalMatch(bytes); it.hasNext();) {
            const QString hex = it.next().captured(1);
            for (int i = 0; i < hex.size(); i += 4)
                seen += toUnicode.value(hex.mid(i, 4));
        }
        QCOMPARE(seen, drawn);
        if (extractable) {
            const QString text = withoutBidiMarks(testing::runTool("pdftotext", {"-enc", "UTF-8", path, "-"}));
            QVERIFY2(text.contains(name), qPrintable(text));
        }
    }

    // Font programs and their maps are stored compressed: a list of names in many
    // scripts stays small, and reads back whole.
    void namesInManyScriptsMakeACompactFile()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        const QStringList scripts = kScripts + QStringList{QString::fromUtf8("/照片/北京的春天.jpg"),
                                                           QString::fromUtf8("/写真/東京タワー.jpg")};
        QStringList names;
        for (int i = 0; i < 47; ++i)
            names << scripts[i % scripts.size()];
        const QString pdf = exportPdf(fakes, *w, names);
        const QByteArray bytes = testing::readFile(pdf);
        QVERIFY2(bytes.size() < 80 * 1024, qPrintable(QString::number(bytes.size())));
        QVERIFY(bytes.contains("/Filter /FlateDecode /Length1 "));
        QVERIFY(testing::runTool("qpdf", {"--check", pdf}).contains("No syntax or stream encoding errors"));
        const QString text = testing::runTool("pdftotext", {"-enc", "UTF-8", pdf, "-"});
        for (const QString &name : scripts)
            QVERIFY2(text.contains(name.section('/', -1).left(4)), qPrintable(name));
    }

    // Pages with such names are stored compressed, made while the next is built: a
    // long list stays small and reads back whole; a page of Windows-1252 names in
    // the same file keeps its bytes.
    void longMixedListsMakeACompactFile()
    {
        QStringList words{"holiday", "φωτογραφία", "отпуск", "טיול", "رحلة", "照片", "東京タワー"};
        QStringList names;
        for (int i = 0; i < 27; ++i)
            names << QString("/plain/IMG_%1.jpg").arg(i);  // the first page: Windows-1252 only
        for (int i = 0; i < 10000; ++i)
            names << QString("/home/user/%1/%1 %2.jpg").arg(words[i % words.size()]).arg(100000 + i);
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        const QString pdf = exportPdf(fakes, *w, names);
        const QByteArray bytes = testing::readFile(pdf);
        QVERIFY2(bytes.size() < 800 * 1024, qPrintable(QString::number(bytes.size())));  // 8 MB for 100,000
        QVERIFY(bytes.contains("BT\r\n56.69 813.65 Td\r\n/F0 10.00 Tf\r\n(/plain/IMG_0.jpg) Tj"));
        QVERIFY(testing::runTool("qpdf", {"--check", pdf}).contains("No syntax or stream encoding errors"));
        const QString text = testing::runTool("pdftotext", {"-enc", "UTF-8", pdf, "-"});
        for (int i : {0, 1, 2, 5, 6, 4999, 9999})
            QVERIFY2(text.contains(names[27 + i].section('/', -1)) || words[i % words.size()] == "טיול" ||
                         words[i % words.size()] == "رحلة",
                     qPrintable(names[27 + i]));
        QCOMPARE(text.count("Page No. "), (27 + 10000 + 26) / 27);
    }

    // A font with CFF outlines (Noto CJK) is embedded as such: a CIDFontType0 font
    // with its bare font program. Korean, which no TrueType font of the set covers,
    // comes back from the file and is drawn.
    void aKoreanNameThroughACffFont()
    {
        const QString fonts = testing::runTool("fc-list", {":lang=ko:fontformat=CFF", "file"});
        if (fonts.trimmed().isEmpty())
            QSKIP("no font with CFF outlines covers Korean here (fonts-noto-cjk)");
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        const QString name = QString::fromUtf8("/data/한국어 파일.txt");
        const QString pdf = exportPdf(fakes, *w, {name, "/plain/a.txt"});
        QVERIFY(testing::runTool("qpdf", {"--check", pdf}).contains("No syntax or stream encoding errors"));
        QVERIFY2(QRegularExpression(R"([A-Z]{6}\+\S+\s+CID Type 0C\s+Identity-H\s+yes\s+yes\s+yes)")
                     .match(testing::runTool("pdffonts", {pdf}))
                     .hasMatch(),
                 qPrintable(testing::runTool("pdffonts", {pdf})));
        QVERIFY(testing::readFile(pdf).contains("/Subtype /CIDFontType0C"));
        const QString text = testing::runTool("pdftotext", {"-enc", "UTF-8", pdf, "-"});
        QVERIFY2(text.contains(name), qPrintable(text));
        // Drawn, not left blank: the Korean line's own pixels on the rendered page.
        QTemporaryDir pages;
        testing::runTool("pdftoppm", {"-r", "72", "-f", "1", "-l", "1", "-png", pdf, pages.path() + "/p"});
        const QStringList png = QDir(pages.path()).entryList({"*.png"});
        QCOMPARE(png.size(), 1);
        const QImage page(pages.filePath(png.first()));
        const QRect hangul(QPoint(88, 20), QSize(60, 20));  // after "/data/", on the first line
        int dark = 0;
        for (int y = hangul.top(); y <= hangul.bottom(); ++y)
            for (int x = hangul.left(); x <= hangul.right(); ++x)
                dark += qGray(page.pixel(x, y)) < 128;
        QVERIFY2(dark > 40, qPrintable(QString::number(dark)));
    }

    void aCharacterNoFontCoversBecomesAQuestionMark()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        // U+FFFF is no character at all: no font draws it.
        const QString name = QString::fromUtf8("/x/Добрый") + QChar(0xFFFF) + QString::fromUtf8("день.txt");
        const QString pdf = exportPdf(fakes, *w, {name});
        const QString text = testing::runTool("pdftotext", {"-enc", "UTF-8", pdf, "-"});
        QVERIFY2(text.contains(QString::fromUtf8("/x/Добрый?день.txt")), qPrintable(text));
    }

    void mixedListsKeepTheLayout()
    {
        // Windows-1252 lines and others side by side, over a page break: 27 entries
        // and a footer to a page, each line where the standard font's would stand.
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        QStringList names;
        for (int i = 0; i < 40; ++i)
            names << (i % 2 ? QString("/plain/file%1.txt").arg(i) : QString::fromUtf8("/кириллица/файл%1.txt").arg(i));
        const QString pdf = exportPdf(fakes, *w, names);
        const QByteArray bytes = uncompressed(pdf);
        QCOMPARE(bytes.count("/Type /Page\r\n"), 2);
        QVERIFY(bytes.contains("BT\r\n56.69 813.65 Td\r\n/F1 10.00 Tf\r\n<"));  // the first line, in the embedded font
        QVERIFY(bytes.contains("BT\r\n56.69 785.31 Td\r\n/F0 10.00 Tf\r\n(/plain/file1.txt) Tj"));
        const QString first = testing::runTool("pdftotext", {"-f", "1", "-l", "1", "-enc", "UTF-8", pdf, "-"});
        const QString second = testing::runTool("pdftotext", {"-f", "2", "-l", "2", "-enc", "UTF-8", pdf, "-"});
        QVERIFY(first.contains(QString::fromUtf8("/кириллица/файл26.txt")) && !first.contains("/plain/file27.txt"));
        QVERIFY(second.contains("/plain/file27.txt") && second.contains(QString::fromUtf8("/кириллица/файл38.txt")));
        QVERIFY(first.contains("Page No. 1") && second.contains("Page No. 2"));
        QVERIFY(testing::runTool("qpdf", {"--check", pdf}).contains("No syntax or stream encoding errors"));
    }

    // Shaped scripts come back as they were written, through both readers: a
    // line whose glyphs alone cannot say its text (conjuncts, vowel signs drawn
    // before their consonant, ligatures, right-to-left runs, an emoji with its
    // skin tone) carries the text itself; one whose glyphs can, does not.
    void shapedNamesAreSearchedAndCopiedAsWritten()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        const std::pair<const char *, const char *> scripts[] = {
            {"hi", "/d/क्षत्रिय श्री.jpg"},       {"bn", "/d/বাংলা ক্ষেত্র.jpg"},
            {"ta", "/d/தமிழ் க்ஷேத்திரம்.jpg"}, {"th", "/d/ภาษาไทย ที่นี่.jpg"},
            {"km", "/d/ភាសាខ្មែរ.jpg"},          {"en", "/d/👍🏽 thumbs.jpg"},
        };
        QStringList names;
        for (const auto &[language, name] : scripts) {
            QVERIFY2(fontInstalledFor(language), language);
            names << QString::fromUtf8(name);
        }
        // Right to left, readers turn the glyphs round themselves: an Arabic
        // ligature (lam with alef) maps back to its two letters.
        const QString arabic = QString::fromUtf8("/d/لا إله.jpg");
        const QString plain = QString::fromUtf8("/d/plain ελληνικά.jpg");
        const QString pdf = exportPdf(fakes, *w, names + QStringList{arabic, plain});
        QVERIFY(!testing::runTool("qpdf", {"--check", pdf}).contains("WARNING"));
        const QString poppler = withoutBidiMarks(testing::runTool("pdftotext", {"-enc", "UTF-8", pdf, "-"}));
        const QString mupdf = testing::runTool("mutool", {"draw", "-F", "txt", pdf});
        for (const QString &name : names + QStringList{arabic, plain})
            QVERIFY2(poppler.contains(name), qPrintable(name + " not in pdftotext's text:\n" + poppler));
        // MuPDF as Debian 12 has it (1.21) reads neither the spans nor right-to-left
        // order: it gets back what glyphs in order say.
        QVERIFY2(mupdf.contains(plain), qPrintable(plain + " not in mutool's text:\n" + mupdf));
        // The plain line needs nothing more than its glyphs.
        const QByteArray bytes = uncompressed(pdf);
        QCOMPARE(bytes.count("/ActualText"), names.size());
    }
};

QTEST_MAIN(TestPdfUnicode)
#include "test_pdf_unicode.moc"
