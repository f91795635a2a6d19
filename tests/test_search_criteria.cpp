// The pattern field's text read into name patterns and criteria: every form of each
// criterion, every malformed one, and the patterns people already type,
// which must read exactly as before. Runs in Europe/Berlin, where clocks went
// forward on 31 March 2024.
#include "search/SearchCriteria.h"

#include <QtTest>

#include <ctime>

using search::CriteriaError;
using search::readCriteria;
using search::SearchCriteria;
using search::SizeRange;
using search::TimeRange;

namespace {

// Noon on the day the clocks went forward, by the local clock.
QDateTime now()
{
    return QDateTime(QDate(2024, 3, 31), QTime(12, 0), Qt::LocalTime);
}

SearchCriteria read(const QString &fieldText)
{
    const auto result = readCriteria(fieldText, now());
    if (const auto *error = std::get_if<CriteriaError>(&result))
        qWarning("%s", qPrintable(error->message()));
    return std::get<SearchCriteria>(result);
}

std::optional<CriteriaError> errorOf(const QString &fieldText)
{
    const auto result = readCriteria(fieldText, now());
    if (const auto *error = std::get_if<CriteriaError>(&result))
        return *error;
    return std::nullopt;
}

std::int64_t at(int year, int month, int day, int hour = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, 0), Qt::LocalTime).toSecsSinceEpoch();
}

}  // namespace

class TestSearchCriteria : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qputenv("TZ", "Europe/Berlin");
        ::tzset();
        QCOMPARE(now().offsetFromUtc(), 2 * 3600);  // summer time from 2:00 that day
    }

    // What people type today reads as it always did: only lowercase keywords
    // followed by ":" make a criterion.
    void namePatternsStayAsTheyAre()
    {
        QCOMPARE(read("*.jpg;*.png").names, (QStringList{"*.jpg", "*.png"}));
        QVERIFY(!read("*.jpg;*.png").hasCriteria());
        for (const QString typed : {"a:b.jpg", "C:x", "Size:1.jpg", "SIZE:x", "sizes:1", "my size:1.jpg", "[a] b.jpg",
                                   "\"a", "*"}) {
            const SearchCriteria c = read(typed);
            QCOMPARE(c.names, QStringList{typed});
            QVERIFY2(!c.hasCriteria(), qPrintable(typed));
        }
        // Blanks belong to a name pattern; an empty term stays one; quotes do not
        // join terms outside a contains: term.
        QCOMPARE(read(" *.jpg; x ;;").names, (QStringList{" *.jpg", " x ", "", ""}));
        QCOMPARE(read("\"a;b\"").names, (QStringList{"\"a", "b\""}));
        QCOMPARE(read("").names, QStringList{""});
        // A blank before a criterion is not part of it.
        const SearchCriteria c = read("*.jpg; size:>1MB;  skip:.git");
        QCOMPARE(c.names, QStringList{"*.jpg"});
        QCOMPARE(c.sizes.size(), size_t(1));
        QCOMPARE(c.skips, QStringList{".git"});
        // Only criteria: every name.
        QCOMPARE(read("size:>1MB").nameItems(), QStringList{"*"});
        QCOMPARE(read("*.a;size:1;*.b").nameItems(), (QStringList{"*.a", "*.b"}));
    }

    void sizes_data()
    {
        QTest::addColumn<QString>("term");
        QTest::addColumn<qint64>("least");
        QTest::addColumn<qint64>("most");
        const qint64 any = std::numeric_limits<qint64>::max();
        QTest::newRow("more than") << "size:>1KB" << qint64(1025) << any;
        QTest::newRow("at least") << "size:>=1KB" << qint64(1024) << any;
        QTest::newRow("less than") << "size:<1KB" << qint64(0) << qint64(1023);
        QTest::newRow("at most") << "size:<=1KB" << qint64(0) << qint64(1024);
        QTest::newRow("exactly") << "size:100" << qint64(100) << qint64(100);
        QTest::newRow("bytes") << "size:100B" << qint64(100) << qint64(100);
        QTest::newRow("range") << "size:1..2KB" << qint64(1) << qint64(2048);
        QTest::newRow("decimal") << "size:>1.5MB" << qint64(1572865) << any;
        QTest::newRow("any case") << "size:>=1kB" << qint64(1024) << any;
        QTest::newRow("gigabytes") << "size:<=2GB" << qint64(0) << qint64(2147483648LL);
        QTest::newRow("terabytes") << "size:1TB" << qint64(1099511627776LL) << qint64(1099511627776LL);
        QTest::newRow("a fraction of a byte") << "size:>0.5" << qint64(1) << any;
        QTest::newRow("blanks") << "size: >= 10 KB " << qint64(10240) << any;
    }

    void sizes()
    {
        QFETCH(QString, term);
        QFETCH(qint64, least);
        QFETCH(qint64, most);
        const SearchCriteria c = read(term);
        QCOMPARE(c.sizes.size(), size_t(1));
        QCOMPARE(c.sizes[0], (SizeRange{least, most}));
        // At the boundaries: N holds, one byte past it does not.
        QVERIFY(c.sizes[0].holds(least) && c.sizes[0].holds(most));
        QVERIFY(!c.sizes[0].holds(least - 1));
        if (most < std::numeric_limits<qint64>::max())
            QVERIFY(!c.sizes[0].holds(most + 1));
    }

    // "today" starts at local midnight, not at yesterday's (as one finder has it),
    // and a day is as long as the clocks make it: 31 March 2024 had 23 hours.
    void dates()
    {
        QCOMPARE(read("modified:today").modified[0], (TimeRange{at(2024, 3, 31)}));
        QCOMPARE(read("modified:yesterday").modified[0], (TimeRange{at(2024, 3, 30), at(2024, 3, 31)}));
        const TimeRange day = read("modified:2024-03-31").modified[0];
        QCOMPARE(day, (TimeRange{at(2024, 3, 31), at(2024, 4, 1)}));
        QCOMPARE(day.to - day.from, 23 * 3600);
        QCOMPARE(read("modified:>2024-03-30").modified[0], (TimeRange{at(2024, 3, 31)}));
        QCOMPARE(read("modified:<2024-03-31").modified[0],
                 (TimeRange{std::numeric_limits<std::int64_t>::min(), at(2024, 3, 31)}));
        QCOMPARE(read("modified:2024-03-01..2024-03-31").modified[0], (TimeRange{at(2024, 3, 1), at(2024, 4, 1)}));
        const std::int64_t noon = now().toSecsSinceEpoch();
        const std::int64_t day24 = 24 * 3600;
        QCOMPARE(read("modified:7d").modified[0].from, noon - 7 * day24);
        QCOMPARE(read("modified:2w").modified[0].from, noon - 14 * day24);
        QCOMPARE(read("modified:3m").modified[0].from, noon - 90 * day24);
        QCOMPARE(read("modified:1y").modified[0].from, noon - 365 * day24);
        // Midnight itself is in the day; a second before it is not.
        const TimeRange today = read("modified:today").modified[0];
        QVERIFY(today.holds(at(2024, 3, 31)) && !today.holds(at(2024, 3, 31) - 1));
    }

    void contentsAndFoldersToSkip()
    {
        QCOMPARE(read("contains:invoice").contains, QStringList{"invoice"});
        QCOMPARE(read("contains:invoice 2024").contains, QStringList{"invoice 2024"});
        QCOMPARE(read("contains:\"invoice 2024\"").contains, QStringList{"invoice 2024"});
        // Inside the quotes, ";" does not split.
        const SearchCriteria c = read("*.txt;contains:\"a;b\";*.md; contains:x");
        QCOMPARE(c.names, (QStringList{"*.txt", "*.md"}));
        QCOMPARE(c.contains, (QStringList{"a;b", "x"}));
        const SearchCriteria s = read("skip:.git;skip:node_modules;skip:build*");
        QCOMPARE(s.skips, (QStringList{".git", "node_modules", "build*"}));
        QCOMPARE(s.nameItems(), QStringList{"*"});
        // Several of a kind must all hold.
        QCOMPARE(read("size:>1KB;size:<1MB").sizes.size(), size_t(2));
    }

    void malformedTermsAreNamed_data()
    {
        QTest::addColumn<QString>("fieldText");
        QTest::addColumn<QString>("term");
        QTest::addColumn<QString>("form");
        for (const char *term : {"size:>abc", "size:", "size:>", "size:5..2", "size:1XB", "size:-1", "size:1 2",
                                 "size:99999999999TB"})
            QTest::newRow(term) << QString("*.jpg;") + term << QString(term) << "size:>N";
        for (const char *term : {"modified:2024-13-01", "modified:2024-02-30", "modified:7x", "modified:",
                                 "modified:>2024-1-1", "modified:Today", "modified:2024-03-31..2024-03-01"})
            QTest::newRow(term) << QString(term) << QString(term) << "modified:today";
        for (const char *term : {"contains:", "contains:\"\"", "contains:\"abc"})
            QTest::newRow(term) << QString(term) << QString(term) << "contains:TEXT";
        QTest::newRow("skip:") << "skip: " << "skip:" << "skip:NAME";
    }

    void malformedTermsAreNamed()
    {
        QFETCH(QString, fieldText);
        QFETCH(QString, term);
        QFETCH(QString, form);
        const std::optional<CriteriaError> error = errorOf(fieldText);
        QVERIFY(error);
        QCOMPARE(error->term, term);
        QVERIFY2(error->forms.contains(form), qPrintable(error->forms));
        QVERIFY(error->message().contains("\"" + term + "\""));
    }
};

QTEST_MAIN(TestSearchCriteria)
#include "test_search_criteria.moc"
