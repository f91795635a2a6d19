// How a walk best learns the sizes of a folder's files: one fstatat per entry (what
// the walk does), one statx per entry asking for the size alone, or every entry of
// a folder in one batch of statx requests through io_uring. Each walks the same
// tree on one thread, warm, listing each folder and asking for every file's size;
// median of five, the sizes summed to check that all three learnt the same.
//   bench_statx [FOLDER]   (the benchmarks' folder; its 1,000,000-file tree is made there)
#include "BenchSupport.h"
#include "Trees.h"

#include <QCoreApplication>

#include <liburing.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Folder {
    int fd;
    std::vector<std::string> files;
    std::vector<std::string> folders;
};

// The folder's entries, by kind as the listing gives it.
bool list(int fd, Folder &folder)
{
    const int own = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    DIR *dir = own < 0 ? nullptr : ::fdopendir(own);
    if (!dir)
        return false;
    folder.fd = fd;
    while (const dirent *d = ::readdir(dir)) {
        const std::string name = d->d_name;
        if (name == "." || name == "..")
            continue;
        (d->d_type == DT_DIR ? folder.folders : folder.files).push_back(name);
    }
    ::closedir(dir);
    return true;
}

using Sizes = std::int64_t (*)(const Folder &, io_uring *);

std::int64_t byFstatat(const Folder &folder, io_uring *)
{
    std::int64_t total = 0;
    for (const std::string &name : folder.files) {
        struct stat st {};
        if (::fstatat(folder.fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
            total += st.st_size;
    }
    return total;
}

std::int64_t byStatxSizeOnly(const Folder &folder, io_uring *)
{
    std::int64_t total = 0;
    for (const std::string &name : folder.files) {
        struct statx st {};
        if (::statx(folder.fd, name.c_str(), AT_SYMLINK_NOFOLLOW | AT_STATX_DONT_SYNC, STATX_SIZE, &st) == 0)
            total += std::int64_t(st.stx_size);
    }
    return total;
}

constexpr unsigned kRingEntries = 128;

std::int64_t byIoUring(const Folder &folder, io_uring *ring)
{
    std::int64_t total = 0;
    std::vector<struct statx> results(kRingEntries);
    for (std::size_t first = 0; first < folder.files.size(); first += kRingEntries) {
        const std::size_t count = std::min<std::size_t>(kRingEntries, folder.files.size() - first);
        for (std::size_t i = 0; i < count; ++i) {
            io_uring_sqe *sqe = io_uring_get_sqe(ring);
            io_uring_prep_statx(sqe, folder.fd, folder.files[first + i].c_str(),
                                AT_SYMLINK_NOFOLLOW | AT_STATX_DONT_SYNC, STATX_SIZE, &results[i]);
            io_uring_sqe_set_data64(sqe, i);
        }
        io_uring_submit_and_wait(ring, unsigned(count));
        for (std::size_t done = 0; done < count; ++done) {
            io_uring_cqe *cqe = nullptr;
            if (io_uring_wait_cqe(ring, &cqe) != 0)
                break;
            if (cqe->res == 0)
                total += std::int64_t(results[io_uring_cqe_get_data64(cqe)].stx_size);
            io_uring_cqe_seen(ring, cqe);
        }
    }
    return total;
}

// Walks the tree below `root` depth first, asking `sizes` for each folder's files.
std::int64_t walk(const std::string &root, Sizes sizes, io_uring *ring)
{
    std::int64_t total = 0;
    std::vector<int> pending{::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    while (!pending.empty()) {
        const int fd = pending.back();
        pending.pop_back();
        Folder folder;
        if (fd >= 0 && list(fd, folder)) {
            total += sizes(folder, ring);
            for (const std::string &name : folder.folders)
                pending.push_back(::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        }
        if (fd >= 0)
            ::close(fd);
    }
    return total;
}

}  // namespace

int main(int argc, char *argv[])
{
    const QCoreApplication app(argc, argv);
    const bench::WorkFolder work(argc, argv);
    const std::string tree = bench::ensureTree(work / "tree1M", 100).toStdString();
    io_uring ring{};
    const bool uring = io_uring_queue_init(kRingEntries, &ring, 0) == 0;

    std::printf("sizes of every file below the 1,000,000-file tree, one thread, warm, median of 5\n");
    std::int64_t totals[3] = {};
    const struct {
        const char *what;
        Sizes sizes;
    } ways[] = {{"one fstatat per entry (the walk today)", byFstatat},
                {"one statx per entry, STATX_SIZE alone", byStatxSizeOnly},
                {"io_uring, a folder's statx requests in batches of 128", byIoUring}};
    double first = 0;
    for (int i = 0; i < 3; ++i) {
        if (i == 2 && !uring) {
            std::printf("io_uring: not available here\n");
            continue;
        }
        const double ms = bench::medianMs(5, [&] { totals[i] = walk(tree, ways[i].sizes, &ring); });
        if (i == 0)
            first = ms;
        bench::report(ways[i].what, ms, "ms");
        bench::report("  against fstatat", ms / first, "x");
    }
    std::printf("bytes counted: %lld, %lld, %lld\n", static_cast<long long>(totals[0]),
                static_cast<long long>(totals[1]), static_cast<long long>(totals[2]));
    if (uring)
        io_uring_queue_exit(&ring);
    return 0;
}
