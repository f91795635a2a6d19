// Times the search command of the real window against the commands a person
// would compare it with, find(1) and fd(1), on the same trees: warm, and with the
// disk's caches dropped before every run where the benchmark may drop them. The
// window is timed from the click to the painted summary, with the settings it
// starts with unless a line says otherwise.
#include "BenchSupport.h"
#include "Trees.h"
#include "app/Form1.h"
#include "search/ResultList.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

namespace {

std::unique_ptr<Form1> makeWindow(const bench::WorkFolder &work)
{
    auto window = std::make_unique<Form1>(bench::quietServices(work.path()));
    window->show();
    bench::waitUntilPainted(*window);
    return window;
}

void searchFor(Form1 &window, const QString &root, const QString &patterns)
{
    window.Text1->setText(root);
    window.Text2->setText(patterns);
}

double residentMb()
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// In a child process: the real window with its own services searches `root` for
// everything and is closed 300 ms in; it prints when it closes.
int closeDuringSearch(int argc, char *argv[])
{
    bench::choosePlatform();
    QApplication app(argc, argv);
    Form1 window(platform::desktopServices());
    window.show();
    searchFor(window, QString::fromLocal8Bit(argv[2]), "*");
    QTimer::singleShot(0, &window, [&] { window.Command1->click(); });
    QTimer::singleShot(300, &window, [&] {
        std::printf("closing\n");
        std::fflush(stdout);
        window.close();
    });
    return app.exec();
}

// In a child process: lists everything below `root` in a fresh window and prints
// the entries listed, the resident size then and the resident size before.
int listEverything(int argc, char *argv[])
{
    bench::choosePlatform();
    QApplication app(argc, argv);
    const bench::WorkFolder work(1, argv);
    auto window = makeWindow(work);
    searchFor(*window, QString::fromLocal8Bit(argv[2]), "*");
    const double before = residentMb();
    bench::paintedMs(*window, [&] { window->Command1->click(); });
    std::printf("%d %.1f %.1f\n", window->List1->ListCount(), residentMb(), before);
    return 0;
}

// In a child process: the peak resident size with `count` entries in the list.
int memoryWithEntries(int argc, char *argv[])
{
    bench::choosePlatform();
    QApplication app(argc, argv);
    const bench::WorkFolder work(1, argv);
    auto window = makeWindow(work);
    const int count = std::atoi(argv[2]);
    window->List1->Clear();
    for (int i = 0; i < count; ++i)
        window->List1->AddItem(QString("/home/someone/Pictures/%1/holiday %2/IMG_%3.jpg")
                                   .arg(2000 + i % 25)
                                   .arg(i / 1000)
                                   .arg(i, 7, 10, QLatin1Char('0')));
    window->List1->setListIndex(count - 1);
    bench::waitUntilPainted(*window);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}

// Milliseconds from the child's first line (the close it was asked for) until it is gone.
double closeMsOfChild(const QStringList &arguments)
{
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments(arguments);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start();
    while (child.state() != QProcess::NotRunning && !child.canReadLine())
        child.waitForReadyRead(5000);
    QElapsedTimer t;
    t.start();
    child.waitForFinished(30000);
    return double(t.nsecsElapsed()) / 1e6;
}

struct TreeFigures {
    double find = 0, fd = 0, startup = 0, noPreview = 0;
};

}  // namespace

int main(int argc, char *argv[])
{
    if (argc > 2 && std::strcmp(argv[1], "--close-during-search") == 0)
        return closeDuringSearch(argc, argv);
    if (argc > 2 && std::strcmp(argv[1], "--memory") == 0)
        return memoryWithEntries(argc, argv);
    if (argc > 2 && std::strcmp(argv[1], "--list-everything") == 0)
        return listEverything(argc, argv);

    bench::choosePlatform();
    QApplication app(argc, argv);
    const bench::WorkFolder work(argc, argv);
    const QString fd = QStandardPaths::findExecutable("fdfind");
    const QString small = bench::ensureTree(work / "tree100k", 10);
    const QString large = bench::ensureTree(work / "tree1M", 100);

    auto window = makeWindow(work);
    Form1 &w = *window;
    const bool startedWithBoth = w.Check1->isChecked() && w.Check2->isChecked();
    const auto search = [&w] { w.Command1->click(); };
    const auto find = [](const QString &tree, const char *pattern) {
        return bench::programMs("find", {tree, "-name", pattern});
    };
    const auto fdFind = [&fd](const QString &tree, const char *pattern) {
        return fd.isEmpty() ? 0.0 : bench::programMs(fd, {"-u", "-g", pattern, tree});
    };
    const auto windowMs = [&](const QString &tree, const char *pattern, bool preview) {
        w.Check2->setChecked(preview);
        searchFor(w, tree, pattern);
        const double ms = bench::paintedMs(w, search);
        w.Check2->setChecked(true);
        return ms;
    };
    int listed[2] = {0, 0};

    // Warm: everything in the caches, median of five (three on the large tree).
    TreeFigures warm[2];
    const QString trees[2] = {small, large};
    for (int i = 0; i < 2; ++i) {
        const int runs = i == 0 ? 5 : 3;
        const QString tree = trees[i];
        warm[i].find = bench::medianMs(runs, [&] { find(tree, "*.jpg"); });
        warm[i].fd = fd.isEmpty() ? 0 : bench::medianMs(runs, [&] { fdFind(tree, "*.jpg"); });
        searchFor(w, tree, "*.jpg");
        warm[i].startup = bench::medianPaintedMs(w, runs, search);
        listed[i] = w.List1->ListCount();
        w.Check2->setChecked(false);
        warm[i].noPreview = bench::medianPaintedMs(w, runs, search);
        w.Check2->setChecked(true);
    }

    // Cold: the caches dropped before every run, median of three.
    TreeFigures cold[2];
    const bool canDrop = bench::dropCaches();
    if (canDrop) {
        for (int i = 0; i < 2; ++i) {
            std::vector<double> f, d, s, n;
            for (int run = 0; run < 3; ++run) {
                bench::dropCaches();
                f.push_back(find(trees[i], "*.jpg"));
                if (!fd.isEmpty()) {
                    bench::dropCaches();
                    d.push_back(fdFind(trees[i], "*.jpg"));
                }
                bench::dropCaches();
                s.push_back(windowMs(trees[i], "*.jpg", true));
                bench::dropCaches();
                n.push_back(windowMs(trees[i], "*.jpg", false));
            }
            cold[i] = {bench::median(f), d.empty() ? 0 : bench::median(d), bench::median(s), bench::median(n)};
        }
    }

    // Everything below the large tree.
    const double findAll = bench::medianMs(3, [&] { find(large, "*"); });
    searchFor(w, large, "*");
    const double allPreview = bench::medianPaintedMs(w, 3, search);
    const int allListed = w.List1->ListCount();
    w.Check2->setChecked(false);
    const double allNoPreview = bench::medianPaintedMs(w, 3, search);
    w.Check2->setChecked(true);

    // Cancel a while into the walk of the large tree; from the click to the summary painted.
    std::vector<double> cancelTimes;
    searchFor(w, large, "*.jpg");
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer sinceCancel;
        QTimer canceller;
        canceller.setSingleShot(true);
        QObject::connect(&canceller, &QTimer::timeout, &w, [&] {
            sinceCancel.start();
            w.Command1->click();
        });
        canceller.start(int(warm[1].startup / 3));
        search();
        bench::waitUntilPainted(w);
        if (sinceCancel.isValid() && w.Label1->text().endsWith(" .....Stopped."))
            cancelTimes.push_back(double(sinceCancel.nsecsElapsed()) / 1e6);
        else
            std::printf("(run %d ended before the Cancel click)\n", run);
    }
    if (cancelTimes.empty())
        cancelTimes.push_back(0);
    window.reset();

    std::vector<double> closeTimes;
    for (int run = 0; run < 3; ++run)
        closeTimes.push_back(closeMsOfChild({"--close-during-search", large}));
    const QStringList everything =
        QString::fromLocal8Bit(bench::childOutput({"--list-everything", large, work.path()})).split(' ');
    const QString peakKb = QString::fromLocal8Bit(bench::childOutput({"--memory", "1000000", work.path()}));

    std::printf("platform: %s; start-up settings (list and preview while searching on): %s\n",
                qPrintable(QGuiApplication::platformName()), startedWithBoth ? "yes" : "NO");
    std::printf("references: find TREE -name '*.jpg'; fdfind -u -g '*.jpg' TREE (%s); output to /dev/null\n",
                fd.isEmpty() ? "fdfind is not installed" : "all threads");
    const char *names[2] = {"100,000 files", "1,000,000 files"};
    for (int i = 0; i < 2; ++i) {
        std::printf("-- %s, %d matches\n", names[i], listed[i]);
        bench::report("warm: find, median", warm[i].find, "ms");
        bench::report("warm: fd, median", warm[i].fd, "ms");
        bench::report("warm: this program, start-up settings", warm[i].startup, "ms");
        bench::report("warm: this program, preview off", warm[i].noPreview, "ms");
        bench::report("warm: ratio start-up settings / find (target <= 1.2)", warm[i].startup / warm[i].find, "x");
        bench::report("warm: ratio preview off / find", warm[i].noPreview / warm[i].find, "x");
        if (!canDrop) {
            std::printf("cold: not measured (this user may not drop the caches)\n");
            continue;
        }
        bench::report("cold: find, median of 3", cold[i].find, "ms");
        bench::report("cold: fd, median of 3", cold[i].fd, "ms");
        bench::report("cold: this program, start-up settings", cold[i].startup, "ms");
        bench::report("cold: this program, preview off", cold[i].noPreview, "ms");
        bench::report("cold: ratio start-up settings / find (target <= 1.0)", cold[i].startup / cold[i].find, "x");
        if (cold[i].fd > 0)
            bench::report("cold: ratio start-up settings / fd (target <= 1.3)", cold[i].startup / cold[i].fd, "x");
        bench::report("cold: ratio preview off / find", cold[i].noPreview / cold[i].find, "x");
    }
    std::printf("-- everything ('*') below the 1,000,000-file tree: %d entries\n", allListed);
    bench::report("find -name '*', median of 3", findAll, "ms");
    bench::report("this program, start-up settings", allPreview, "ms");
    bench::report("this program, preview off", allNoPreview, "ms");
    bench::report("ratio start-up settings / find (target <= 2)", allPreview / findAll, "x");
    bench::report("ratio preview off / find (target <= 2)", allNoPreview / findAll, "x");
    if (everything.size() == 3) {
        bench::report("resident size of a fresh window after it (target < 150)", everything[1].toDouble(), "MB");
        bench::report("what it grew by, an entry (target <= 64)",
                      (everything[1].toDouble() - everything[2].toDouble()) * 1024 * 1024 / everything[0].toDouble(),
                      "bytes");
    }
    bench::report("Cancel click to summary painted, median of 5 (target < 100)", bench::median(cancelTimes), "ms");
    bench::report("close during a search until the process is gone, worst of 3 (target < 500)",
                  *std::max_element(closeTimes.begin(), closeTimes.end()), "ms");
    bench::report("peak resident size, 1,000,000 entries added (target < 400)", peakKb.toDouble() / 1024.0, "MB");
    return 0;
}
