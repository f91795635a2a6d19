#include "TestSupport.h"
#include "app/Version.h"
#include "app/AboutTexts.h"
#include "app/Form1.h"
#include "preview/AnimatedPreview.h"
#include "app/HelpAbout.h"
#include "platform/PictureBox.h"
#include "search/ResultList.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using testing::FakeServices;
using testing::TempTree;

namespace {

// Shows the window with its inner area at `size` and lets the layout run.
void resizeInner(Form1 &w, QSize size)
{
    w.resize(size.width(), size.height() + w.menuBar()->height());
    QTRY_COMPARE(w.innerArea()->size(), size);
}

struct Recorded {
    QWidget *widget;
    ControlGeometry geometry;
    ControlKind kind;
};

QList<Recorded> recorded(Form1 &w)
{
    QList<Recorded> out;
    for (size_t i = 0; i < w.controls().size(); ++i)
        if (w.controls()[i].widget)
            out.append({w.controls()[i].widget, w.state().ControlGeometryTable[i], w.controls()[i].kind});
    return out;
}

QString quadrants(TempTree &t)
{
    QImage image(200, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            image.setPixel(x, y, y < 100 ? (x < 100 ? qRgb(255, 0, 0) : qRgb(0, 255, 0))
                                         : (x < 100 ? qRgb(0, 0, 255) : qRgb(255, 255, 255)));
    const QString path = t.file("quadrants.jpg");
    image.save(path, "JPG", 95);
    return path;
}

QColor corner(Form1 &w)
{
    return QColor(w.Picture1->rendered().pixel(4, 4));
}

}  // namespace

class TestWindowLayout : public QObject {
    Q_OBJECT
private slots:
    void doublingTheHeightDoublesVerticalGeometry()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        w->show();
        resizeInner(*w, QSize(885, 374));
        resizeInner(*w, QSize(885, 748));
        for (const Recorded &r : recorded(*w)) {
            const QRect g = r.widget->geometry();
            QCOMPARE(g.top(), 2 * r.geometry.Top);
            QCOMPARE(g.left(), int(r.geometry.Left));
            QCOMPARE(g.width(), int(r.geometry.Width));
            if (isTextBox(r.kind))
                QCOMPARE(g.height(), int(r.geometry.Height));
            else
                QCOMPARE(g.height(), 2 * r.geometry.Height);
            const double points = r.widget->font().pointSizeF();
            QVERIFY2(points >= 8 && points <= 12, qPrintable(r.widget->objectName()));
        }
        QCOMPARE(w->Label2->font().pointSizeF(), 12.0);
        QCOMPARE(w->Command1->font().pointSizeF(), 12.0);
    }

    void limitsFreezeAnAxis()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        w->show();
        resizeInner(*w, QSize(700, 374));
        const QRect before = w->List1->geometry();
        const double font = w->List1->font().pointSizeF();
        resizeInner(*w, QSize(600, 80));  // too low: vertical geometry and fonts stay, widths follow
        QCOMPARE(w->List1->geometry().top(), before.top());
        QCOMPARE(w->List1->geometry().height(), before.height());
        QCOMPARE(w->List1->font().pointSizeF(), font);
        QCOMPARE(w->List1->geometry().width(), qRound(600.0 / 885 * 537));
        resizeInner(*w, QSize(2400, 374));  // too wide: the last in-range width holds
        QCOMPARE(w->List1->geometry().width(), qRound(600.0 / 885 * 537));
        QCOMPARE(w->List1->geometry().left(), qRound(600.0 / 885 * 40));
    }

    void manyResizesComeBackToTheDesign()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        w->show();
        resizeInner(*w, QSize(885, 374));
        QList<QRect> design;
        for (const Recorded &r : recorded(*w))
            design.append(r.widget->geometry());
        for (QSize s : {QSize(913, 377), QSize(1300, 900), QSize(333, 211), QSize(1999, 999), QSize(887, 373)})
            resizeInner(*w, s);
        resizeInner(*w, QSize(885, 374));
        const QList<Recorded> now = recorded(*w);
        for (int i = 0; i < now.size(); ++i)
            QCOMPARE(now[i].widget->geometry(), design[i]);
    }

    void resizeRedrawsThePreviewUnlessAnimating()
    {
        TempTree t;
        const QString jpg = quadrants(t);
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        w->show();
        w->List1->Clear();
        w->List1->AddItem(jpg);
        w->List1->setListIndex(0);
        QVERIFY(testing::settled(*w));
        // While the animation runs, a resize leaves the preview alone: the position
        // counter the preview writes keeps what was put there.
        testing::user::show(*w);
        testing::user::click(w->Picture1);
        QVERIFY(w->animation().running());
        w->Label4->setText("marker");
        resizeInner(*w, QSize(900, 400));
        QCOMPARE(w->Label4->text(), QString("marker"));
        testing::user::click(w->Picture1, Qt::RightButton);  // stops it
        QVERIFY(!w->animation().running());
        w->Picture1->clearPicture();
        resizeInner(*w, QSize(910, 410));
        QCOMPARE(w->Label4->text(), QString("1 from 1"));
        QVERIFY(testing::settled(*w));
        QVERIFY(!w->Picture1->canvasImage().isNull());
    }

    void bannerRightClicksMirrorFlipAndRestore()
    {
        TempTree t;
        const QString jpg = quadrants(t);
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        w->List1->Clear();
        w->List1->AddItem(jpg);
        w->List1->setListIndex(0);
        QVERIFY(testing::settled(*w));
        QVERIFY(qRed(corner(*w).rgb()) > 200 && qGreen(corner(*w).rgb()) < 60);  // red, as drawn
        testing::user::show(*w);
        auto rightClick = [&] { testing::user::click(w->Picture2, Qt::RightButton); };
        rightClick();
        QVERIFY(corner(*w).green() > 200 && corner(*w).red() < 60);  // mirrored: green
        rightClick();
        QVERIFY(corner(*w).blue() > 200 && corner(*w).red() < 60);  // upside down: blue
        rightClick();
        QVERIFY(corner(*w).red() > 200 && corner(*w).green() < 60);  // as the preview drew it
        rightClick();
        QVERIFY(corner(*w).green() > 200 && corner(*w).red() < 60);  // and round again
        QVERIFY(fakes.shell->urls.isEmpty());
        testing::user::click(w->Picture2, Qt::LeftButton);
        QCOMPARE(fakes.shell->urls, QList<QUrl>{QUrl("https://quorvel.example/filesearch")});
    }

    void listToolTipFollowsTheEntryUnderThePointer()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        w->List1->Clear();
        for (int i = 0; i < 5; ++i)
            w->List1->AddItem(QString("/entry/%1.jpg").arg(i));
        w->List1->flushPending();
        testing::user::show(*w);
        w->resize(w->width(), 900);  // room below the last entry
        QTRY_VERIFY(w->List1->viewport()->height() > 6 * w->List1->entryHeight());
        const int h = w->List1->entryHeight();
        QWidget *viewport = w->List1->viewport();
        QTest::mouseMove(viewport, QPoint(5, h - 1));
        QCOMPARE(w->List1->toolTip(), QString("/entry/0.jpg"));
        w->List1->setToolTip("kept");
        QTest::mouseMove(viewport, QPoint(5, 2));  // the same entry: nothing is rewritten
        QCOMPARE(w->List1->toolTip(), QString("kept"));
        QTest::mouseMove(viewport, QPoint(5, h));
        QCOMPARE(w->List1->toolTip(), QString("/entry/1.jpg"));
        QTest::mouseMove(viewport, QPoint(5, 6 * h));  // below the last entry
        QCOMPARE(w->List1->toolTip(), QString());
    }

    void aboutAndHelp()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        QVERIFY(w->Text5->isHidden());
        w->About->trigger();
        QVERIFY(!w->Text5->isHidden());
        QCOMPARE(fakes.messages->shown.size(), size_t(1));
        QCOMPARE(fakes.messages->shown[0].text,
                 QString("Quorvel File Search\nVersion " QUORVEL_VERSION "\nby Quorvel Software (support@quorvel.example)"));
        QCOMPARE(fakes.messages->shown[0].title, QString("Quorvel File Search"));
        QCOMPARE(fakes.messages->shown[0].icon, platform::MessageIcon::None);
        // The thank-you text stays over the preview until another entry is selected.
        w->List1->AddItem("/a.txt");
        w->List1->setListIndex(0);
        QVERIFY(testing::settled(*w));
        QVERIFY(w->Text5->isHidden());

        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_F1);
        QCOMPARE(fakes.messages->shown.size(), size_t(2));
        QCOMPARE(fakes.messages->shown[1].text,
                 QString("Unlike Microsoft Windows built-in search utility, Quorvel File Search features provide "
                         "options for Preview of Image while searching to let you find exactly the files\\Images you "
                         "are looking for."));
    }

    void thankYouTextCharacterForCharacter()
    {
        const QString expected = QString("Thank you for using \"Quorvel File Search\".") + "\r\n" + "\r\n" + "\r\n" +
                                 "This software was developed in my valuable \r\n" +
                                 "spare time without any salary or sponsorship.\r\n" + "\r\n" +
                                 "If you liked it, appreicaite  your donation thus I \r\n" +
                                 "will ensure future development of this \r\n" + "software. \r\n" + "\r\n" + "\r\n" +
                                 "Thank you for your support,\r\n";
        QCOMPARE(QString(about::kThankYou), expected);
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        QCOMPARE(w->Text5->toPlainText(), QString(expected).remove('\r'));
    }
};

QTEST_MAIN(TestWindowLayout)
#include "test_window_layout.moc"
