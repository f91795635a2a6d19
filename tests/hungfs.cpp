// A file system that stops answering, for the tests: its root holds "a.jpg", the
// folder "hang", the folder "z" with "c.jpg", the folder "pictures" with
// "stuck.jpg" and the folder "broken". Listing "broken" gives "b1.jpg" and
// "b2.jpg", then fails with an I/O error. Listing "hang" never returns, as on a share whose
// server went away; the first time a listing of "hang" begins, the file given as
// the second argument is created. Reading "stuck.jpg" does not return either;
// when it begins, that file's name with ".read" added is created. Once a file of
// that name with ".release" added exists, the held read fails as a share's does
// when it comes back, and reads after it give the picture named as the third
// argument. Every other ".jpg" file gives that picture too; without one, every
// file gives "abc". Once a file of the marker's name with
// ".hang-statfs" added exists, asking the file system for its size never
// returns either; when that begins, the marker's name with ".statfs" added is
// created. The folder "big" holds "big.txt", 10 GiB of text that never holds a NUL
// byte. The first read past its first 64 MiB creates the marker's name with ".big"
// added and waits until a file of the marker's name with ".bigrelease" added
// exists; a read past 128 MiB never returns, so a reader that goes on reading
// after that is held for good. When the file is closed, the marker's name with
// ".bigclosed" added is created.
//
//     hungfs MOUNTPOINT MARKER [PICTURE]
#define FUSE_USE_VERSION 31
#include <fuse.h>

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

std::string marker;
std::string picture;  // what the ".jpg" files hold ("stuck.jpg" once the share answers)

bool exists(const std::string &path)
{
    return ::access(path.c_str(), F_OK) == 0;
}

// Says that a request which will never be answered has begun, then never answers.
[[noreturn]] void hangAfterSaying(const std::string &said)
{
    if (FILE *f = std::fopen(said.c_str(), "w"))
        std::fclose(f);
    for (;;)
        ::pause();
}

const std::string kBig = "/big/big.txt";
constexpr off_t kBigSize = off_t(10) << 30;
constexpr off_t kBigPassed = off_t(64) << 20;

void say(const std::string &what)
{
    if (FILE *f = std::fopen(what.c_str(), "w"))
        std::fclose(f);
}

// Returns once `path` exists: the test says so by making it.
void waitUntilMade(const std::string &path)
{
    while (!exists(path))
        ::usleep(50 * 1000);
}

// Lines of text, each the same, as far into the big file as `offset` goes.
int readBig(char *buffer, size_t size, off_t offset)
{
    static const std::string line = "All work and no play makes a dull search.\n";
    if (offset >= kBigSize)
        return 0;
    if (offset >= 2 * kBigPassed)
        hangAfterSaying(marker + ".bigagain");
    if (offset >= kBigPassed && !exists(marker + ".big")) {
        say(marker + ".big");
        waitUntilMade(marker + ".bigrelease");
    }
    const size_t n = size_t(std::min<off_t>(off_t(size), kBigSize - offset));
    for (size_t i = 0; i < n; ++i)
        buffer[i] = line[size_t((offset + off_t(i)) % off_t(line.size()))];
    return int(n);
}

bool isFile(const std::string &p)
{
    return p == kBig || p == "/a.jpg" || p == "/z/c.jpg" || p == "/pictures/stuck.jpg" || p == "/broken/b1.jpg" ||
           p == "/broken/b2.jpg";
}

// What a file gives once it answers.
std::string contentOf(const std::string &)
{
    return picture.empty() ? std::string("abc") : picture;
}

int getAttributes(const char *path, struct stat *st, fuse_file_info *)
{
    std::memset(st, 0, sizeof *st);
    const std::string p(path);
    if (p == "/" || p == "/hang" || p == "/z" || p == "/pictures" || p == "/broken" || p == "/big") {
        st->st_mode = S_IFDIR | 0755;
        st->st_nlink = 2;
        return 0;
    }
    if (isFile(p)) {
        st->st_mode = S_IFREG | 0644;
        st->st_nlink = 1;
        st->st_size = p == kBig ? kBigSize : off_t(contentOf(p).size());
        return 0;
    }
    return -ENOENT;
}

int readFolder(const char *path, void *buffer, fuse_fill_dir_t fill, off_t offset, fuse_file_info *,
               fuse_readdir_flags)
{
    const std::string p(path);
    if (p == "/hang")
        hangAfterSaying(marker);
    if (p == "/broken") {
        // Given with their offsets, so the kernel asks for what follows them: an error.
        if (offset > 0)
            return -EIO;
        off_t next = 0;
        for (const char *name : {".", "..", "b1.jpg", "b2.jpg"})
            fill(buffer, name, nullptr, ++next, fuse_fill_dir_flags(0));
        return 0;
    }
    fill(buffer, ".", nullptr, 0, fuse_fill_dir_flags(0));
    fill(buffer, "..", nullptr, 0, fuse_fill_dir_flags(0));
    if (p == "/") {
        for (const char *name : {"a.jpg", "hang", "z", "pictures", "broken", "big"})
            fill(buffer, name, nullptr, 0, fuse_fill_dir_flags(0));
        return 0;
    }
    if (p == "/z" || p == "/pictures" || p == "/big") {
        fill(buffer, p == "/z" ? "c.jpg" : p == "/big" ? "big.txt" : "stuck.jpg", nullptr, 0, fuse_fill_dir_flags(0));
        return 0;
    }
    return -ENOENT;
}

int fileSystemSize(const char *, struct statvfs *st)
{
    if (exists(marker + ".hang-statfs"))
        hangAfterSaying(marker + ".statfs");
    std::memset(st, 0, sizeof *st);
    st->f_bsize = st->f_frsize = 4096;
    st->f_blocks = 1024;
    st->f_namemax = 255;
    return 0;
}

int openFile(const char *path, fuse_file_info *)
{
    const std::string p(path);
    return isFile(p) ? 0 : -ENOENT;
}

int readFile(const char *path, char *buffer, size_t size, off_t offset, fuse_file_info *)
{
    const std::string p(path);
    if (p == kBig)
        return readBig(buffer, size, offset);
    if (p == "/pictures/stuck.jpg" && !exists(marker + ".release")) {
        say(marker + ".read");
        waitUntilMade(marker + ".release");
        return -EIO;
    }
    const std::string content = contentOf(p);
    if (offset >= off_t(content.size()))
        return 0;
    const size_t n = std::min(size, content.size() - size_t(offset));
    std::memcpy(buffer, content.data() + offset, n);
    return int(n);
}

int closeFile(const char *path, fuse_file_info *)
{
    if (path == kBig)
        say(marker + ".bigclosed");
    return 0;
}

}  // namespace

int main(int argc, char *argv[])
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: hungfs MOUNTPOINT MARKER [PICTURE]\n");
        return 2;
    }
    marker = argv[2];
    if (argc == 4) {
        std::ifstream in(argv[3], std::ios::binary);
        picture.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    fuse_operations operations{};
    operations.getattr = getAttributes;
    operations.readdir = readFolder;
    operations.open = openFile;
    operations.statfs = fileSystemSize;
    operations.read = readFile;
    operations.release = closeFile;
    char program[] = "hungfs";
    char foreground[] = "-f";
    char *arguments[] = {program, foreground, argv[1], nullptr};
    return fuse_main(3, arguments, &operations, nullptr);
}
