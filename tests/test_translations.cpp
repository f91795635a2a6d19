// The window in the user's language: every catalogue loads, its captions fit their
// controls at the design size, the texts a person reads during a search follow
// it, and English and the C locale keep the texts as written.
#include "TestSupport.h"

#include "app/AboutTexts.h"
#include "app/CommandLine.h"
#include "app/Form1.h"
#include "app/Translations.h"
#include "search/ResultList.h"
#include "search/SearchTexts.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

namespace user = testing::user;

namespace {

// The room a caption has in its control, as the control draws it.
int roomFor(QWidget *control)
{
    if (qobject_cast<QCheckBox *>(control)) {
        const QStyle *style = control->style();
        return control->width() - style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, control) -
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, control) - 6;
    }
    if (qobject_cast<QPushButton *>(control))
        return control->width() - 10;
    return control->width() - 4;
}

QString captionOf(QWidget *control)
{
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->text().remove('&');
    if (auto *label = qobject_cast<QLabel *>(control); label && !label->wordWrap())
        return label->text();
    return {};
}

}  // namespace

class TranslationTests : public QObject {
    Q_OBJECT

private slots:
    void eachLanguageFitsTheWindow_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("search");  // Command1's caption in that language
        QTest::newRow("German") << "de_DE" << "Suchen";
        QTest::newRow("French") << "fr_FR" << "Chercher";
        QTest::newRow("Spanish") << "es_ES" << "Buscar";
    }

    void eachLanguageFitsTheWindow()
    {
        QFETCH(QString, language);
        QFETCH(QString, search);
        const Translations translated{QLocale(language)};
        QVERIFY2(translated.found(), qPrintable(translationFolders().join(", ")));
        testing::FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        user::show(*w);
        QCOMPARE(w->Command1->text(), search);
        QCOMPARE(w->menuBar()->actions().constFirst()->text() == "Menu", language.startsWith("fr"));

        // The longest captions the window shows: a large count and a running search.
        w->Label4->setText(QCoreApplication::translate("Preview", "%1 from %2").arg("99999", "99999"));
        w->Command1->setText(QCoreApplication::translate("Search", "Cancel"));
        int checked = 0;
        for (QWidget *control : w->innerArea()->findChildren<QWidget *>()) {
            const QString caption = captionOf(control);
            if (caption.isEmpty())
                continue;
            control->grab();  // paints it, as the screen would
            QVERIFY2(QFontMetrics(control->font()).horizontalAdvance(caption) <= roomFor(control),
                     qPrintable(control->objectName() + ": " + caption));
            QVERIFY2(control->font().pointSizeF() >= 8, qPrintable(control->objectName()));
            ++checked;
        }
        QVERIFY(checked >= 12);

        // While a search runs, the size box holds the folder, then the size found
        // so far on a line of its own, which stays whole up to a hundred gigabytes.
        w->Text4->setPlainText(search::walkSizeText("/", std::int64_t(100) << 30));
        w->Text4->grab();
        const QTextBlock sizeLine = w->Text4->document()->lastBlock();
        QVERIFY2(sizeLine.layout()->lineCount() == 1, qPrintable(sizeLine.text()));

        // The thank-you text: translated, and no line of it wraps.
        user::click(w->Command2);
        QVERIFY(w->Text5->isVisible());
        QVERIFY(w->Text5->toPlainText() != QString(about::kThankYou).remove('\r'));
        w->Text5->grab();
        for (QTextBlock b = w->Text5->document()->begin(); b.isValid(); b = b.next())
            QVERIFY2(b.layout()->lineCount() <= 1, qPrintable(b.text()));
    }

    void aSearchReportsInTheUsersLanguage()
    {
        const Translations translated{QLocale("de_DE")};
        testing::FakeServices fakes;
        testing::TempTree tree;
        tree.file("a.jpg", QByteArray(2048, 0));
        tree.file("sub/b.jpg", QByteArray(1024, 0));
        auto w = testing::makeWindow(fakes);
        user::search(*w, tree.root(), "*.jpg");
        QCOMPARE(w->Text3->text(), "Gefundene Einträge = 2  in Ordnern = 2");
        QVERIFY2(w->Label1->text().startsWith("Gesucht in "), qPrintable(w->Label1->text()));
        QVERIFY2(w->Text4->toPlainText().contains(" = 3.072 Byte (3 KB )") ||
                     w->Text4->toPlainText().contains(" = 3,072 Byte (3 KB )"),
                 qPrintable(w->Text4->toPlainText()));
        QCOMPARE(w->Label4->text(), "2 von 2");  // the newest match is selected as it is found
    }

    void theCommandLineAnswersInTheUsersLanguage()
    {
        const Translations translated{QLocale("fr_FR")};
        const CommandLine notAFolder = readCommandLine({"quorvelfilesearch", QString(QUORVEL_TEST_DATA "/shapes.emf")});
        QCOMPARE(notAFolder.exitStatus, 2);
        QCOMPARE(notAFolder.error, "quorvelfilesearch: N'est pas un dossier : " QUORVEL_TEST_DATA
                                   "/shapes.emf\nSaisissez « quorvelfilesearch --help » pour plus d'informations.\n");
        QVERIFY(readCommandLine({"quorvelfilesearch", "--help"}).output.contains("Lance la recherche immédiatement."));
    }

    void englishAndTheCLocaleKeepTheTextsAsWritten_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("C") << QLocale::c();
        QTest::newRow("English") << QLocale("en_US");
        QTest::newRow("British") << QLocale("en_GB");
        QTest::newRow("a language without a catalogue") << QLocale("it_IT");
    }

    void englishAndTheCLocaleKeepTheTextsAsWritten()
    {
        QFETCH(QLocale, locale);
        const Translations translated{locale};
        QVERIFY(!translated.found());
        testing::FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        QCOMPARE(w->Command1->text(), "Search");
        QCOMPARE(w->Check1->text(), "Show Listbox while searching");
        QCOMPARE(w->Text5->toPlainText(), QString(about::kThankYou).remove('\r'));
        QCOMPARE(QCoreApplication::translate("Search", "Find in %1"), "Find in %1");
    }
};

QTEST_MAIN(TranslationTests)
#include "test_translations.moc"
