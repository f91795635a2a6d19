#pragma once

// The trees the search benchmarks walk, made once in the benchmark's folder and
// kept there for the next benchmark, and the kernel's caches dropped for a cold run.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QString>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
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
