// Times the selection preview of a 12-megapixel JPEG, and a search that previews
// 300 of them, against vipsthumbnail making the same thumbnails.
#include "BenchSupport.h"
#include "app/Form1.h"
#include "platform/PictureBox.h"
#include "search/ResultList.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>

#include <unistd.h>

namespace {

// A 4000 x 3000 photo-like picture: smooth colour fields with fine noise, which
// compresses like a camera photo rather than like a flat test card.
QString ensurePhoto(const QString &folder)
{
    const QString path = folder + "/photo.jpg";
    if (QFile::exists(path))
        return path;
    QDir().mkpath(folder);
    QImage image(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator random(42);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(random.bounded(48));
            line[x] = qRgb((x / 16 + n) & 255, (y / 12 + n) & 255, ((x + y) / 28 + n) & 255);
        }
    }
    image.save(path, "JPG", 90);
    return path;
}

QString ensureFolderOf300(const QString &photo, const QString &folder)
{
    if (QFile::exists(folder + "/p299.jpg"))
        return folder;
    QDir().mkpath(folder);
    for (int i = 0; i < 300; ++i)
        ::link(QFile::encodeName(photo).constData(), QFile::encodeName(QString("%1/p%2.jpg").arg(folder).arg(i)).constData());
    return folder;
}

double runMs(const QString &program, const QStringList &args)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(program, args);
    p.waitForFinished(-1);
    if (p.exitCode() != 0)
        std::printf("%s failed: %s\n", qPrintable(program), p.readAllStandardError().constData());
    return double(t.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bench::WorkFolder work(argc, argv);
    const QString base = work / "photos";
    const QString photo = ensurePhoto(base);
    const QString many = ensureFolderOf300(photo, base + "/many");
    const QString thumbs = base + "/thumbs";
    QDir().mkpath(thumbs);

    platform::Services services = platform::desktopServices();
    services.quit = [] {};
    services.desktopFolder = base + "/no-desktop";
    Form1 window(std::move(services));
    window.show();
    const QSize box = window.Picture1->innerSize();
    const QString size = QString("%1x%2").arg(box.width()).arg(box.height());

    const double vipsOne = bench::medianMs(5, [&] {
        runMs("vipsthumbnail", {photo, "--size", size, "-o", thumbs + "/one.jpg"});
    });
    window.List1->Clear();
    window.List1->AddItem(photo);
    window.List1->AddItem(photo);
    int which = 0;
    const double selectOne = bench::medianMs(5, [&] { window.List1->setListIndex(which++ % 2); });

    QStringList all;
    for (int i = 0; i < 300; ++i)
        all << QString("%1/p%2.jpg").arg(many).arg(i);
    const double vipsMany = bench::medianMs(1, [&] {
        runMs("vipsthumbnail", QStringList(all) << "--size" << size << "-o" << thumbs + "/%s.jpg");
    });
    window.Check1->setChecked(true);
    window.Check2->setChecked(true);
    window.Text1->setText(many);
    window.Text2->setText("*.jpg");
    const double searchMany = bench::medianMs(1, [&] { window.Command1->click(); });

    std::printf("photo: 4000 x 3000 JPEG, %lld bytes; preview box %s pixels\n",
                static_cast<long long>(QFile(photo).size()), qPrintable(size));
    bench::report("vipsthumbnail, one thumbnail (reference), median of 5", vipsOne, "ms");
    bench::report("selection preview of the photo, both boxes, median of 5", selectOne, "ms");
    bench::report("ratio preview / vipsthumbnail (target <= 1.0)", selectOne / vipsOne, "x");
    bench::report("vipsthumbnail, 300 thumbnails in one run (reference)", vipsMany, "ms");
    bench::report("search previewing 300 photos as found", searchMany, "ms");
    bench::report("ratio search / vipsthumbnail (target <= 1.0)", searchMany / vipsMany, "x");
    return 0;
}
