// The result list with a hundred entries (enough to scroll) and with a million:
// what a person does with it (a page down, a click, the wheel, the End key, a
// thousand entries arriving) must cost the same either way. Each size runs in a child process of its own, so the
// resident sizes compare too.
#include "BenchSupport.h"
#include "app/Form1.h"
#include "search/ResultList.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <sys/resource.h>

#include <cstring>

namespace {

QString entry(int i)
{
    return QString("/home/someone/Pictures/%1/holiday %2/IMG_%3.txt")
        .arg(2000 + i % 25)
        .arg(i / 1000)
        .arg(i, 7, 10, QLatin1Char('0'));
}

// In a child process: the figures for a list of `rows` entries, one line.
int measure(int argc, char *argv[])
{
    bench::choosePlatform();
    QApplication app(argc, argv);
    const bench::WorkFolder work(1, argv);
    Form1 w(bench::quietServices(work.path()));
    w.show();
    bench::waitUntilPainted(w);

    const int rows = std::atoi(argv[2]);
    search::ResultList &list = *w.List1;
    for (int i = 0; i < rows; ++i)
        list.AddItem(entry(i));
    list.setListIndex(0);
    bench::waitUntilPainted(w);
    list.setFocus();

    // Down and up in turn, so every step scrolls however short the list.
    bool down = false;
    const double pageDown = bench::medianPaintedMs(w, 101, [&] {
        down = !down;
        QTest::keyClick(&list, down ? Qt::Key_PageDown : Qt::Key_PageUp);
    });
    const QPoint middle(10, list.viewport()->height() / 2);
    const double click = bench::medianPaintedMs(w, 101, [&] { QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, middle); });
    const double wheel = bench::medianPaintedMs(w, 101, [&] {
        down = !down;
        QWheelEvent notch(middle, list.viewport()->mapToGlobal(QPointF(middle)), QPoint(), QPoint(0, down ? -120 : 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list.viewport(), &notch);
    });
    const double homeEnd = bench::medianPaintedMs(w, 101, [&] {
        QTest::keyClick(&list, Qt::Key_Home);
        QTest::keyClick(&list, Qt::Key_End);
    });
    int next = rows;
    const double append = bench::medianPaintedMs(w, 31, [&] {
        for (int i = 0; i < 1000; ++i)
            list.AddItem(entry(next++));
        list.selectNewestOnFlush();
        list.flushPending();
    });
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%f %f %f %f %f %f\n", pageDown, click, wheel, homeEnd, append, double(usage.ru_maxrss) / 1024);
    return 0;
}

QList<double> childFigures(int rows)
{
    QList<double> figures;
    for (const QByteArray &f : bench::childOutput({"--rows", QString::number(rows)}).split(' '))
        figures << f.toDouble();
    return figures;
}

}  // namespace

int main(int argc, char *argv[])
{
    if (argc > 2 && std::strcmp(argv[1], "--rows") == 0)
        return measure(argc, argv);
    bench::choosePlatform();
    QCoreApplication app(argc, argv);
    const QList<double> hundred = childFigures(100);
    const QList<double> million = childFigures(1'000'000);
    if (hundred.size() != 6 || million.size() != 6) {
        std::printf("(no figures)\n");
        return 1;
    }
    const char *const names[] = {"Page Down or Up, painted, median of 101", "click on an entry, painted, median of 101",
                                 "one wheel notch down or up, painted, median of 101", "Home then End, painted, median of 101",
                                 "1,000 entries arriving, newest selected, painted, median of 31"};
    std::printf("%-64s %10s %10s %8s\n", "", "100 rows", "1M rows", "ratio");
    for (int i = 0; i < 5; ++i)
        std::printf("%-64s %8.3f ms %7.3f ms %7.2f x\n", names[i], hundred[i], million[i], million[i] / hundred[i]);
    std::printf("%-64s %7.1f MB %7.1f MB\n", "peak resident size", hundred[5], million[5]);
    return 0;
}
