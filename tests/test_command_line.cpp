// The command line, and where exports go.
#include "TestSupport.h"
#include "search/SearchCriteria.h"
#include "app/Version.h"
#include "app/CommandLine.h"
#include "app/Form1.h"
#include "platform/ExportFolder.h"
#include "platform/FileNames.h"
#include "search/FolderList.h"
#include "search/Volumes.h"
#include "search/ResultList.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using testing::FakeServices;
using testing::TempTree;

namespace {

CommandLine read(const QStringList &arguments)
{
    return readCommandLine(QStringList{"quorvelfilesearch"} + arguments);
}

struct Run {
    int status;
    QString out, err;
};

Run runProgram(const QStringList &arguments)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QUORVEL_PROGRAM), arguments);
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
        return {-1, {}, {}};
    }
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

}  // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void helpAndVersionPrintAndEnd()
    {
        const CommandLine help = read({"--help"});
        QVERIFY(!help.options);
        QCOMPARE(help.exitStatus, 0);
        QVERIFY(help.output.startsWith("Usage: quorvelfilesearch [options] [folder]"));
        for (const char *option : {"--pattern <SPEC>", "--search", "--version", "--size <RANGE>", "--modified <WHEN>",
                                   "--contains <TEXT>", "--skip <NAME>", "1 KB = 1,024 bytes"})
            QVERIFY2(help.output.contains(option), option);
        QVERIFY(!help.output.contains("--style"));  // the toolkit's own are not ours to explain
        QCOMPARE(read({"-h"}).output, help.output);

        QCOMPARE(read({"--version"}).output, QString("Quorvel File Search " QUORVEL_VERSION "\n"));
        QCOMPARE(read({"-v"}).exitStatus, 0);
    }

    void optionsForTheWindow()
    {
        TempTree t;
        const QString folder = t.folder("Photos");
        const CommandLine line = read({folder, "--pattern", "*.png;*.gif", "--search"});
        QVERIFY(line.options);
        QCOMPARE(line.options->folder, QDir(folder).absolutePath());
        QCOMPARE(line.options->pattern, QString("*.png;*.gif"));
        QVERIFY(line.options->search);

        const CommandLine none = read({});
        QVERIFY(none.options);
        QVERIFY(none.options->folder.isEmpty() && none.options->pattern.isEmpty() && !none.options->search);

        // The toolkit's options pass through to the toolkit.
        QVERIFY(read({"-style", "fusion", "-platform", "offscreen", "--reverse"}).options);
        // A relative folder is made absolute.
        QDir::setCurrent(t.root());
        QCOMPARE(read({"Photos"}).options->folder, t.root() + "Photos");
    }

    // Each criterion option becomes its term in the pattern field, after the name
    // patterns, so the window shows what it searches for.
    void criteriaOptionsBecomeTermsInTheField()
    {
        const auto field = [](const QStringList &arguments) {
            const CommandLine line = read(arguments);
            return line.options ? line.options->pattern : "refused: " + line.error;
        };
        QCOMPARE(field({"--pattern", "*.mp4", "--size", ">100MB", "--modified", "7d", "--search"}),
                 QString("*.mp4;size:>100MB;modified:7d"));
        QCOMPARE(field({"--skip", ".git", "--skip", "node_modules", "--contains", "invoice"}),
                 QString("skip:.git;skip:node_modules;contains:invoice"));
        // Text with blanks or ";" is quoted, as a person would type it.
        QCOMPARE(field({"--contains", "invoice 2024"}), QString("contains:\"invoice 2024\""));
        QCOMPARE(field({"--contains", "a;b"}), QString("contains:\"a;b\""));
        QCOMPARE(field({"--contains", "say \"hi\" now"}), QString("contains:\"say \"hi\" now\""));
        QCOMPARE(field({"--contains", "\"x"}), QString("contains:\"\"x\""));
        // What the field then reads is exactly what was given.
        for (const QString &text : {QString("invoice 2024"), QString("a;b"), QString("say \"hi\" now"), QString("\"x")}) {
            const auto read = search::readCriteria(field({"--contains", text}), QDateTime::currentDateTime());
            QCOMPARE(std::get<search::SearchCriteria>(read).contains, QStringList{text});
        }
        // Without --pattern, only the criteria: every name.
        QCOMPARE(field({"--size", "1KB"}), QString("size:1KB"));
    }

    void badCriteriaAreRefusedWithStatusTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("said");
        QTest::newRow("size") << QStringList{"--size", ">abc"} << "The search term \"size:>abc\" is not understood.";
        QTest::newRow("date") << QStringList{"--modified", "2024-13-01"} << "\"modified:2024-13-01\" is not understood";
        QTest::newRow("empty text") << QStringList{"--contains", ""} << "\"contains:\" is not understood";
        QTest::newRow("term in the pattern") << QStringList{"--pattern", "*.jpg;size:big"} << "\"size:big\"";
        QTest::newRow("a second term smuggled in") << QStringList{"--skip", "a;size:1"} << "--skip cannot hold \";\": a;size:1";
        QTest::newRow("quote and split") << QStringList{"--contains", "a\";b"} << "--contains cannot hold both";
    }
    void badCriteriaAreRefusedWithStatusTwo()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, said);
        const CommandLine line = read(arguments);
        QVERIFY(!line.options);
        QCOMPARE(line.exitStatus, 2);
        QVERIFY2(line.error.startsWith("quorvelfilesearch: ") && line.error.contains(said) &&
                     line.error.endsWith("\nTry 'quorvelfilesearch --help' for more information.\n"),
                 qPrintable(line.error));
    }

    void badInputIsRefusedWithStatusTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown option") << QStringList{"--colour"} << "Unknown option 'colour'.";
        QTest::newRow("missing value") << QStringList{"--pattern"} << "Missing value after '--pattern'.";
        QTest::newRow("missing folder") << QStringList{"/no/such/folder"} << "No such folder: /no/such/folder";
        QTest::newRow("a file, not a folder") << QStringList{"/etc/hostname"} << "Not a folder: /etc/hostname";
        QTest::newRow("two folders") << QStringList{"/", "/tmp"} << "Only one folder can be searched; more were given.";
    }
    void badInputIsRefusedWithStatusTwo()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const CommandLine line = read(arguments);
        QVERIFY(!line.options);
        QCOMPARE(line.exitStatus, 2);
        // As GNU programs say it: the program's name first, where to read more last.
        QCOMPARE(line.error, "quorvelfilesearch: " + message + "\nTry 'quorvelfilesearch --help' for more information.\n");
        QVERIFY(line.output.isEmpty());
    }

    void theProgramAnswersWithoutAWindow()
    {
        const Run version = runProgram({"--version"});
        QCOMPARE(version.status, 0);
        QCOMPARE(version.out, QString("Quorvel File Search " QUORVEL_VERSION "\n"));
        const Run help = runProgram({"--help"});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains("--pattern"));
        // A bad option or folder ends at once with a message, never a window that stays.
        const Run bad = runProgram({"--nonsense"});
        QCOMPARE(bad.status, 2);
        QCOMPARE(bad.err, QString("quorvelfilesearch: Unknown option 'nonsense'.\n"
                                  "Try 'quorvelfilesearch --help' for more information.\n"));
        QVERIFY(bad.out.isEmpty());
        const Run badTerm = runProgram({"--modified", "yesterweek"});
        QCOMPARE(badTerm.status, 2);
        QVERIFY(badTerm.err.startsWith("quorvelfilesearch: The search term \"modified:yesterweek\" is not understood."));
        const Run missing = runProgram({"/no/such/folder"});
        QCOMPARE(missing.status, 2);
        QVERIFY(missing.err.contains("No such folder: /no/such/folder"));
    }

    void theWindowStartsWhereTheCommandLineSays()
    {
        TempTree t;
        t.file("Photos/a.png");
        t.file("Photos/deeper/b.png");
        t.file("Photos/c.jpg");
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        const CommandLine line = read({t.root() + "Photos", "--pattern", "*.png", "--search"});
        QVERIFY(line.options);
        w->start(*line.options);
        QCOMPARE(w->Text1->text(), t.root() + "Photos");
        QTRY_COMPARE(w->Dir1->path(), t.root() + "Photos");
        QTRY_COMPARE(w->Drive1->currentData().toString(), search::volumeRootOf(t.root()));
        QCOMPARE(w->Text2->text(), QString("*.png"));
        QTRY_COMPARE(w->List1->ListCount(), 2);  // the search runs once the window is up
        QCOMPARE(w->Text3->text(), QString("Total Items found = 2  in Directories = 2"));
    }

    // A folder whose name is not UTF-8 is searched, its bytes reaching the file
    // system as they were given.
    void aFolderNameThatIsNotUtf8IsSearched()
    {
        TempTree t;
        const QByteArray raw = QFile::encodeName(t.root()) + "bad\xff";
        QVERIFY(::mkdir(raw.constData(), 0755) == 0);
        QVERIFY(::close(::open((raw + "/a.jpg").constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644)) == 0);
        QByteArray program("quorvelfilesearch"), folder(raw), search("--search");
        char *argv[] = {program.data(), folder.data(), search.data(), nullptr};
        const QStringList arguments = commandLineArguments(3, argv);
        QCOMPARE(platform::encodeFileName(arguments.at(1)), raw);

        const CommandLine line = readCommandLine(arguments);
        QVERIFY2(line.options, qPrintable(line.error));
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        w->start(*line.options);
        QTRY_COMPARE(w->List1->ListCount(), 1);
        QCOMPARE(platform::encodeFileName(w->List1->entries().toStringList().value(0)), raw + "/a.jpg");

        // Named in a message as every other place shows such names.
        const CommandLine missing = read({platform::decodeFileName(raw + "/gone\xfe")});
        QVERIFY(missing.error.contains(platform::shownFileName(platform::decodeFileName(raw + "/gone\xfe"))));
    }

    // --- Where exports go ---

    void exportsGoToAWritableProgramFolder()
    {
        TempTree t;
        const QString program = t.folder("portable");
        QCOMPARE(platform::chooseExportFolder(program, t.root() + "Documents"), program);
    }

    void anInstalledProgramExportsToTheDocumentsFolder()
    {
        // Where installed programs live, even root does not export.
        QCOMPARE(platform::chooseExportFolder("/usr/local/bin", "/home/u/Documents"),
                 QString("/home/u/Documents/Quorvel File Search"));
        QCOMPARE(platform::chooseExportFolder("/usr/bin", "/home/u/Documents"),
                 QString("/home/u/Documents/Quorvel File Search"));
        QCOMPARE(platform::chooseExportFolder("/no/such/folder", "/home/u/Documents"),
                 QString("/home/u/Documents/Quorvel File Search"));

        // The rule, whoever runs the test: a writable folder where programs are
        // installed is not written into, a writable one elsewhere is.
        TempTree t;
        const QString installed = t.folder("installed/bin");
        QCOMPARE(platform::chooseExportFolder(installed, t.root() + "Documents", {t.root() + "installed"}),
                 t.root() + "Documents/Quorvel File Search");
        QCOMPARE(platform::chooseExportFolder(installed, t.root() + "Documents", {t.root() + "inst"}), installed);
    }

    // A program folder that cannot be written (a read-only medium) exports to the
    // documents folder, root or not.
    void aReadOnlyProgramFolderExportsToTheDocumentsFolder()
    {
        TempTree t;
        const QString program = t.folder("readonly");
        bool mounted = false;
        if (::geteuid() == 0)
            mounted = ::mount("tmpfs", QFile::encodeName(program).constData(), "tmpfs", MS_RDONLY, "size=16k") == 0;
        else
            QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
        if (::geteuid() == 0 && !mounted)
            QSKIP("root cannot mount a read-only file system here");
        const QString chosen = platform::chooseExportFolder(program, t.root() + "Documents", {});
        if (mounted)
            ::umount2(QFile::encodeName(program).constData(), MNT_DETACH);
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(chosen, t.root() + "Documents/Quorvel File Search");
    }

    void theDocumentsFolderIsMadeWhenFirstNeeded()
    {
        TempTree t;
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        const QString folder = platform::chooseExportFolder("/usr/bin", t.root() + "Documents");
        w->services().applicationFolder = folder;
        QVERIFY(!QFileInfo::exists(t.root() + "Documents"));
        testing::fillList(*w, {"/a.jpg"});
        w->Notepad->trigger();
        QVERIFY(testing::settled(*w));
        QVERIFY(QFileInfo(folder + "/QuorvelFileSearch.txt").isFile());
        QCOMPARE(fakes.shell->opened, QStringList{folder + "/QuorvelFileSearch.txt"});
        QVERIFY(fakes.messages->shown.empty());

        // A folder that cannot be made is reported, and nothing is opened.
        t.file("blocker");
        w->services().applicationFolder = t.root() + "blocker/Documents/Quorvel File Search";
        w->Html->trigger();
        QVERIFY(testing::settled(*w));
        QCOMPARE(fakes.messages->shown.size(), size_t(1));
        QVERIFY(fakes.messages->shown[0].text.startsWith("Cannot write " + t.root() + "blocker/Documents"));
        QCOMPARE(fakes.shell->opened.size(), 1);
    }

    void numberedNamesSkipWhatIsTaken()
    {
        TempTree t;
        QCOMPARE(platform::firstFreeName(t.root(), "Q", ".xlsx"), t.root() + "Q.xlsx");
        t.file("Q.xlsx");
        t.file("Q (2).xlsx");
        QVERIFY(QFile::link(t.root() + "gone", t.root() + "Q (3).xlsx"));  // a dangling link counts as taken
        QCOMPARE(platform::firstFreeName(t.root(), "Q", ".xlsx"), t.root() + "Q (4).xlsx");
    }
};

QTEST_MAIN(TestCommandLine)
#include "test_command_line.moc"
