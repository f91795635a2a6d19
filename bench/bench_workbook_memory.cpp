// The program's memory while it exports a spreadsheet with a picture in every row:
// photo-like JPEGs of 2 to 5 MB, and a hundred thousand small ones. The resident
// size before, at its peak during the export, and once it has ended.
#include "BenchSupport.h"
#include "app/Form1.h"
#include "search/ResultList.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRandomGenerator>

namespace {

double statusMb(const char *field)
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// Photo-like: smooth light with fine noise over it, which JPEG cannot squeeze.
QImage photoLike(QSize size, quint32 seed)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int noise = int(random.bounded(64));
            line[x] = qRgb((x * 255 / size.width() + noise) & 255, (y * 255 / size.height() + noise) & 255,
                           (seed * 37 + noise) & 255);
        }
    }
    return image;
}

QStringList makePictures(const QString &folder, int count, QSize size, int quality)
{
    QDir().mkpath(folder);
    QStringList made;
    for (int i = 0; i < count; ++i) {
        made << QString("%1/IMG_%2.jpg").arg(folder).arg(i, 5, 10, QLatin1Char('0'));
        if (!QFile::exists(made.last()))
            photoLike(size, quint32(i + 1)).save(made.last(), "JPG", quality);
    }
    return made;
}

void measure(Form1 &window, const char *what, const QStringList &pictures, int entries)
{
    window.List1->Clear();
    for (int i = 0; i < entries; ++i)
        window.List1->AddItem(pictures[i % pictures.size()]);
    bench::waitUntilPainted(window);
    const double before = statusMb("VmRSS:");
    QFile clear("/proc/self/clear_refs");  // the peak from here on
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    clear.close();
    const double ms = bench::paintedMs(window, [&] { window.Command3->click(); });
    const double peak = statusMb("VmHWM:");
    const double after = statusMb("VmRSS:");
    std::printf("-- %s\n", what);
    bench::report("export", ms, "ms");
    bench::report("resident before", before, "MB");
    bench::report("peak during the export (target < 300)", peak, "MB");
    bench::report("resident after (target within 20 of before)", after, "MB");
}

}  // namespace

int main(int argc, char *argv[])
{
    bench::choosePlatform();
    QApplication app(argc, argv);
    const bench::WorkFolder work(argc, argv);
    const QStringList photos = makePictures(work / "workbook/photos", 40, QSize(3000, 2000), 92);
    qint64 smallest = std::numeric_limits<qint64>::max(), largest = 0;
    for (const QString &p : photos) {
        smallest = std::min(smallest, QFileInfo(p).size());
        largest = std::max(largest, QFileInfo(p).size());
    }
    std::printf("photos: %lld of %.1f to %.1f MB\n", qlonglong(photos.size()), double(smallest) / (1 << 20),
                double(largest) / (1 << 20));
    const QStringList small = makePictures(work / "workbook/small", 1000, QSize(120, 90), 85);
    QDir().mkpath(work / "workbook/out");
    Form1 window(bench::quietServices(work.path(), work / "workbook/out"));
    measure(window, "2,000 rows, each a photo of 2 to 5 MB", photos, 2000);
    QFile::remove(work / "workbook/out/QuorvelFileSearch.xlsx");
    measure(window, "100,000 rows, each a small picture", small, 100000);
    QFile::remove(work / "workbook/out/QuorvelFileSearch.xlsx");
    return 0;
}
