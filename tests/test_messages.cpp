// Messages as a person meets them: the real program on an X server with a window
// manager, driven with XTest input. Each message closes by the keyboard and the
// mouse, holds the window while open, and lets the next action happen.
#include "DesktopSession.h"
#include "TestSupport.h"
#include "app/HelpAbout.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QUrl>

#include <memory>
#include <QtTest>

using desktop::Program;

namespace {

// The help text's message, asked for with F1.
QString openHelp(const Program &running)
{
    running.key("F1");
    desktop::waitFor([&running] { return running.messages().size() == 1; });
    const QStringList shown = running.messages();
    return shown.size() == 1 ? shown.front() : QString();
}

bool messagesGone(const Program &running)
{
    return desktop::waitFor([&running] { return running.messages().isEmpty(); });
}

QString focusedText(const Program &running)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    running.key("ctrl+a ctrl+c");
    // Nothing comes when the control with the focus has no text to copy.
    desktop::waitFor([clipboard] { return !clipboard->text().isEmpty(); }, 1000);
    return clipboard->text();
}

}  // namespace

class TestMessages : public QObject {
    Q_OBJECT
public:
    explicit TestMessages(desktop::Session &session)
        : session_(session)
    {
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(session_.managed(), "no window manager runs: messages are tested under one (openbox)");
        layout_ = desktop::readLayout();
    }

    // Enter, Space, Escape, Tab to OK then Space, and a click on OK each close a
    // message; it is a dialog of the window, in front, with the keyboard.
    void aMessageClosesByKeyboardAndMouse_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::newRow("Enter") << "Return";
        QTest::newRow("Space") << "space";
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("Tab to OK, Space") << "Tab space";
        QTest::newRow("click on OK") << "";
    }

    void aMessageClosesByKeyboardAndMouse()
    {
        QFETCH(QString, keys);
        Program running(session_, {});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        const QString message = openHelp(running);
        QVERIFY2(!message.isEmpty(), "F1 showed no message");

        QVERIFY(desktop::waitFor([&] { return desktop::activeWindow() == message; }));
        QVERIFY(desktop::windowProperty(message, "WM_TRANSIENT_FOR").endsWith(
            "0x" + QString::number(running.window.toULongLong(), 16)));
        // Not resizable, so not maximisable; asks for neither minimise nor maximise.
        QVERIFY(!desktop::windowProperty(message, "_NET_WM_ALLOWED_ACTIONS").contains("MAXIMIZE"));
        const QStringList motif = desktop::windowProperty(message, "_MOTIF_WM_HINTS").section('=', 1).split(',');
        QCOMPARE(motif.size(), 5);
        const uint functions = motif[1].trimmed().toUInt(nullptr, 16);
        const uint decorations = motif[2].trimmed().toUInt(nullptr, 16);
        QCOMPARE(functions & (0x01 | 0x08 | 0x10), 0u);    // all, minimise, maximise
        QCOMPARE(decorations & (0x01 | 0x20 | 0x40), 0u);  // all, minimise, maximise
        // Centred on the window.
        const QRect box = desktop::windowGeometry(message), window = desktop::windowGeometry(running.window);
        QVERIFY2((box.center() - window.center()).manhattanLength() < 40,
                 qPrintable(QString("message at %1,%2").arg(box.center().x()).arg(box.center().y())));

        if (keys.isEmpty()) {
            const QPoint ok = box.topLeft() + desktop::messageOkButton(helpabout::helpText(), false);
            desktop::xdo({"mousemove", QString::number(ok.x()), QString::number(ok.y()), "click", "1"});
        } else {
            running.key(keys);
        }
        QVERIFY2(messagesGone(running), "the message did not close");
        // The window answers again: About shows its message.
        running.clickAt(layout_.command2);
        QVERIFY2(desktop::waitFor([&] { return running.messages().size() == 1; }), "About showed no message");
    }

    // While a message is open the window takes no input: a click on it brings the
    // message forward and does nothing else.
    void aMessageHoldsTheWindow()
    {
        Program running(session_, {});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        const QString message = openHelp(running);
        QVERIFY(!message.isEmpty());
        running.clickAt(layout_.command2);  // About would show a second message
        QVERIFY(desktop::waitFor([&] { return desktop::activeWindow() == message; }));
        running.key("F1");  // nor does the window's shortcut get through
        running.key("Return");
        QVERIFY2(messagesGone(running), "the held input opened another message");
    }

    // Two exports end while a message is open: their messages stand one over the
    // other, and each is answered in turn from the keyboard.
    void aMessageFollowsAMessage()
    {
        testing::TempTree tree;
        const std::unique_ptr<Program> searched = afterASearch(tree, true);
        QVERIFY2(searched, "the window did not appear, or showed no summary");
        Program &running = *searched;
        // The workbook waits for the desktop's answer while the document is asked for.
        running.openers().holdQueries();
        running.clickAt(layout_.command3);
        QVERIFY(desktop::waitFor([&] { return running.openers().queryWaiting(); }));
        running.clickAt(layout_.command4);
        running.openers().release();
        QVERIFY2(desktop::waitFor([&] { return running.messages().size() == 2; }), "two messages were not shown");
        running.key("Return");
        QVERIFY(desktop::waitFor([&] { return running.messages().size() == 1; }));
        running.key("Return");
        QVERIFY2(messagesGone(running), "the second message did not take the keyboard");
        QVERIFY(QFile::exists(running.folder() + "/QuorvelFileSearch.xlsx"));
        QVERIFY(QFile::exists(running.folder() + "/QuorvelFileSearch.docx"));
    }

    // Each export, then the next: every one that has something to say is answered,
    // and the one after it happens.
    void everyExportIsFollowedByTheNext()
    {
        testing::TempTree tree;
        const std::unique_ptr<Program> searched = afterASearch(tree, true);
        QVERIFY2(searched, "the window did not appear, or showed no summary");
        Program &running = *searched;
        const QString folder = running.folder();

        // Text and HTML open in the desktop's application, and say nothing.
        for (const auto &[button, file] : {std::pair{layout_.command5, QString("QuorvelFileSearch.txt")},
                                           std::pair{layout_.command8, QString("quorvelsearchfile.html")}}) {
            running.clickAt(button);
            const QString address = QUrl::fromLocalFile(folder + "/" + file).toString();
            QVERIFY2(desktop::waitFor([&] { return running.openers().opened().contains(address); }),
                     qPrintable(file + " was not opened"));
            QVERIFY(running.messages().isEmpty());
        }
        // PDF, spreadsheet and document find no application and say so; each message
        // is answered another way.
        for (const auto &[button, file, keys] :
             {std::tuple{layout_.command6, QString("quorvelfilesearch.pdf"), QString("Escape")},
              std::tuple{layout_.command3, QString("QuorvelFileSearch.xlsx"), QString("Return")},
              std::tuple{layout_.command4, QString("QuorvelFileSearch.docx"), QString("space")}}) {
            running.clickAt(button);
            QVERIFY2(desktop::waitFor([&] { return running.messages().size() == 1; }),
                     qPrintable(file + " showed no message"));
            QVERIFY(QFile::exists(folder + "/" + file));
            running.key(keys);
            QVERIFY2(messagesGone(running), qPrintable(file + "'s message did not close"));
        }
        // The printer's dialog, answered with Cancel, and the text once more.
        running.clickAt(layout_.command7);
        QVERIFY2(desktop::waitFor([&] { return desktop::activeWindow() != running.window; }), "no printer dialog");
        const QString dialog = desktop::activeWindow();
        running.key("Escape");
        QVERIFY(desktop::waitFor([&] { return desktop::activeWindow() == running.window; }));
        QVERIFY(!desktop::windowsNamed(".").contains(dialog) || desktop::windowGeometry(dialog).isEmpty());
        QFile::remove(folder + "/QuorvelFileSearch.txt");
        running.clickAt(layout_.command5);
        QVERIFY2(desktop::waitFor([&] { return QFile::exists(folder + "/QuorvelFileSearch.txt"); }),
                 "the export after printing did not happen");
    }

    // An opener that fails (it exits 1, as xdg-open does when nothing takes the
    // file) is not the end of it: the person is told (the words are the unit
    // tests' to check), and answers it.
    void anExportNoApplicationOpenedIsSaid()
    {
        testing::TempTree tree;
        const std::unique_ptr<Program> searched = afterASearch(tree, true);
        QVERIFY2(searched, "the window did not appear, or showed no summary");
        Program &running = *searched;
        running.openers().openerExitsWith(1);
        for (const QPoint button : {layout_.command5, layout_.command8}) {
            running.clickAt(button);
            QVERIFY2(desktop::waitFor([&] { return running.messages().size() == 1; }), "the failure was not said");
            running.key("Return");
            QVERIFY(messagesGone(running));
        }
        QCOMPARE(running.openers().opened().size(), 2);
    }

    // The window's close button ends the program even while a message waits for
    // an answer, and the message goes with it.
    void closingTheWindowWithAMessageOpenClosesBoth()
    {
        Program running(session_, {});
        QVERIFY2(running.findWindow(layout_), "the window did not appear");
        QVERIFY(!openHelp(running).isEmpty());
        desktop::askToClose(running.window);
        QVERIFY2(running.process.waitForFinished(5000), "the program did not end");
        QCOMPARE(running.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(running.process.exitCode(), 0);
    }

    // Tab leaves the summary boxes as it leaves every control, both ways, and
    // types nothing into them.
    void tabMovesThroughTheSummaryBoxes()
    {
        testing::TempTree tree;
        const std::unique_ptr<Program> searched = afterASearch(tree, false);
        QVERIFY2(searched, "the window did not appear, or showed no summary");
        Program &running = *searched;
        running.clickAt(layout_.text3Centre);
        const QString counts = focusedText(running);
        QVERIFY2(counts.startsWith("Total Items found = "), qPrintable(counts));
        running.key("Tab");
        const QString sizes = focusedText(running);
        QVERIFY2(!sizes.isEmpty() && sizes != counts, qPrintable(sizes));
        running.key("Tab");
        QVERIFY2(!focusedText(running).contains(sizes), "Tab stayed in the size box");
        running.key("shift+Tab");
        QCOMPARE(focusedText(running), sizes);  // back, and no tab was typed into it
        running.key("shift+Tab");
        QCOMPARE(focusedText(running), counts);
    }

private:
    // The real program after a search of twenty files in `tree`, its summary on the
    // screen; null when it never got there.
    std::unique_ptr<Program> afterASearch(testing::TempTree &tree, bool ownFolder)
    {
        tree.files("f%1.txt", 20);
        auto running = std::make_unique<Program>(
            session_, Program::Options{{}, {"--pattern", "*", "--search", tree.root()}, ownFolder});
        if (!running->findWindow(layout_) ||
            !desktop::waitForColour(running->origin + layout_.text3Centre, QColor(255, 255, 0)))
            return nullptr;
        return running;
    }

    desktop::Session &session_;
    desktop::Layout layout_;
};

int main(int argc, char *argv[])
{
    return desktop::runOnDesktop(argc, argv, [&](desktop::Session &session) {
        TestMessages test(session);
        return QTest::qExec(&test, argc, argv);
    });
}

#include "test_messages.moc"
