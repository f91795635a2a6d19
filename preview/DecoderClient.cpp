#include "preview/DecoderClient.h"

#include "platform/FileNames.h"
#include "preview/DescriptorPassing.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <memory>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace preview {
namespace {

using decoding::Reply;

// How often a wait for the helper looks whether the picture is still wanted.
constexpr int kPollMs = 10;

// The working helper, the spare, and a new one.
constexpr int kHelpersTried = 3;

struct Mapping {
    void *address;
    size_t length;
};

// Called by the image when its last copy goes.
void unmap(void *info)
{
    const std::unique_ptr<Mapping> mapping(static_cast<Mapping *>(info));
    ::munmap(mapping->address, mapping->length);
}

// The reply's memory file as pixels or bytes, checked against what it claims.
std::optional<HelperPicture> unpack(const Reply &reply, int memory)
{
    struct stat st {};
    if (memory < 0 || ::fstat(memory, &st) != 0 || reply.length <= 0 || st.st_size < reply.length ||
        reply.width <= 0 || reply.height <= 0)
        return std::nullopt;
    const int seals = ::fcntl(memory, F_GET_SEALS);
    if (seals < 0 || !(seals & F_SEAL_WRITE) || !(seals & F_SEAL_SHRINK))
        return std::nullopt;  // the helper could still change it under us
    HelperPicture picture;
    picture.size = QSize(reply.width, reply.height);
    picture.natural = QSize(reply.naturalWidth, reply.naturalHeight);
    picture.reduced = reply.flags & decoding::kReduced;
    picture.drawing = reply.flags & decoding::kDrawing;
    if (reply.flags & decoding::kEncoded) {
        picture.encoded.resize(qsizetype(reply.length));
        if (::pread(memory, picture.encoded.data(), size_t(reply.length), 0) != reply.length)
            return std::nullopt;
        return picture;
    }
    const auto format = QImage::Format(reply.format);
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return std::nullopt;
    if (reply.bytesPerLine < qint64(reply.width) * 4 || qint64(reply.bytesPerLine) * reply.height > reply.length)
        return std::nullopt;
    void *address = ::mmap(nullptr, size_t(reply.length), PROT_READ, MAP_PRIVATE, memory, 0);
    if (address == MAP_FAILED)
        return std::nullopt;
    auto mapping = std::make_unique<Mapping>(Mapping{address, size_t(reply.length)});
    picture.image = QImage(static_cast<const uchar *>(address), reply.width, reply.height, reply.bytesPerLine,
                           format, &unmap, mapping.release());  // the image owns it now
    return picture;
}

bool sendRequest(int socket, const decoding::Request &request, int fd)
{
    return sendWithDescriptor(socket, &request, sizeof request, fd);
}

// The reply and its memory file; false when the helper ended or broke the protocol.
bool receiveReply(int socket, Reply &reply, int &memory)
{
    return receiveWithDescriptor(socket, &reply, sizeof reply, memory) == ssize_t(sizeof reply) &&
           reply.magic == decoding::kMagic;
}

}  // namespace

QString DecoderClient::decoderHelperPath()
{
    // Beside the program in the build, in libexec once installed; tests and
    // benchmarks run one folder below the program.
    const QDir here(QCoreApplication::applicationDirPath());
    for (const char *relative : {"quorvel-decoder", "../quorvel-decoder", "../libexec/quorvel/quorvel-decoder"}) {
        const QFileInfo candidate(here.filePath(QLatin1String(relative)));
        if (candidate.isFile() && candidate.isExecutable())
            return candidate.canonicalFilePath();
    }
    return {};
}

DecoderClient::DecoderClient(QString helper)
    : helper_(std::move(helper))
{
}

DecoderClient::~DecoderClient()
{
    stop();
    end(spare_);
}

DecoderClient::Helper DecoderClient::spawn()
{
    reapEnded();
    if (helper_.isEmpty())
        return {};
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 3);  // the helper's end, kept open across exec
    const QByteArray program = QFile::encodeName(helper_);
    const QByteArray parent = QByteArray::number(qint64(::getpid()));
    char *const argv[] = {const_cast<char *>(program.constData()), const_cast<char *>("--serve"),
                          const_cast<char *>(parent.constData()), nullptr};
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, program.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    if (spawned != 0) {
        ::close(ends[0]);
        return {};
    }
    return {ends[0], pid};
}

void DecoderClient::end(Helper &helper)
{
    if (helper.socket >= 0)
        ::close(helper.socket);  // a helper waiting for a request ends
    if (helper.pid > 0) {
        ::kill(helper.pid, SIGKILL);  // one still decoding ends too
        // Not waited for: a helper held in the kernel by a share that stopped
        // answering ends only when the share answers. It is reaped later.
        ending_.push_back(helper.pid);
    }
    helper = {};
    reapEnded();
}

void DecoderClient::reapEnded()
{
    std::erase_if(ending_, [](pid_t pid) {
        pid_t reaped = -1;
        do {
            reaped = ::waitpid(pid, nullptr, WNOHANG);
        } while (reaped < 0 && errno == EINTR);
        return reaped != 0;  // gone, or no longer ours to wait for
    });
}

bool DecoderClient::start()
{
    if (pid_ <= 0) {
        Helper next = spare_.pid > 0 ? std::exchange(spare_, Helper{}) : spawn();
        socket_ = next.socket;
        pid_ = next.pid;
    }
    // The spare starts while this one works: ready when it is needed.
    if (keepSpare_ && spare_.pid <= 0)
        spare_ = spawn();
    return pid_ > 0;
}

void DecoderClient::stop()
{
    Helper current{socket_, pid_};
    end(current);
    socket_ = -1;
    pid_ = -1;
}

std::optional<HelperPicture> DecoderClient::decode(const QString &path, const decoding::Request &request,
                                                   const Interrupted &interrupted, int timeoutMs)
{
    helperFailed_ = false;
    if (interrupted && interrupted())
        return std::nullopt;
    // Only a regular file: a FIFO or a device named like a picture is none, and
    // opening one must not block.
    const int fd = ::open(platform::encodeFileName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    // A helper that ended while it waited (killed, or its limits reached) is
    // replaced: neither its end nor the spare's may cost the next picture. The
    // working one, the spare and one started for this picture are tried.
    bool sent = false;
    for (int tries = 0; regular && !sent && tries < kHelpersTried; ++tries) {
        sent = start() && sendRequest(socket_, request, fd);
        if (!sent)
            stop();
    }
    ::close(fd);
    if (!sent) {
        helperFailed_ = regular;
        stop();
        return std::nullopt;
    }

    QElapsedTimer waited;
    waited.start();
    for (;;) {
        pollfd ready{socket_, POLLIN, 0};
        const int n = ::poll(&ready, 1, kPollMs);
        if (n > 0)
            break;
        if ((n < 0 && errno != EINTR) || waited.elapsed() > timeoutMs || (interrupted && interrupted())) {
            helperFailed_ = !(interrupted && interrupted());
            stop();  // a picture no one waits for any more costs the helper, not the window
            return std::nullopt;
        }
    }
    Reply reply;
    int memory = -1;
    if (!receiveReply(socket_, reply, memory)) {
        if (memory >= 0)
            ::close(memory);
        helperFailed_ = true;
        stop();  // it crashed, or talks nonsense: the next picture gets a new one
        return std::nullopt;
    }
    std::optional<HelperPicture> picture = reply.ok ? unpack(reply, memory) : std::nullopt;
    if (memory >= 0)
        ::close(memory);
    // The metafile converters keep state from one drawing to the next, which a
    // hostile file can leave broken for the next one: each drawing gets a helper
    // of its own.
    if (request.metafile != decoding::Metafile::None)
        stop();
    return picture;
}

DecoderClient &decoderOfThisThread()
{
    // Each thread its own helper, started by it and ended with it.
    thread_local DecoderClient client;
    return client;
}

}  // namespace preview
