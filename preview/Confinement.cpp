#include "preview/Confinement.h"

#include <seccomp.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <linux/close_range.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace preview {
namespace {

// Room for a 100-megapixel picture (400 MB of pixels) and its decoding, above
// what the process already holds (the toolkit's libraries, mapped).
constexpr rlim_t kMoreMemory = rlim_t(1) << 30;
// A helper lives long; each decode is timed by the window, this is the backstop.
constexpr rlim_t kCpuSeconds = 3600;
constexpr rlim_t kOpenFiles = 64;

struct FilterFree {
    void operator()(void *ctx) const { seccomp_release(ctx); }
};

rlim_t mappedBytes()
{
    FILE *statm = std::fopen("/proc/self/statm", "r");
    unsigned long pages = 0;
    if (statm) {
        if (std::fscanf(statm, "%lu", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    return rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE));
}

bool limit(int resource, rlim_t value, const char *name, std::string &why)
{
    const rlimit l{value, value};
    if (::setrlimit(resource, &l) == 0)
        return true;
    why = std::string(name) + ": " + std::strerror(errno);
    return false;
}

// What decoding needs of the kernel, and nothing else.
constexpr int kAllowed[] = {
    SCMP_SYS(read), SCMP_SYS(write), SCMP_SYS(readv), SCMP_SYS(writev), SCMP_SYS(pread64), SCMP_SYS(pwrite64),
    SCMP_SYS(lseek), SCMP_SYS(close), SCMP_SYS(fstat), SCMP_SYS(newfstatat), SCMP_SYS(statx),
    SCMP_SYS(recvmsg), SCMP_SYS(sendmsg), SCMP_SYS(poll), SCMP_SYS(ppoll),
    SCMP_SYS(mmap), SCMP_SYS(munmap), SCMP_SYS(mremap), SCMP_SYS(mprotect), SCMP_SYS(madvise), SCMP_SYS(brk),
    SCMP_SYS(memfd_create), SCMP_SYS(ftruncate), SCMP_SYS(fcntl),
    SCMP_SYS(futex), SCMP_SYS(set_robust_list), SCMP_SYS(rseq), SCMP_SYS(sched_yield),
    SCMP_SYS(sched_getaffinity), SCMP_SYS(gettid), SCMP_SYS(getpid), SCMP_SYS(getppid),
    SCMP_SYS(clock_gettime), SCMP_SYS(clock_nanosleep), SCMP_SYS(nanosleep), SCMP_SYS(gettimeofday),
    SCMP_SYS(getrusage), SCMP_SYS(getrandom),
    SCMP_SYS(rt_sigreturn), SCMP_SYS(rt_sigprocmask), SCMP_SYS(rt_sigaction), SCMP_SYS(sigaltstack),
    SCMP_SYS(restart_syscall), SCMP_SYS(exit), SCMP_SYS(exit_group), SCMP_SYS(sysinfo),
};

bool filterSystemCalls(std::string &why)
{
    // Anything not allowed fails with "operation not permitted"; the libraries
    // see an error and give up on the picture.
    std::unique_ptr<void, FilterFree> filter(seccomp_init(SCMP_ACT_ERRNO(EPERM)));
    if (!filter) {
        why = "seccomp_init failed";
        return false;
    }
    // Every thread is filtered, those the libraries started before now too; a
    // thread that cannot be makes the whole start fail.
    if (seccomp_attr_set(filter.get(), SCMP_FLTATR_CTL_TSYNC, 1) != 0) {
        why = "seccomp thread synchronisation";
        return false;
    }
    for (const int call : kAllowed) {
        if (seccomp_rule_add(filter.get(), SCMP_ACT_ALLOW, call, 0) != 0) {
            why = "seccomp rule " + std::to_string(call);
            return false;
        }
    }
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    // A sanitizer's runtime finds out whether memory can be read by writing it
    // into a pipe; without one it takes every object it checks for a bad one.
    // Only in the sanitizer builds of scripts/sanitize.sh.
    for (const int call : {SCMP_SYS(pipe), SCMP_SYS(pipe2)}) {
        if (seccomp_rule_add(filter.get(), SCMP_ACT_ALLOW, call, 0) != 0) {
            why = "seccomp rule for the sanitizer's pipe";
            return false;
        }
    }
#endif
    // Signals and limits only on itself: a decoder taken over must not reach
    // another process of the user's.
    const auto self = scmp_datum_t(::getpid());
    if (seccomp_rule_add(filter.get(), SCMP_ACT_ALLOW, SCMP_SYS(tgkill), 1, SCMP_A0(SCMP_CMP_EQ, self)) != 0 ||
        seccomp_rule_add(filter.get(), SCMP_ACT_ALLOW, SCMP_SYS(tkill), 1, SCMP_A0(SCMP_CMP_EQ, self)) != 0 ||
        seccomp_rule_add(filter.get(), SCMP_ACT_ALLOW, SCMP_SYS(prlimit64), 1, SCMP_A0(SCMP_CMP_EQ, 0)) != 0 ||
        seccomp_rule_add(filter.get(), SCMP_ACT_ALLOW, SCMP_SYS(prlimit64), 1, SCMP_A0(SCMP_CMP_EQ, self)) != 0) {
        why = "seccomp rule for signals and limits";
        return false;
    }
    // Threads, not processes: clone only with CLONE_THREAD. clone3 hides its flags
    // from the filter; it answers "not implemented", and the C library falls back
    // to clone.
    if (seccomp_rule_add(filter.get(), SCMP_ACT_ALLOW, SCMP_SYS(clone), 1,
                         SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, CLONE_THREAD)) != 0 ||
        seccomp_rule_add(filter.get(), SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0) != 0) {
        why = "seccomp rule for clone";
        return false;
    }
    const int loaded = seccomp_load(filter.get());
    if (loaded != 0) {
        why = std::string("seccomp_load: ") + std::strerror(-loaded);
        return false;
    }
    return true;
}

}  // namespace

void closeInheritedDescriptors(int lastKept)
{
    // Whatever the program that started this one left open, writable or not.
    if (::close_range(unsigned(lastKept) + 1, ~0U, 0) != 0)
        for (int fd = lastKept + 1; fd < 1024; ++fd)
            ::close(fd);
    // Nothing is read from the terminal of whoever started it.
    const int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (nothing >= 0) {
        ::dup2(nothing, STDIN_FILENO);
        ::close(nothing);
    }
}

bool confineThisProcess(std::string &why)
{
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) {
        why = std::string("no_new_privs: ") + std::strerror(errno);
        return false;
    }
    const rlim_t memory = mappedBytes() + kMoreMemory;
    return limit(RLIMIT_AS, memory, "RLIMIT_AS", why) && limit(RLIMIT_CPU, kCpuSeconds, "RLIMIT_CPU", why) &&
           limit(RLIMIT_NOFILE, kOpenFiles, "RLIMIT_NOFILE", why) && filterSystemCalls(why);
}

}  // namespace preview
