// The picture decoder helper: decodes what the window hands it, confined, one
// picture at a time. The window passes each picture as an open file descriptor
// over the socket it started this program with (descriptor 3), and gets the
// pixels back in a sealed memory file.
#include "preview/Confinement.h"
#include "preview/DecoderProtocol.h"
#include "preview/Decoding.h"
#include "preview/DescriptorPassing.h"
#include "preview/PreloadedFiles.h"

#include <QByteArray>
#include <QGuiApplication>

#include <algorithm>
#include <vector>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

using namespace preview::decoding;

constexpr int kSocket = 3;
// No decoder uses more of a file than this; reading more would only cost memory.
constexpr off_t kLargestRead = off_t(512) * 1024 * 1024;

// The request and the picture's descriptor; false when the window has gone.
bool receive(Request &request, int &fd)
{
    return preview::receiveWithDescriptor(kSocket, &request, sizeof request, fd) == ssize_t(sizeof request) &&
           request.magic == kMagic;
}

// Reads `bytes` from the start of the file, to the end, or as much as it holds.
void readInto(int fd, QByteArray &bytes, qsizetype from)
{
    qsizetype done = from;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd, bytes.data() + done, size_t(bytes.size() - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    bytes.truncate(done);
}

// What of the picture file the request's decoders can use: its head first, which
// says what it is and how large, then no more than its pixels can take up.
QByteArray readUsable(const Request &request, int fd)
{
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    try {
        QByteArray bytes(qsizetype(std::min<off_t>(st.st_size, kHeadLength)), Qt::Uninitialized);
        readInto(fd, bytes, 0);
        const std::int64_t usable = std::min<std::int64_t>(usableLength(request, bytes, st.st_size), kLargestRead);
        if (usable <= 0)
            return {};
        if (usable < bytes.size()) {
            bytes.truncate(qsizetype(usable));
        } else if (usable > bytes.size() && bytes.size() == kHeadLength) {
            const qsizetype head = bytes.size();
            bytes.resize(qsizetype(usable));
            readInto(fd, bytes, head);
        }
        return bytes;
    } catch (const std::bad_alloc &) {
        return {};
    }
}

// The answer in a memory file the window maps: written, then sealed, so that it
// can change no more.
int sealedCopy(const char *data, qsizetype length)
{
    const int fd = ::memfd_create("quorvel-picture", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0)
        return -1;
    qsizetype done = 0;
    while (done < length) {
        const ssize_t n = ::write(fd, data + done, size_t(length - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            return -1;
        }
        done += n;
    }
    if (::fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void answer(const Reply &reply, int fd)
{
    (void)preview::sendWithDescriptor(kSocket, &reply, sizeof reply, fd);
}

void serve()
{
    for (;;) {
        Request request;
        int fd = -1;
        if (!receive(request, fd)) {
            if (fd >= 0)
                ::close(fd);
            return;
        }
        const QByteArray bytes = readUsable(request, fd);
        if (fd >= 0)
            ::close(fd);
        const Decoded decoded = bytes.isEmpty() ? Decoded{} : decode(request, bytes);
        Reply reply;
        int memory = -1;
        if (!decoded.encoded.isEmpty()) {
            memory = sealedCopy(decoded.encoded.constData(), decoded.encoded.size());
            reply.width = decoded.encodedSize.width();
            reply.height = decoded.encodedSize.height();
            reply.flags = kEncoded;
            reply.length = decoded.encoded.size();
        } else if (!decoded.image.isNull()) {
            memory = sealedCopy(reinterpret_cast<const char *>(decoded.image.constBits()), decoded.image.sizeInBytes());
            reply.width = decoded.image.width();
            reply.height = decoded.image.height();
            reply.bytesPerLine = int(decoded.image.bytesPerLine());
            reply.format = std::uint32_t(decoded.image.format());
            reply.length = decoded.image.sizeInBytes();
        }
        reply.ok = memory >= 0;
        reply.naturalWidth = decoded.natural.width();
        reply.naturalHeight = decoded.natural.height();
        reply.flags |= (decoded.reduced ? std::uint32_t(kReduced) : 0u) | (decoded.drawing ? std::uint32_t(kDrawing) : 0u);
        answer(reply, memory);
        if (memory >= 0)
            ::close(memory);
    }
}

// "refused (reason)" or "allowed" for a system call's result.
std::string outcome(bool refused, int error)
{
    return refused ? std::string("refused (") + std::strerror(error) + ")" : std::string("allowed");
}

// Each thread's status, opened before the confinement and read after it: the
// kernel writes it anew at every read.
std::vector<int> openThreadStatuses()
{
    std::vector<int> statuses;
    if (DIR *tasks = ::opendir("/proc/self/task")) {
        while (const dirent *task = ::readdir(tasks)) {
            if (task->d_name[0] == '.')
                continue;
            const std::string path = std::string("/proc/self/task/") + task->d_name + "/status";
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd >= 0)
                statuses.push_back(fd);
        }
        ::closedir(tasks);
    }
    return statuses;
}

// How many of the threads are filtered and without new privileges, of how many.
std::string threadsConfined(const std::vector<int> &statuses)
{
    int confined = 0;
    for (const int fd : statuses) {
        char text[4096];
        const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
        text[n > 0 ? n : 0] = '\0';
        if (std::strstr(text, "\nSeccomp:\t2\n") && std::strstr(text, "\nNoNewPrivs:\t1\n"))
            ++confined;
    }
    return std::to_string(confined) + " of " + std::to_string(statuses.size());
}

// The descriptors open above standard error, as device and inode.
std::string openDescriptors()
{
    std::string listed;
    for (int fd = STDERR_FILENO + 1; fd < 1024; ++fd) {
        struct stat st {};
        if (::fcntl(fd, F_GETFD) < 0 || ::fstat(fd, &st) != 0)
            continue;
        listed += " " + std::to_string(fd) + "=" + std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
    }
    return listed.empty() ? " none" : listed;
}

// What the confinement refuses, tried once confined: the test of the confinement.
// Nothing it tries harms anything: signal 0 only asks whether a process exists,
// and the limit is only read.
int probe(const std::vector<int> &threadStatuses)
{
    const int file = ::open("/etc/hostname", O_RDONLY | O_CLOEXEC);
    const int fileError = errno;
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int socketError = errno;
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    const pid_t other = ::getppid();
    const bool signalRefused = ::syscall(SYS_tgkill, other, other, 0) != 0;
    const int signalError = errno;
    rlimit theirs{};
    const bool limitRefused = ::prlimit(other, RLIMIT_NOFILE, nullptr, &theirs) != 0;
    const int limitError = errno;
    rlimit mine{};
    const bool ownLimit = ::prlimit(0, RLIMIT_NOFILE, nullptr, &mine) == 0;
    const std::string threads = threadsConfined(threadStatuses);
    std::printf("open: %s\nsocket: %s\nfork: %s\nsignal another process: %s\n"
                "limit of another process: %s\nown limit: %s\nthreads confined: %s\n"
                "descriptors:%s\n",
                file < 0 ? std::strerror(fileError) : "allowed", socket < 0 ? std::strerror(socketError) : "allowed",
                child < 0 ? "refused" : "allowed", outcome(signalRefused, signalError).c_str(),
                outcome(limitRefused, limitError).c_str(), ownLimit ? "read" : "refused", threads.c_str(),
                openDescriptors().c_str());
    std::fflush(stdout);
    const bool everyThread = threads == std::to_string(threadStatuses.size()) + " of " + std::to_string(threadStatuses.size());
    return file < 0 && socket < 0 && child < 0 && signalRefused && limitRefused && ownLimit && everyThread ? 0 : 1;
}

}  // namespace

int main(int argc, char *argv[])
{
    const bool probing = argc == 2 && std::strcmp(argv[1], "--probe-confinement") == 0;
    preview::closeInheritedDescriptors(probing ? STDERR_FILENO : kSocket);
    if (!probing) {
        if (argc != 3 || std::strcmp(argv[1], "--serve") != 0) {
            std::fputs("usage: quorvel-decoder --serve PARENT-PID (with the socket as descriptor 3)\n", stderr);
            return 2;
        }
        // Ended with the window's thread that started it, however that ends.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != pid_t(std::atol(argv[2])))
            return 1;  // that thread is gone already
    }
    // Text in drawings needs the toolkit's fonts, which need an application; no
    // window system is reached.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int fakeArgc = 1;
    char name[] = "quorvel-decoder";
    char *fakeArgv[] = {name, nullptr};
    QGuiApplication application(fakeArgc, fakeArgv);
    // libwmf opens the standard fonts it maps every font to when a drawing needs
    // them, long after the confinement: they are read now, served from memory then.
    preview::preloadFiles("/usr/share/fonts/type1/urw-base35", ".t1");
    warmUp();
    std::string why;
    const std::vector<int> threadStatuses = probing ? openThreadStatuses() : std::vector<int>{};
    preview::servePreloadedFilesOnly();
    if (!preview::confineThisProcess(why)) {
        std::fprintf(stderr, "quorvel-decoder: cannot confine itself: %s\n", why.c_str());
        return 3;
    }
    // Ended without the toolkit's teardown, which the confinement would only refuse.
    std::fflush(stdout);
    std::_Exit(probing ? probe(threadStatuses) : (serve(), 0));
}
