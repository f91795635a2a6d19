// The preview on a screen at 200 %: one bitmap pixel per screen pixel, while the
// paint arithmetic stays in logical units. Runs with QT_SCALE_FACTOR=2.
#include "TestSupport.h"
#include "app/Form1.h"
#include "platform/PictureBox.h"
#include "search/ResultList.h"

#include <QtTest>

using testing::FakeServices;
using testing::TempTree;

namespace {

// A picture whose colour changes across every column, so that a preview drawn
// at half resolution shows as pairs of equal pixels.
QString fineGradient(TempTree &t, const char *name, const char *format)
{
    QImage image(1200, 900, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / image.width(), 60, 255 - y * 255 / image.height()));
    const QString path = t.file(name);
    image.save(path, format, 100);
    return path;
}

// Whether neighbouring device pixels along a row differ, somewhere in the middle.
bool hasDevicePixelDetail(const QImage &image)
{
    const int y = image.height() / 3;
    int differing = 0;
    for (int x = image.width() / 4; x + 1 < image.width() / 2; x += 2)
        if (image.pixel(x, y) != image.pixel(x + 1, y))
            ++differing;
    return differing > 10;
}

// A window on the screen with `picture` clicked in its list, after another entry.
std::unique_ptr<Form1> previewing(FakeServices &fakes, const QString &picture)
{
    auto w = testing::makeWindow(fakes);
    testing::user::show(*w);
    testing::fillList(*w, {"/x.txt", picture});
    testing::user::clickEntry(*w, 1);
    if (!testing::settled(*w))
        qWarning("the preview did not settle");
    return w;
}

}  // namespace

class TestHighDensity : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (qApp->devicePixelRatio() < 2)
            QSKIP("needs QT_SCALE_FACTOR=2");
    }

    void aPictureIsDrawnWithEveryScreenPixel()
    {
        TempTree t;
        const QString jpg = fineGradient(t, "fine.jpg", "JPG");
        FakeServices fakes;
        const auto w = previewing(fakes, jpg);
        const QImage &canvas = w->Picture1->canvasImage();
        QCOMPARE(canvas.devicePixelRatio(), 2.0);
        QCOMPARE(canvas.size(), w->Picture1->innerSize() * 2);
        QVERIFY(hasDevicePixelDetail(canvas));
        // The logical arithmetic is the same as at 100 %: the paint rectangle is
        // twice the box's inner size in twips.
        QCOMPARE(int(w->Picture1->PaintWidth), qRound(2 * w->Picture1->ScaleWidth()));
    }

    void aPngFillsTheBoxAtDeviceResolution()
    {
        TempTree t;
        const QString png = fineGradient(t, "fine.png", "PNG");
        FakeServices fakes;
        const auto w = previewing(fakes, png);
        const QImage &picture = w->Picture1->picture();
        QCOMPARE(picture.size(), w->Picture1->innerSize() * 2);
        QCOMPARE(picture.deviceIndependentSize().toSize(), w->Picture1->innerSize());
        QVERIFY(hasDevicePixelDetail(picture));
    }
};

QTEST_MAIN(TestHighDensity)
#include "test_high_density.moc"
