#include "preview/DescriptorPassing.h"

#include <cstring>

#include <sys/socket.h>
#include <unistd.h>

namespace preview {

bool sendWithDescriptor(int socket, const void *data, size_t size, int fd)
{
    iovec bytes{const_cast<void *>(data), size};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr message{};
    message.msg_iov = &bytes;
    message.msg_iovlen = 1;
    if (fd >= 0) {
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        cmsghdr *c = CMSG_FIRSTHDR(&message);
        c->cmsg_level = SOL_SOCKET;
        c->cmsg_type = SCM_RIGHTS;
        c->cmsg_len = CMSG_LEN(sizeof(int));
        std::memcpy(CMSG_DATA(c), &fd, sizeof fd);
    }
    return ::sendmsg(socket, &message, MSG_NOSIGNAL) == ssize_t(size);
}

ssize_t receiveWithDescriptor(int socket, void *data, size_t size, int &fd)
{
    iovec bytes{data, size};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr message{};
    message.msg_iov = &bytes;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t got = ::recvmsg(socket, &message, MSG_CMSG_CLOEXEC);
    fd = -1;
    for (cmsghdr *c = got > 0 ? CMSG_FIRSTHDR(&message) : nullptr; c; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level != SOL_SOCKET || c->cmsg_type != SCM_RIGHTS || c->cmsg_len != CMSG_LEN(sizeof(int)))
            continue;
        if (fd >= 0)
            ::close(fd);  // one descriptor a message; more are dropped
        std::memcpy(&fd, CMSG_DATA(c), sizeof fd);
    }
    return got;
}

}  // namespace preview
