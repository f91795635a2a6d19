// The real program as a native Wayland client: a headless Weston of the test's
// own, the program on the folder with --search, and Weston's own screenshots to
// see that the search ran and showed its summary and picture. Ended by SIGTERM,
// as a session ends it, it exits cleanly.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLibraryInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

const QString kSocket = QStringLiteral("quorvel-test-wayland");

bool near(QRgb pixel, QColor colour, int tolerance = 24)
{
    return std::abs(qRed(pixel) - colour.red()) <= tolerance && std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

int pixelsNear(const QImage &image, QColor colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            count += near(line[x], colour);
    }
    return count;
}

// A headless Weston in a runtime folder of its own, drawing in memory so that it
// can take screenshots.
class Weston {
public:
    bool start()
    {
        const QString weston = QStandardPaths::findExecutable(QStringLiteral("weston"));
        if (weston.isEmpty() || !runtime_.isValid())
            return false;
        QFile::setPermissions(runtime_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        server_.setProcessEnvironment(environment());
        server_.setStandardOutputFile(QProcess::nullDevice());
        server_.setStandardErrorFile(runtime_.path() + QStringLiteral("/weston.log"));
        server_.start(weston, {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--use-pixman"),
                               QStringLiteral("--socket=") + kSocket, QStringLiteral("--no-config"),
                               QStringLiteral("--debug"), QStringLiteral("--width=1280"),
                               QStringLiteral("--height=900"), QStringLiteral("--idle-time=0")});
        if (!server_.waitForStarted(5000))
            return false;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 10000 && server_.state() == QProcess::Running) {
            if (QFile::exists(runtime_.path() + QLatin1Char('/') + kSocket))
                return true;
            QTest::qWait(50);
        }
        return false;
    }
    ~Weston()
    {
        server_.terminate();
        server_.waitForFinished(3000);
    }
    // What a client of this Weston runs with: no X server to fall back on.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), kSocket);
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        env.remove(QStringLiteral("QT_SCALE_FACTOR"));
        return env;
    }
    // The screen as Weston shows it; null when no screenshot could be taken.
    QImage screenshot() const
    {
        QTemporaryDir into;
        QProcess shooter;
        shooter.setProcessEnvironment(environment());
        shooter.setWorkingDirectory(into.path());
        shooter.start(QStringLiteral("weston-screenshooter"), {});
        if (!shooter.waitForFinished(5000))
            shooter.kill();
        const QStringList shots = QDir(into.path()).entryList({QStringLiteral("*.png")});
        return shots.isEmpty() ? QImage() : QImage(into.filePath(shots.first())).convertToFormat(QImage::Format_RGB32);
    }
    QString log() const
    {
        QFile f(runtime_.path() + QStringLiteral("/weston.log"));
        return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll().right(2000)) : QString();
    }

private:
    QTemporaryDir runtime_;
    QProcess server_;
};

bool waylandPlatformInstalled()
{
    const QString plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
    return !QDir(plugins).entryList({QStringLiteral("libqwayland*.so")}).isEmpty();
}

}  // namespace

class TestWayland : public QObject {
    Q_OBJECT

private slots:
    void theProgramRunsNativelyOnWayland()
    {
        if (!waylandPlatformInstalled())
            QSKIP("Qt's Wayland platform (qt6-wayland) is not installed");
        Weston weston;
        if (!weston.start())
            QSKIP(qPrintable("Weston could not start headless here: " + weston.log()));

        QTemporaryDir folder;
        QImage blue(320, 240, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        QVERIFY(blue.save(folder.filePath(QStringLiteral("blue.jpg")), "JPG", 95));
        QTemporaryDir home;
        QProcessEnvironment env = weston.environment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(QUORVEL_PROGRAM), {QStringLiteral("--pattern"), QStringLiteral("*.jpg"),
                                                         QStringLiteral("--search"), folder.path()});
        QVERIFY(program.waitForStarted(5000));

        // The search ran: its summary boxes (yellow, shown only once a search ends)
        // and the picture it found, in the preview.
        QImage screen;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 15000) {
            screen = weston.screenshot();
            if (!screen.isNull() && pixelsNear(screen, QColor(255, 255, 0)) > 5000 &&
                pixelsNear(screen, QColor(0, 0, 255)) > 5000)
                break;
            QTest::qWait(200);
        }
        QVERIFY2(!screen.isNull(), "Weston took no screenshot");
        QVERIFY2(pixelsNear(screen, QColor(255, 255, 0)) > 5000, "no summary on the screen");
        QVERIFY2(pixelsNear(screen, QColor(0, 0, 255)) > 5000, "the picture found is not previewed");
        QCOMPARE(program.state(), QProcess::Running);

        ::kill(pid_t(program.processId()), SIGTERM);
        QVERIFY2(program.waitForFinished(3000), "the program did not end");
        const QString said = QString::fromLocal8Bit(program.readAllStandardError());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY2(program.exitCode() == 0, qPrintable(said));
        // Natively, without a word: no fallback to X11, no complaint of the platform.
        QVERIFY2(!said.contains(QStringLiteral("wayland"), Qt::CaseInsensitive) && !said.contains(QStringLiteral("xcb")),
                 qPrintable(said));
    }
};

QTEST_GUILESS_MAIN(TestWayland)
#include "test_wayland.moc"
