// Times the selection preview of a 12-megapixel JPEG against vipsthumbnail making
// the same thumbnail, and a search among 20,000 files of which 1,000 are such
// photos, with and without the preview while searching; all to the painted end.
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

#include <fcntl.h>
#include <sys/stat.h>
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

// 20 folders of 1,000 files, 50 of each the photo (as links to it) and the rest text.
QString ensurePhotoTree(const QString &photo, const QString &root)
{
    const QString done = root + "/.complete";
    if (QFile::exists(done))
        return root;
    QDir(root).removeRecursively();
    for (int f = 0; f < 20; ++f) {
        const QString folder = QString("%1/album%2").arg(root).arg(f);
        QDir().mkpath(folder);
        for (int i = 0; i < 1000; ++i) {
            if (i % 20 == 7) {
                const QString name = QString("%1/IMG_%2.jpg").arg(folder).arg(i, 4, 10, QLatin1Char('0'));
                if (::link(QFile::encodeName(photo).constData(), QFile::encodeName(name).constData()) != 0 &&
                    !QFile::copy(photo, name))
                    qFatal("cannot place %s", qPrintable(name));
            } else {
                QFile text(QString("%1/note%2.txt").arg(folder).arg(i));
                text.open(QIODevice::WriteOnly);
                text.write("x");
            }
        }
    }
    QFile(done).open(QIODevice::WriteOnly);
    return root;
}

// A new modification time for the photo and all its links: the preview decodes it
// again instead of redrawing what it kept of it.
void touch(const QString &path)
{
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), nullptr, 0);
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
    bench::choosePlatform();
    QApplication app(argc, argv);
    const bench::WorkFolder work(argc, argv);
    const QString base = work / "photos";
    const QString photo = ensurePhoto(base);
    const QString tree = ensurePhotoTree(photo, base + "/albums");
    const QString thumbs = base + "/thumbs";
    QDir().mkpath(thumbs);

    Form1 window(bench::quietServices(base));
    window.show();
    bench::waitUntilPainted(window);
    const QSize box = window.Picture1->innerSize();
    const QString size = QString("%1x%2").arg(box.width()).arg(box.height());

    const double vipsOne = bench::medianMs(5, [&] {
        runMs("vipsthumbnail", {photo, "--size", size, "-o", thumbs + "/one.jpg"});
    });
    // Two names of the photo, selected in turn: each selection is a new file to decode.
    window.List1->Clear();
    window.List1->AddItem(tree + "/album0/IMG_0007.jpg");
    window.List1->AddItem(tree + "/album0/IMG_0027.jpg");
    int which = 0;
    const double selectOne = bench::medianPaintedMs(window, 5, [&] {
        touch(photo);
        window.List1->setListIndex(which++ % 2);
    });

    window.Text1->setText(tree);
    window.Text2->setText("*.jpg");
    const bool startedWithBoth = window.Check1->isChecked() && window.Check2->isChecked();
    const auto search = [&] {
        touch(photo);
        window.Command1->click();
    };
    const double previewing = bench::medianPaintedMs(window, 5, search);
    const int listed = window.List1->ListCount();
    window.Check2->setChecked(false);
    const double notPreviewing = bench::medianPaintedMs(window, 5, search);
    window.Check2->setChecked(true);

    std::printf("platform: %s; photo: 4000 x 3000 JPEG, %lld bytes; preview box %s pixels\n",
                qPrintable(QGuiApplication::platformName()), static_cast<long long>(QFile(photo).size()),
                qPrintable(size));
    bench::report("vipsthumbnail, one thumbnail (reference), median of 5", vipsOne, "ms");
    bench::report("selection preview of the photo, click to painted, median of 5", selectOne, "ms");
    bench::report("ratio preview / vipsthumbnail (target <= 1.0)", selectOne / vipsOne, "x");
    std::printf("search of 20,000 files for \"*.jpg\": %d photos listed; start-up settings: %s\n", listed,
                startedWithBoth ? "yes" : "NO");
    bench::report("search, preview while searching off, median of 5", notPreviewing, "ms");
    bench::report("reference: that plus one preview", notPreviewing + selectOne, "ms");
    bench::report("search, preview while searching on (start-up), median of 5", previewing, "ms");
    bench::report("ratio preview on / reference (target <= 1.5)", previewing / (notPreviewing + selectOne), "x");
    return 0;
}
