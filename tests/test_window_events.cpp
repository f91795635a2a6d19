// The window driven as a person drives it: mouse and key events on the real
// widgets, never a handler called by name.
#include "TestSupport.h"
#include "app/AboutTexts.h"
#include "app/Form1.h"
#include "platform/DesktopMessageBoxes.h"
#include "platform/Palette.h"
#include "platform/PictureBox.h"
#include "preview/AnimatedPreview.h"
#include "search/FolderList.h"
#include "search/ResultList.h"
#include "search/WalkSession.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextLayout>
#include <QWheelEvent>
#include <QtTest>

#include <cmath>

using testing::FakeServices;
using testing::TempTree;
namespace user = testing::user;

namespace {

QString solidJpeg(TempTree &t, const QString &name, QColor colour)
{
    QImage image(120, 90, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = t.file(name);
    image.save(path, "JPG", 95);
    return path;
}

bool near(QColor a, QColor b, int tolerance = 30)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// The colour in the middle of what the preview box shows.
QColor previewCentre(Form1 &w)
{
    const QImage shown = w.Picture1->grab().toImage();
    return shown.pixelColor(shown.width() / 4, shown.height() / 4);
}

double luminance(const QColor &c)
{
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette darkPalette()
{
    QPalette p;
    const QColor ground(40, 40, 44), text(235, 235, 235);
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::AlternateBase})
        p.setColor(role, ground);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(role, text);
    return p;
}

// A desktop holding `count` files in folders, for the tree listing to take a while.
void fillDesktop(FakeServices &fakes, int count)
{
    for (int i = 0; i < count; ++i) {
        const QString folder = fakes.desktop->path() + QString("/d%1").arg(i);
        QDir().mkpath(folder);
        QFile f(folder + "/note.txt");
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
}

}  // namespace

class TestWindowEvents : public QObject {
    Q_OBJECT
private slots:
    // --- Select with the mouse and the keys ---

    void aClickOnAnEntryPreviewsIt()
    {
        TempTree t;
        const QString red = solidJpeg(t, "red.jpg", Qt::red);
        const QString blue = solidJpeg(t, "blue.jpg", Qt::blue);
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {red, "/x/notes.txt", blue});
        user::show(*w);
        QSignalSpy clicks(w->List1, &search::ResultList::Click);
        QStringList seenInHandler;
        connect(w->List1, &search::ResultList::Click, w.get(),
                [&] { seenInHandler.append(w->List1->Text()); });

        user::clickEntry(*w, 2);
        QVERIFY(testing::settled(*w));
        QCOMPARE(clicks.count(), 1);  // the preview runs once, with the clicked entry selected
        QCOMPARE(seenInHandler, QStringList{blue});
        QCOMPARE(w->Label4->text(), QString("3 from 3"));
        QCOMPARE(w->List1->toolTip(), blue);
        QVERIFY(near(previewCentre(*w), Qt::blue));

        user::clickEntry(*w, 0);
        QVERIFY(testing::settled(*w));
        QCOMPARE(w->Label4->text(), QString("1 from 3"));
        QVERIFY(near(previewCentre(*w), Qt::red));

        // The same with the keys.
        QTest::keyClick(w->List1, Qt::Key_Down);
        QCOMPARE(w->List1->ListIndex(), 1);
        QCOMPARE(w->Label4->text(), QString("2 from 3"));
        QTest::keyClick(w->List1, Qt::Key_End);
        QCOMPARE(w->Label4->text(), QString("3 from 3"));  // the texts at once, the picture once decoded
        QVERIFY(testing::settled(*w));
        QVERIFY(near(previewCentre(*w), Qt::blue));
        QCOMPARE(clicks.count(), 4);
    }

    void aClickBelowTheLastEntryKeepsTheSelection()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {"/a.txt", "/b.txt"}, 1);
        user::show(*w);
        QSignalSpy clicks(w->List1, &search::ResultList::Click);
        const QPoint below(5, w->List1->viewport()->height() - 3);
        QVERIFY(!w->List1->indexAt(below).isValid());
        user::click(w->List1->viewport(), Qt::LeftButton, below);
        QCOMPARE(w->List1->ListIndex(), 1);
        QCOMPARE(clicks.count(), 0);
    }

    void aLongListScrollsAndSelectsByItsRows()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        QStringList entries;
        for (int i = 0; i < 1000; ++i)
            entries << QString("/r/entry%1.txt").arg(i, 4, 10, QLatin1Char('0'));
        testing::fillList(*w, entries, 0);
        user::show(*w);
        QCOMPARE(w->List1->horizontalScrollBar()->maximum(), 0);  // every entry fits

        QTest::keyClick(w->List1, Qt::Key_End);
        QCOMPARE(w->Label4->text(), QString("1000 from 1000"));
        // The newest entry is drawn highlighted at the bottom of the list, the top row is not.
        const QImage shown = w->List1->viewport()->grab().toImage();
        const QColor highlight = w->List1->palette().color(QPalette::Highlight);
        const auto isHighlight = [&](int y) { return QColor(shown.pixel(3, y)) == highlight; };
        QVERIFY(isHighlight(shown.height() - 4) || isHighlight(shown.height() - 8));
        QVERIFY(!isHighlight(2));
        // A click on the top row picks the entry shown there: a page above the last.
        user::click(w->List1->viewport(), Qt::LeftButton, QPoint(5, 2));
        const int top = w->List1->ListIndex();
        QVERIFY(top > 980 && top < 999);
        QCOMPARE(w->Label4->text(), QString("%1 from 1000").arg(top + 1));

        QTest::keyClick(w->List1, Qt::Key_Home);
        QCOMPARE(w->List1->ListIndex(), 0);
        QCOMPARE(w->List1->verticalScrollBar()->value(), 0);
        QTest::keyClick(w->List1, Qt::Key_PageDown);
        const int page = w->List1->ListIndex();
        QVERIFY(page > 1 && page < 30);
        QTest::keyClick(w->List1, Qt::Key_Down);
        QCOMPARE(w->List1->ListIndex(), page + 1);
        QTest::keyClick(w->List1, Qt::Key_Up);
        QTest::keyClick(w->List1, Qt::Key_Up);
        QCOMPARE(w->List1->ListIndex(), page - 1);

        // The wheel scrolls by rows; the selection stays.
        QWheelEvent wheel(QPointF(5, 5), w->List1->viewport()->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        const int before = w->List1->verticalScrollBar()->value();
        QApplication::sendEvent(w->List1->viewport(), &wheel);
        QVERIFY(w->List1->verticalScrollBar()->value() > before);
        QCOMPARE(w->List1->ListIndex(), page - 1);

        // An entry wider than the list can be scrolled to.
        w->List1->AddItem("/r/" + QString(300, 'w') + ".txt");
        w->List1->flushPending();
        QVERIFY(w->List1->horizontalScrollBar()->maximum() >
                w->List1->fontMetrics().horizontalAdvance(QString(300, 'w')) - w->List1->viewport()->width() - 20);
    }

    void theCopyImageButtonShowsAfterASearchAndCopies()
    {
        TempTree t;
        solidJpeg(t, "a.jpg", Qt::red);
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        user::search(*w, t.root(), "*.jpg");
        QCOMPARE(w->List1->ListCount(), 1);
        QGuiApplication::clipboard()->clear();
        user::clickEntry(*w, 0);
        QVERIFY(testing::settled(*w));
        QVERIFY(w->Command10->isVisible());
        user::click(w->Command10);
        QVERIFY(testing::settled(*w));
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(120, 90));
    }

    // --- Open, right-click, copy ---

    void theRightButtonAndTheMenuKeysOpenTheActionMenu()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {"/a.jpg", "/b.jpg"}, 1);
        user::show(*w);
        // The right button over another entry leaves the selection where it was.
        user::clickEntry(*w, 0, Qt::RightButton);
        QVERIFY(w->menuCopy->isVisible());
        QCOMPARE(w->List1->ListIndex(), 1);
        w->menuCopy->hide();

        w->List1->setFocus();
        QTest::keyClick(w->List1, Qt::Key_Menu);
        QVERIFY(w->menuCopy->isVisible());
        w->menuCopy->hide();
        QTest::keyClick(w->List1, Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(w->menuCopy->isVisible());
        // The menu acts on the selected entry.
        QTest::mouseClick(w->menuCopy, Qt::LeftButton, {}, w->menuCopy->actionGeometry(w->copy1).center());
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("/b.jpg"));
        QTest::keyClick(w->List1, Qt::Key_F10);  // F10 alone is not the menu key
        QVERIFY(!w->menuCopy->isVisible());
    }

    void aDoubleClickOpensTheEntryUnderThePointer()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {"/a.jpg", "/b c.jpg"}, 0);
        user::doubleClickEntry(*w, 1);
        QCOMPARE(fakes.shell->opened, QStringList{"/b c.jpg"});
    }

    // --- Search, cancel, close ---

    void cancelAndCloseThroughTheirControls()
    {
        TempTree t;
        t.files("d%1/f.jpg", 60);
        for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
            t.file(name);
        t.folder("hold");
        FakeServices fakes;
        fakes.fileSystem->hangIn("/hold/");  // the walk is held there until released
        auto w = testing::makeWindow(fakes);
        w->Check2->setChecked(false);
        user::show(*w);
        user::startSearch(*w, t.root(), "*.jpg");
        QTRY_COMPARE(fakes.fileSystem->hanging(), 1);
        QTRY_VERIFY(w->List1->ListCount() >= 3);  // the folder's own files come first
        QCOMPARE(w->Command1->text(), QString("Cancel"));
        user::click(w->Command1);
        const int listed = w->List1->ListCount();
        QVERIFY(listed >= 3 && listed < 63);
        QVERIFY(w->Label1->text().endsWith(" .....Stopped."));
        QCOMPARE(w->Text3->text(), QString("Total Items found = %1  in Directories = 62").arg(listed));
        QCOMPARE(w->Command1->text(), QString("Search"));

        // Menu, Exit during a search ends the program. The held folder is not read
        // again while the first read of it is held: the walk waits there.
        user::startSearch(*w, t.root(), "*.jpg");
        QTRY_VERIFY(w->List1->ListCount() >= 3);
        QVERIFY(w->walkSession().walking());
        QCOMPARE(fakes.fileSystem->hanging(), 1);
        w->Exit->trigger();
        QCOMPARE(fakes.quitRequests, 1);
        QVERIFY(!w->walkSession().walking());
        fakes.fileSystem->release();
    }

    // --- The two listings racing ---

    void aSearchDuringTheDesktopTreeListingEndsTheListingFirst()
    {
        TempTree t;
        t.file("one.png");
        t.file("sub/two.png");
        FakeServices fakes;
        fillDesktop(fakes, 80);
        fakes.fileSystem->hangIn("/d40/");  // the listing is held there
        auto w = testing::makeWindow(fakes);
        user::show(*w);
        w->Text1->setText(t.root());
        w->Text2->setText("*.png");
        user::click(w->Command9, Qt::RightButton);
        QTRY_COMPARE(fakes.fileSystem->hanging(), 1);
        user::click(w->Command1);
        QVERIFY(testing::settled(*w));
        QCOMPARE(w->List1->entries().toStringList(), (QStringList{t.root() + "one.png", t.root() + "sub/two.png"}));
        QCOMPARE(w->Text3->text(), QString("Total Items found = 2  in Directories = 2"));
        QVERIFY(w->Label1->text().startsWith("Find in "));
        QCOMPARE(w->Command1->text(), QString("Search"));
        fakes.fileSystem->release();
    }

    void theDesktopButtonDuringTheTreeListingListsTheDesktopAlone()
    {
        FakeServices fakes;
        fillDesktop(fakes, 80);
        QFile top(fakes.desktop->path() + "/top.txt");
        QVERIFY(top.open(QIODevice::WriteOnly));
        top.close();
        fakes.fileSystem->hangIn("/d40/");  // the listing is held there
        auto w = testing::makeWindow(fakes);
        user::show(*w);
        user::click(w->Command9, Qt::RightButton);
        QTRY_COMPARE(fakes.fileSystem->hanging(), 1);
        user::click(w->Command9);
        QVERIFY(testing::settled(*w));
        QCOMPARE(w->List1->entries().toStringList(), QStringList{fakes.desktop->path() + "/top.txt"});
        QCOMPARE(w->List1->backColor(), QColor(255, 230, 230));
        fakes.fileSystem->release();
    }

    void desktopListingsShowTheListFromTheTop()
    {
        FakeServices fakes;
        for (int i = 0; i < 120; ++i) {
            QFile f(fakes.desktop->path() + QString("/file%1.txt").arg(i));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        auto w = testing::makeWindow(fakes);
        user::show(*w);
        for (bool rightButton : {false, true}) {
            w->List1->scrollToBottom();
            QVERIFY(w->List1->verticalScrollBar()->value() > 0);
            user::click(w->Command9, rightButton ? Qt::RightButton : Qt::LeftButton);
            QVERIFY(testing::settled(*w));
            QCOMPARE(w->List1->ListCount(), 120);
            QCOMPARE(w->List1->verticalScrollBar()->value(), 0);
        }
    }

    // --- Resize and read ---

    void captionsFitTheirControlsAtTheDesignSize()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        user::show(*w);
        w->Label4->setText("99999 from 99999");
        w->Command1->setText("Cancel");
        for (QWidget *control : w->innerArea()->findChildren<QWidget *>()) {
            QString caption;
            int room = control->width() - 4;
            if (auto *b = qobject_cast<QPushButton *>(control)) {
                caption = b->text().remove('&');
                room = control->width() - 10;
            } else if (auto *l = qobject_cast<QLabel *>(control); l && !l->wordWrap()) {
                caption = l->text();
            }
            if (caption.isEmpty())
                continue;
            control->grab();  // paints it, as the screen would
            QVERIFY2(QFontMetrics(control->font()).horizontalAdvance(caption) <= room,
                     qPrintable(control->objectName() + ": " + caption));
        }
        // At the design size nothing needs condensing: the stand-in font is narrow enough.
        QCOMPARE(w->Label4->font().stretch(), int(QFont::AnyStretch));

        // The thank-you text breaks where its line feeds are, and nowhere else.
        user::click(w->Command2);
        QVERIFY(w->Text5->isVisible());
        w->Text5->grab();
        int lines = 0;
        for (QTextBlock b = w->Text5->document()->begin(); b.isValid(); b = b.next()) {
            QVERIFY2(b.layout()->lineCount() <= 1, qPrintable(b.text()));
            ++lines;
        }
        QCOMPARE(lines, QString(about::kThankYou).count('\n') + 1);
    }

    void aCaptionSetAfterTheLayoutIsFittedToo()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        user::show(*w);
        const QString longCount = "1234567 from 1234567";
        w->Label4->setText(longCount);
        w->Label4->grab();
        QVERIFY(QFontMetrics(w->Label4->font()).horizontalAdvance(longCount) <= w->Label4->width() - 4);
        QVERIFY(w->Label4->font().pointSizeF() >= 8);
        w->Label4->setText("1 from 2");  // a short caption gets the layout's font back
        w->Label4->grab();
        QCOMPARE(w->Label4->font().stretch(), int(QFont::AnyStretch));
    }

    // A mouse move over the window repaints its whole background, and nothing
    // repaints it while the window stands idle.
    void aMouseMoveOverTheWindowRepaintsTheBackground()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        user::show(*w);
        struct PaintRecorder : QObject {
            int paints = 0;
            QRegion region;
            bool eventFilter(QObject *, QEvent *e) override
            {
                if (e->type() == QEvent::Paint) {
                    ++paints;
                    region += static_cast<QPaintEvent *>(e)->region();
                }
                return false;
            }
        } recorder;
        // Idle once the first paints are over: a quiet tenth of a second. A window
        // that kept repainting itself would never be.
        w->innerArea()->installEventFilter(&recorder);
        QElapsedTimer waited;
        waited.start();
        do {
            recorder.paints = 0;
            QTest::qWait(100);
        } while (recorder.paints > 0 && waited.elapsed() < 10000);
        QCOMPARE(recorder.paints, 0);
        recorder.region = QRegion();
        QTest::mouseMove(w->innerArea(), QPoint(5, 200));
        QTRY_VERIFY(recorder.paints > 0);
        QCOMPARE(recorder.region.boundingRect(), w->innerArea()->rect());
    }

    // --- Colours under a light and a dark palette ---

    void fixedGroundsKeepReadableText_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }
    void fixedGroundsKeepReadableText()
    {
        QFETCH(bool, dark);
        const QPalette saved = QApplication::palette();
        if (dark)
            QApplication::setPalette(darkPalette());
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        struct Ground {
            QWidget *control;
            QPalette::ColorRole ground, text;
            QColor expected;
        };
        const Ground grounds[] = {
            {w->Label4, QPalette::Window, QPalette::WindowText, QColor(224, 224, 224)},
            {w->Label1, QPalette::Window, QPalette::WindowText, QColor(255, 192, 255)},
            {w->Text3, QPalette::Base, QPalette::Text, QColor(255, 255, 0)},
            {w->Text4, QPalette::Base, QPalette::Text, QColor(255, 255, 0)},
            {w->Drive1, QPalette::Button, QPalette::ButtonText, QColor(255, 192, 192)},
            {w->Dir1, QPalette::Base, QPalette::Text, QColor(255, 224, 192)},
            {w->Text2, QPalette::Base, QPalette::Text, QColor(255, 255, 192)},
            {w->Command1, QPalette::Button, QPalette::ButtonText, QColor(192, 255, 192)},
            {w->Command2, QPalette::Button, QPalette::ButtonText, QColor(192, 255, 255)},
            {w->Command9, QPalette::Button, QPalette::ButtonText, QColor(255, 192, 192)},
            {w->Command6, QPalette::Button, QPalette::ButtonText, QColor(192, 255, 192)},
            {w->Check1, QPalette::Button, QPalette::WindowText, QColor(192, 192, 192)},
            {w->Check2, QPalette::Button, QPalette::WindowText, QColor(192, 192, 192)},
            {w->Text5, QPalette::Base, QPalette::Text, QColor(192, 255, 192)},
            {w->List1, QPalette::Base, QPalette::Text, w->List1->backColor()},
        };
        for (const Ground &g : grounds) {
            const QPalette p = g.control->palette();
            QCOMPARE(p.color(g.ground), g.expected);
            QVERIFY2(contrast(p.color(g.ground), p.color(g.text)) >= 4.5, qPrintable(g.control->objectName()));
        }
        QCOMPARE(w->Text5->palette().color(QPalette::Text), QColor(0, 0, 128));

        // The check boxes paint their grey where they have no caption.
        user::show(*w);
        for (QCheckBox *box : {w->Check1, w->Check2}) {
            const QImage shown = box->grab().toImage();
            QCOMPARE(shown.pixelColor(shown.width() - 2, shown.height() / 2), QColor(192, 192, 192));
        }
        w.reset();
        QApplication::setPalette(saved);
    }

    // --- Keyboard and screen readers ---

    // Everything the mouse does has a key: F10 for the menu bar, Space and Enter on
    // the preview for the animation, Shift+Enter or the Menu key on the desktop
    // button for the listing of its whole tree.
    void theKeyboardReachesWhatTheMouseDoes()
    {
        TempTree t;
        const QString red = solidJpeg(t, "red.jpg", Qt::red);
        FakeServices fakes;
        fillDesktop(fakes, 3);
        auto w = testing::makeWindow(fakes);
        user::show(*w);

        QTest::keyClick(w.get(), Qt::Key_F10);
        QTRY_VERIFY(w->menuBar()->activeAction() == w->menuBar()->actions().first());
        QTRY_VERIFY(QApplication::activePopupWidget());
        QApplication::activePopupWidget()->close();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        testing::fillList(*w, {red}, 0);
        const QImage unfocused = w->Picture1->grab().toImage();
        w->Text2->setFocus();
        for (int tabs = 0; tabs < 40 && !w->Picture1->hasFocus(); ++tabs)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(w->Picture1->hasFocus());
        QVERIFY(w->Picture1->grab().toImage() != unfocused);  // a focus mark shows
        QTest::keyClick(w->Picture1, Qt::Key_Space);
        QVERIFY(w->animation().running());
        QVERIFY(!w->Label3->isHidden());
        QTest::keyClick(w->Picture1, Qt::Key_Return);
        QVERIFY(!w->animation().running());
        QVERIFY(w->Label3->isHidden());

        const QString tree = fakes.desktop->path() + "/d0/note.txt";
        for (const auto &[key, modifiers] : {std::pair{Qt::Key_Return, Qt::ShiftModifier},
                                            std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
            user::click(w->Command9);  // the desktop's own files: no file inside a folder
            QVERIFY(testing::settled(*w));
            QVERIFY(!w->List1->entries().toStringList().contains(tree));
            w->Command9->setFocus(Qt::TabFocusReason);
            QTest::keyClick(w->Command9, key, modifiers);
            QVERIFY(testing::settled(*w));
            QVERIFY(w->List1->entries().toStringList().contains(tree));
            QCOMPARE(w->List1->backColor(), QColor(214, 230, 230));
        }
    }

    // A message holds the window's widgets until it is answered, as a modal one
    // would (what a person's input meets first, the window system's windows, is
    // tested by test_messages).
    void aMessageHoldsTheWindowUntilAnswered()
    {
        FakeServices fakes;
        platform::Services services = fakes.make();
        auto boxes = std::make_unique<platform::DesktopMessageBoxes>();
        platform::DesktopMessageBoxes &messages = *boxes;
        services.messages = std::move(boxes);
        Form1 w(std::move(services));
        user::show(w);
        QTest::keyClick(&w, Qt::Key_F1);
        QTRY_COMPARE(messages.open().size(), size_t(1));
        QMessageBox *box = messages.open().front();
        QVERIFY(QTest::qWaitForWindowActive(box));

        const bool checked = w.Check1->isChecked();
        user::click(w.Check1);
        QCOMPARE(w.Check1->isChecked(), checked);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);  // the window's shortcut waits too
        QCOMPARE(messages.open().size(), size_t(1));
        QVERIFY(box->isVisible());

        QTest::keyClick(box, Qt::Key_Return);
        QTRY_VERIFY(messages.open().empty());
        user::show(w);
        user::click(w.Check1);
        QCOMPARE(w.Check1->isChecked(), !checked);

        // Closing the window takes its messages with it.
        QTest::keyClick(&w, Qt::Key_F1);
        QTRY_COMPARE(messages.open().size(), size_t(1));
        w.close();
        QTRY_VERIFY(messages.open().empty());
    }

    void everyControlHasAnAccessibleName()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        w->Label1->setText("Find in 00:00:01");
        w->Label2->setText("Office File");
        w->Label4->setText("1 from 2");
        for (const ControlEntry &c : w->controls()) {
            if (!c.widget)
                continue;
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(c.widget);
            QVERIFY(a);
            QVERIFY2(!a->text(QAccessible::Name).isEmpty(), qPrintable(c.widget->objectName()));
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(w->List1)->text(QAccessible::Name), QString("Results"));
        QCOMPARE(QAccessible::queryAccessibleInterface(w->Text2)->text(QAccessible::Name),
                 QString("File specification"));
        QCOMPARE(QAccessible::queryAccessibleInterface(w->Command1)->text(QAccessible::Name), QString("Search"));
        QCOMPARE(QAccessible::queryAccessibleInterface(w->Label3)->text(QAccessible::Name), w->Label3->text());
    }

    void aScreenReaderReadsTheEntries()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        QStringList entries;
        for (int i = 0; i < 500; ++i)
            entries << QString("/r/entry%1.txt").arg(i);
        testing::fillList(*w, entries);
        user::show(*w);
        QAccessibleInterface *const list = QAccessible::queryAccessibleInterface(w->List1);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->childCount(), 500);
        QAccessibleInterface *const second = list->child(1);
        QCOMPARE(second->role(), QAccessible::ListItem);
        QCOMPARE(second->text(QAccessible::Name), QString("/r/entry1.txt"));
        QCOMPARE(second->parent(), list);
        QCOMPARE(list->indexOfChild(second), 1);
        QCOMPARE(list->child(1), second);  // one description a row, not one a question
        QVERIFY(!second->state().selected);
        QVERIFY(list->child(499)->state().offscreen);
        QVERIFY(!list->child(500));

        user::clickEntry(*w, 1);
        QVERIFY(second->state().selected);
        QVERIFY(second->state().focused);
        QCOMPARE(list->focusChild(), second);
        const QPoint centre = second->rect().center();
        QCOMPARE(w->List1->viewport()->mapFromGlobal(centre).y() / w->List1->entryHeight(), 1);
        QCOMPARE(list->childAt(centre.x(), centre.y()), second);

        // Moving the focus to an entry selects and previews it as the keys do.
        list->child(2)->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
        QCOMPARE(w->Label4->text(), QString("3 from 500"));
        QVERIFY(!second->state().selected);

        // A list filled anew: what was described before is gone, even where a new entry
        // stands in its row (a screen reader would otherwise keep the old one's name).
        testing::fillList(*w, {"/s/new.txt", "/s/other.txt"});
        QVERIFY(!second->isValid());
        QCOMPARE(list->childCount(), 2);
        QCOMPARE(list->child(1)->text(QAccessible::Name), QString("/s/other.txt"));
    }
};

QTEST_MAIN(TestWindowEvents)
#include "test_window_events.moc"
