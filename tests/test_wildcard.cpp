#include "platform/Formatting.h"
#include "platform/Rounding.h"
#include "platform/WildcardPattern.h"
#include "search/SearchTexts.h"

#include <QtTest>

using platform::WildcardPattern;

class TestWildcard : public QObject {
    Q_OBJECT
private slots:
    void patterns_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("match");
        QTest::newRow("star suffix") << "*.jpg" << QByteArray("a.jpg") << true;
        QTest::newRow("case folded") << "*.JPG" << QByteArray("a.jpg") << true;
        QTest::newRow("case folded name") << "*.jpg" << QByteArray("A.JPG") << true;
        QTest::newRow("other ext") << "*.jpg" << QByteArray("a.jpeg") << false;
        QTest::newRow("star matches empty run") << "a*b" << QByteArray("ab") << true;
        QTest::newRow("star backtracks") << "*a*b" << QByteArray("xaab") << true;
        QTest::newRow("question one char") << "?.txt" << QByteArray("a.txt") << true;
        QTest::newRow("question not zero chars") << "?.txt" << QByteArray(".txt") << false;
        QTest::newRow("question not two chars") << "?.txt" << QByteArray("ab.txt") << false;
        QTest::newRow("exact name") << "readme" << QByteArray("README") << true;
        QTest::newRow("leading blank is literal") << " *.bmp" << QByteArray("a.bmp") << false;
        QTest::newRow("blank item matches blank name") << " *.bmp" << QByteArray(" a.bmp") << true;
        QTest::newRow("brackets literal") << "[ab].txt" << QByteArray("a.txt") << false;
        QTest::newRow("brackets literal match") << "[ab].txt" << QByteArray("[ab].txt") << true;
        QTest::newRow("braces literal") << "{a,b}" << QByteArray("a") << false;
        QTest::newRow("backslash literal") << "a\\b" << QByteArray("a\\b") << true;
        QTest::newRow("star dot star needs a dot") << "*.*" << QByteArray("README") << false;
        QTest::newRow("empty item matches nothing") << "" << QByteArray("a") << false;
        QTest::newRow("star matches dot") << "*" << QByteArray(".") << true;
        QTest::newRow("non-ascii folded") << QString::fromUtf8("ÉTÉ*") << QByteArray("été.jpg") << true;
        QTest::newRow("ascii pattern non-ascii name") << "*.jpg" << QByteArray("café.JPG") << true;
        QTest::newRow("question on non-ascii letter") << "caf?.jpg" << QByteArray("café.jpg") << true;
        QTest::newRow("invalid utf-8 name") << "*.jpg" << QByteArray("bad\xff.jpg") << true;
        QTest::newRow("invalid utf-8, non-ascii pattern") << QString::fromUtf8("é*") << QByteArray("\xff") << false;
    }
    void patterns()
    {
        QFETCH(QString, pattern);
        QFETCH(QByteArray, name);
        QFETCH(bool, match);
        QCOMPARE(WildcardPattern(pattern).matches(std::string_view(name.constData(), size_t(name.size()))), match);
    }

    void groupedNumbers()
    {
        QCOMPARE(platform::formatGrouped(0), QStringLiteral("0"));
        QCOMPARE(platform::formatGrouped(999), QStringLiteral("999"));
        QCOMPARE(platform::formatGrouped(1200000), QStringLiteral("1,200,000"));
        QCOMPARE(platform::formatGrouped(3221225472LL), QStringLiteral("3,221,225,472"));
        QCOMPARE(platform::formatGrouped(-1234), QStringLiteral("-1,234"));
    }

    // The bracketed figure is the byte count in units of 1024 bytes, and says so.
    void sizeLinesSayKilobytes()
    {
        QCOMPARE(search::summarySizeText("/Photos/", 3221225472LL),
                 QStringLiteral("Size of files found under /Photos/ = 3,221,225,472 Bytes (3,145,728 KB )"));
        QCOMPARE(search::walkSizeText("/Photos/2012/", 48213477),
                 QStringLiteral("/Photos/2012/\n   >>> Size of files found =48,213,477 Bytes ( 47,083 KB )"));
    }

    void kibiRounding()
    {
        QCOMPARE(platform::roundedKibi(3221225472LL), 3145728);
        QCOMPARE(platform::roundedKibi(511), 0);
        QCOMPARE(platform::roundedKibi(512), 1);  // halves away from zero
        QCOMPARE(platform::roundedKibi(48213477), 47083);
    }

    void elapsed()
    {
        QCOMPARE(platform::formatElapsed(QTime(10, 0, 0), QTime(10, 0, 7)), QStringLiteral("00:00:07"));
        QCOMPARE(platform::formatElapsed(QTime(9, 59, 0), QTime(11, 1, 2)), QStringLiteral("01:02:02"));
        // Past midnight the clock wraps round instead of going negative.
        QCOMPARE(platform::formatElapsed(QTime(23, 59, 58), QTime(0, 0, 3)), QStringLiteral("00:00:05"));
    }

    void roundingHalvesToEven()
    {
        QCOMPARE(platform::roundHalfEven(2.5), 2.0);
        QCOMPARE(platform::roundHalfEven(3.5), 4.0);
        QCOMPARE(platform::roundHalfEven(266.67), 267.0);
        QCOMPARE(platform::roundHalfEven(-2.5), -2.0);
        std::int16_t v = 7;
        QVERIFY(!platform::assignInt16(v, 40000.0));
        QCOMPARE(v, std::int16_t(7));
        QVERIFY(platform::assignInt16(v, 8000.4));
        QCOMPARE(v, std::int16_t(8000));
    }
};

QTEST_GUILESS_MAIN(TestWildcard)
#include "test_wildcard.moc"
