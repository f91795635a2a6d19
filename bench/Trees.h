#pragma once

// The trees the search benchmarks walk, made once in the benchmark's folder and
// kept there for the next benchmark, and the kernel's caches dropped for a cold run.

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <vector>

namespace bench {

// `top` folders of 100 subfolders of 100 files each: 100 x `top` x 100 files and
// 101 x `top` folders. Every fifth file is one of `pictures` (cycling through them)
// named with `extension(n)`, the rest ".txt"; with no pictures, the fifth files
// are empty and a few others hold bytes.
inline QString makeTree(const QString &root, int top, const std::vector<QByteArray> &pictures,
                        QByteArray (*extension)(int))
{
    const QString done = root + "/.complete";
    if (QFile::exists(done))
        return root;
    QDir(root).removeRecursively();
    int n = 0;
    for (int d = 0; d < top; ++d) {
        for (int e = 0; e < 100; ++e) {
            const QByteArray folder = QFile::encodeName(QString("%1/d%2/e%3").arg(root).arg(d).arg(e));
            QDir().mkpath(QFile::decodeName(folder));
            for (int i = 0; i < 100; ++i, ++n) {
                const bool picture = n % 5 == 0;
                const QByteArray name = folder + "/file" + QByteArray::number(i) + (picture ? extension(n) : ".txt");
                const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
                if (fd < 0)
                    continue;
                QByteArray bytes;
                if (picture && !pictures.empty())
                    bytes = pictures[std::size_t(n / 5) % pictures.size()];
                else if (pictures.empty() && n % 97 == 0)
                    bytes = "some bytes";
                if (!bytes.isEmpty() && ::write(fd, bytes.constData(), std::size_t(bytes.size())) != bytes.size())
                    std::perror("write");
                ::close(fd);
            }
        }
    }
    QFile(done).open(QIODevice::WriteOnly);
    ::sync();
    return root;
}

// Our own tree: the fifth files are empty ".jpg" files.
inline QString ensureTree(const QString &root, int top)
{
    return makeTree(root, top, {}, [](int) { return QByteArray(".jpg"); });
}

// Photo-like JPEG files from about 2 to 40 KB: noise over a gradient, in sizes
// from 48 x 32 to 288 x 192.
inline std::vector<QByteArray> photoLikeJpegs()
{
    std::vector<QByteArray> jpegs;
    QRandomGenerator random(7);
    for (int v = 0; v < 16; ++v) {
        QImage image(48 + v * 16, 32 + v * 32 / 3, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb((x * 255 / image.width() + int(random.bounded(64))) % 256,
                                          (y * 255 / image.height() + int(random.bounded(64))) % 256, (v * 16) % 256));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG", 80);
        jpegs.push_back(bytes);
    }
    return jpegs;
}

// A tree of real pictures: the fifth files are JPEG files of 2 to 40 KB, named
// ".jpg" and ".JPG" in turn.
inline QString ensureJpegTree(const QString &root, int top)
{
    return makeTree(root, top, photoLikeJpegs(),
                    [](int n) { return QByteArray(n % 10 == 0 ? ".jpg" : ".JPG"); });
}

// Our 1,000,000-file tree made for the size and date criteria: every 1,000th file
// grows to 2 MiB and a byte (sparse: it takes no room), and every file is
// modified 40 days ago except every 500th, modified two days ago. So 1,000 files
// are over 1 MB and 2,000 changed in the last week.
inline QString ensureCriteriaTree(const QString &root)
{
    const QString done = root + "/.criteria";
    if (QFile::exists(done))
        return root;
    QFile::remove(root + "/.complete");
    makeTree(root, 100, {}, [](int) { return QByteArray(".jpg"); });
    const std::time_t now = std::time(nullptr);
    int n = 0;
    for (int d = 0; d < 100; ++d) {
        for (int e = 0; e < 100; ++e) {
            const QByteArray folder = QFile::encodeName(QString("%1/d%2/e%3").arg(root).arg(d).arg(e));
            for (int i = 0; i < 100; ++i, ++n) {
                const QByteArray name = folder + "/file" + QByteArray::number(i) + (n % 5 == 0 ? ".jpg" : ".txt");
                if (n % 1000 == 0 && ::truncate(name.constData(), (off_t(2) << 20) + 1) != 0)
                    std::perror("truncate");
                const std::time_t when = now - (n % 500 == 0 ? 2 : 40) * 24 * 3600;
                const timespec times[2] = {{when, 0}, {when, 0}};
                ::utimensat(AT_FDCWD, name.constData(), times, 0);
            }
        }
    }
    QFile(done).open(QIODevice::WriteOnly);
    ::sync();
    return root;
}

// The word the contents benchmark looks for, planted in a few files in cases of its own.
constexpr const char *kRareWord = "quorvelzebra";

// About 1 GB of source code in 20,000 files of 20 folders of 20 folders: the C
// and C++ headers of this machine, run together into files of 40 to 64 KB, every
// 50th file a binary (the bytes of a shared library) instead. The rare word is
// planted in 25 of the text files, in varying case. The number of files planted.
inline int ensureTextCorpus(const QString &root)
{
    constexpr int kPlanted = 25;
    const QString done = root + "/.complete";
    if (QFile::exists(done))
        return kPlanted;
    QDir(root).removeRecursively();
    std::vector<QString> headers;
    for (QDirIterator it("/usr/include", QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        headers.push_back(it.next());
    std::sort(headers.begin(), headers.end());
    QByteArray binary;
    for (QDirIterator it("/usr/lib/x86_64-linux-gnu", {"libQt6Core.so*", "libc.so*"}, QDir::Files); it.hasNext() && binary.size() < (8 << 20);) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly))
            binary += f.readAll();
    }
    static const char *const cases[] = {"quorvelzebra", "QUORVELZEBRA", "QuorvelZebra", "quorvelZEBRA", "qUORVELzEBRA"};
    std::size_t next = 0;
    int planted = 0;
    for (int n = 0; n < 20000; ++n) {
        const QString folder = QString("%1/src%2/mod%3").arg(root).arg(n / 1000).arg(n / 50 % 20);
        QDir().mkpath(folder);
        QByteArray content;
        if (n % 50 == 49 && !binary.isEmpty()) {
            content = binary.mid((qsizetype(n) * 52000) % (binary.size() - 60000), 52000);
        } else {
            const qsizetype size = 40000 + (n % 25) * 1000;
            while (content.size() < size && !headers.empty()) {
                QFile f(headers[next++ % headers.size()]);
                if (f.open(QIODevice::ReadOnly))
                    content += f.read(size - content.size());
            }
            if (n % 797 == 0 && planted < kPlanted) {
                const qsizetype at = content.indexOf('\n', content.size() * (planted % 7) / 7);
                content.insert(at < 0 ? 0 : at + 1, QByteArray("// see ") + cases[planted % 5] + " for the details\n");
                ++planted;
            }
        }
        QFile out(QString("%1/file%2.%3").arg(folder).arg(n).arg(n % 50 == 49 ? "o" : n % 3 ? "h" : "cpp"));
        if (out.open(QIODevice::WriteOnly))
            out.write(content);
    }
    QFile(done).open(QIODevice::WriteOnly);
    ::sync();
    return planted;
}

// One file of `gigabytes` GiB of text, for cancelling in the middle of it.
inline QString ensureHugeText(const QString &root, int gigabytes)
{
    const QString path = root + "/huge.txt";
    if (QFileInfo(path).size() == qint64(gigabytes) << 30)
        return root;
    QDir().mkpath(root);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return root;
    QByteArray block;
    while (block.size() < (1 << 20))
        block += "All work and no play makes a dull search, line after line.\n";
    block.truncate(1 << 20);
    for (int i = 0; i < gigabytes * 1024; ++i)
        out.write(block);
    out.close();
    ::sync();
    return root;
}

// Empties the kernel's caches of files and folders; false when this user may not.
inline bool dropCaches()
{
    ::sync();
    std::ofstream drop("/proc/sys/vm/drop_caches");
    drop << "3\n";
    drop.flush();
    return bool(drop);
}

}  // namespace bench
