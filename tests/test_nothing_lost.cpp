// Every export whole or not at all, from the list as it stood, with numbers and
// names other programs read back; every action on the file the entry names.
#include "TestSupport.h"
#include "app/Form1.h"
#include "platform/WholeFile.h"
#include "export/BackgroundExport.h"
#include "export/ExportFile.h"
#include "export/SpreadsheetExport.h"
#include "platform/FileNames.h"
#include "platform/FileUrl.h"
#include "platform/PictureBox.h"
#include "platform/Services.h"
#include "platform/StatusLine.h"
#include "search/FolderList.h"
#include "search/ResultList.h"

#include <QAction>
#include <QBuffer>
#include <QRegularExpression>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QMimeData>
#include <QtTest>

#include <cerrno>
#include <clocale>
#include <ctime>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using testing::FakeServices;
using testing::TempTree;

namespace {

// A list long enough to outgrow a small disk.
QStringList longList(int count)
{
    QStringList entries;
    for (int i = 0; i < count; ++i)
        entries << QString("/photos/holiday/%1/picture-with-a-long-name.jpg").arg(i, 6, 10, QChar('0'));
    return entries;
}

QStringList leftovers(const QString &folder)
{
    return QDir(folder).entryList({".quorvel-part-*"}, QDir::Files | QDir::Hidden);
}

// A disk of 64 KiB of its own, where the tests run as root; unmounted at the end.
class SmallDisk {
public:
    SmallDisk()
    {
        if (::geteuid() == 0 && dir_.isValid())
            mounted_ = ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

// The system's write, except that the second call finds the disk full.
ssize_t fullOnSecondWrite(int fd, const void *data, size_t size)
{
    static thread_local int calls = 0;
    if (++calls % 2 == 0) {
        errno = ENOSPC;
        return -1;
    }
    return ::write(fd, data, size / 2 + 1);
}

QString pdfText(const QString &path)
{
    return testing::runTool("pdftotext", {"-enc", "UTF-8", path, "-"});
}

}  // namespace

class TestNothingLost : public QObject {
    Q_OBJECT
private slots:
    // --- A full disk ---

    void aFullDiskKeepsTheOldFiles()
    {
        SmallDisk disk;
        if (!disk.mounted())
            QSKIP("needs root to mount a small memory file system");
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        w->services().applicationFolder = disk.path();
        const QStringList names{"QuorvelFileSearch.txt", "quorvelsearchfile.html", "quorvelfilesearch.pdf",
                                "QuorvelFileSearch.xlsx", "QuorvelFileSearch.docx"};
        for (const QString &name : names) {
            QFile old(disk.path() + "/" + name);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("the earlier export");
        }
        testing::fillList(*w, longList(3000));
        for (QAction *menu : {w->Notepad, w->Html, w->PDF, w->Excel, w->Word}) {
            menu->trigger();
            QVERIFY(testing::settled(*w));  // one at a time: each meets the full disk
        }
        QCOMPARE(fakes.messages->shown.size(), size_t(5));
        // The system's reason, not a library's error code.
        const QRegularExpression said("^Cannot write " + QRegularExpression::escape(disk.path()) +
                                      "/[^/]+: No space left on device$");
        for (const testing::ShownMessage &m : fakes.messages->shown)
            QVERIFY2(said.match(m.text).hasMatch(), qPrintable(m.text));
        QVERIFY(fakes.shell->opened.isEmpty());
        for (const QString &name : names)
            QCOMPARE(testing::readFile(disk.path() + "/" + name), QByteArray("the earlier export"));
        // Nothing else: no part file, no library's temporary file.
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name).size(),
                 names.size());
    }

    // A write cut short (the program killed, the machine off) leaves a part file; the
    // next export removes those of its own pattern older than a day, and never a file
    // of the user's, whatever its name looks like.
    void theNextExportRemovesOldPartFiles()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        const QString folder = fakes.appFolder->path();
        const auto aged = [&](const QString &name, int days) {
            const QString path = folder + "/" + name;
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write("cut short");
            f.close();
            const QDateTime then = QDateTime::currentDateTime().addDays(-days);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(then, QFileDevice::FileModificationTime));
        };
        aged(".quorvel-part-0123456789ab", 2);
        aged(".quorvel-part-aaaaaaaaaaaa", 0);        // another instance may be writing it
        aged("notes.txt.part-0123456789ab", 3);       // a user's file, named as some programs do
        aged(".quorvel-part-0123456789ab.txt", 3);    // not a name this program gives
        aged(".quorvel-part-ABCDEF012345", 3);
        TempTree t;
        const QString victim = t.file("victim", "someone else's");
        const QString link = folder + "/.quorvel-part-cccccccccccc";
        QVERIFY(QFile::link(victim, link));
        // The link itself as old as the stale part file: still not a file of ours.
        const timespec old[2] = {{std::time(nullptr) - 3 * 86400, 0}, {std::time(nullptr) - 3 * 86400, 0}};
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(link).constData(), old, AT_SYMLINK_NOFOLLOW) == 0);
        // The pictures a killed spreadsheet export kept: an old folder of them goes
        // with its pictures, a fresh one stays, a link to a folder is not followed.
        const auto agedFolder = [&](const QString &name, int days) {
            QVERIFY(QDir(folder).mkpath(name + "/sub"));
            aged(name + "/0.jpg", days);
            const timespec then[2] = {{std::time(nullptr) - days * 86400, 0}, {std::time(nullptr) - days * 86400, 0}};
            QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(folder + "/" + name).constData(), then, 0) == 0);
        };
        agedFolder(".QuorvelFileSearch-pictures-old123", 2);
        agedFolder(".QuorvelFileSearch-pictures-new456", 0);
        const QString victims = t.root() + "photos";
        QVERIFY(QDir().mkpath(victims));
        t.file("photos/keep.jpg", "a person's picture");
        QVERIFY(QFile::link(victims, folder + "/.QuorvelFileSearch-pictures-link78"));
        testing::fillList(*w, {"/a.jpg"});
        w->Notepad->trigger();
        QVERIFY(testing::settled(*w));
        QCOMPARE(QDir(folder).entryList({".QuorvelFileSearch-pictures-*"}, QDir::AllEntries | QDir::Hidden | QDir::System,
                                        QDir::Name),
                 (QStringList{".QuorvelFileSearch-pictures-link78", ".QuorvelFileSearch-pictures-new456"}));
        QVERIFY(QFile::exists(victims + "/keep.jpg"));
        for (const QString name : {".QuorvelFileSearch-pictures-link78", ".QuorvelFileSearch-pictures-new456"})
            QFile::remove(folder + "/" + name), QDir(folder + "/" + name).removeRecursively();
        QStringList left = QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
        QCOMPARE(left, QStringList({".quorvel-part-0123456789ab.txt", ".quorvel-part-ABCDEF012345",
                                    ".quorvel-part-aaaaaaaaaaaa", ".quorvel-part-cccccccccccc", "QuorvelFileSearch.txt",
                                    "notes.txt.part-0123456789ab"}));
        QCOMPARE(testing::readFile(victim), QByteArray("someone else's"));
    }

    void aWriteThatFailsAtTheEndIsReported()
    {
        TempTree t;
        const QString path = t.file("list.txt", "the earlier export");
        {
            platform::WholeFile file(QFile::encodeName(path).toStdString(), &fullOnSecondWrite);
            const QByteArray content(5000, 'x');
            QVERIFY(file.open());
            const bool written = file.write(content.constData(), size_t(content.size()));
            QVERIFY(!(written && file.commit()));
            QCOMPARE(QString::fromStdString(file.reason()), QString("No space left on device"));
        }
        QCOMPARE(testing::readFile(path), QByteArray("the earlier export"));
        QCOMPARE(leftovers(t.root()), QStringList());
    }

    // --- A planted link ---

    void aLinkAtTheExportsNameIsReplacedNotWrittenThrough()
    {
        TempTree t;
        const QString victim = t.file("victim.txt", "not yours");
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        w->services().applicationFolder = t.root() + "exports";
        QDir().mkpath(t.root() + "exports");
        for (const char *name : {"QuorvelFileSearch.txt", "quorvelsearchfile.html", "quorvelfilesearch.pdf"})
            QVERIFY(QFile::link(victim, t.root() + "exports/" + name));
        testing::fillList(*w, {"/a.jpg"});
        for (QAction *menu : {w->Notepad, w->Html, w->PDF})
            menu->trigger();
        QVERIFY(testing::settled(*w));
        QCOMPARE(testing::readFile(victim), QByteArray("not yours"));
        for (const char *name : {"QuorvelFileSearch.txt", "quorvelsearchfile.html", "quorvelfilesearch.pdf"}) {
            const QFileInfo written(t.root() + "exports/" + name);
            QVERIFY2(written.isFile() && !written.isSymLink(), name);
        }
        QVERIFY(fakes.messages->shown.empty());
    }

    // --- The PDF export and the list changing under it ---

    void aSearchDuringThePdfExportChangesTheWindowNotTheFile()
    {
        TempTree t;
        t.file("found/new.jpg");
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::user::show(*w);
        const QStringList old = longList(300);
        testing::fillList(*w, old);
        // The export is written from the list as it was at the click, whatever the
        // window does meanwhile.
        w->PDF->trigger();
        testing::user::search(*w, t.root() + "found", "*.jpg");
        QVERIFY(testing::settled(*w));
        QCOMPARE(w->List1->entries().toStringList(), QStringList{t.root() + "found/new.jpg"});
        const QString pdf = fakes.appFolder->path() + "/quorvelfilesearch.pdf";
        const QString text = pdfText(pdf);
        QCOMPARE(text.count("picture-with-a-long-name.jpg"), 300);
        QVERIFY(!text.contains("new.jpg"));
        QVERIFY(testing::runTool("qpdf", {"--check", pdf}).contains("No syntax or stream encoding errors"));
    }

    void closingDuringAnExportLeavesTheFolderAsItWas_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("pdf") << "PDF";
        QTest::newRow("html") << "Html";
        QTest::newRow("document") << "Word";
        QTest::newRow("workbook") << "Excel";
    }

    void closingDuringAnExportLeavesTheFolderAsItWas()
    {
        QFETCH(QString, action);
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        QAction *exportAction = w->findChild<QAction *>(action);
        QVERIFY(exportAction);
        testing::fillList(*w, {"/first.jpg"});
        exportAction->trigger();
        QVERIFY(testing::settled(*w));
        const auto folderNow = [&] {
            QMap<QString, QByteArray> files;
            const QDir folder(fakes.appFolder->path());
            for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
                files.insert(name, testing::readFile(folder.filePath(name)));
            return files;
        };
        const QMap<QString, QByteArray> before = folderNow();
        QCOMPARE(before.size(), 1);

        testing::fillList(*w, longList(1000));
        testing::user::show(*w);
        fakes.exportSteps->closeAfter(3);  // held in the middle of its file
        exportAction->trigger();
        QTRY_VERIFY(fakes.exportSteps->held());
        QVERIFY(folderNow().size() > before.size());  // its file is begun
        w->close();
        QCOMPARE(fakes.quitRequests, 1);
        fakes.exportSteps->open();
        QVERIFY(testing::settled(*w));
        QCOMPARE(folderNow(), before);  // nothing written, replaced or left half-made
        QCOMPARE(fakes.shell->opened.size(), 1);  // the first export only
    }

    // --- A list longer than a worksheet ---

    void aWorkbookHoldsWhatFitsAndSaysWhatWasLeftOut()
    {
        TempTree t;
        testing::RecordingMessageBoxes messages;
        testing::RecordingShell shell;
        QLabel label;
        platform::StatusLine status(&label);
        const QString folder = t.root();
        listexport::BackgroundExports background(status);
        const listexport::ExportContext context{folder, shell, messages, status, background};
        listexport::SpreadsheetInput input;
        for (int i = 0; i < 12; ++i)
            input.entries.append(QString("/e/%1.txt").arg(i));
        input.fileSpec = "/e/*.txt";
        input.rows = 10;
        input.links = 5;
        listexport::exportSpreadsheet(context, input);
        QTRY_VERIFY_WITH_TIMEOUT(!background.busy(), 20000);
        const QString book = folder + "QuorvelFileSearch.xlsx";
        QCOMPARE(shell.opened, QStringList{book});
        const QByteArray sheet = testing::packagePart(book, "xl/worksheets/sheet1.xml");
        QCOMPARE(sheet.count("<row "), 10);  // 8 entries and the two closing rows
        const QByteArray strings = testing::packagePart(book, "xl/sharedStrings.xml") + sheet;
        QVERIFY(strings.contains("/e/7.txt") && !strings.contains("/e/8.txt"));
        QVERIFY(strings.contains("File Spec : /e/*.txt"));
        QCOMPARE(sheet.count("<hyperlink "), 5);  // the first five, as many as the worksheet holds here
        QVERIFY(sheet.contains("<hyperlink ref=\"A5\"") && !sheet.contains("<hyperlink ref=\"A6\""));
        QCOMPARE(messages.shown.size(), size_t(2));
        QCOMPARE(messages.shown[0].text, "A worksheet holds 8 entries; the last 4 of the 12 in the list were left out of " +
                                             book + ".");
        QCOMPARE(messages.shown[1].text,
                 "A worksheet holds 5 links; 3 entries in " + book + " are plain text, without a link.");
        QCOMPARE(listexport::entriesThatFit(listexport::kWorksheetRows), 1048574);
    }

    // --- Numbers with a point in every locale ---

    void aDecimalCommaLocaleStillWritesPoints()
    {
        const QByteArray saved = std::setlocale(LC_ALL, nullptr);
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
            QSKIP("the de_DE.UTF-8 locale is not generated on this machine");
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        QCOMPARE(QByteArray(probe), QByteArray("1,5"));  // the locale is really in force
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {"/photos/a.jpg", "/photos/b.txt"});
        w->Excel->trigger();
        QVERIFY(testing::settled(*w));
        w->PDF->trigger();
        QVERIFY(testing::settled(*w));
        std::setlocale(LC_ALL, saved.constData());
        const QString book = fakes.appFolder->path() + "/QuorvelFileSearch.xlsx";
        const QByteArray sheet = testing::packagePart(book, "xl/worksheets/sheet1.xml");
        QVERIFY(QRegularExpression(R"(<col [^>]*width="\d+\.\d+")").match(QString::fromUtf8(sheet)).hasMatch());
        QVERIFY(!QRegularExpression(R"("\d+,\d+")").match(QString::fromUtf8(sheet)).hasMatch());
        const QByteArray pdf = testing::readFile(fakes.appFolder->path() + "/quorvelfilesearch.pdf");
        QVERIFY(pdf.contains("56.69 813.65 Td"));
        QVERIFY(pdf.contains("/F0 10.00 Tf"));
        QVERIFY(testing::runTool("qpdf", {"--check", fakes.appFolder->path() + "/quorvelfilesearch.pdf"})
                    .contains("No syntax or stream encoding errors"));
    }

    // --- Characters XML cannot hold ---

    void namesWithCharactersXmlCannotHoldGiveValidPackages()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        const QString odd = QString("/odd/a") + QChar(0xFFFF) + "b" + QChar(0x1) + "c.jpg";
        testing::fillList(*w, {odd, QString::fromUtf8("/ok/\xF0\x9F\x93\xB7.jpg")});
        w->Excel->trigger();
        QVERIFY(testing::settled(*w));
        w->Word->trigger();
        QVERIFY(testing::settled(*w));
        QCOMPARE(fakes.shell->opened.size(), 2);
        for (const QString &package : fakes.shell->opened)
            testing::checkWellFormed(package);
        const QByteArray document = testing::packagePart(fakes.shell->opened[1], "word/document.xml");
        QVERIFY(document.contains(QString::fromUtf8("/odd/a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c.jpg").toUtf8()));
        QVERIFY(document.contains("\xF0\x9F\x93\xB7"));  // a character beyond the first plane stays
        const QByteArray links = testing::packagePart(fakes.shell->opened[1], "word/_rels/document.xml.rels");
        QVERIFY(links.contains("file:///odd/a%EF%BF%BFb%01c.jpg"));  // the link keeps the exact name
    }

    // --- Names that are not valid UTF-8 ---

    void aRawByteNameReachesItsFileInEveryAction()
    {
        TempTree t;
        const QByteArray rawFolder = QFile::encodeName(t.root()) + "dir\xff";
        QCOMPARE(::mkdir(rawFolder.constData(), 0755), 0);
        const QByteArray rawFile = rawFolder + "/lat1\xe9.jpg";
        QImage red(60, 40, QImage::Format_RGB32);
        red.fill(Qt::red);
        QByteArray jpeg;
        {
            QBuffer buffer(&jpeg);
            buffer.open(QIODevice::WriteOnly);
            red.save(&buffer, "JPG", 95);
        }
        FILE *f = std::fopen(rawFile.constData(), "wb");
        QVERIFY(f);
        std::fwrite(jpeg.constData(), 1, size_t(jpeg.size()), f);
        std::fclose(f);

        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        // A search started in the folder whose own name is not UTF-8 finds the file.
        const QString folder = platform::decodeFileName(rawFolder);
        QVERIFY(testing::openFolder(*w->Dir1, folder));
        QCOMPARE(platform::encodeFileName(w->Text1->text()), rawFolder);
        testing::user::search(*w, w->Text1->text(), "*.jpg");
        QCOMPARE(w->List1->ListCount(), 1);
        const QString entry = w->List1->List(0);
        QCOMPARE(platform::encodeFileName(entry), rawFile);
        // Shown with U+FFFD, as before.
        QCOMPARE(w->List1->model()->index(0, 0).data().toString(),
                 platform::shownFileName(entry));
        QVERIFY(w->List1->model()->index(0, 0).data().toString().endsWith(QString::fromUtf8("lat1\xEF\xBF\xBD.jpg")));

        // The preview and Copy Image read the file.
        testing::user::clickEntry(*w, 0);
        QVERIFY(testing::settled(*w));
        QVERIFY(!w->Picture1->canvasImage().isNull());
        QCOMPARE(QColor(w->Picture1->rendered().pixel(3, 3)).red() > 200, true);
        QGuiApplication::clipboard()->clear();
        testing::user::chooseFromActionMenu(*w, w->CopyImage);
        QVERIFY(testing::settled(*w));
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(60, 40));

        // Copy Full Path: the text shows U+FFFD; the address keeps the exact bytes.
        testing::user::chooseFromActionMenu(*w, w->copy1);
        const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(copied->text(), platform::shownFileName(entry));
        const QByteArray address = copied->data("text/uri-list");
        QVERIFY2(address.endsWith("lat1%E9.jpg\r\n"), address.constData());
        QCOMPARE(QByteArray::fromPercentEncoding(address.trimmed().mid(7)), rawFile);

        // Open and properties hand over the exact bytes; links carry them percent-encoded.
        testing::user::doubleClickEntry(*w, 0);
        QCOMPARE(fakes.shell->opened.size(), 1);
        QCOMPARE(platform::encodeFileName(fakes.shell->opened[0]), rawFile);
        testing::user::chooseFromActionMenu(*w, w->Fileproperty);
        QCOMPARE(platform::encodeFileName(fakes.shell->properties.value(0)), rawFile);
        QVERIFY(platform::fileUrl(entry).endsWith("/dir%FF/lat1%E9.jpg"));
        w->Html->trigger();
        QVERIFY(testing::settled(*w));
        const QByteArray page = testing::readFile(fakes.appFolder->path() + "/quorvelsearchfile.html");
        QVERIFY(page.contains("dir%FF/lat1%E9.jpg\""));
        QVERIFY(page.contains(QString::fromUtf8("lat1\xEF\xBF\xBD.jpg").toUtf8()));
    }

    // --- An opener that finds no application ---

    void noApplicationForAFileIsSaid()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        fakes.shell->applicationFound = false;
        testing::fillList(*w, {"/x/unknown.kind"}, 0);
        testing::user::doubleClickEntry(*w, 0);
        QCOMPARE(fakes.messages->shown.size(), size_t(1));
        QCOMPARE(fakes.messages->shown[0].text, QString("There was an error when trying to open a default programme"));
    }

    // An export no application opened says where the file went, whether the
    // opener could not start or found nothing later; the window may be gone by
    // the time the opener answers.
    void anExportNoApplicationOpenedSaysWhereItWent()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {"/x/a.jpg"}, 0);
        const QString folder = fakes.appFolder->path();
        fakes.shell->applicationFound = false;  // the opener ends with a failure
        w->Command5->click();
        QVERIFY(testing::settled(*w));
        w->Command8->click();
        QVERIFY(testing::settled(*w));
        fakes.shell->openSucceeds = false;  // the opener does not start
        w->Command6->click();
        QVERIFY(testing::settled(*w));
        QStringList said;
        for (const auto &m : fakes.messages->shown)
            said << m.text;
        QCOMPARE(said, (QStringList{
                           "No application on this desktop opens text files. The list was saved as " + folder +
                               "/QuorvelFileSearch.txt.",
                           "No application on this desktop opens web pages. The page was saved as " + folder +
                               "/quorvelsearchfile.html.",
                           "No application on this desktop opens PDF files. The PDF file was saved as " + folder +
                               "/quorvelfilesearch.pdf.",
                       }));
        for (const auto &m : fakes.messages->shown)
            QCOMPARE(m.icon, platform::MessageIcon::Critical);
    }

    void theDesktopOpenerReportsItsFailure()
    {
        // The desktop's own shell, with an opener that finds nothing for the file.
        TempTree t;
        const QString opener = t.file("bin/xdg-open", "#!/bin/sh\nexit 3\n");
        QFile::setPermissions(opener, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray savedPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(t.root() + "bin") + ":" + savedPath);
        platform::Services services = platform::desktopServices();
        bool failed = false;
        QVERIFY(services.shell->openFile(t.file("notes.unknown"), [&] { failed = true; }));
        QTRY_VERIFY_WITH_TIMEOUT(failed, 5000);
        qputenv("PATH", savedPath);
    }
};

QTEST_MAIN(TestNothingLost)
#include "test_nothing_lost.moc"
