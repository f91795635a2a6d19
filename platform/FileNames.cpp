#include "platform/FileNames.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // U+DC80..U+DCFF stand for the bytes 0x80..0xFF

// The length of the valid UTF-8 sequence at `p` (at most `left` bytes), 0 when
// there is none: overlong forms, surrogates and values past U+10FFFF are invalid.
int validSequence(const unsigned char *p, qsizetype left)
{
    const unsigned char b = p[0];
    if (b < 0x80)
        return 1;
    int length;
    char32_t value;
    if ((b & 0xE0) == 0xC0) {
        length = 2;
        value = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
        length = 3;
        value = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
        length = 4;
        value = b & 0x07;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (p[i] & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

bool isEscape(char16_t c)
{
    return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF;
}

// An escaped byte is a lone low surrogate: the second half of a pair (a character
// beyond the first plane, such as many emoji) may fall in the same range.
bool isEscapeAt(QStringView name, qsizetype i)
{
    return isEscape(name[i].unicode()) && !(i > 0 && name[i - 1].isHighSurrogate());
}

}  // namespace

QString decodeFileName(const QByteArray &raw)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(raw.constData());
    const qsizetype size = raw.size();
    QString name;
    name.reserve(size);
    qsizetype run = 0;  // start of the valid stretch not yet decoded
    qsizetype i = 0;
    while (i < size) {
        const int length = validSequence(bytes + i, size - i);
        if (length > 0) {
            i += length;
            continue;
        }
        name += QString::fromUtf8(raw.constData() + run, i - run);
        name += QChar(char16_t(kEscapeBase + bytes[i]));
        run = ++i;
    }
    name += QString::fromUtf8(raw.constData() + run, size - run);
    return name;
}

QByteArray encodeFileName(const QString &name)
{
    QByteArray raw;
    raw.reserve(name.size());
    qsizetype run = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (!isEscapeAt(name, i))
            continue;
        raw += QStringView(name).mid(run, i - run).toUtf8();
        raw += char(c - kEscapeBase);
        run = i + 1;
    }
    raw += QStringView(name).mid(run).toUtf8();
    return raw;
}

QString shownFileName(const QString &name)
{
    QString shown = name;
    for (qsizetype i = 0; i < shown.size(); ++i)
        if (isEscapeAt(name, i))
            shown[i] = QChar(0xFFFD);
    return shown;
}

bool isRegularFile(const QString &path)
{
    struct stat st {};
    return ::stat(encodeFileName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool fileExists(const QString &path)
{
    struct stat st {};
    return ::lstat(encodeFileName(path).constData(), &st) == 0;
}

bool openRegularFile(const QString &path, QFile &file)
{
    // Non-blocking, so that opening a FIFO returns at once instead of waiting for
    // a writer; then only a regular file is read.
    const int fd = ::open(encodeFileName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

std::optional<FileStamp> regularFileStamp(const QString &path)
{
    struct stat st {};
    if (::stat(encodeFileName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileStamp{static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino),
                     static_cast<long long>(st.st_size),
                     static_cast<long long>(st.st_mtim.tv_sec) * 1'000'000'000LL + st.st_mtim.tv_nsec};
}

}  // namespace platform
