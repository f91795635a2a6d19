#include "TestSupport.h"
#include "platform/FolderEnumeration.h"
#include "search/ContentsSearch.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using search::ContentsReading;
using search::ContentsSearch;

namespace {

// Whether every text is found in a file holding `content`, read in pieces of `piece` bytes.
bool found(const QStringList &texts, const QByteArray &content, std::size_t piece = 128 * 1024,
           std::function<void()> betweenReads = {})
{
    testing::TempTree tree;
    tree.file("f", content);
    const auto folder = platform::FolderHandle::open(QFile::encodeName(tree.root()));
    std::vector<char> buffer;
    const ContentsSearch search(texts, ContentsReading{piece, std::move(betweenReads)});
    return search.foundIn(*folder, "f", buffer, [] { return false; });
}

bool found(const QString &text, const QByteArray &content, std::size_t piece = 128 * 1024)
{
    return found(QStringList{text}, content, piece);
}

QByteArray utf8(const char *text)
{
    return QByteArray(text);
}

}  // namespace

class TestContentsSearch : public QObject {
    Q_OBJECT

private slots:
    // A text cut in two by the end of one read is found, wherever the cut falls,
    // for one-byte and for multi-byte characters written in another case.
    void aTextAcrossTwoReadsIsFound()
    {
        constexpr std::size_t kPiece = 64;
        for (const auto &[text, written] : {std::pair{QString("needle"), utf8("NEEDLE")},
                                            std::pair{QString("οδός"), utf8("ΟΔΌΣ")},
                                            std::pair{QString("ключ"), utf8("КЛЮЧ")}}) {
            for (int before = int(kPiece) - int(written.size()) - 1; before <= int(kPiece) + 1; ++before) {
                const QByteArray content = QByteArray(before, 'x') + written + QByteArray(200, 'y');
                QVERIFY2(found(text, content, kPiece), qPrintable(QString("%1 after %2 bytes").arg(text).arg(before)));
            }
            // Cut over three reads: the text is longer than one piece holds.
            const QString longText = text.repeated(20);
            QVERIFY(found(longText, QByteArray(30, 'x') + written.repeated(20), kPiece));
        }
    }

    void theFirstAndTheLastBytesOfAFileCount()
    {
        QVERIFY(found("abc", "abc"));
        QVERIFY(found("abc", "abc and more"));
        QVERIFY(found("abc", "more and abc"));
        QVERIFY(found("c", "abc"));
        QVERIFY(found("ä", utf8("\xc3\x84")));
        QVERIFY(!found("abcd", "abc"));
        QVERIFY(!found("xabc", "abc"));
        QVERIFY(!found("abc", ""));
        // Half a character at the end is not the character.
        QVERIFY(!found("ä", utf8("\xc3")));
    }

    void everyScriptIsFoundInAnyCase_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("expected");
        QTest::newRow("ASCII") << "Invoice 2024" << utf8("the INVOICE 2024 is due") << true;
        QTest::newRow("Greek capitals") << "οδος" << utf8("ΟΔΟΣ") << true;
        QTest::newRow("Greek final sigma") << "ΟΔΟΣ" << utf8("στην οδος") << true;
        QTest::newRow("Greek final and medial sigma alike") << "οδοσ" << utf8("οδος") << true;
        QTest::newRow("Cyrillic") << "Привет" << utf8("ПРИВЕТ, мир") << true;
        QTest::newRow("Cyrillic yo") << "ёлка" << utf8("ЁЛКА") << true;
        QTest::newRow("Turkish letters") << "ĞÜŞÖÇ" << utf8("ğüşöç") << true;
        QTest::newRow("Turkish ASCII i") << "istanbul" << utf8("ISTANBUL") << true;
        // Simple folding, as for the names: the dotted capital I and the dotless
        // small i fold to themselves.
        QTest::newRow("dotted capital I") << "İstanbul" << utf8("istanbul") << false;
        QTest::newRow("dotted capital I itself") << "İstanbul" << utf8("İSTANBUL") << true;
        QTest::newRow("dotless i") << "ılık" << utf8("ILIK") << false;
        QTest::newRow("dotless i itself") << "ılık" << utf8("ılık") << true;
        QTest::newRow("Kelvin sign") << "5 k" << utf8("5 \xe2\x84\xaa") << true;
        QTest::newRow("long s") << "sun" << utf8("\xc5\xbfun") << true;
        QTest::newRow("no full folding") << "strasse" << utf8("straße") << false;
        QTest::newRow("beyond the first plane") << "𐐨" << utf8("\xf0\x90\x90\x80") << true;
        QTest::newRow("another text") << "invoice" << utf8("receipt") << false;
        // Not UTF-8: the ASCII around the bytes still matches, the bytes match nothing.
        QTest::newRow("Latin-1, ASCII word") << "INVOICE" << QByteArray("caf\xe9 invoice") << true;
        QTest::newRow("Latin-1, accented word") << "café" << QByteArray("caf\xe9 invoice") << false;
        QTest::newRow("a lone continuation byte before the text") << "abc" << QByteArray("\x80" "abc") << true;
        // An overlong form of "A" is not the letter (the scan stops at "q" and "z").
        QTest::newRow("overlong form") << "qza" << QByteArray("qz\xC1\x81") << false;
    }

    void everyScriptIsFoundInAnyCase()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, content);
        QFETCH(bool, expected);
        QCOMPARE(found(text, content), expected);
        // The same a few bytes into a small piece's second read.
        QCOMPARE(found(text, QByteArray(13, ' ') + content, 16), expected);
    }

    // The scan skips ahead by two rare bytes a fixed distance apart where it can:
    // whatever the texts and the bytes around them, it finds what a plain search of
    // the decoded, folded text finds. Letters written in one, two and three bytes
    // that fold together (k and the Kelvin sign, s and the long s, the three sigmas).
    void theScanFindsWhatAPlainSearchFinds()
    {
        const std::u32string alphabet = U"akKKsSſqzZσςΣéÉ x";
        QRandomGenerator random(20261208);
        const auto randomText = [&](int most) {
            std::u32string text;
            for (int n = int(random.bounded(most + 1)); n > 0; --n)
                text += alphabet[random.bounded(int(alphabet.size()))];
            return QString::fromUcs4(text.data(), qsizetype(text.size()));
        };
        const auto folded = [](const QString &text) {
            QString out;
            for (const char32_t c : text.toUcs4())
                out += QString::fromUcs4(&c, 1).toCaseFolded();
            return out;
        };
        int found = 0;
        for (int t = 0; t < 60; ++t) {
            QString text = randomText(5);
            if (text.isEmpty())
                text = "k";
            const search::FoldedText scan(text);
            for (int h = 0; h < 150; ++h) {
                // Long enough for the vector loop, with the text planted now and then.
                QString haystack = randomText(90);
                if (h % 3 == 0)
                    haystack.insert(int(random.bounded(int(haystack.size()) + 1)), text.toUpper());
                const QByteArray bytes = haystack.toUtf8();
                const bool expected = folded(haystack).contains(folded(text));
                found += expected;
                QVERIFY2(scan.occursIn(bytes.constBegin(), bytes.constEnd()) == expected,
                         qPrintable(QString("'%1' in '%2'").arg(text, haystack)));
            }
        }
        QVERIFY(found > 3000);
    }

    void everyTextMustBeFound()
    {
        QVERIFY(found(QStringList{"alpha", "omega"}, "omega ... alpha"));
        QVERIFY(!found(QStringList{"alpha", "omega"}, "alpha only"));
        // Found in different reads.
        QVERIFY(found(QStringList{"alpha", "omega"}, "alpha" + QByteArray(500, '.') + "OMEGA", 64));
    }

    // A NUL byte makes the file binary: it is skipped, and reading stops there.
    void binaryFilesAreSkipped()
    {
        QVERIFY(!found("needle", QByteArray("\x7f" "ELF\0\0\0", 7) + "needle"));
        int reads = 0;
        const QByteArray nulInTheSecondRead = QByteArray(100, 'x') + QByteArray(1, '\0') + "needle" + QByteArray(1000, 'x');
        QVERIFY(!found({"needle"}, nulInTheSecondRead, 64, [&reads] { ++reads; }));
        QCOMPARE(reads, 1);
        // Text found before any NUL was read counts.
        QVERIFY(found("needle", "needle" + QByteArray(1, '\0')));
        QVERIFY(found("needle", "needle" + QByteArray(1000, 'x') + QByteArray(1, '\0'), 64));
    }

    void utf16FilesWithAByteOrderMarkAreRead()
    {
        const QString text = QStringLiteral("Die Rechnung über 2024 ist bezahlt");
        for (const auto encoding : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
            QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
            const QByteArray bytes = encoder.encode(QString(300, QLatin1Char(' ')) + text);
            QVERIFY(found("RECHNUNG ÜBER", bytes));
            QVERIFY(found("rechnung über", bytes, 64));
            QVERIFY(found("bezahlt", bytes, 7));  // an odd piece cuts code units in two
            QVERIFY(!found("quittung", bytes));
            // Without its mark, it is binary like any text full of NUL bytes.
            QVERIFY(!found("rechnung", bytes.mid(2)));
        }
    }

    // A file cut short while it is read ends the reading: nothing beyond the cut is found.
    void aFileTruncatedWhileItIsReadEndsTheReading()
    {
        testing::TempTree tree;
        const QString path = tree.file("f", QByteArray(1000, 'x') + "needle");
        const auto folder = platform::FolderHandle::open(QFile::encodeName(tree.root()));
        std::vector<char> buffer;
        const ContentsSearch search({"needle"}, ContentsReading{64, [&path] { QVERIFY(::truncate(QFile::encodeName(path), 10) == 0); }});
        QVERIFY(!search.foundIn(*folder, "f", buffer, [] { return false; }));
    }

    void readingStopsWhenAsked()
    {
        testing::TempTree tree;
        tree.file("f", QByteArray(100000, 'x') + "needle");
        const auto folder = platform::FolderHandle::open(QFile::encodeName(tree.root()));
        std::vector<char> buffer;
        int reads = 0;
        bool stop = false;
        const ContentsSearch search({"needle"}, ContentsReading{64, [&] { stop = ++reads == 3; }});
        QVERIFY(!search.foundIn(*folder, "f", buffer, [&stop] { return stop; }));
        QCOMPARE(reads, 3);
    }

    // Only plain files are opened: a pipe would wait for a writer forever, and a
    // link is not followed.
    void onlyPlainFilesAreOpened()
    {
        testing::TempTree tree;
        const QByteArray root = QFile::encodeName(tree.root());
        QVERIFY(::mkfifo(root + "pipe", 0600) == 0);
        tree.file("target", "needle");
        QVERIFY(::symlink("target", root + "link") == 0);
        const auto folder = platform::FolderHandle::open(root);
        std::vector<char> buffer;
        const ContentsSearch search({"needle"});
        const auto never = [] { return false; };
        // The pipe holds the text, waiting to be read: it is still never read.
        const int writer = ::open(root + "pipe", O_RDWR | O_NONBLOCK | O_CLOEXEC);
        QVERIFY(writer >= 0 && ::write(writer, "needle", 6) == 6);
        QVERIFY(!search.foundIn(*folder, "pipe", buffer, never));
        ::close(writer);
        QVERIFY(!search.foundIn(*folder, "link", buffer, never));
        QVERIFY(!search.foundIn(*folder, ".", buffer, never));
        QVERIFY(!search.foundIn(*folder, "missing", buffer, never));
        QVERIFY(search.foundIn(*folder, "target", buffer, never));
    }
};

QTEST_GUILESS_MAIN(TestContentsSearch)
#include "test_contents_search.moc"
