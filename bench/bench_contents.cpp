// How contents are best read: the walk with a contents term, in this process,
// for each size of the read buffer and each number of readers, warm and cold,
// beside ripgrep and grep on the same corpus. Medians of five.
//   bench_contents [FOLDER [--once]]
//   (--once: a single warm walk with the start-up settings, to profile)
#include "BenchSupport.h"
#include "Trees.h"
#include "search/FileFinder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <cstring>

namespace {

class CountingSink final : public search::WalkSink {
public:
    void folderRead() override {}
    void status(const QString &) override {}
    void folderFound(int) override {}
    void listed(std::string_view, const search::WalkTotals &) override { ++listed_; }
    bool stopRequested() const override { return false; }
    int listed_ = 0;
};

double walkMs(const QString &root, const QString &terms, int readers, std::size_t buffer, bool cold, int &found)
{
    if (cold)
        bench::dropCaches();
    QElapsedTimer t;
    t.start();
    CountingSink sink;
    QString path = root;
    int files = 0, dirs = 0;
    search::WalkOptions options;
    options.readers = readers;
    options.contentsReaders = readers;
    options.contents.bufferSize = buffer;
    search::FindFilesAPI(sink, path, terms, files, dirs, options);
    found = sink.listed_;
    return double(t.nsecsElapsed()) / 1e6;
}

double referenceMs(const QString &program, const QStringList &arguments, bool cold)
{
    if (cold)
        bench::dropCaches();
    return bench::programMs(program, arguments);
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const bench::WorkFolder work(argc, argv);
    const QString corpus = work / "corpus1G";
    const int planted = bench::ensureTextCorpus(corpus);
    const QString terms = QString("contains:") + bench::kRareWord;
    if (argc > 2 && std::strcmp(argv[2], "--once") == 0) {
        int found = 0;
        walkMs(corpus, terms, search::WalkOptions{}.contentsReaders, search::ContentsReading{}.bufferSize, false, found);
        const double ms = walkMs(corpus, terms, search::WalkOptions{}.contentsReaders,
                                 search::ContentsReading{}.bufferSize, false, found);
        std::printf("one warm walk: %.1f ms, %d found\n", ms, found);
        return 0;
    }
    const bool canDrop = bench::dropCaches();
    constexpr int kRuns = 5;
    std::printf("the corpus: 20,000 files of C and C++ headers, about 1 GB, the word planted in %d; medians of %d\n",
                planted, kRuns);
    for (const bool cold : {false, true}) {
        if (cold && !canDrop)
            continue;
        const char *state = cold ? "cold" : "warm";
        referenceMs("rg", {"-l", "-i", "-F", bench::kRareWord, corpus}, false);
        std::vector<double> rgs, greps;
        for (int i = 0; i < kRuns; ++i) {
            rgs.push_back(referenceMs("rg", {"-l", "-i", "-F", bench::kRareWord, corpus}, cold));
            if (!cold)
                greps.push_back(referenceMs("grep", {"-rliF", bench::kRareWord, corpus}, cold));
        }
        const double rg = bench::median(rgs);
        char line[160];
        std::snprintf(line, sizeof line, "%s: rg -l -i -F", state);
        bench::report(line, rg, "ms");
        if (!cold) {
            std::snprintf(line, sizeof line, "%s: grep -rliF", state);
            bench::report(line, bench::median(greps), "ms");
        }
        for (const int readers : {2, 4, 8, 16, 32}) {
            for (const std::size_t buffer : {std::size_t(64) << 10, std::size_t(128) << 10, std::size_t(256) << 10}) {
                std::vector<double> times;
                int found = 0;
                for (int i = 0; i < kRuns; ++i)
                    times.push_back(walkMs(corpus, terms, readers, buffer, cold, found));
                const double ms = bench::median(times);
                std::snprintf(line, sizeof line, "%s: %2d readers, %3zu KB buffer (%d found), / rg %.2f", state,
                              readers, buffer >> 10, found, ms / rg);
                bench::report(line, ms, "ms");
            }
        }
    }
    return 0;
}
