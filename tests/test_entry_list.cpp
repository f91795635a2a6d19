#include "platform/FileNames.h"
#include "search/EntryList.h"

#include <QtTest>

#include <thread>

using search::EntryList;

namespace {

QString entry(int i)
{
    return QString("/photos/%1/IMG_%2.jpg").arg(i % 7).arg(i);
}

}  // namespace

class TestEntryList : public QObject {
    Q_OBJECT
private slots:
    // Across every size of block, what goes in comes out, bytes and all.
    void entriesComeBackAsTheyWent()
    {
        EntryList list;
        const QString odd = platform::decodeFileName(QByteArray("/x/bad\xff name.jpg"));
        const QString wide = QString(5000, QChar(u'é'));  // longer than the first block
        for (int i = 0; i < 40'000; ++i)
            list.append(i == 100 ? odd : i == 7000 ? wide : entry(i));
        QCOMPARE(list.size(), 40'000);
        for (int i : {0, 63, 64, 191, 192, 6999, 7000, 7001, 16319, 16320, 32703, 32704, 39'999})
            QCOMPARE(list.at(i), i == 7000 ? wide : entry(i));
        QCOMPARE(list.at(100), odd);
        // A character beyond the first plane whose second half looks like an escaped byte.
        const QString camera = QString::fromUtf8("/x/\xF0\x9F\x93\xB7.jpg");
        list.append(camera);
        QCOMPARE(list.bytesAt(40'000), std::string_view("/x/\xF0\x9F\x93\xB7.jpg"));
        QCOMPARE(list.at(40'000), camera);
        QCOMPARE(platform::shownFileName(camera), camera);
        list = list.first(40'000);
        QCOMPARE(list.bytesAt(100), std::string_view("/x/bad\xff name.jpg"));
        QCOMPARE(EntryList(list.toStringList()), list);
    }

    // A copy is what the list held when it was taken, whatever either does next:
    // an export reads it on its own thread while the window's list grows, clears
    // and fills again.
    void aCopyIsASnapshot()
    {
        EntryList list;
        for (int i = 0; i < 100; ++i)
            list.append(entry(i));
        const EntryList snapshot = list;
        std::thread reader([&] {
            for (int round = 0; round < 50; ++round)
                for (int i = 0; i < 100; ++i)
                    if (snapshot.at(i) != entry(i))
                        std::abort();
        });
        for (int i = 100; i < 20'000; ++i)
            list.append(entry(i));
        reader.join();
        QCOMPARE(snapshot.size(), 100);
        QCOMPARE(list.size(), 20'000);

        // The snapshot may grow too, into blocks of its own.
        EntryList grown = list.first(70);
        grown.append(QStringLiteral("/mine.jpg"));
        QCOMPARE(grown.size(), 71);
        QCOMPARE(grown.at(70), QStringLiteral("/mine.jpg"));
        QCOMPARE(list.at(70), entry(70));
        list.append(QStringLiteral("/theirs.jpg"));
        QCOMPARE(grown.at(70), QStringLiteral("/mine.jpg"));
        QCOMPARE(list.at(20'000), QStringLiteral("/theirs.jpg"));

        list.clear();
        QCOMPARE(snapshot.at(99), entry(99));
        QCOMPARE(list.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestEntryList)
#include "test_entry_list.moc"
