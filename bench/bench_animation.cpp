// The moving animation of the preview: how fast it shrinks the picture (frames a
// second, as the paint rectangle shows them) and how much of a core it costs,
// on the window as it starts, with a photo selected.
#include "BenchSupport.h"
#include "app/Form1.h"
#include "platform/PictureBox.h"
#include "search/ResultList.h"

#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QString makePhoto(const bench::WorkFolder &work)
{
    QImage image(1600, 1200, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 1600, 1200);
    g.setColorAt(0, Qt::darkBlue);
    g.setColorAt(1, Qt::yellow);
    p.fillRect(image.rect(), g);
    p.end();
    const QString path = work / "animation.jpg";
    image.save(path, "JPG", 90);
    return path;
}

}  // namespace

int main(int argc, char *argv[])
{
    bench::choosePlatform();
    QApplication app(argc, argv);
    const bench::WorkFolder work(argc, argv);
    const QString photo = makePhoto(work);

    Form1 window(bench::quietServices(work.path()));
    window.show();
    bench::waitUntilPainted(window);
    window.List1->Clear();
    window.List1->AddItem(photo);
    window.List1->flushPending();
    window.List1->setListIndex(0);
    bench::waitUntilPainted(window);

    // Frames are counted from the paint rectangle, which shrinks by 3 twips a frame
    // and starts again at twice the box.
    platform::PictureBox &box = *window.Picture1;
    const int reset = 2 * int(box.ScaleWidth() + 0.5);
    long frames = 0;
    int last = box.PaintWidth;
    const auto sample = [&] {
        const int now = box.PaintWidth;
        frames += now <= last ? (last - now) / 3 : last / 3 + (reset - now) / 3 + 1;
        last = now;
    };
    constexpr int kWarmUpMs = 500;
    constexpr int kMeasuredMs = 3000;
    double cpuAtStart = 0;
    QElapsedTimer wall;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, sample);
    bool stopped = false;
    QEventLoop done;
    QTimer::singleShot(kWarmUpMs, [&] {
        sample();
        frames = 0;
        cpuAtStart = cpuSeconds();
        wall.start();
        sampler.start(10);
    });
    double seconds = 0;
    double cpu = 0;
    QTimer::singleShot(kWarmUpMs + kMeasuredMs, [&] {
        sample();
        sampler.stop();
        seconds = double(wall.nsecsElapsed()) / 1e9;
        cpu = cpuSeconds() - cpuAtStart;
        QTest::mouseClick(window.Picture1, Qt::RightButton);  // stops it
        stopped = true;
        done.quit();
    });
    QTest::mouseClick(window.Picture1, Qt::LeftButton);
    if (!stopped)
        done.exec();

    std::printf("platform: %s; box %d x %d twips, a %s photo\n", qPrintable(QGuiApplication::platformName()),
                int(box.ScaleWidth()), int(box.ScaleHeight()), "1600 x 1200");
    bench::report("animation frames a second", double(frames) / seconds, "frames/s");
    bench::report("share of a core it costs (target <= 0.25)", cpu / seconds, "cores");
    return 0;
}
