#pragma once

// Standard library and POSIX only: the PDF writer uses it too.
#include <cstddef>
#include <functional>
#include <string>

#include <sys/types.h>

namespace platform {

// Removes what writes of this program left in `folder` when they were cut short
// (the program killed, the machine off): files named as it names the files it is
// writing (".quorvel-part-" and twelve hexadecimal digits), owned by this user,
// not changed for `olderThanSeconds`. Links and anything else are left alone.
// The number removed.
int removeStaleParts(const std::string &folder, long long olderThanSeconds);

// A new, empty, hidden file beside `target`, made for this process alone (it never
// opens what someone planted at a name). Unless it replaces the target it is removed
// when it goes away, so a failed or abandoned write leaves the target as it was.
class FileBeside {
public:
    explicit FileBeside(std::string target);
    ~FileBeside();
    FileBeside(const FileBeside &) = delete;
    FileBeside &operator=(const FileBeside &) = delete;

    // Makes the file; false, with errorNumber() set, when it cannot be made.
    bool create();
    int fd() const { return fd_; }
    const std::string &path() const { return path_; }
    const std::string &target() const { return target_; }
    // Closes the file, checking that everything reached the disk.
    bool close();
    // Renames the file over the target, which replaces a link planted there
    // rather than writing through it.
    bool replaceTarget();
    // Gives the file the target's name only if nothing holds that name, never
    // replacing what another program put there meanwhile; when the name is
    // taken, tries the names `next` gives (empty: none left), and target() is the
    // name it got. False, with errorNumber() set, when no name could be taken.
    bool claimTarget(const std::function<std::string()> &next);
    int errorNumber() const { return error_; }

private:
    std::string target_;
    std::string path_;
    int fd_ = -1;
    int error_ = 0;
    bool replaced_ = false;
};

// Writes a file whole or not at all: every write and the final flush are checked,
// and only a complete file takes the target's name.
class WholeFile {
public:
    using WriteFunction = ssize_t (*)(int, const void *, size_t);
    // `write` is the system's write unless a test puts a failing one in its place.
    explicit WholeFile(std::string target, WriteFunction write = nullptr);

    bool open() { return beside_.create(); }
    bool write(const char *data, size_t size);
    // Flushes, closes and renames over the target; false, and the target as it
    // was, when any step failed.
    bool commit();
    // Why the last step failed, as the system says it.
    std::string reason() const;

private:
    bool flush();
    bool writeAll(const char *data, size_t size);

    FileBeside beside_;
    WriteFunction write_;
    std::string buffer_;  // small pieces go to the disk together
    int error_ = 0;
};

}  // namespace platform
