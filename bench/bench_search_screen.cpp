// Times a search as a person meets it: the real program on an X server with a
// window manager, a click on Search through the XTest extension, and the time until
// the summary is on the screen, read back from the X server (the export buttons,
// which the summary brings, painted where they were hidden). Beside it: find and
// fd on the same tree, started with posix_spawn with their output to /dev/null,
// and the in-process figure (click to the last paint inside the process), so that
// the two ways of measuring can be compared. Medians of five rounds (each runs
// every reference and setting once, so that all meet the same load); the program is
// started afresh for each, with its start-up settings unless a line says otherwise,
// and clicked once it has settled.
//   bench_search_screen [FOLDER] [--busy N] [--quick | --criteria [--before PROGRAM]]
//   (N busy loops at normal priority beside it; --quick: the first tree only, warm;
//   --criteria: the size, date and contents terms against find, grep and ripgrep,
//   Cancel in the middle of a file, and with PROGRAM, an earlier build of the program,
//   a plain name search by both)
#include "BenchSupport.h"
#include "DesktopSession.h"
#include "TestSupport.h"
#include "Trees.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

// The X server as the benchmark sees it: synthetic input and the screen's pixels.
class Screen {
public:
    Screen()
        : connection_(xcb_connect(nullptr, nullptr))
    {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    }
    ~Screen() { xcb_disconnect(connection_); }
    Screen(const Screen &) = delete;
    Screen &operator=(const Screen &) = delete;

    void movePointer(QPoint to)
    {
        xcb_test_fake_input(connection_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, std::int16_t(to.x()),
                            std::int16_t(to.y()), 0);
        roundTrip();
    }
    // A press and release of the first button where the pointer is.
    void click()
    {
        xcb_test_fake_input(connection_, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(connection_, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(connection_);
    }
    // The 7 x 7 pixels around `at` as the server holds them.
    QByteArray pixels(QPoint at)
    {
        const auto cookie = xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, std::int16_t(at.x() - 3),
                                          std::int16_t(at.y() - 3), 7, 7, ~0u);
        xcb_get_image_reply_t *reply = xcb_get_image_reply(connection_, cookie, nullptr);
        QByteArray data;
        if (reply)
            data = QByteArray(reinterpret_cast<const char *>(xcb_get_image_data(reply)), xcb_get_image_data_length(reply));
        std::free(reply);
        return data;
    }

private:
    void roundTrip() { std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr)); }

    xcb_connection_t *connection_;
    xcb_window_t root_ = XCB_NONE;
};

double nowMs()
{
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void sleepMs(double ms)
{
    const timespec t{0, long(ms * 1e6)};
    ::nanosleep(&t, nullptr);
}

// Starts `arguments` with its output to /dev/null; its process id, or -1.
pid_t spawn(const std::vector<std::string> &arguments)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char *> argv;
    for (const std::string &a : arguments)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Milliseconds a reference command takes, from its start to its end.
double referenceMs(const std::vector<std::string> &arguments)
{
    const double start = nowMs();
    const pid_t pid = spawn(arguments);
    int status = 0;
    if (pid > 0)
        ::waitpid(pid, &status, 0);
    return nowMs() - start;
}

// The processor time `pid` has used so far, in clock ticks.
long long cpuTicks(qint64 pid)
{
    const QString stat = QString("/proc/%1/stat").arg(pid);
    return testing::statField(stat, 14).toLongLong() + testing::statField(stat, 15).toLongLong();
}

// Waits until the program's processes have used no processor time for 100 ms: a
// person clicks Search after the program has settled, not in its first instant
// (its picture helpers start with the window).
void waitUntilSettled(qint64 window)
{
    const auto used = [window] {
        long long total = cpuTicks(window);
        for (const qint64 child : testing::childrenOf(window))
            total += cpuTicks(child);
        return total;
    };
    long long before = used();
    for (int quiet = 0, tries = 0; quiet < 2 && tries < 100; ++tries) {
        sleepMs(50);
        const long long now = used();
        quiet = now == before ? quiet + 1 : 0;
        before = now;
    }
}

QByteArray loadAverage()
{
    QFile f("/proc/loadavg");
    return f.open(QIODevice::ReadOnly) ? f.readAll().split(' ').mid(0, 3).join(' ') : QByteArray("?");
}

struct Run {
    QString tree;
    QString pattern;
    bool preview = true;
    bool cold = false;
    bool again = false;  // the second search in the same window, not the first
    QString program{};   // empty: this build's
    // Cancel this long after Search, and time Cancel instead: from its click until
    // the button says "Search" again.
    int cancelAfterMs = -1;
};

class Bench {
public:
    Bench(desktop::Session &session, const bench::WorkFolder &work)
        : session_(session)
        , work_(work)
        , layout_(desktop::readLayout())
    {
    }

    // From the click on Search to the summary on the screen, in a program started
    // for this run; negative when the window never showed the summary. Nothing of
    // the program is left running when it returns: a program still ending (its
    // window's process and helpers) would slow what runs next.
    double onScreenMs(const Run &run)
    {
        QList<qint64> processes;
        const double ms = searchedMs(run, processes);
        desktop::waitFor([&processes] {
            return std::all_of(processes.begin(), processes.end(), [](qint64 p) { return testing::processEnded(p); });
        });
        return ms;
    }

    // The same search in a window of this process, from the click to the last
    // paint event: what the in-process benchmark measures.
    double medianInProcessMs(const Run &run, int runs)
    {
        Form1 window(bench::quietServices(work_.path()));
        window.show();
        bench::waitUntilPainted(window);
        window.Text1->setText(run.tree);
        window.Text2->setText(run.pattern);
        window.Check2->setChecked(run.preview);
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            if (run.cold)
                bench::dropCaches();
            times.push_back(bench::paintedMs(window, [&] { window.Command1->click(); }));
        }
        return bench::median(times);
    }

private:
    double searchedMs(const Run &run, QList<qint64> &processes)
    {
        const QStringList arguments = {"--pattern", run.pattern, run.tree};
        desktop::Program program(session_, {run.tree, arguments, false, false, run.program});
        if (!program.findWindow(layout_))
            return -1;
        // Its window's process and the helpers that process has started by the end.
        const auto noteProcesses = [&] { processes = testing::childrenOf(program.windowProcess) << program.windowProcess; };
        noteProcesses();
        if (!run.preview) {
            // Untick "preview while searching" and wait until the box shows it.
            const QPoint box = program.origin + layout_.check2;
            const QByteArray ticked = screen_.pixels(box);
            screen_.movePointer(box);
            screen_.click();
            if (!desktop::waitFor([&] { return screen_.pixels(box) != ticked; }))
                return -1;
        }
        waitUntilSettled(program.windowProcess);
        const QPoint button = program.origin + layout_.command5;
        const QByteArray hidden = screen_.pixels(button);
        screen_.movePointer(program.origin + layout_.command1);
        const auto timedSearch = [&](const auto &ended) {
            if (run.cold)
                bench::dropCaches();
            const double start = nowMs();
            screen_.click();
            while (!ended()) {
                if (nowMs() - start > 120'000)
                    return -1.0;
                sleepMs(0.5);
            }
            return nowMs() - start;
        };
        if (run.cancelAfterMs >= 0) {
            if (run.cold)
                bench::dropCaches();
            const QPoint searchButton = program.origin + layout_.command1;
            const QByteArray search = screen_.pixels(searchButton);
            screen_.click();
            if (!desktop::waitFor([&] { return screen_.pixels(searchButton) != search; }))
                return -1;
            sleepMs(run.cancelAfterMs);
            const QByteArray cancel = screen_.pixels(searchButton);
            const double start = nowMs();
            screen_.click();
            while (screen_.pixels(searchButton) == cancel) {
                if (nowMs() - start > 120'000)
                    return -1.0;
                sleepMs(0.5);
            }
            noteProcesses();
            return nowMs() - start;
        }
        const double first = timedSearch([&] { return screen_.pixels(button) != hidden; });
        noteProcesses();
        if (!run.again || first < 0)
            return first;
        // Again in the same window: the buttons go at the click and come back with
        // the summary.
        const QByteArray shown = screen_.pixels(button);
        bool wentAway = false;
        return timedSearch([&] {
            const QByteArray now = screen_.pixels(button);
            wentAway = wentAway || now != shown;
            return wentAway && now == shown;
        });
    }

private:
    desktop::Session &session_;
    const bench::WorkFolder &work_;
    const desktop::Layout layout_;
    Screen screen_;
};

// Shell loops that keep a core busy at normal priority, for as long as this lives.
class BusyLoops {
public:
    explicit BusyLoops(int count)
    {
        for (int i = 0; i < count; ++i)
            loops_.push_back(spawn({"sh", "-c", "while :; do :; done"}));
    }
    ~BusyLoops()
    {
        for (const pid_t loop : loops_)
            ::kill(loop, SIGKILL);
        for (const pid_t loop : loops_)
            ::waitpid(loop, nullptr, 0);
    }
    BusyLoops(const BusyLoops &) = delete;
    BusyLoops &operator=(const BusyLoops &) = delete;

private:
    std::vector<pid_t> loops_;
};

bool asked(int argc, char *argv[], const char *option)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], option) == 0)
            return true;
    return false;
}

int busyLoopsAsked(int argc, char *argv[])
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--busy") == 0)
            return std::atoi(argv[i + 1]);
    return 0;
}

// The value after `option`, or null.
const char *valueOf(int argc, char *argv[], const char *option)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], option) == 0)
            return argv[i + 1];
    return nullptr;
}

// Every argument is one the benchmark takes: a folder first, --quick or
// --criteria, --busy N, --before PROGRAM.
bool argumentsRead(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const bool folder = i == 1 && argv[i][0] != '-';
        const bool value = i > 1 && (std::strcmp(argv[i - 1], "--busy") == 0 || std::strcmp(argv[i - 1], "--before") == 0);
        const bool takesValue = (std::strcmp(argv[i], "--busy") == 0 || std::strcmp(argv[i], "--before") == 0) && i + 1 < argc;
        if (!folder && !value && !takesValue && std::strcmp(argv[i], "--quick") != 0 && std::strcmp(argv[i], "--criteria") != 0)
            return false;
    }
    return !(asked(argc, argv, "--quick") && asked(argc, argv, "--criteria")) &&
           (!valueOf(argc, argv, "--before") || asked(argc, argv, "--criteria"));
}

// Lines a reference prints: what it found.
int linesOf(const std::vector<std::string> &arguments)
{
    QProcess reference;
    reference.setProgram(QString::fromStdString(arguments[0]));
    for (std::size_t i = 1; i < arguments.size(); ++i)
        reference.setArguments(reference.arguments() << QString::fromStdString(arguments[i]));
    reference.setStandardErrorFile(QProcess::nullDevice());
    reference.start();
    reference.waitForFinished(-1);
    return int(reference.readAllStandardOutput().count('\n'));
}

}  // namespace

int main(int argc, char *argv[])
{
    if (!argumentsRead(argc, argv)) {
        std::fprintf(stderr, "usage: bench_search_screen [FOLDER] [--busy N] [--quick | --criteria [--before PROGRAM]]\n");
        return 2;
    }
    const int busy = busyLoopsAsked(argc, argv);
    const bool quick = asked(argc, argv, "--quick");
    const int folderArgs = argc > 1 && argv[1][0] != '-' ? 2 : 1;
    return desktop::runOnDesktop(argc, argv, [&](desktop::Session &session) {
        const bench::WorkFolder work(folderArgs, argv);
        const QString fd = QStandardPaths::findExecutable("fdfind");
        const bool canDrop = bench::dropCaches();
        constexpr int kRuns = 5;

        const BusyLoops loops(busy);
        const QByteArray loadBefore = loadAverage();
        Bench b(session, work);

        std::printf("the program from a click on Search (XTest) to the summary on the screen (GetImage), started afresh "
                    "each run; references by posix_spawn, output to /dev/null; medians of %d\n",
                    kRuns);
        std::printf("busy loops beside it: %d; cold runs: %s\n", busy,
                    canDrop ? "caches dropped before each" : "not measured (this user may not drop the caches)");
        const auto tree = [&](const char *title, const QString &root, const QString &pattern, bool withFd) {
            std::printf("-- %s, '%s'\n", title, qPrintable(pattern));
            const std::string r = root.toStdString();
            for (const bool cold : {false, true}) {
                if (cold && (!canDrop || quick))
                    continue;
                const char *state = cold ? "cold" : "warm";
                // Each round runs every reference and every setting once, so that a
                // change of the machine's load meets them all alike.
                const std::vector<std::string> findArguments =
                    pattern == "*" ? std::vector<std::string>{"find", r, "-printf", "%p %s\n"}
                                   : std::vector<std::string>{"find", r, "-iname", pattern.toStdString()};
                const std::vector<std::string> fdArguments = {fd.toStdString(), "-u", "-i", "-g",
                                                              pattern.toStdString(), r};
                const bool withFdHere = withFd && !fd.isEmpty();
                referenceMs(findArguments);  // the tree in the caches
                std::vector<double> finds, fds, screens, noPreviews, agains;
                const auto timed = [cold](const std::function<double()> &run) {
                    if (cold)
                        bench::dropCaches();
                    return run();
                };
                for (int round = 0; round < kRuns; ++round) {
                    finds.push_back(timed([&] { return referenceMs(findArguments); }));
                    if (withFdHere)
                        fds.push_back(timed([&] { return referenceMs(fdArguments); }));
                    screens.push_back(b.onScreenMs({root, pattern, true, cold}));
                    noPreviews.push_back(b.onScreenMs({root, pattern, false, cold}));
                    agains.push_back(b.onScreenMs({root, pattern, true, cold, true}));
                }
                const double find = bench::median(finds), fdMs = withFdHere ? bench::median(fds) : 0;
                const double screen = bench::median(screens), noPreview = bench::median(noPreviews), again = bench::median(agains);
                const double inProcess = b.medianInProcessMs({root, pattern, true, cold}, kRuns);
                char line[160];
                std::snprintf(line, sizeof line, "%s: %s", state, pattern == "*" ? "find -printf '%p %s\\n'" : "find -iname");
                bench::report(line, find, "ms");
                if (fdMs > 0) {
                    std::snprintf(line, sizeof line, "%s: fdfind -u -i -g", state);
                    bench::report(line, fdMs, "ms");
                }
                std::snprintf(line, sizeof line, "%s: on the screen, start-up settings", state);
                bench::report(line, screen, "ms");
                std::snprintf(line, sizeof line, "%s: on the screen, preview while searching off", state);
                bench::report(line, noPreview, "ms");
                std::snprintf(line, sizeof line, "%s: on the screen, the window's second search", state);
                bench::report(line, again, "ms");
                std::snprintf(line, sizeof line, "%s: in-process (click to paint event), start-up", state);
                bench::report(line, inProcess, "ms");
                std::snprintf(line, sizeof line, "%s: ratio on the screen / find", state);
                bench::report(line, screen / find, "x");
                if (fdMs > 0) {
                    std::snprintf(line, sizeof line, "%s: ratio on the screen / fd", state);
                    bench::report(line, screen / fdMs, "x");
                }
                std::snprintf(line, sizeof line, "%s: preview's cost (start-up / preview off)", state);
                bench::report(line, screen / noPreview, "x");
            }
        };
        if (asked(argc, argv, "--criteria")) {
            // Our search and its references, each round running every one once.
            const auto compare = [&](const char *title, const QString &root, const QString &field,
                                     const std::vector<std::pair<const char *, std::vector<std::string>>> &references,
                                     bool cold) {
                std::printf("-- %s, '%s', %s\n", title, qPrintable(field), cold ? "cold" : "warm");
                for (const auto &[name, arguments] : references)
                    std::printf("   %s finds %d\n", name, linesOf(arguments));
                std::vector<std::vector<double>> times(references.size());
                std::vector<double> screens;
                for (int round = 0; round < kRuns; ++round) {
                    for (std::size_t r = 0; r < references.size(); ++r) {
                        if (cold)
                            bench::dropCaches();
                        times[r].push_back(referenceMs(references[r].second));
                    }
                    screens.push_back(b.onScreenMs({root, field, true, cold}));
                }
                const double screen = bench::median(screens);
                bench::report("on the screen, start-up settings", screen, "ms");
                for (std::size_t r = 0; r < references.size(); ++r) {
                    const double reference = bench::median(times[r]);
                    bench::report(references[r].first, reference, "ms");
                    const std::string ratio = std::string("ratio on the screen / ") + references[r].first;
                    bench::report(ratio.c_str(), screen / reference, "x");
                }
            };
            const QString large = bench::ensureCriteriaTree(work / "criteria1M");
            const std::string l = large.toStdString();
            compare("ours, 1,000,000 files, 1,000 over 1 MB", large, "size:>1MB",
                    {{"find -size +1M", {"find", l, "-size", "+1M"}}}, false);
            compare("ours, 1,000,000 files, 2,000 changed this week", large, "modified:7d",
                    {{"find -mtime -7", {"find", l, "-mtime", "-7"}}}, false);
            const QString corpus = work / "corpus1G";
            const int planted = bench::ensureTextCorpus(corpus);
            const std::string c = corpus.toStdString();
            std::printf("-- the corpus: 20,000 files of C and C++ headers, about 1 GB, every 50th a binary; "
                        "the word planted in %d\n", planted);
            const std::pair<const char *, std::vector<std::string>> grep{"grep -rliF", {"grep", "-rliF", bench::kRareWord, c}};
            const std::pair<const char *, std::vector<std::string>> rg{"rg -l -i -F", {"rg", "-l", "-i", "-F", bench::kRareWord, c}};
            const QString contains = QString("contains:") + bench::kRareWord;
            compare("the corpus", corpus, contains, {grep, rg}, false);
            if (canDrop)
                compare("the corpus", corpus, contains, {rg}, true);
            // Cancel while a file of 2 GiB is read, cold, a moment after Search.
            const QString huge = bench::ensureHugeText(work / "huge", 2);
            std::vector<double> cancels;
            for (int round = 0; round < kRuns; ++round) {
                Run run{huge, contains, true, canDrop};
                run.cancelAfterMs = 300;
                cancels.push_back(b.onScreenMs(run));
            }
            std::printf("-- Cancel 300 ms into reading a 2 GiB text file%s\n", canDrop ? ", cold" : "");
            bench::report("from the click on Cancel to \"Search\" on the button", bench::median(cancels), "ms");
            if (const char *before = valueOf(argc, argv, "--before")) {
                // The same plain search by the earlier build and this one, round by round.
                const QString names = bench::ensureTree(work / "tree100k", 10);
                std::printf("-- a plain name search before and after: ours, 100,000 files, '*.jpg', warm\n");
                std::vector<double> befores, afters;
                for (int round = 0; round < 2 * kRuns; ++round) {
                    Run run{names, "*.jpg"};
                    run.program = QString::fromLocal8Bit(before);
                    befores.push_back(b.onScreenMs(run));
                    afters.push_back(b.onScreenMs({names, "*.jpg"}));
                }
                bench::report("the earlier build, on the screen", bench::median(befores), "ms");
                bench::report("this build, on the screen", bench::median(afters), "ms");
                bench::report("ratio this build / the earlier", bench::median(afters) / bench::median(befores), "x");
            }
            std::printf("load average (1, 5, 15 min): %s before, %s after\n", loadBefore.constData(),
                        loadAverage().constData());
            return 0;
        }
        // Each tree made (or found from an earlier run) just before it is walked.
        tree("ours, 100,000 files, 20,000 empty .jpg", bench::ensureTree(work / "tree100k", 10), "*.jpg", true);
        if (quick) {
            std::printf("load average (1, 5, 15 min): %s before, %s after\n", loadBefore.constData(),
                        loadAverage().constData());
            return 0;
        }
        tree("photos, 100,000 files, 20,000 JPEG of 2-40 KB (.jpg and .JPG)",
             bench::ensureJpegTree(work / "photos100k", 10), "*.jpg", true);
        const QString large = bench::ensureTree(work / "tree1M", 100);
        tree("ours, 1,000,000 files", large, "*.jpg", true);
        tree("ours, 1,000,000 files, everything", large, "*", false);
        std::printf("load average (1, 5, 15 min): %s before, %s after\n", loadBefore.constData(),
                    loadAverage().constData());
        return 0;
    });
}
