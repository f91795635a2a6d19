#include "TestSupport.h"
#include "app/Form1.h"
#include "export/HtmlExport.h"
#include "export/Printing.h"
#include "export/TextExport.h"
#include "platform/TextPrinting.h"
#include "search/ResultList.h"

#include <QAction>
#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

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
};

QTEST_MAIN(TestListExports)
#include "test_list_exports.moc"
