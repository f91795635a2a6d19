// Exports with /tmp full: nothing of an export goes there, so every one is written
// whole. The test takes a mount namespace of its own (as root) and puts a full
// memory file system over /tmp in it; elsewhere it is skipped.
#include "TestSupport.h"
#include "app/Form1.h"
#include "search/ResultList.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QtTest>

#include <cstdio>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

// A private /tmp of 64 KiB, filled to the last byte; false where it cannot be had.
bool fillPrivateTmp()
{
    if (::geteuid() != 0 || ::unshare(CLONE_NEWNS) != 0)
        return false;
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", "/tmp", "tmpfs", 0, "size=64k") != 0)
        return false;
    FILE *filler = std::fopen("/tmp/filler", "w");
    if (!filler)
        return false;
    const std::string block(4096, 'x');
    while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
    }
    std::fclose(filler);
    return true;
}

}  // namespace

class TestFullTmp : public QObject {
    Q_OBJECT

private slots:
    void everyExportIsWholeWithTmpFull()
    {
        testing::FakeServices fakes;  // its folders on the disk
        auto w = testing::makeWindow(fakes);
        // The program in a session whose temporary folder is the full one.
        qputenv("TMPDIR", "/tmp");
        QFile probe("/tmp/probe");
        QVERIFY(probe.open(QIODevice::WriteOnly));
        QCOMPARE(probe.write(QByteArray(4096, 'x')) == 4096 && probe.flush(), false);
        QStringList entries;
        for (int i = 0; i < 20000; ++i)
            entries << QString("/photos/%1/a-picture-with-a-long-name.jpg").arg(i, 6, 10, QChar('0'));
        testing::fillList(*w, entries);
        for (QAction *menu : {w->Excel, w->Word, w->PDF, w->Html, w->Notepad}) {
            menu->trigger();
            QVERIFY(testing::settled(*w));
        }
        for (const testing::ShownMessage &m : fakes.messages->shown)
            QFAIL(qPrintable(m.text));
        const QString folder = fakes.appFolder->path();
        const QByteArray sheet = testing::packagePart(folder + "/QuorvelFileSearch.xlsx", "xl/worksheets/sheet1.xml");
        QCOMPARE(sheet.count("<row "), 20002);
        QVERIFY(testing::packagePart(folder + "/QuorvelFileSearch.docx", "word/document.xml")
                    .contains("000000/a-picture-with-a-long-name.jpg"));
        QCOMPARE(fakes.shell->opened.size(), 5);
        qputenv("TMPDIR", "/var/tmp");
    }
};

int main(int argc, char *argv[])
{
    const bool full = fillPrivateTmp();
    // The test's own temporary folders go to the disk; only the program meets /tmp.
    qputenv("TMPDIR", "/var/tmp");
    QApplication app(argc, argv);
    if (!full) {
        std::puts("SKIP   : needs root and a mount namespace of its own to fill /tmp");
        return 0;
    }
    TestFullTmp test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_full_tmp.moc"
