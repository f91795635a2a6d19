#include "TestSupport.h"
#include "app/Form1.h"
#include "preview/FileActions.h"
#include "platform/PictureBox.h"
#include "preview/PropertiesDialog.h"
#include "search/DesktopListing.h"
#include "search/ResultList.h"
#include "search/WalkSession.h"

#include <QAction>
#include <QClipboard>
#include <QMimeData>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using testing::FakeServices;
using testing::TempTree;

namespace {

QClipboard *clipboard()
{
    return QGuiApplication::clipboard();
}

// Writes a desktop in `fakes` from relative names; names ending in "/" are folders.
void makeDesktop(FakeServices &fakes, const QStringList &names)
{
    for (const QString &n : names) {
        const QString path = fakes.desktop->path() + "/" + n;
        if (n.endsWith('/')) {
            QDir().mkpath(path);
        } else {
            QDir().mkpath(QFileInfo(path).path());
            QFile f(path);
            f.open(QIODevice::WriteOnly);
        }
    }
}

void rightClickDesktopButton(Form1 &w)
{
    testing::user::show(w);
    testing::user::click(w.Command9, Qt::RightButton);
    QVERIFY(testing::settled(w));
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

}  // namespace

class TestFileActions : public QObject {
    Q_OBJECT
private slots:
    void openingHandsThePathOverWhole_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "/photos/img.jpg";
        QTest::newRow("blanks") << "/My Pictures/a b.jpg";
        QTest::newRow("hostile") << "/x/-rf $(touch pwned); 'q' \"d\".jpg";
    }
    void openingHandsThePathOverWhole()
    {
        QFETCH(QString, path);
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {path, "/other.jpg"}, 0);
        testing::user::doubleClickEntry(*w, 0);
        testing::user::chooseFromActionMenu(*w, w->openfile);
        QCOMPARE(fakes.shell->opened, (QStringList{path, path}));
        testing::user::chooseFromActionMenu(*w, w->openfolder);
        QCOMPARE(fakes.shell->folders, QStringList{preview::folderOf(path)});
        QVERIFY(fakes.messages->shown.empty());
    }

    void openFolderKeepsTheCase()
    {
        QCOMPARE(preview::folderOf("/Photos/2012/img.jpg"), QString("/Photos/2012/"));
        QCOMPARE(preview::folderOf("img.jpg"), QString());
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {"noslash.jpg"}, 0);
        w->openfolder->trigger();
        QVERIFY(fakes.shell->folders.isEmpty());
    }

    void failedOpenSaysSo()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        fakes.shell->openSucceeds = false;
        testing::fillList(*w, {"/x/unknown.kind"}, 0);
        testing::user::doubleClickEntry(*w, 0);
        QCOMPARE(fakes.messages->shown.size(), size_t(1));
        QCOMPARE(fakes.messages->shown[0].text, QString("There was an error when trying to open a default programme"));
        QCOMPARE(fakes.messages->shown[0].title, QString("Error........Quorvele  File  Search"));
        QCOMPARE(fakes.messages->shown[0].icon, platform::MessageIcon::Critical);
    }

    // A file deeper in its folders than any path the system hands other programs:
    // opening it, its folder or its properties says why that cannot be done.
    void aPathLongerThanTheSystemTakesSaysSo()
    {
        const QString deep = "/" + QString("d/").repeated(2100) + "f.jpg";  // 4,206 bytes
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {deep}, 0);
        testing::user::doubleClickEntry(*w, 0);
        for (QAction *action : {w->openfile, w->openfolder, w->Fileproperty})
            testing::user::chooseFromActionMenu(*w, action);
        QVERIFY(fakes.shell->opened.isEmpty() && fakes.shell->folders.isEmpty() && fakes.shell->properties.isEmpty());
        QCOMPARE(fakes.messages->shown.size(), size_t(4));
        QVERIFY(fakes.messages->shown[0].text.endsWith(
            "This path is 4,206 bytes long; the system hands other programs paths of at most 4,095 bytes, so it "
            "cannot be opened or shown from here."));
        QVERIFY(fakes.messages->shown[2].text.contains("4,201 bytes long"));  // its folder
    }

    void rightButtonPopsUpTheActionMenu()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {"/a.jpg", "/b.jpg"}, 1);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        const QPoint first = w->List1->visualRect(w->List1->model()->index(0, 0)).center();
        QTest::mousePress(w->List1->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseRelease(w->List1->viewport(), Qt::LeftButton, {}, first);
        QVERIFY(!w->menuCopy->isVisible());
        QCOMPARE(w->List1->ListIndex(), 0);
        w->List1->setListIndex(1);
        QTest::mousePress(w->List1->viewport(), Qt::RightButton, {}, first);
        QVERIFY(w->menuCopy->isVisible());
        QCOMPARE(w->List1->ListIndex(), 1);  // the selection stays where it was
        w->menuCopy->hide();
        QTest::mouseRelease(w->List1->viewport(), Qt::RightButton, {}, first);
    }

    void propertiesFromTheFileManagerOrOurOwnDialog()
    {
        TempTree t;
        const QString file = t.file("report.txt", "12345");
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {file}, 0);
        testing::user::chooseFromActionMenu(*w, w->Fileproperty);
        QCOMPARE(fakes.shell->properties, QStringList{file});
        QVERIFY(w->findChildren<preview::PropertiesDialog *>().isEmpty());

        fakes.shell->propertiesSucceed = false;
        w->Fileproperty->trigger();
        const auto dialogs = w->findChildren<preview::PropertiesDialog *>();
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs[0]->value("Name"), QString("report.txt"));
        QCOMPARE(dialogs[0]->value("Size"), QString("5 bytes"));
        QVERIFY(!dialogs[0]->value("Owner").isEmpty());
        QCOMPARE(dialogs[0]->value("Permissions").size(), 9);
        dialogs[0]->close();
        QVERIFY(fakes.messages->shown.empty());
    }

    void copyFullPath()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {});
        clipboard()->setText("untouched");
        w->copy1->trigger();
        QCOMPARE(fakes.messages->shown.size(), size_t(1));
        QCOMPARE(fakes.messages->shown[0].text, QString("No filename selected"));
        QCOMPARE(fakes.messages->shown[0].icon, platform::MessageIcon::Critical);
        QCOMPARE(clipboard()->text(), QString("untouched"));

        testing::fillList(*w, {"/a b.jpg", "/c.jpg"}, 0);
        testing::user::chooseFromActionMenu(*w, w->copy1);
        QCOMPARE(clipboard()->text(), QString("/a b.jpg"));
        w->List1->setListIndex(-1);
        w->copy1->trigger();
        QCOMPARE(clipboard()->text(), QString());
    }

    void copyList()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {});
        clipboard()->setText("untouched");
        w->copylist->trigger();
        QCOMPARE(clipboard()->text(), QString("untouched"));
        QVERIFY(fakes.messages->shown.empty());
        testing::fillList(*w, {"/a.jpg", QString::fromUtf8("/é.jpg"), "/c d.jpg"});
        testing::user::chooseFromActionMenu(*w, w->copylist);
        QCOMPARE(clipboard()->text(), QString::fromUtf8("/a.jpg\r\n/é.jpg\r\n/c d.jpg\r\n"));
    }

    void copyImage()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {testing::testData("gradient.jpg"), "/no/such.jpg", testing::testData("shapes.emf")}, 0);
        w->Command10->click();
        QVERIFY(testing::settled(*w));
        QCOMPARE(clipboard()->image().size(), QSize(200, 150));
        // Pasting programs are handed PNG bytes made beforehand.
        QCOMPARE(QImage::fromData(clipboard()->mimeData()->data("image/png"), "png").size(), QSize(200, 150));
        // A picture that cannot be read (gone since the search) loses nothing: the
        // clipboard keeps what it held, and the status line says so.
        w->List1->setListIndex(1);
        w->CopyImage->trigger();
        QVERIFY(testing::settled(*w));
        QCOMPARE(clipboard()->image().size(), QSize(200, 150));
        QCOMPARE(w->Label1->text(), QString("The picture could not be copied."));
        clipboard()->setText("copied before");
        w->List1->setListIndex(-1);
        w->CopyImage->trigger();
        QVERIFY(testing::settled(*w));
        QCOMPARE(clipboard()->text(), QString("copied before"));
        w->List1->setListIndex(2);
        w->CopyImage->trigger();
        QVERIFY(testing::settled(*w));
        QVERIFY(!clipboard()->image().isNull());

        // Two copies in a row: the clipboard ends with the second picture, never the first.
        w->List1->setListIndex(2);
        w->CopyImage->trigger();
        w->List1->setListIndex(0);
        w->CopyImage->trigger();
        QVERIFY(testing::settled(*w));
        QCOMPARE(clipboard()->image().size(), QSize(200, 150));
    }

    void desktopFileListing()
    {
        FakeServices fakes;
        makeDesktop(fakes, {"a.jpg", "notes.txt", ".hidden.jpg", "folder/", "folder/inner.jpg", ".hiddendir/x"});
        QVERIFY(QFile::link(fakes.desktop->path() + "/a.jpg", fakes.desktop->path() + "/link.jpg"));
        QVERIFY(QFile::link(fakes.desktop->path() + "/folder", fakes.desktop->path() + "/folderlink"));
        auto w = testing::makeWindow(fakes);
        w->Label1->setText("something");
        testing::user::show(*w);
        testing::user::click(w->Command9);
        const QString d = fakes.desktop->path() + "/";
        QCOMPARE(sorted(w->List1->entries().toStringList()), (QStringList{d + "a.jpg", d + "link.jpg", d + "notes.txt"}));
        QCOMPARE(w->Command9->text(), QString("Showing Desktop File"));
        QCOMPARE(w->List1->backColor(), QColor(255, 230, 230));
        QCOMPARE(w->Label1->text(), QString());
    }

    void desktopTreeListing()
    {
        FakeServices fakes;
        makeDesktop(fakes, {"a.jpg", ".hidden.jpg", "folder/inner.jpg"});
        auto w = testing::makeWindow(fakes);
        rightClickDesktopButton(*w);
        const QString d = fakes.desktop->path() + "/";
        QCOMPARE(sorted(w->List1->entries().toStringList()),
                 (QStringList{d + ".hidden.jpg", d + "a.jpg", d + "folder", d + "folder/inner.jpg"}));
        const qsizetype folder = w->List1->entries().toStringList().indexOf(d + "folder");
        QVERIFY(folder < w->List1->entries().toStringList().indexOf(d + "folder/inner.jpg"));
        QCOMPARE(w->List1->backColor(), QColor(214, 230, 230));
        QCOMPARE(w->Command9->palette().color(QPalette::Button), QColor(214, 230, 230));
        QVERIFY(w->walkSession().searchIdle());
        QVERIFY(!w->Text3->isHidden() && !w->Text4->isHidden());
        QCOMPARE(w->Text3->text(), QString("Total Items found = 4  in Directories = 2"));
        QCOMPARE(w->Label1->text(), QString());
    }

    void emptyAndMissingDesktops()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        QCOMPARE(w->List1->ListCount(), 0);
        QCOMPARE(w->Command9->text(), QString("Showing Desktop File"));
        rightClickDesktopButton(*w);
        QCOMPARE(w->List1->ListCount(), 0);
        QVERIFY(!w->Text3->isHidden() && !w->Text4->isHidden());
        QCOMPARE(w->Text4->toPlainText(), QString());

        w->services().desktopFolder = fakes.desktop->path() + "/missing";
        w->Command9->click();
        QCOMPARE(w->List1->ListCount(), 0);
        rightClickDesktopButton(*w);
        QCOMPARE(w->List1->ListCount(), 0);
        w->services().desktopFolder.clear();
        w->Command9->click();
        rightClickDesktopButton(*w);
        QCOMPARE(w->List1->ListCount(), 0);
        QVERIFY(fakes.messages->shown.empty());
    }

    void startUpSelectsTheFirstJpg()
    {
        FakeServices fakes;
        QStringList names;
        for (int i = 1; i <= 12; ++i)
            names << QString("file%1.txt").arg(i, 2, 10, QChar('0'));
        makeDesktop(fakes, names);
        auto w = testing::makeWindow(fakes);
        QCOMPARE(w->List1->ListCount(), 12);
        QCOMPARE(w->List1->ListIndex(), -1);
        QCOMPARE(w->Label4->text(), QString("0 from 12"));

        // Whatever order the folder lists its names in, the first JPG entry is the one selected.
        FakeServices withJpg;
        makeDesktop(withJpg, names.mid(0, 11));
        QFile::copy(testing::testData("gradient.jpg"), withJpg.desktop->path() + "/photo.JPG");
        auto v = testing::makeWindow(withJpg);
        const int index = int(v->List1->entries().toStringList().indexOf(withJpg.desktop->path() + "/photo.JPG"));
        QCOMPARE(v->List1->ListIndex(), index);
        QCOMPARE(v->Label4->text(), QString("%1 from 12").arg(index + 1));
        QVERIFY(!v->Picture1->toolTip().isEmpty());
        QVERIFY(v->Command10->isHidden());  // no search has ended yet
    }

    void startUpTakesNoJpeg()
    {
        FakeServices fakes;
        makeDesktop(fakes, {"photo.jpeg", "notes.txt"});
        auto w = testing::makeWindow(fakes);
        QCOMPARE(w->List1->ListCount(), 2);
        QCOMPARE(w->List1->ListIndex(), -1);
        QCOMPARE(w->Label4->text(), QString("0 from 2"));
        QVERIFY(fakes.messages->shown.empty());
    }
};

QTEST_MAIN(TestFileActions)
#include "test_file_actions.moc"
