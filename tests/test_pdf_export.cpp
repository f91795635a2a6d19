#include "TestSupport.h"
#include "app/Form1.h"
#include "export/PdfLineFit.h"
#include "search/ResultList.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

using testing::FakeServices;

namespace {

struct Placed {
    QString text;
    double x;
    double y;  // in centimetres from the top edge
};

QByteArray readPdf(FakeServices &fakes)
{
    QFile f(fakes.appFolder->path() + "/quorvelfilesearch.pdf");
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The text lines of every page, in order, with their positions.
QList<QList<Placed>> pagesOf(const QByteArray &pdf)
{
    QList<QList<Placed>> pages;
    static const QRegularExpression stream("stream\r\n(.*?)endstream", QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression line("([-0-9.]+) ([-0-9.]+) Td\r\n/F0 [0-9.]+ Tf\r\n\\((.*?)\\) Tj");
    auto streams = stream.globalMatch(QString::fromLatin1(pdf));
    while (streams.hasNext()) {
        const QString content = streams.next().captured(1);
        QList<Placed> page;
        auto lines = line.globalMatch(content);
        while (lines.hasNext()) {
            const auto m = lines.next();
            page.append({m.captured(3), m.captured(1).toDouble() / (72 / 2.54) - 1,
                         (842 - m.captured(2).toDouble()) / (72 / 2.54)});
        }
        pages.append(page);
    }
    return pages;
}

QString footer(int page)
{
    return QString("Exported to PDF Format by Quorvel Software ................Page No. %1").arg(page);
}

QString run(const QString &program, const QStringList &args, int *exitCode = nullptr)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    if (exitCode)
        *exitCode = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

void fill(Form1 &w, int count)
{
    w.List1->Clear();
    for (int i = 1; i <= count; ++i)
        w.List1->AddItem(QString("/photos/img_%1.jpg").arg(i, 4, 10, QChar('0')));
}

}  // namespace

class TestPdfExport : public QObject {
    Q_OBJECT
private slots:
    void pageLayout_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<QList<int>>("perPage");
        QTest::newRow("1") << 1 << QList<int>{1};
        QTest::newRow("26") << 26 << QList<int>{26};
        QTest::newRow("27") << 27 << QList<int>{27, 0};
        QTest::newRow("28") << 28 << QList<int>{27, 1};
        QTest::newRow("54") << 54 << QList<int>{27, 27, 0};
        QTest::newRow("empty") << 0 << QList<int>{0};
    }
    void pageLayout()
    {
        QFETCH(int, entries);
        QFETCH(QList<int>, perPage);
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        fill(*w, entries);
        w->Label1->setText("before");
        w->Command6->click();
        QVERIFY(testing::settled(*w));
        QVERIFY(fakes.messages->shown.empty());
        QCOMPARE(w->Label1->text(), QString("before"));
        const QList<QList<Placed>> pages = pagesOf(readPdf(fakes));
        QCOMPARE(pages.size(), perPage.size());
        int entry = 1;
        for (int p = 0; p < pages.size(); ++p) {
            const QList<Placed> &page = pages[p];
            if (perPage[p] == 0) {
                QVERIFY(page.isEmpty());
                continue;
            }
            QCOMPARE(page.size(), perPage[p] + 1);
            const double first = p == 0 ? 1 : 2;  // page 1 starts one unit higher
            for (int i = 0; i < perPage[p]; ++i, ++entry) {
                QCOMPARE(page[i].text, QString("/photos/img_%1.jpg").arg(entry, 4, 10, QChar('0')));
                QCOMPARE(qRound(page[i].x * 100), 100);
                QCOMPARE(qRound(page[i].y * 100), qRound((first + i) * 100));
            }
            const Placed &foot = page.last();
            QCOMPARE(foot.text, footer(p + 1));
            QCOMPARE(qRound(foot.x * 100), 700);
            const bool full = perPage[p] == 27;
            const double footY = full ? first + 27 : 29;
            QCOMPARE(qRound(foot.y * 100), qRound(footY * 100));
        }
        QCOMPARE(fakes.shell->opened, QStringList{fakes.appFolder->path() + "/quorvelfilesearch.pdf"});
    }

    void fileIsValidAndReadsBack()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        fill(*w, 60);
        w->List1->AddItem(QString::fromUtf8("/home/zoë/a (1)\\b.jpg"));
        w->PDF->trigger();
        QVERIFY(testing::settled(*w));
        const QString path = fakes.appFolder->path() + "/quorvelfilesearch.pdf";
        int code = -1;
        const QString check = run("qpdf", {"--check", path}, &code);
        QVERIFY2(code == 0, qPrintable(check));
        QVERIFY2(!check.contains("WARNING"), qPrintable(check));
        const QString text = run("pdftotext", {"-enc", "UTF-8", path, "-"});
        qsizetype at = 0;
        QStringList expected;
        for (int i = 1; i <= 60; ++i) {
            expected << QString("/photos/img_%1.jpg").arg(i, 4, 10, QChar('0'));
            if (i % 27 == 0)
                expected << footer(i / 27);
        }
        expected << QString::fromUtf8("/home/zoë/a (1)\\b.jpg") << footer(3);
        for (const QString &e : expected) {
            const qsizetype found = text.indexOf(e, at);
            QVERIFY2(found >= 0, qPrintable("missing or out of order: " + e));
            at = found + e.size();
        }
    }

    // A line too long for the page is compressed, down to half its width, then
    // loses the middle of its folder part to "…"; the file name always stays
    // whole, and nothing is drawn past the right margin. Lines that fit are
    // written as they always were.
    void longLinesStayOnThePage()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        const QString fits = "/photos/img_0001.jpg";
        const QString longer = "/photos/" + QString("abcdefghij/").repeated(11) + "compressed.jpg";
        const QString longest = "/photos/" + QString("abcdefghij/").repeated(40) + "cut in the middle.jpg";
        const QString cjk = "/photos/" + QString::fromUtf8("写真の保存フォルダ/").repeated(20) + QString::fromUtf8("夏休み.jpg");
        const QString hugeName = "/photos/" + QString("n").repeated(250) + ".jpg";
        w->List1->Clear();
        for (const QString &entry : {fits, longer, longest, cjk, hugeName})
            w->List1->AddItem(entry);
        w->Command6->click();
        QVERIFY(testing::settled(*w));
        const QString path = fakes.appFolder->path() + "/quorvelfilesearch.pdf";
        // The pages are stored compressed once a name beyond Windows-1252 is on them.
        testing::TempTree out;
        run("qpdf", {"--stream-data=uncompress", path, out.root() + "plain.pdf"});
        QFile plainFile(out.root() + "plain.pdf");
        QVERIFY(plainFile.open(QIODevice::ReadOnly));
        const QByteArray pdf = plainFile.readAll();
        static const QRegularExpression asBefore("BT\r\n[0-9.]+ [0-9.]+ Td\r\n/F0 10.00 Tf\r\n\\(/photos/img_0001.jpg\\) Tj\r\nET\r\n");
        QVERIFY(asBefore.match(QString::fromLatin1(pdf)).hasMatch());
        QVERIFY(pdf.contains(" Tz\r\n"));

        const QStringList lines = run("pdftotext", {"-enc", "UTF-8", "-layout", path, "-"}).split('\n');
        const auto lineWith = [&](const QString &part) {
            for (const QString &l : lines)
                if (l.contains(part))
                    return l.trimmed();
            return QString();
        };
        QCOMPARE(lineWith("compressed.jpg"), longer);  // whole, only narrower
        const QString cut = lineWith("cut in the middle.jpg");
        QVERIFY2(cut.startsWith("/photos/abcdefghij/") && cut.contains(QString::fromUtf8("…")) &&
                     cut.endsWith("/cut in the middle.jpg") && cut.size() < longest.size(),
                 qPrintable(cut));
        const QString cjkCut = lineWith(QString::fromUtf8("夏休み.jpg"));
        QVERIFY2(cjkCut.contains(QString::fromUtf8("…")) && cjkCut.endsWith(QString::fromUtf8("/夏休み.jpg")),
                 qPrintable(cjkCut));
        QVERIFY2(lineWith(QString("n").repeated(250) + ".jpg").endsWith("/" + QString("n").repeated(250) + ".jpg"),
                 "the long file name was not kept whole");

        // Nothing dark right of the margin: entries start 2 cm from the page's left
        // edge, and end 2 cm from its right.
        run("pdftoppm", {"-gray", "-r", "72", "-f", "1", "-l", "1", path, out.root() + "page"});
        QImage page(out.root() + "page-1.pgm");
        QVERIFY(!page.isNull());
        const int margin = qRound(19.0 / 2.54 * 72);
        for (int y = 0; y < page.height(); ++y)
            for (int x = margin + 1; x < page.width(); ++x)
                QVERIFY2(qGray(page.pixel(x, y)) > 200, qPrintable(QString("ink at %1, %2").arg(x).arg(y)));
    }

    void aLineIsFittedByCompressingThenCutting()
    {
        using listexport::fitLine;
        const auto units = [](const QString &text) { return double(text.size()); };
        const QString line = "/abcdefgh/x.jpg";  // 15 wide
        QCOMPARE(fitLine(line, 15, units).text, line);
        QCOMPARE(fitLine(line, 15, units).scale, 100.0);
        QCOMPARE(fitLine(line, 10, units).text, line);
        QCOMPARE(fitLine(line, 10, units).scale, 66.66);  // rounded down: it never passes the room
        QCOMPARE(fitLine(line, 7.5, units).scale, 50.0);
        // Past half: the folder's middle goes, the larger half kept from its start.
        QCOMPARE(fitLine(line, 7, units).text, QString::fromUtf8("/abc…fgh/x.jpg"));
        QCOMPARE(fitLine(line, 7, units).scale, 50.0);
        QCOMPARE(fitLine(line, 4, units).text, QString::fromUtf8("/…/x.jpg"));
        QCOMPARE(fitLine(line, 4, units).scale, 50.0);
        // A file name wider than twice the room stays whole, compressed further.
        const QString huge = "/d/" + QString(30, 'n');
        QCOMPARE(fitLine(huge, 5, units).text, QString::fromUtf8("…/") + QString(30, 'n'));
        QCOMPARE(fitLine(huge, 5, units).scale, 15.62);
        QCOMPARE(fitLine("/" + QString(30, 'n'), 5, units).text, "/" + QString(30, 'n'));
        // The cut falls between whole characters: an emoji keeps its skin tone.
        const QString thumb = QString::fromUtf8("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD");
        const QString emoji = "/" + thumb.repeated(6) + "/x.jpg";
        for (double room = 4; room < emoji.size() / 2.0; room += 0.5) {
            const QString fitted = fitLine(emoji, room, units).text;
            QCOMPARE(fitted.count(thumb) * thumb.size() + fitted.count('/') + fitted.count(QChar(0x2026)) + 5,
                     fitted.size());
        }
    }

    void noDefaultViewerSaysSoThenOpensAnyway()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        fakes.shell->defaultApplication.clear();
        fill(*w, 2);
        w->Command6->click();
        QVERIFY(testing::settled(*w));
        QCOMPARE(fakes.messages->shown.size(), size_t(1));
        QCOMPARE(fakes.messages->shown[0].text,
                 QString("Adob Software not installed. This file can only be best viewd with Adob Software"));
        QCOMPARE(fakes.shell->opened.size(), 1);
    }

    void unwritableFolderShowsTheFailure()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::blockApplicationFolder(*w, fakes);
        fill(*w, 3);
        w->Command6->click();
        QVERIFY(testing::settled(*w));
        QCOMPARE(fakes.messages->shown.size(), size_t(1));
        QVERIFY(fakes.messages->shown[0].text.contains("blocked/quorvelfilesearch.pdf"));
        QCOMPARE(fakes.messages->shown[0].title, QString("Quorvel File Search"));
        QCOMPARE(fakes.messages->shown[0].icon, platform::MessageIcon::None);
        QVERIFY(fakes.shell->opened.isEmpty());
        // The window stays usable: a second export into a good folder works.
        w->services().applicationFolder = fakes.appFolder->path();
        w->Command6->click();
        QVERIFY(testing::settled(*w));
        QCOMPARE(fakes.shell->opened.size(), 1);
    }

    void progressShowsTheEntryBeingWritten()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        // Long enough to be written over several looks at the status line.
        fill(*w, 600000);
        const QString caption = w->Label1->text();
        QStringList seen;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, w.get(), [&] { seen.append(w->Label1->text()); });
        watcher.start(0);
        w->Command6->click();
        QVERIFY(testing::settled(*w));
        const QRegularExpression progress("^Please wait exporting List to PDF : /photos/img_\\d+\\.jpg$");
        QVERIFY(std::any_of(seen.begin(), seen.end(), [&](const QString &s) { return progress.match(s).hasMatch(); }));
        QCOMPARE(w->Label1->text(), caption);  // given back at the end
    }
};

QTEST_MAIN(TestPdfExport)
#include "test_pdf_export.moc"
