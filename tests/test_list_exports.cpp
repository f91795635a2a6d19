#include "TestSupport.h"
#include "app/Form1.h"
#include "export/HtmlExport.h"
#include "export/Printing.h"
#include "export/TextExport.h"
#include "platform/FileNames.h"
#include "platform/TextPrinting.h"
#include "search/ResultList.h"

#include <QAction>
#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

using testing::FakeServices;

namespace {

const QByteArray kClosingText = "File List Exported by Quorvel Software support@quorvel.example\r\n";

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray head()
{
    return "<HTML><HEAD><TITLE>quorvel File Search</TITLE></HTML><BODY>\r\n"
           "<META HTTP-EQUIV=\"CONTENT-TYPE\"CONTENT=\"text/html; CHARSET=UTF-8\">\r\n"
           "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">\r\n"
           "<!-- Copyright (c) Quorvel Software. All rights reserved. https://quorvel.example/filesearch -->\r\n"
           "<META HTTP-EQUIV=\"content-language\" content=\"TR\">\r\n"
           "<META HTTP-EQUIV=\"cache-control\" CONTENT=\"no-cache\">\r\n"
           "<META NAME=\"Quorvel File Search\" CONTENT=\"no-cache\">\r\n"
           "</HEAD>\r\n"
           "<body bgcolor=\"#FFFFFF\" leftmargin=\"0\" topmargin=\"0\" marginwidth=\"0\" marginheight=\"0\">\r\n"
           "<BR><p align=center><TABLE border=1 width=600 height=400><Tr><TD>\r\n";
}

const QByteArray kClosingHtml = "</Table>File List Exported by Quorvel Software   support@quorvel.example</BODY></HTML>\r\n";

QByteArray cell(const QByteArray &link, const QByteArray &shown)
{
    return "<TD WIDTH=\"700\"><Left><a><a href=\"" + link + "\" target=\"quorvellink\">" + shown +
           "<a/></left></TD>\r\n";
}

}  // namespace

class TestListExports : public QObject {
    Q_OBJECT
private slots:
    void textFile()
    {
        using listexport::textExportContent;
        QCOMPARE(textExportContent({}), "\r\n" + kClosingText);
        QCOMPARE(textExportContent({"/a.jpg"}), "/a.jpg\r\n\r\n" + kClosingText);
        QCOMPARE(textExportContent({"/a.jpg", "/b c.jpg", QString::fromUtf8("/été.jpg")}),
                 "/a.jpg\r\n/b c.jpg\r\n" + QString::fromUtf8("/été.jpg").toUtf8() + "\r\n\r\n" + kClosingText);
    }

    // A name holding a control character is written as `ls --quoting-style=shell-escape`
    // writes it, so that a shell gives the name back; every other line stays as it was.
    void textFileQuotesNamesWithControlCharacters()
    {
        testing::TempTree tree;
        const QList<QByteArray> names = {"a\nb.jpg", "tab\there", "it's\x01", "\nlead", "end\x7f",
                                         "e\xff\n.jpg", "\xc3\xa9\xc2\x85z", "q\n'x", "two\r\n\x1b"};
        QStringList entries;
        QList<QByteArray> paths;
        for (const QByteArray &name : names) {
            paths << QFile::encodeName(tree.root()) + name;
            QVERIFY2(::close(::open(paths.last().constData(), O_CREAT | O_WRONLY, 0644)) == 0, name.constData());
            entries << platform::decodeFileName(paths.last());
        }
        const QByteArray text = listexport::textExportContent(entries);
        QList<QByteArray> lines = text.split('\n').mid(0, names.size());
        QCOMPARE(text.count('\n'), names.size() + 2);  // one line each, then the closing text
        for (qsizetype i = 0; i < names.size(); ++i) {
            lines[i].chop(1);  // the \r
            QProcess shell;
            shell.start("bash", {"-c", "printf %s " + QString::fromUtf8(lines[i])});
            QVERIFY(shell.waitForFinished());
            QCOMPARE(shell.readAllStandardOutput(), paths[i]);
        }
        // Byte for byte what ls writes of the same files.
        QProcess ls;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", "C.UTF-8");
        environment.insert("ROOT", tree.root());
        ls.setProcessEnvironment(environment);
        ls.start("bash", {"-c", "ls -d --quoting-style=shell-escape \"$ROOT\"*"});
        QVERIFY(ls.waitForFinished());
        QList<QByteArray> listed = ls.readAllStandardOutput().trimmed().split('\n');
        // ls opens a name holding a single quote with a needless '' of its own;
        // the rest is the same.
        for (QByteArray &l : listed)
            if (l.startsWith("'''"))
                l.remove(0, 2);
        std::sort(listed.begin(), listed.end());
        std::sort(lines.begin(), lines.end());
        QCOMPARE(lines, listed);
        // Without a control character: as today, a name that is no UTF-8 included.
        QCOMPARE(listexport::textExportContent({platform::decodeFileName("/x/it's \xff.jpg")}),
                 QByteArray("/x/it's \xef\xbf\xbd.jpg\r\n\r\n") + kClosingText);
    }

    void textExportWritesReplacesAndOpens()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        const QString path = fakes.appFolder->path() + "/QuorvelFileSearch.txt";
        w->List1->Clear();
        for (int i = 0; i < 50; ++i)
            w->List1->AddItem(QString("/long/path/number/%1.jpg").arg(i));
        w->Notepad->trigger();
        QVERIFY(testing::settled(*w));
        w->List1->Clear();
        w->List1->AddItem("/a.jpg");
        w->Command5->click();
        QVERIFY(testing::settled(*w));
        QCOMPARE(readFile(path), "/a.jpg\r\n\r\n" + kClosingText);
        QCOMPARE(fakes.shell->opened, (QStringList{path, path}));
    }

    void htmlPage()
    {
        using listexport::htmlExportContent;
        QCOMPARE(htmlExportContent({"/a.jpg"}),
                 head() + "<TR>\r\n" + cell("file:///a.jpg", "/a.jpg") + "</TR>\r\n</TR>\r\n" + kClosingHtml);
        QCOMPARE(htmlExportContent({"/a.jpg"}).count("\r\n"), 15);
        // Without entries the last head line is the one written again.
        QCOMPARE(htmlExportContent({}),
                 head() + "<BR><p align=center><TABLE border=1 width=600 height=400><Tr><TD>\r\n" + kClosingHtml);
        QCOMPARE(htmlExportContent({""}),
                 head() + "<TR>\r\n" + cell("&nbsp", "&nbsp") + "</TR>\r\n</TR>\r\n" + kClosingHtml);
        const QByteArray three = htmlExportContent({"/1.jpg", "/2.jpg", "/3.jpg"});
        QCOMPARE(three.count("<TR>\r\n"), 3);
        QVERIFY(three.endsWith("</TR>\r\n</TR>\r\n" + kClosingHtml));
    }

    void htmlPageKeepsNamesAsText()
    {
        using listexport::htmlExportContent;
        const QByteArray hostile = htmlExportContent({"/x/<img src=x onerror=alert(1)>.jpg"});
        QVERIFY(!hostile.contains("<img"));
        QVERIFY(hostile.contains(">/x/&lt;img src=x onerror=alert(1)&gt;.jpg<a/>"));
        QVERIFY(hostile.contains("href=\"file:///x/%3Cimg%20src=x%20onerror=alert(1)%3E.jpg\""));

        const QByteArray amp = htmlExportContent({"/x/a&b.jpg"});
        QVERIFY(amp.contains(">/x/a&amp;b.jpg<a/>"));
        QVERIFY(amp.contains("href=\"file:///x/a&amp;b.jpg\""));

        const QByteArray odd = htmlExportContent({"/x/100% #1? \"q\".jpg"});
        QVERIFY(odd.contains("href=\"file:///x/100%25%20%231%3F%20%22q%22.jpg\""));
        QVERIFY(odd.contains(">/x/100% #1? &quot;q&quot;.jpg<a/>"));

        const QByteArray accents = htmlExportContent({QString::fromUtf8("/photos/été.jpg")});
        QVERIFY(accents.contains(QString::fromUtf8(">/photos/été.jpg<a/>").toUtf8()));
        QVERIFY(accents.contains("href=\"file:///photos/%C3%A9t%C3%A9.jpg\""));
    }

    void htmlExportWritesAndOpens()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        w->List1->Clear();
        w->List1->AddItem("/a.jpg");
        w->Html->trigger();
        QVERIFY(testing::settled(*w));
        const QString path = fakes.appFolder->path() + "/quorvelsearchfile.html";
        QCOMPARE(readFile(path), listexport::htmlExportContent({"/a.jpg"}));
        QCOMPARE(fakes.shell->opened, QStringList{path});
    }

    void unwritableFolderIsReportedAndNothingOpens()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        const QString blocked = testing::blockApplicationFolder(*w, fakes);
        w->List1->AddItem("/a.jpg");
        w->Command5->click();
        QVERIFY(testing::settled(*w));
        w->Command8->click();
        QVERIFY(testing::settled(*w));
        QCOMPARE(fakes.messages->shown.size(), size_t(2));
        QVERIFY(fakes.messages->shown[0].text.startsWith("Cannot write " + blocked + "/QuorvelFileSearch.txt: "));
        QVERIFY(fakes.messages->shown[1].text.startsWith("Cannot write " + blocked + "/quorvelsearchfile.html: "));
        QCOMPARE(fakes.messages->shown[0].icon, platform::MessageIcon::Critical);
        QVERIFY(fakes.shell->opened.isEmpty());
    }

    void printingOneJobPerCopy()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        w->List1->Clear();
        w->List1->AddItem("/a.jpg");
        w->List1->AddItem("/b.jpg");
        const QString expected = "/a.jpg\r\n/b.jpg\r\nPrint from Quorvel Software     support@quorvel.example\r\n";
        w->Command7->click();
        QCOMPARE(fakes.printer->documents, QStringList{expected});

        fakes.printer->documents.clear();
        fakes.printer->copies = 3;
        w->Print->trigger();
        QCOMPARE(fakes.printer->documents, (QStringList{expected, expected, expected}));

        fakes.printer->documents.clear();
        fakes.printer->copies = 0;
        w->Command7->click();
        QVERIFY(fakes.printer->documents.isEmpty());

        fakes.printer->copies = std::nullopt;  // Cancel
        w->Command7->click();
        QVERIFY(fakes.printer->documents.isEmpty());
        QVERIFY(fakes.messages->shown.empty());

        QCOMPARE(listexport::printText({}), QString("Print from Quorvel Software     support@quorvel.example\r\n"));
    }

    void longListsRunOverPagesWithoutLosingLines()
    {
        QTemporaryDir dir;
        const QString pdfPath = dir.path() + "/printed.pdf";
        QStringList entries;
        for (int i = 0; i < 150; ++i)
            entries.append(QString("/photos/%1/img_%2.jpg").arg(i % 7).arg(i, 4, 10, QChar('0')));
        const QString longName = "/very/" + QString(40, 'x') + "/" + QString(120, 'y') + "/end.jpg";
        entries.append(longName);
        {
            QPdfWriter writer(pdfPath);
            QVERIFY(platform::paintText(writer, listexport::printText(entries)));
        }
        QProcess info;
        info.start("pdfinfo", {pdfPath});
        info.waitForFinished();
        const QString infoText = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(infoText.contains(QRegularExpression("Pages:\\s+[3-9]")), qPrintable(infoText));
        QProcess text;
        text.start("pdftotext", {"-raw", pdfPath, "-"});
        text.waitForFinished();
        QString extracted = QString::fromUtf8(text.readAllStandardOutput());
        qsizetype at = 0;
        for (const QString &e : entries.mid(0, 150)) {
            const qsizetype found = extracted.indexOf(e, at);
            QVERIFY2(found >= 0, qPrintable("missing or out of order: " + e));
            at = found + e.size();
        }
        // The wrapped line comes back whole once the row breaks are taken out.
        extracted.remove('\n');
        extracted.remove('\f');
        QVERIFY(extracted.contains(longName));
        QVERIFY(extracted.contains("Print from Quorvel Software"));
    }

    // A printed line too long for the page wraps between characters as a person
    // sees them: an emoji with its skin tone stays whole. And every row keeps the
    // direction of its line: a Hebrew name in a Latin folder reads on in its
    // order, its extension at the end of the last row.
    void printedRowsBreakBetweenWholeCharacters()
    {
        testing::TempTree tree;
        const QString pdfPath = tree.root() + "wrapped.pdf";
        const QString emoji = "/e/" + QString::fromUtf8("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD").repeated(90) + ".jpg";
        const QString hebrew = "/home/dana/" +
                               QString::fromUtf8("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D ")
                                   .repeated(14) +
                               QString::fromUtf8("\xD7\xA1\xD7\x95\xD7\xA3.jpg");
        {
            QPdfWriter writer(pdfPath);
            QVERIFY(platform::paintText(writer, emoji + "\r\n" + hebrew + "\r\n"));
        }
        // Each word as the reader finds it on the page, with where it stands.
        QProcess text;
        text.start("pdftotext", {"-bbox", pdfPath, "-"});
        QVERIFY(text.waitForFinished());
        struct Word {
            double x, y;
            QString text;
        };
        QList<Word> words;
        static const QRegularExpression word("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>");
        for (auto it = word.globalMatch(QString::fromUtf8(text.readAllStandardOutput())); it.hasNext();) {
            const auto m = it.next();
            words.append({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)});
            QVERIFY2(!words.last().text.contains(QChar(0xFFFD)), "half an emoji on a row");
        }
        const auto rowOf = [&](const QString &part) {
            const auto found = std::find_if(words.rbegin(), words.rend(), [&](const Word &w) { return w.text.contains(part); });
            return found == words.rend() ? -1.0 : found->y;
        };
        QVERIFY2(rowOf("/e/") >= 0 && rowOf("/e/") != rowOf("/home/"), "the emoji line did not wrap");
        // The Hebrew line's last row ends, at its right, with the extension.
        const double last = rowOf("jpg");
        QVERIFY(last > rowOf("/home/dana/"));
        double rightmost = -1;
        QString atRight;
        for (const Word &w : words)
            if (w.y == last && w.x > rightmost)
                std::tie(rightmost, atRight) = std::tie(w.x, w.text);
        QCOMPARE(atRight, QString(".jpg"));
    }
};

QTEST_MAIN(TestListExports)
#include "test_list_exports.moc"
