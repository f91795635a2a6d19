#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QFile;

namespace platform {

// File names on Linux are bytes, and not every name is valid UTF-8. A name is
// carried as text in which each byte that is not part of valid UTF-8 stands as
// the lone surrogate U+DC80..U+DCFF, so that the exact bytes come back for every
// use of the name, while what is shown has U+FFFD in their place.
QString decodeFileName(const QByteArray &raw);
QByteArray encodeFileName(const QString &name);
// The name as it is shown and written into text: U+FFFD for each byte that was
// not valid UTF-8.
QString shownFileName(const QString &name);

// Whether `path` names a regular file (following links).
bool isRegularFile(const QString &path);
bool fileExists(const QString &path);

// Opens `path` for reading if it is a regular file, without ever waiting on a
// FIFO, a socket or a device: those, and what cannot be opened, give false.
bool openRegularFile(const QString &path, QFile &file);

// Which regular file a name leads to, and which version of it: a file replaced,
// rewritten or touched gets another stamp.
struct FileStamp {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedNs = 0;
    bool operator==(const FileStamp &) const = default;
};
// The stamp of the regular file `path` names; nothing for anything else.
std::optional<FileStamp> regularFileStamp(const QString &path);

}  // namespace platform
