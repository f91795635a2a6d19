#include "TestSupport.h"
#include "app/Form1.h"
#include "preview/AnimatedPreview.h"
#include "preview/DecoderClient.h"
#include "preview/Decoding.h"
#include "preview/Metafile.h"
#include "preview/Picture.h"
#include "platform/PictureBox.h"
#include "preview/PictureDecoder.h"
#include "preview/PictureLoader.h"
#include "platform/WorkerThread.h"
#include "preview/SelectionPreview.h"
#include "search/ResultList.h"
#include "search/WalkSession.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QProcess>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtEndian>

#include <array>
#include <QtTest>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

#include <atomic>
#include <csignal>
#include <cstring>
#include <future>

using namespace preview;
using testing::FakeServices;
using testing::TempTree;

namespace {

std::uint32_t readUint32At(const QByteArray &bytes, qsizetype at)
{
    std::uint32_t v = 0;
    std::memcpy(&v, bytes.constData() + at, 4);
    return v;
}

bool near(QRgb a, QColor b, int tolerance = 40)
{
    return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance &&
           std::abs(qBlue(a) - b.blue()) <= tolerance;
}

QString writeJpeg(TempTree &t, const QString &name, QSize size, QColor top, QColor bottom)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        const double f = double(y) / size.height();
        const QColor c = QColor::fromRgbF(top.redF() * (1 - f) + bottom.redF() * f, top.greenF() * (1 - f) + bottom.greenF() * f,
                                          top.blueF() * (1 - f) + bottom.blueF() * f);
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, c.rgb());
    }
    const QString path = t.file(name);
    image.save(path, "JPG", 90);
    return path;
}

void rightClick(Form1 &w)
{
    testing::user::click(w.Picture1, Qt::RightButton);
}

void leftClick(Form1 &w)
{
    testing::user::click(w.Picture1, Qt::LeftButton);
}

}  // namespace

class TestPictures : public QObject {
    Q_OBJECT
private slots:
    void loadsEveryKindFromRealProducers_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("jpg") << "gradient.jpg" << 5292 << 3969;
        QTest::newRow("bmp") << "gradient.bmp" << 5292 << 3969;
        QTest::newRow("gif") << "anim.gif" << 1588 << 1058;
        QTest::newRow("ico") << "multi.ico" << 847 << 847;
        QTest::newRow("emf") << "shapes.emf" << 9855 << 7209;
    }
    void loadsEveryKindFromRealProducers()
    {
        QFETCH(QString, file);
        QFETCH(int, width);
        QFETCH(int, height);
        const Picture p = LoadPicture(testing::testData(file.toLatin1().constData()));
        QVERIFY(!p.isEmpty());
        QCOMPARE(p.Width, width);
        QCOMPARE(p.Height, height);
    }

    void metafilesDrawTheirShapes()
    {
        for (const char *file : {"shapes.emf", "shapes.wmf"}) {
            const Picture p = LoadPicture(testing::testData(file));
            QVERIFY2(p.fromDrawing(), file);
            QVERIFY(p.Width > 1000 && p.Height > 1000);
            QImage canvas(400, 300, QImage::Format_RGB32);
            canvas.fill(Qt::white);
            QPainter painter(&canvas);
            p.draw(painter, QRectF(0, 0, 400, 300));
            painter.end();
            // Red rectangle top left, blue circle top right, green triangle at the bottom.
            int red = 0, blue = 0, green = 0;
            for (int y = 0; y < 300; y += 3)
                for (int x = 0; x < 400; x += 3) {
                    const QRgb c = canvas.pixel(x, y);
                    if (qRed(c) > 180 && qGreen(c) < 100 && qBlue(c) < 100 && x < 200 && y < 150)
                        ++red;
                    if (qBlue(c) > 180 && qRed(c) < 120 && qGreen(c) < 150 && x >= 200 && y < 150)
                        ++blue;
                    if (qGreen(c) > 100 && qRed(c) < 100 && qBlue(c) < 120 && y >= 150)
                        ++green;
                }
            QVERIFY2(red > 100 && blue > 100 && green > 100,
                     qPrintable(QString("%1: red %2 blue %3 green %4").arg(file).arg(red).arg(blue).arg(green)));
        }
    }

    // Each kind is read by its own decoder, by what the file holds: the six-kind
    // loader reads JPG, BMP, GIF, ICO and the metafiles, the PNG route PNG alone.
    // A PNG, SVG, TIFF or WebP under a picture's name is no picture.
    void eachKindByItsOwnDecoder()
    {
        TempTree t;
        const auto disguised = [&t](const char *format, const char *name) {
            QImage image(64, 48, QImage::Format_RGB32);
            image.fill(Qt::red);
            const QString path = t.root() + name;
            QImageWriter writer(path, format);
            return writer.write(image) ? path : QString();
        };
        for (const auto &[format, name] : {std::pair{"png", "png.jpg"}, std::pair{"tiff", "tiff.jpg"},
                                           std::pair{"webp", "webp.bmp"}, std::pair{"png", "png.gif"}}) {
            const QString path = disguised(format, name);
            if (path.isEmpty())
                continue;  // this machine writes no such file
            QVERIFY_THROWS_EXCEPTION(PictureError, LoadPicture(path));
        }
        QVERIFY(QFile::copy(testing::testData("shapes.svg"), t.root() + "svg.jpg"));
        QVERIFY_THROWS_EXCEPTION(PictureError, LoadPicture(t.root() + "svg.jpg"));
        QVERIFY_THROWS_EXCEPTION(PictureError, LoadPicture(testing::testData("alpha.png")));
        // A JPEG named .bmp is a JPEG: the content decides.
        QVERIFY(QFile::copy(testing::testData("gradient.jpg"), t.root() + "jpeg.bmp"));
        QVERIFY(!LoadPicture(t.root() + "jpeg.bmp").isEmpty());
        // The PNG route reads a PNG, and a JPEG named .png not at all.
        QCOMPARE(Module2::DecodePicture(testing::testData("alpha.png")).size(), QSize(120, 80));
        QVERIFY(QFile::copy(testing::testData("gradient.jpg"), t.root() + "jpeg.png"));
        QVERIFY_THROWS_EXCEPTION(PictureError, Module2::DecodePicture(t.root() + "jpeg.png"));
        // The helper's first look at a file's head and its decoders each keep to the route's kinds.
        const QByteArray png = testing::readFile(testing::testData("alpha.png"));
        const decoding::Request picture;
        QCOMPARE(decoding::usableLength(picture, png, png.size()), 0);
        QVERIFY(decoding::decode(picture, png).image.isNull());
    }

    // Every picture is decoded in the helper, which confines itself on every thread:
    // once confined it can open no file, make no socket, start no process, signal
    // or limit no other process, and holds nothing its starter left open.
    void theHelperIsConfined()
    {
        const QString helper = DecoderClient::decoderHelperPath();
        QVERIFY(!helper.isEmpty());
        // A file left open for it, as a careless starter would.
        TempTree t;
        const QString leftOpen = t.file("left-open");
        const int fd = ::open(QFile::encodeName(leftOpen).constData(), O_RDWR);  // inherited: no O_CLOEXEC
        QVERIFY(fd >= 0);
        struct stat st {};
        QVERIFY(::fstat(fd, &st) == 0);
        const QByteArray program = QFile::encodeName(helper);
        char *const argv[] = {const_cast<char *>(program.constData()), const_cast<char *>("--probe-confinement"), nullptr};
        int out[2];
        QVERIFY(::pipe2(out, O_CLOEXEC) == 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        pid_t pid = -1;
        QCOMPARE(::posix_spawn(&pid, program.constData(), &actions, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(fd);
        QFile reader;
        QVERIFY(reader.open(out[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
        const QString said = QString::fromLocal8Bit(reader.readAll());
        int status = 0;
        QCOMPARE(::waitpid(pid, &status, 0), pid);
        QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, qPrintable(said));
        QVERIFY(said.contains("open: Operation not permitted"));
        QVERIFY(said.contains("socket: Operation not permitted"));
        QVERIFY(said.contains("fork: refused"));
        QVERIFY(said.contains("signal another process: refused (Operation not permitted)"));
        QVERIFY(said.contains("limit of another process: refused (Operation not permitted)"));
        QVERIFY(said.contains("own limit: read"));
        const QRegularExpressionMatch confined = QRegularExpression("threads confined: (\\d+) of (\\d+)").match(said);
        QVERIFY2(confined.hasMatch() && confined.captured(1) == confined.captured(2) && confined.captured(2).toInt() > 1,
                 qPrintable(said));
        QVERIFY2(!said.contains(QString("=%1:%2").arg(st.st_dev).arg(st.st_ino)), qPrintable(said));

        // A helper at work: every one of its threads is filtered, without new privileges.
        DecoderClient client;
        client.keepSpare(false);
        QVERIFY(client.decode(testing::testData("gradient.jpg"), decoding::Request{}));
        const QDir tasks(QString("/proc/%1/task").arg(client.helperProcess()));
        const QStringList threads = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QVERIFY(threads.size() > 1);  // the toolkit's pool started before the confinement
        for (const QString &thread : threads) {
            const QByteArray status = testing::readFile(tasks.filePath(thread + "/status"));
            QVERIFY2(status.contains("\nSeccomp:\t2\n"), qPrintable(thread));
            QVERIFY2(status.contains("\nNoNewPrivs:\t1\n"), qPrintable(thread));
        }
    }

    // A helper killed, crashing, hanging, missing or talking nonsense costs only
    // the picture it was decoding; the next picture gets a new helper.
    void aHelperThatFailsCostsOnlyItsPicture()
    {
        const QString jpeg = testing::testData("gradient.jpg");
        decoding::Request request;
        DecoderClient client;
        QVERIFY(client.decode(jpeg, request));
        const pid_t first = client.helperProcess();
        QVERIFY(first > 0);
        QVERIFY(client.decode(jpeg, request));
        QCOMPARE(client.helperProcess(), first);  // kept for the next picture
        ::kill(first, SIGKILL);
        QTRY_VERIFY(testing::processEnded(first));
        QVERIFY(client.decode(jpeg, request));  // the next picture gets a new helper
        QVERIFY(client.helperProcess() != first);

        // Both the working helper and the spare gone while idle: the next picture
        // still shows.
        client.keepSpare(true);
        QVERIFY(client.decode(jpeg, request));
        const pid_t working = client.helperProcess(), spare = client.spareProcess();
        QVERIFY(working > 0 && spare > 0);
        ::kill(working, SIGKILL);
        ::kill(spare, SIGKILL);
        QTRY_VERIFY(testing::processEnded(working) && testing::processEnded(spare));
        QVERIFY(client.decode(jpeg, request));
        QVERIFY(client.helperProcess() != working && client.helperProcess() != spare);

        TempTree t;
        const auto helper = [&t](const char *name, const QByteArray &script) {
            const QString path = t.file(name, "#!/bin/sh\n" + script + "\n");
            QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            return path;
        };
        // Each of these is the helper's failure, not the picture's: it is worth asking again.
        const auto failsInTheHelper = [&](DecoderClient &&failing, int timeoutMs = 10000) {
            return !failing.decode(jpeg, request, {}, timeoutMs) && failing.helperFailed();
        };
        QVERIFY(failsInTheHelper(DecoderClient(helper("crashes", "kill -SEGV $$"))));
        QVERIFY(failsInTheHelper(DecoderClient(helper("garbles", "head -c 100 /dev/zero >&3"))));
        QVERIFY(failsInTheHelper(DecoderClient(t.root() + "missing")));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(failsInTheHelper(DecoderClient(helper("hangs", "exec sleep 60")), 300));
        QVERIFY(timer.elapsed() < 3000);
        // A picture no one waits for any more stops at once.
        timer.restart();
        DecoderClient slow(helper("slow", "exec sleep 60"));
        QVERIFY(!slow.decode(jpeg, request, [] { return true; }));
        QVERIFY(timer.elapsed() < 1000);
        QVERIFY(!slow.helperFailed());
        // Only a regular file is handed over; what is no picture is the picture's failure.
        QVERIFY(!client.decode("/dev/zero", request));
        QVERIFY(!client.helperFailed());
        QVERIFY(!client.decode(t.file("not-a-picture.jpg", "plain text"), request));
        QVERIFY(!client.helperFailed());
    }

    // The metafile converters keep state from one drawing to the next: a helper
    // that converted a drawing is not kept for the next picture.
    void eachDrawingHasAHelperOfItsOwn()
    {
        DecoderClient client;
        client.keepSpare(false);
        const decoding::Request picture;
        QVERIFY(client.decode(testing::testData("gradient.jpg"), picture));
        const pid_t first = client.helperProcess();
        QVERIFY(first > 0);
        const decoding::Request drawing{decoding::kMagic, decoding::Route::Picture, decoding::Metafile::Emf, 200, 150};
        QVERIFY(client.decode(testing::testData("shapes.emf"), drawing));
        QCOMPARE(client.helperProcess(), -1);
        QVERIFY(client.decode(testing::testData("gradient.jpg"), picture));
        QVERIFY(client.helperProcess() > 0 && client.helperProcess() != first);
        const pid_t kept = client.helperProcess();
        QVERIFY(client.decode(testing::testData("gradient.jpg"), picture));
        QCOMPARE(client.helperProcess(), kept);  // pictures share one
    }

    // Every input that ever crashed a decoder or tripped a sanitizer while fuzzing
    // (scripts/fuzz.sh) is replayed through the helper: each costs at most its
    // picture, within the time allowed, and the next picture decodes.
    void fuzzedInputsCostOnlyTheirPicture()
    {
        const std::pair<const char *, decoding::Request> routes[] = {
            {"picture", {decoding::kMagic, decoding::Route::Picture, decoding::Metafile::None, 200, 150}},
            {"png", {decoding::kMagic, decoding::Route::Png, decoding::Metafile::None, 200, 150}},
            {"emf", {decoding::kMagic, decoding::Route::Picture, decoding::Metafile::Emf, 200, 150}},
            {"wmf", {decoding::kMagic, decoding::Route::Picture, decoding::Metafile::Wmf, 200, 150}}};
        DecoderClient client;
        int replayed = 0;
        for (const auto &[folder, request] : routes) {
            const QDir inputs(QStringLiteral(QUORVEL_FUZZ_REGRESSIONS "/") + folder);
            for (const QString &name : inputs.entryList(QDir::Files)) {
                QElapsedTimer timer;
                timer.start();
                (void)client.decode(inputs.filePath(name), request, {}, 10000);
                QVERIFY2(timer.elapsed() < 11000, qPrintable(name));
                ++replayed;
            }
        }
        QVERIFY(replayed > 0);
        QVERIFY(client.decode(testing::testData("gradient.jpg"), routes[0].second));
    }

    void metafileHeadersAreChecked()
    {
        QFile emf(testing::testData("shapes.emf"));
        QVERIFY(emf.open(QIODevice::ReadOnly));
        const QByteArray bytes = emf.readAll();
        QVERIFY(emfToSvg("not a metafile").svg.isEmpty());
        QVERIFY(wmfToSvg(QByteArray(64, '\0')).svg.isEmpty());

        // A header whose frame is wider than an int holds, or reversed, is no picture.
        const auto withFrame = [&bytes](std::int32_t left, std::int32_t right) {
            QByteArray patched = bytes;
            std::memcpy(patched.data() + 24, &left, 4);
            std::memcpy(patched.data() + 32, &right, 4);
            return patched;
        };
        QVERIFY(emfToSvg(withFrame(-2'000'000'000, 2'000'000'000)).svg.isEmpty());
        QVERIFY(emfToSvg(withFrame(500, 100)).svg.isEmpty());
        QCOMPARE(emfToSvg(withFrame(0, 9855)).himetric, QSize(9855, 7209));

        // Sizes the converter would read past: the header's description, a record,
        // an EMF+ record inside its comment. Each is refused before it is converted.
        const auto patched = [&bytes](qsizetype at, std::uint32_t value) {
            QByteArray p = bytes;
            std::memcpy(p.data() + at, &value, 4);
            return p;
        };
        QVERIFY(!emfToSvg(bytes).svg.isEmpty());
        QVERIFY(emfToSvg(patched(60, 0x7fffffff)).svg.isEmpty());                    // description length
        QVERIFY(emfToSvg(patched(64, std::uint32_t(bytes.size()))).svg.isEmpty());  // and offset, with one character
        QVERIFY(emfToSvg(patched(60, 1)).svg.isEmpty());
        qsizetype record = readUint32At(bytes, 4), plusRecord = -1;
        while (record < bytes.size() && plusRecord < 0) {
            if (readUint32At(bytes, record) == 70 && readUint32At(bytes, record + 12) == 0x2B464D45)
                plusRecord = record;
            else
                record += readUint32At(bytes, record + 4);
        }
        QVERIFY(plusRecord > 0);  // the sample holds EMF+ records
        QVERIFY(emfToSvg(patched(plusRecord + 4, 0x7ffffff0)).svg.isEmpty());    // the comment past the end
        QVERIFY(emfToSvg(patched(plusRecord + 8, 0x7ffffff0)).svg.isEmpty());    // its data past the comment
        QVERIFY(emfToSvg(patched(plusRecord + 16 + 4, 0xfff0)).svg.isEmpty());   // an EMF+ record past its comment
        QVERIFY(emfToSvg(patched(plusRecord + 16 + 8, 0xfff0)).svg.isEmpty());   // its data past itself
        QVERIFY(emfToSvg(bytes.left(bytes.size() - 4)).svg.isEmpty());            // the last record cut short
        // The converter reads records until the end-of-file record: without one it
        // reads past the file; after it, nothing.
        qsizetype eof = 0;
        while (eof < bytes.size() && readUint32At(bytes, eof) != 14)
            eof += readUint32At(bytes, eof + 4);
        QVERIFY(eof > 0 && eof < bytes.size());
        QVERIFY(emfToSvg(bytes.left(eof)).svg.isEmpty());
        QVERIFY(!emfToSvg(bytes + QByteArray(64, '\xff')).svg.isEmpty());

        // Every EMF+ object record carries data, and an object continued over
        // several records comes whole: the converter gathers the bytes of every
        // object in a buffer it keeps from file to file.
        const auto withPlusRecords = [&bytes](std::initializer_list<std::pair<qsizetype, std::array<std::uint32_t, 3>>> edits) {
            QByteArray p = bytes;
            for (const auto &[at, fields] : edits)
                std::memcpy(p.data() + at, fields.data(), 12);
            return p;
        };
        // The sample's first EMF+ records: its header (28 bytes, 16 of data) and, in
        // the next comment, records of 12 bytes at 168 and 180; each may become
        // (a piece of) object 1.
        QCOMPARE(readUint32At(bytes, 124), 0x4001u | (1u << 16));
        QCOMPARE(readUint32At(bytes, 168) & 0xFFFF, 0x4022u);
        const std::uint32_t continued = 0x4008u | (0x8001u << 16), whole = 0x4008u | (0x0001u << 16);
        QVERIFY(!emfToSvg(withPlusRecords({{124, {whole, 28, 16}}})).svg.isEmpty());
        QVERIFY(emfToSvg(withPlusRecords({{124, {whole, 28, 0}}})).svg.isEmpty());  // an object without data
        // The converter takes any type whose low six bits are an object's for one.
        QVERIFY(emfToSvg(withPlusRecords({{124, {0x4048u | (0x0009u << 16), 28, 0}}})).svg.isEmpty());
        QVERIFY(emfToSvg(withPlusRecords({{124, {0x0008u | (0x0001u << 16), 28, 0}}})).svg.isEmpty());
        // A continued object never finished: broken off by another record (at 168).
        QVERIFY(emfToSvg(withPlusRecords({{124, {continued, 28, 16}}})).svg.isEmpty());
    }

    void firstFrameAndIconSize()
    {
        const Picture gif = LoadPicture(testing::testData("anim.gif"));
        QVERIFY(near(gif.image().pixel(30, 20), QColor(255, 0, 0), 60));
        QCOMPARE(LoadPicture(testing::testData("multi.ico")).decodedSize(), QSize(32, 32));
    }

    void decodesOnlyWhatIsShown()
    {
        TempTree t;
        const QString big = writeJpeg(t, "big.jpg", QSize(2000, 1500), Qt::yellow, Qt::blue);
        const Picture p = LoadPicture(big, QSize(300, 240));
        QCOMPARE(p.decodedSize(), QSize(300, 240));
        QCOMPARE(p.Width, 52917);  // the natural size still counts
        QCOMPARE(LoadPicture(big, QSize(4000, 4000)).decodedSize(), QSize(2000, 1500));
    }

    void badInputFailsCleanly()
    {
        TempTree t;
        QFile jpeg(testing::testData("gradient.jpg"));
        QVERIFY(jpeg.open(QIODevice::ReadOnly));
        const QByteArray bytes = jpeg.readAll();
        const QString truncated = t.file("truncated.jpg", bytes.left(bytes.size() / 2));
        const QString empty = t.file("empty.jpg");
        const QString text = t.file("text.png", "this is not a picture");
        const QString textJpg = t.file("text.jpg", "this is not a picture");
        // A header claiming 30,000 x 30,000 pixels, with almost nothing behind it.
        QByteArray huge = bytes;
        const qsizetype sof = huge.indexOf("\xff\xc0");
        QVERIFY(sof > 0);
        huge[sof + 5] = char(30000 >> 8);
        huge[sof + 6] = char(30000 & 0xff);
        huge[sof + 7] = char(30000 >> 8);
        huge[sof + 8] = char(30000 & 0xff);
        const QString hugeJpg = t.file("huge.jpg", huge);
        QByteArray png;
        {
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            QImage(4, 4, QImage::Format_RGB32).save(&buffer, "PNG");
        }
        png[16] = 0, png[17] = 0, png[18] = char(0x75), png[19] = char(0x30);  // width 30000
        png[20] = 0, png[21] = 0, png[22] = char(0x75), png[23] = char(0x30);  // height 30000
        const QString hugePng = t.file("huge.png", png);

        try {
            LoadPicture(truncated, QSize(100, 100));  // may give what it could decode, never crashes
        } catch (const PictureError &) {
        }
        for (const QString &bad : {empty, text, textJpg, t.root() + "vanished.jpg"})
            QVERIFY_THROWS_EXCEPTION(PictureError, LoadPicture(bad));
        QElapsedTimer timer;
        timer.start();
        try {
            LoadPicture(hugeJpg, QSize(300, 240));
        } catch (const PictureError &) {
        }
        try {
            LoadPicture(hugePng, QSize(300, 240));
        } catch (const PictureError &) {
        }
        QVERIFY(timer.elapsed() < 5000);

        try {
            Module2::LoadPictureScaled(text, 10, 10, qRgb(255, 255, 255));
            QFAIL("a text file decoded as a picture");
        } catch (const PictureError &e) {
            QCOMPARE(e.Number, 999);
            QCOMPARE(e.Source, QString("GDI+ Module"));
            QCOMPARE(e.Description, "Error loading picture " + text);
        }
    }

    void pngLoaderStretchesOverWhite()
    {
        const QImage bitmap = Module2::LoadPictureScaled(testing::testData("alpha.png"), 60, 90, qRgb(255, 255, 255));
        QCOMPARE(bitmap.size(), QSize(60, 90));
        // The ground is transparent, so white; the half-transparent blue blends with it.
        QVERIFY(near(bitmap.pixel(1, 1), Qt::white, 8));
        const QRgb middle = bitmap.pixel(30, 45);
        QVERIFY(qBlue(middle) > 200 && qRed(middle) < 200 && qRed(middle) > 60);

        PictureBox box;
        box.resize(120, 50);
        Module2::LoadPictureIntoBox(testing::testData("alpha.png"), box);
        QCOMPARE(box.picture().size(), box.innerSize());
        const QImage before = box.picture();
        QVERIFY_THROWS_EXCEPTION(PictureError, Module2::LoadPictureIntoBox(testing::testData("../CMakeLists.txt"), box));
        QCOMPARE(box.picture(), before);
    }

    void extensionRules()
    {
        QCOMPARE(extensionOf("c:/pics/Photo.Jpg"), QString("JPG"));
        QCOMPARE(extensionOf("c:/pics/photo.jpeg"), QString("JPEG"));
        QCOMPARE(extensionOf("/old.pics/readme"), QString("PICS/README"));
        QCOMPARE(extensionOf("/release/readme"), QString("/RELEASE/README"));
        QVERIFY(isPictureExtension(extensionOf("/A/IMG.png")));
        QVERIFY(isPictureExtension(extensionOf("/A/img.PNG")));
        QVERIFY(!isPictureExtension(extensionOf("/A/img.jpeg")));
        QVERIFY(!isOfficeExtension(extensionOf("/A/img.jpeg")));
        for (const char *office : {"/d/sheet.xlsx", "/d/x.csv", "/d/slides.pps", "/d/a.doc", "/d/a.dot"})
            QVERIFY2(isOfficeExtension(extensionOf(office)), office);
        QVERIFY(!isOfficeExtension(extensionOf("/d/x.txt")));
    }

    void selectionPreviewsAJpeg()
    {
        TempTree t;
        const QString jpg = writeJpeg(t, "photo.jpg", QSize(400, 300), Qt::yellow, Qt::blue);
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        w->Text5->show();
        const QStringList entries{t.root() + "a.txt", t.root() + "b.txt", jpg, t.root() + "d.txt"};
        testing::fillList(*w, entries, 2);
        QCOMPARE(w->Label4->text(), QString("3 from 4"));
        QVERIFY(w->Text5->isHidden());
        QCOMPARE(w->Picture1->PaintWidth, std::int16_t(qRound(2 * w->Picture1->ScaleWidth())));
        QCOMPARE(w->Picture1->PaintHeight, std::int16_t(qRound(2 * w->Picture1->ScaleHeight())));
        QCOMPARE(w->Picture1->toolTip(), jpg);
        QCOMPARE(w->List1->toolTip(), jpg);
        QVERIFY(w->Picture1->picture().isNull());
        // Drawn from the top-left corner, 1440/2540 of twice the box: beyond the box on both sides.
        const QImage shown = w->Picture1->rendered();
        QVERIFY(near(shown.pixel(2, 2), Qt::yellow));
        const int bottom = shown.height() - 1;
        const double reached = double(bottom) / (shown.height() * 2 * 1440.0 / 2540.0);
        QVERIFY(near(shown.pixel(2, bottom), QColor::fromRgbF(1 - reached, 1 - reached, reached), 50));
        QVERIFY(w->Command10->isHidden());  // no search has ended yet
        testing::endASearch(*w);
        testing::fillList(*w, entries, 2);
        QVERIFY(!w->Command10->isHidden());
    }

    void selectionOfOtherEntries()
    {
        TempTree t;
        const QString jpg = writeJpeg(t, "photo.jpg", QSize(40, 30), Qt::red, Qt::red);
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::endASearch(*w);
        testing::fillList(*w, {jpg, "/data/sheet.xlsx", "/data/x.txt", "/data/y.jpeg"}, 0);
        const QImage picture2 = w->Picture2->rendered();
        w->List1->setListIndex(1);
        QVERIFY(testing::settled(*w));
        QVERIFY(!w->Label2->isHidden());
        QCOMPARE(w->Label2->text(), QString("Office File"));
        QVERIFY(w->Command10->isHidden());
        w->List1->setListIndex(2);
        QVERIFY(testing::settled(*w));
        QCOMPARE(w->Label2->text(), QString());
        QVERIFY(!w->Label2->isHidden());  // left shown, with an empty caption
        w->List1->setListIndex(3);
        QVERIFY(testing::settled(*w));
        QCOMPARE(w->Picture2->rendered(), picture2);  // the pictures stay as they were
        QCOMPARE(w->Label4->text(), QString("4 from 4"));
        w->List1->setListIndex(-1);
        QVERIFY(testing::settled(*w));
        QCOMPARE(w->Label4->text(), QString("0 from 4"));
        w->List1->Clear();
        testing::user::show(*w);
        w->resize(w->size() + QSize(10, 10));  // the layout previews again
        QTRY_COMPARE(w->Label4->text(), QString("0 from 0"));
    }

    void aFailingPictureClearsOnlyThePreviewBox()
    {
        TempTree t;
        const QString good = writeJpeg(t, "good.jpg", QSize(40, 30), Qt::red, Qt::red);
        const QString bad = t.file("bad.jpg", "not a jpeg");
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {good, bad}, 0);
        const QImage picture2 = w->Picture2->rendered();
        w->List1->setListIndex(1);
        QVERIFY(testing::settled(*w));
        QCOMPARE(w->Picture2->rendered(), picture2);
        QVERIFY(w->Picture1->canvasImage().isNull() || w->Picture1->rendered().pixel(3, 3) != picture2.pixel(3, 3));
        QCOMPARE(w->Picture1->toolTip(), bad);
        QCOMPARE(w->Label4->text(), QString("2 from 2"));
    }

    void pngSelectionFillsBothBoxes()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        const QString tip = w->Picture1->toolTip();
        testing::fillList(*w, {testing::testData("alpha.png")}, 0);
        QCOMPARE(w->Picture1->picture().size(), w->Picture1->innerSize());
        QCOMPARE(w->Picture2->picture().size(), w->Picture2->innerSize());
        QCOMPARE(w->Picture1->toolTip(), tip);
        QVERIFY(near(w->Picture1->picture().pixel(1, 1), Qt::white, 8));
    }

    void previewWhileSearching()
    {
        TempTree t;
        writeJpeg(t, "one.jpg", QSize(40, 30), Qt::red, Qt::red);
        writeJpeg(t, "sub/two.jpg", QSize(40, 30), Qt::green, Qt::green);
        FakeServices fakes;
        fakes.fileSystem->hangIn("/sub/");  // each folder's entries reach the window on their own
        auto w = testing::makeWindow(fakes);
        QStringList previewed;
        bool buttonShownDuringSearch = false;
        connect(w->List1, &search::ResultList::Click, w.get(), [&] {
            previewed.append(w->Label4->text());
            buttonShownDuringSearch |= !w->Command10->isHidden();
        });
        w->Text1->setText(t.root());
        w->Text2->setText("*.jpg");
        w->Command1->click();
        QTRY_COMPARE(previewed, QStringList{"1 from 1"});
        fakes.fileSystem->release();
        QVERIFY(testing::settled(*w));
        QCOMPARE(previewed, (QStringList{"1 from 1", "2 from 2"}));
        QVERIFY(!buttonShownDuringSearch);
        w->List1->setListIndex(0);
        QVERIFY(testing::settled(*w));
        QVERIFY(!w->Command10->isHidden());
    }

    void animationStartsAndStops()
    {
        TempTree t;
        const QString jpg = writeJpeg(t, "photo.jpg", QSize(80, 60), Qt::red, Qt::blue);
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);

        w->List1->Clear();
        leftClick(*w);  // an empty list: no animation (the button's release marks it stopped)
        QVERIFY(w->Label3->isHidden());
        QCOMPARE(w->animation().state(), preview::AnimationStates::Stopped);

        testing::fillList(*w, {jpg}, 0);
        const std::int16_t start = w->Picture1->PaintWidth;
        leftClick(*w);
        QCOMPARE(w->animation().state(), preview::AnimationStates::Running);
        QVERIFY(!w->Label3->isHidden());
        QTRY_VERIFY(w->Picture1->PaintWidth < start);  // it runs while the window waits for events
        // A second left click starts it afresh: it keeps running.
        leftClick(*w);
        QCOMPARE(w->animation().state(), preview::AnimationStates::Running);
        QVERIFY(!w->Label3->isHidden());
        QTRY_VERIFY(w->Picture1->PaintWidth < start);  // a frame of the new run
        rightClick(*w);  // stops it
        QCOMPARE(w->animation().state(), preview::AnimationStates::Stopped);
        QVERIFY(w->Label3->isHidden());
        const std::int16_t stoppedAt = w->Picture1->PaintWidth;
        QVERIFY(stoppedAt < start);
        QCOMPARE((start - stoppedAt) % 3, 0);
        QTest::qWait(50);
        QCOMPARE(w->Picture1->PaintWidth, stoppedAt);  // no frame after the stop

        // A right click with nothing running starts one; the next right click stops it.
        rightClick(*w);
        QCOMPARE(w->animation().state(), preview::AnimationStates::Running);
        QTRY_VERIFY(w->Picture1->PaintWidth != stoppedAt);
        rightClick(*w);
        QCOMPARE(w->animation().state(), preview::AnimationStates::Stopped);
        QCOMPARE(fakes.quitRequests, 0);  // the program is not ended by the animation
    }

    // The animation holds nothing up: a search started while it runs lists
    // everything while frames go on being drawn.
    void aSearchRunsWhileTheAnimationRuns()
    {
        TempTree t;
        const QString jpg = writeJpeg(t, "photo.jpg", QSize(80, 60), Qt::red, Qt::blue);
        t.files("tree/d%1/f.txt", 60);
        FakeServices fakes;
        fakes.fileSystem->hangIn("/d30/");  // the walk is held half way
        auto w = testing::makeWindow(fakes);
        testing::user::show(*w);
        testing::fillList(*w, {jpg}, 0);
        w->Check2->setChecked(false);
        leftClick(*w);
        QVERIFY(w->animation().running());
        testing::user::startSearch(*w, t.root() + "tree", "*.txt");
        QTRY_COMPARE(fakes.fileSystem->hanging(), 1);
        // Frames go on being drawn while the walk runs.
        QSet<int> widthsDuringSearch;
        QTRY_VERIFY([&] {
            widthsDuringSearch.insert(w->Picture1->PaintWidth);
            return widthsDuringSearch.size() >= 3;
        }());
        QVERIFY(w->walkSession().walking());
        fakes.fileSystem->release();
        QVERIFY(testing::settled(*w));
        QCOMPARE(w->List1->ListCount(), 60);
        QVERIFY(w->animation().running());
        rightClick(*w);
    }

    void picturesUpToAHundredMegapixelsLoad()
    {
        // Larger than the toolkit's own limit of 128 MB decoded, within ours.
        TempTree t;
        QImage big(6200, 6200, QImage::Format_RGB32);  // 154 MB decoded
        big.fill(QColor(0, 128, 255));
        const QString png = t.file("big.png");
        QVERIFY(big.save(png, "PNG"));
        const QString bmp = t.file("big.bmp");
        QVERIFY(big.save(bmp, "BMP"));
        big = QImage();
        const Picture shown = LoadPicture(bmp, QSize(200, 150));
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown.Width, qRound(6200 * himetricPerPixelX()));
        QCOMPARE(QColor(shown.image().pixel(5, 5)).blue(), 255);
        // The PNG route, within the helper's memory limit.
        const QImage decoded = Module2::DecodePicture(png, {}, QSize(1000, 1000));
        QCOMPARE(decoded.size(), QSize(1000, 1000));
        QCOMPARE(QColor(decoded.pixel(5, 5)).blue(), 255);
    }

    // A file far longer than its picture, or whose head says it is no picture the
    // route reads, costs the helper no more memory than the picture: the head is
    // read first, then only what the pixels it announces can take up.
    void aLongFileIsReadOnlyAsFarAsItsPictureGoes()
    {
        TempTree t;
        const qint64 long400MB = qint64(400) << 20;  // sparse: costs the disk nothing
        QImage small(100, 100, QImage::Format_RGB32);
        small.fill(QColor(0, 128, 255));
        const QString padded = t.file("padded.bmp");
        QVERIFY(small.save(padded, "BMP"));
        QVERIFY(QFile::resize(padded, long400MB));
        const QString zeros = t.sparseFile("zeros.bmp", long400MB);
        // A header claiming 20,000 x 20,000 pixels.
        QByteArray claim = testing::readFile(padded).left(54 + 100 * 100 * 4);
        const auto put32 = [&claim](int at, quint32 value) { qToLittleEndian(value, claim.data() + at); };
        put32(18, 20000);
        put32(22, 20000);
        const QString claimsTooMuch = t.file("claims.bmp", claim);
        QVERIFY(QFile::resize(claimsTooMuch, long400MB));

        DecoderClient client;
        client.keepSpare(false);
        const decoding::Request request;
        const std::optional<HelperPicture> shown = client.decode(padded, request);
        QVERIFY(shown);
        QCOMPARE(shown->size, QSize(100, 100));
        QCOMPARE(QColor(shown->image.pixel(50, 50)).blue(), 255);
        for (const QString &refused : {zeros, claimsTooMuch}) {
            QVERIFY(!client.decode(refused, request));
            QVERIFY(!client.helperFailed());
        }
        const QByteArray status = testing::readFile(QString("/proc/%1/status").arg(client.helperProcess()));
        const QRegularExpressionMatch peak = QRegularExpression("\\nVmHWM:\\s*(\\d+) kB").match(QString::fromLatin1(status));
        QVERIFY(peak.hasMatch());
        QVERIFY2(peak.captured(1).toLongLong() < 200 * 1024, qPrintable(peak.captured(0)));
    }

    void aMetafileIsCopiedAtMostFourThousandPixelsLong()
    {
        // The sample drawing, its frame declared six metres wide and four high.
        QByteArray emf = testing::readFile(testing::testData("shapes.emf"));
        QVERIFY(emf.size() > 40);
        auto put = [&emf](int offset, qint32 value) { std::memcpy(emf.data() + offset, &value, 4); };
        put(24, 0);
        put(28, 0);
        put(32, 600000);  // hundredths of a millimetre
        put(36, 400000);
        TempTree t;
        const QString path = t.file("huge.emf", emf);
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {path}, 0);
        testing::user::chooseFromActionMenu(*w, w->CopyImage);
        QVERIFY(testing::settled(*w));
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.width(), decoding::kLongestDrawnSide);
        QCOMPARE(copied.height(), qRound(decoding::kLongestDrawnSide * 4.0 / 6.0));
    }

    // --- Decoding off the window's thread ---

    // The newest request wins: a person's selection stops the decode under way and
    // only its own picture arrives; a walk's selections let the decode under way
    // finish, and results never arrive older after newer.
    void theNewestRequestWins()
    {
        TempTree t;
        const QString slow = writeJpeg(t, "held.jpg", QSize(80, 60), Qt::gray, Qt::gray);
        const QString quick = writeJpeg(t, "quick.jpg", QSize(80, 60), Qt::red, Qt::red);
        const QString other = writeJpeg(t, "other.jpg", QSize(80, 60), Qt::blue, Qt::blue);
        QStringList delivered;
        testing::Gate gate;  // the held picture's decode waits here
        PictureDecoder decoder([&delivered](const DecodedPreview &d) { delivered << QFileInfo(d.path).fileName(); },
                               [&gate, slow](const QString &path) {
                                   if (path == slow)
                                       gate.pass();
                               });
        const auto ask = [&decoder](const QString &path, bool walking) {
            PreviewRequest request;
            request.path = path;
            request.showSize = QSize(100, 75);
            request.whileWalking = walking;
            decoder.request(request);
        };

        gate.close();
        ask(slow, false);
        QTRY_VERIFY(gate.held());  // under way
        ask(quick, false);
        gate.open();
        QTRY_VERIFY_WITH_TIMEOUT(!decoder.busy(), 15000);
        QCOMPARE(delivered, QStringList{"quick.jpg"});

        delivered.clear();
        gate.close();
        ask(slow, true);
        QTRY_VERIFY(gate.held());
        ask(quick, true);
        ask(other, true);  // the one waiting before it is never decoded
        gate.open();
        QTRY_VERIFY_WITH_TIMEOUT(!decoder.busy(), 15000);
        QCOMPARE(delivered, (QStringList{"held.jpg", "other.jpg"}));
    }

    void aWorkerRunsTheNewestWaitingJobOrEveryJob_data()
    {
        QTest::addColumn<int>("policy");
        QTest::addColumn<std::vector<int>>("expected");
        QTest::newRow("newest only") << int(platform::WorkerThread::Policy::NewestOnly) << std::vector<int>{1, 3, 4};
        QTest::newRow("queue") << int(platform::WorkerThread::Policy::Queue) << std::vector<int>{1, 2, 3, 4};
    }

    void aWorkerRunsTheNewestWaitingJobOrEveryJob()
    {
        QFETCH(int, policy);
        QFETCH(std::vector<int>, expected);
        std::promise<void> started;
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        std::vector<int> order;
        std::mutex orderLock;
        auto job = [&](int n) {
            return [&, n] {
                if (n == 1) {
                    started.set_value();
                    released.wait();
                }
                const std::lock_guard lock(orderLock);
                order.push_back(n);
            };
        };
        {
            platform::WorkerThread worker{platform::WorkerThread::Policy(policy)};
            worker.post(job(1));
            started.get_future().wait();  // the first job runs, and holds the worker
            worker.post(job(2));
            worker.post(job(3));  // with the newest only, 2 never starts
            release.set_value();
            const auto ran = [&] {
                const std::lock_guard lock(orderLock);
                return order.size();
            };
            QTRY_COMPARE(ran(), expected.size() - 1);
            worker.post(job(4));  // once the worker is idle again, it runs at once
            QTRY_COMPARE(ran(), expected.size());
        }
        QCOMPARE(order, expected);
    }

    // A drawing is never replayed in the window's process: it reaches it as a
    // bitmap of exactly the size it is shown at, made again by the helper for
    // every new size.
    void aDrawingArrivesAsABitmapOfItsShownSize()
    {
        std::optional<PictureDecoder::Kept> kept;
        PreviewRequest request;
        request.path = testing::testData("shapes.emf");
        request.showSize = QSize(120, 90);
        const DecodedPreview first = PictureDecoder::decode(request, kept);
        QVERIFY(first.picture);
        QVERIFY(first.picture->fromDrawing());
        QCOMPARE(first.picture->decodedSize(), QSize(120, 90));
        for (const QSize size : {QSize(60, 45), QSize(300, 200)}) {
            request.showSize = size;
            const DecodedPreview again = PictureDecoder::decode(request, kept);
            QCOMPARE(again.picture->decodedSize(), size);
            QVERIFY(!again.picture->sharpAt(QSize(120, 90)));
        }
        // It shows what the drawing shows: something is drawn, not an empty bitmap.
        const QImage bitmap = first.picture->image();
        int drawn = 0;
        for (int y = 0; y < bitmap.height(); y += 3)
            for (int x = 0; x < bitmap.width(); x += 3)
                drawn += qAlpha(bitmap.pixel(x, y)) > 0;
        QVERIFY(drawn > 20);
    }

    void aDecodedPictureServesLaterSizes()
    {
        TempTree t;
        const QString jpg = writeJpeg(t, "photo.jpg", QSize(800, 600), Qt::red, Qt::blue);
        std::optional<PictureDecoder::Kept> kept;
        PreviewRequest request;
        request.path = jpg;
        request.showSize = QSize(200, 150);
        const DecodedPreview first = PictureDecoder::decode(request, kept);
        QVERIFY(first.picture);
        QCOMPARE(first.picture->decodedSize(), QSize(200, 150));  // decoded no larger than shown
        const qint64 key = first.picture->image().cacheKey();
        request.showSize = QSize(100, 75);  // a smaller window: the same decode
        QCOMPARE(PictureDecoder::decode(request, kept).picture->image().cacheKey(), key);
        request.showSize = QSize(400, 300);  // a larger one: decoded again, sharper
        const DecodedPreview larger = PictureDecoder::decode(request, kept);
        QVERIFY(larger.picture->image().cacheKey() != key);
        QCOMPARE(larger.picture->decodedSize(), QSize(400, 300));

        // A decode stopped half way (a newer picture was asked for) keeps nothing,
        // and is not taken for a file that is no picture.
        request.path = writeJpeg(t, "other.jpg", QSize(800, 600), Qt::green, Qt::green);
        int asked = 0;
        const DecodedPreview stopped = PictureDecoder::decode(request, kept, [&asked] { return ++asked > 1; });
        QVERIFY(!stopped.picture);
        QVERIFY(!kept);
        QVERIFY(PictureDecoder::decode(request, kept).picture);

        // A PNG is decoded once; each new box size is made from the kept copy,
        // which is no larger than the bound.
        QImage big(3000, 2000, QImage::Format_RGB32);
        big.fill(Qt::green);
        const QString png = t.root() + "big.png";
        QVERIFY(big.save(png));
        PreviewRequest pngRequest;
        pngRequest.path = png;
        pngRequest.png = true;
        pngRequest.previewBitmap = QSize(300, 200);
        pngRequest.bannerBitmap = QSize(100, 60);
        pngRequest.keepBound = QSize(1500, 1500);
        const DecodedPreview bitmaps = PictureDecoder::decode(pngRequest, kept);
        QCOMPARE(bitmaps.previewBitmap.size(), QSize(300, 200));
        QCOMPARE(bitmaps.bannerBitmap.size(), QSize(100, 60));
        QCOMPARE(kept->source.size(), QSize(1500, 1000));
        const qint64 source = kept->source.cacheKey();
        pngRequest.previewBitmap = QSize(320, 210);
        QCOMPARE(PictureDecoder::decode(pngRequest, kept).previewBitmap.size(), QSize(320, 210));
        QCOMPARE(kept->source.cacheKey(), source);
        QVERIFY(near(PictureDecoder::decode(pngRequest, kept).previewBitmap.pixel(5, 5), Qt::green, 8));

        // A file written again is decoded again; one gone is no picture.
        big.fill(Qt::magenta);
        QVERIFY(big.save(png));
        const auto stamp = platform::regularFileStamp(png);
        QVERIFY(stamp);
        ::utimensat(AT_FDCWD, QFile::encodeName(png).constData(), nullptr, 0);
        QVERIFY(near(PictureDecoder::decode(pngRequest, kept).previewBitmap.pixel(5, 5), Qt::magenta, 8));
        QVERIFY(QFile::remove(png));
        QVERIFY(PictureDecoder::decode(pngRequest, kept).previewBitmap.isNull());
    }

    // Pictures found faster than they can be decoded: the walk's own selections let
    // the decode under way finish and draw, so a long search shows its pictures as
    // it goes rather than none until it ends.
    void aLongSearchShowsItsPicturesAsItGoes()
    {
        // The walk lists "first.jpg", waits in "later", lists its pictures, waits in
        // "later/last".
        TempTree t;
        const QString first = writeJpeg(t, "tree/first.jpg", QSize(80, 60), Qt::red, Qt::red);
        t.folder("tree/later/last");
        for (int i = 0; i < 50; ++i)
            QVERIFY(QFile::link(first, t.root() + QString("tree/later/p%1.jpg").arg(i)));
        FakeServices fakes;
        fakes.fileSystem->hangIn("/later/");
        fakes.fileSystem->hangIn("/last/");
        // The first picture's decode waits until later matches have been selected;
        // every other decode waits until the walk is over.
        const auto firstDecode = std::make_shared<testing::Gate>(), laterDecodes = std::make_shared<testing::Gate>();
        firstDecode->close();
        laterDecodes->close();
        fakes.beforePictureDecode = [=](const QString &path) { (path == first ? firstDecode : laterDecodes)->pass(); };
        auto w = testing::makeWindow(fakes);
        testing::user::startSearch(*w, t.root() + "tree", "*.jpg");
        QTRY_VERIFY(firstDecode->held());
        fakes.fileSystem->release("/later/");
        QTRY_COMPARE(w->List1->ListCount(), 51);
        QCOMPARE(w->List1->ListIndex(), 50);  // the walk selected its newest entries meanwhile

        const qint64 before = w->Picture1->canvasImage().cacheKey();
        firstDecode->open();
        QTRY_VERIFY2(w->Picture1->canvasImage().cacheKey() != before, "nothing was drawn while the walk ran");
        QVERIFY(w->walkSession().walking());
        QVERIFY(near(w->Picture1->rendered().pixel(5, 5), Qt::red));

        laterDecodes->open();
        fakes.fileSystem->release();
        QVERIFY(testing::settled(*w));
        QCOMPARE(w->Label4->text(), QString("51 from 51"));  // and the last one found is what stays
        QVERIFY(near(w->Picture1->rendered().pixel(5, 5), Qt::red));
    }

    void aPictureOvertakenBeforeItIsDecodedIsNeverDrawn()
    {
        TempTree t;
        const QString red = writeJpeg(t, "red.jpg", QSize(2400, 1800), Qt::red, Qt::red);
        const QString blue = writeJpeg(t, "blue.jpg", QSize(60, 40), Qt::blue, Qt::blue);
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::user::show(*w);
        testing::fillList(*w, {"/a.txt", red, blue, "/b.txt"}, 0);
        // Down, Down, Down without a pause: the red picture's texts show, its decode
        // (if it started) is dropped; then the blue; then a text file, which draws nothing.
        QTest::keyClick(w->List1, Qt::Key_Down);
        QCOMPARE(w->Label4->text(), QString("2 from 4"));
        QTest::keyClick(w->List1, Qt::Key_Down);
        QVERIFY(testing::settled(*w));
        QVERIFY(near(w->Picture1->rendered().pixel(5, 5), Qt::blue));
        QTest::keyClick(w->List1, Qt::Key_Up);
        QTest::keyClick(w->List1, Qt::Key_Down);
        QTest::keyClick(w->List1, Qt::Key_Down);
        QCOMPARE(w->Label4->text(), QString("4 from 4"));
        QVERIFY(testing::settled(*w));
        // The box keeps the blue picture: the red one was overtaken by the text file.
        QVERIFY(near(w->Picture1->rendered().pixel(5, 5), Qt::blue));

        // A new search empties the box; a result that comes after is not drawn into it.
        QTest::keyClick(w->List1, Qt::Key_Up);
        QTest::keyClick(w->List1, Qt::Key_Up);
        testing::user::search(*w, t.root() + "none/", "*.jpg");
        QVERIFY(testing::settled(*w));
        QVERIFY(w->Picture1->canvasImage().isNull() ||
                !near(w->Picture1->rendered().pixel(5, 5), Qt::red));
    }

    void fifosAndDevicesAreNoPictures()
    {
        // Opening a FIFO for reading waits for a writer; a device never ends. Named
        // like pictures, neither may hold the window: each is no picture, at once.
        TempTree t;
        const QByteArray fifo = QFile::encodeName(t.root() + "x.jpg");
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        QVERIFY(QFile::link("/dev/zero", t.root() + "endless.emf"));
        QVERIFY(QFile::link("/dev/zero", t.root() + "endless.png"));
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        // Were any of them read, the test would wait here until the suite's time limit.
        testing::user::search(*w, t.root(), "*.jpg;*.emf;*.png");  // preview while searching is on
        QCOMPARE(w->List1->ListCount(), 3);
        for (int row = 0; row < 3; ++row) {
            testing::user::clickEntry(*w, row);
            QVERIFY(testing::settled(*w));
            QGuiApplication::clipboard()->setText("held before");
            w->Label1->clear();
            testing::user::chooseFromActionMenu(*w, w->CopyImage);
            QVERIFY(testing::settled(*w));
            QCOMPARE(QGuiApplication::clipboard()->text(), QString("held before"));
            QCOMPARE(w->Label1->text(), QString("The picture could not be copied."));
        }
        for (const char *name : {"x.jpg", "endless.emf", "endless.png"})
            QVERIFY_THROWS_EXCEPTION(PictureError, LoadPicture(t.root() + name));
    }

    void animationWithNothingSelectedDrawsNothing()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {testing::testData("gradient.jpg"), testing::testData("alpha.png")}, -1);
        w->Picture1->clearPicture();
        const std::int16_t start = w->Picture1->PaintWidth;
        leftClick(*w);
        QVERIFY(!w->Label3->isHidden());
        QTRY_VERIFY(w->Picture1->PaintWidth != start);
        QVERIFY(w->Picture1->canvasImage().isNull());
        rightClick(*w);
        QCOMPARE(w->animation().state(), preview::AnimationStates::Stopped);
    }

    // Each frame is 3 twips narrower and 2 lower; one that would vanish starts
    // again at twice the box, and the shrinking goes on from there.
    void animationResetsTheShrinkingRectangle()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {"/no/such.jpg"}, 0);
        w->Picture1->PaintWidth = 7;
        w->Picture1->PaintHeight = 500;
        const int fullWidth = qRound(2 * w->Picture1->ScaleWidth());
        const int fullHeight = qRound(2 * w->Picture1->ScaleHeight());
        leftClick(*w);
        QTRY_VERIFY(w->Picture1->PaintWidth > 7);
        rightClick(*w);
        // 7, 4, 1, then the reset frame; every frame after it 3 and 2 twips smaller.
        const int width = w->Picture1->PaintWidth;
        const int height = w->Picture1->PaintHeight;
        QCOMPARE((fullWidth - width) % 3, 0);
        QCOMPARE((fullWidth - width) / 3, (fullHeight - height) / 2);
        QCOMPARE((fullHeight - height) % 2, 0);
    }

    // Starting or stopping the animation draws the preview's stored picture (after
    // a PNG, the loader's bitmap) shrunk to the banner's size into the top-left corner.
    void animationAfterAPngDrawsTheStoredPictureSmall()
    {
        FakeServices fakes;
        auto w = testing::makeWindow(fakes);
        testing::fillList(*w, {testing::testData("alpha.png")}, 0);
        const QImage stored = w->Picture1->picture().convertToFormat(QImage::Format_RGB32);
        QVERIFY(!stored.isNull());
        leftClick(*w);
        rightClick(*w);  // stopped: the last thing drawn is the small picture
        QCOMPARE(w->animation().state(), preview::AnimationStates::Stopped);
        const QImage canvas = w->Picture1->canvasImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(!canvas.isNull());
        const QSize small = w->Picture2->innerSize();
        QVERIFY(small.width() < canvas.width() && small.height() < canvas.height());
        const QImage expected = stored.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (const QPointF at : {QPointF(0.25, 0.5), QPointF(0.5, 0.5), QPointF(0.75, 0.25), QPointF(0.5, 0.8)}) {
            const QPoint p(int(at.x() * small.width()), int(at.y() * small.height()));
            QVERIFY2(near(canvas.pixel(p), QColor(expected.pixel(p)), 48),
                     qPrintable(QString("at %1,%2").arg(p.x()).arg(p.y())));
        }
    }
};

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
