// Times the spreadsheet export of 2,000 entries, 300 of them 12-megapixel JPEGs,
// against vipsthumbnail making the same 300 thumbnails at the cell's size.
#include "BenchSupport.h"
#include "export/SpreadsheetExport.h"
#include "app/Form1.h"
#include "search/ResultList.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>

int main(int argc, char *argv[])
{
    bench::choosePlatform();
    QApplication app(argc, argv);
    // The photos of the preview benchmark: run it first in the same folder (bench/run.sh does).
    const bench::WorkFolder work(argc, argv);
    const QString albums = work / "photos/albums";
    if (!QFile::exists(albums + "/.complete")) {
        std::printf("no photos in %s: run bench_preview first\n", qPrintable(albums));
        return 0;
    }
    QStringList photos;
    for (int i = 0; i < 300; ++i)
        photos << QString("%1/album%2/IMG_%3.jpg").arg(albums).arg(i / 50).arg(i % 50 * 20 + 7, 4, 10, QLatin1Char('0'));
    const QString thumbs = work / "photos/cells";
    QDir().mkpath(thumbs);
    // The cell over which a picture lies: 320 x 215 pixels.
    QElapsedTimer t;
    t.start();
    QProcess vips;
    vips.start("vipsthumbnail", QStringList(photos) << "--size" << "320x215" << "-o" << thumbs + "/%s.jpg");
    vips.waitForFinished(-1);
    const double vipsMs = double(t.nsecsElapsed()) / 1e6;

    Form1 window(bench::quietServices(work.path(), work / "photos"));
    window.List1->Clear();
    for (int i = 0; i < 2000; ++i)
        window.List1->AddItem(i % 20 < 3 ? photos[(i / 20) * 3 + i % 20]
                                         : QString("/home/user/Documents/archive/%1/report_%2.txt").arg(i / 100).arg(i));
    const double exportMs = bench::paintedMs(window, [&] { window.Command3->click(); });
    const qint64 size = QFile(work / "photos/QuorvelFileSearch.xlsx").size();

    bench::report("vipsthumbnail, 300 cell-size thumbnails (reference)", vipsMs, "ms");
    bench::report("spreadsheet export, 2,000 entries with 300 photos", exportMs, "ms");
    bench::report("ratio export / vipsthumbnail (target <= 2)", exportMs / vipsMs, "x");
    // The 300 photos are links to one file, and identical pictures are stored once,
    // so the workbook for 300 different photos is bounded by adding 299 more copies.
    const qint64 onePicture = listexport::cellPicture(photos[0], QSize(320, 215)).encoded.size();
    bench::report("workbook size as written (identical photos stored once)", double(size) / (1024 * 1024), "MB");
    bench::report("workbook size for 300 different photos (target < 30)",
                  double(size + 299 * onePicture) / (1024 * 1024), "MB");
    return 0;
}
