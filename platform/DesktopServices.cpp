// The services of a real desktop session.
#include "platform/ExportFolder.h"
#include "platform/FileUrl.h"
#include "platform/Services.h"
#include "platform/DesktopBackground.h"
#include "platform/DesktopMessageBoxes.h"
#include "platform/TextPrinting.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QUuid>

namespace platform {
namespace {

// How long the opener may take to start before opening counts as failed.
constexpr int kStartTimeoutMs = 1000;

const QString kFileManagerService = QStringLiteral("org.freedesktop.FileManager1");

// Asks the desktop's file manager over D-Bus without waiting for it; `whenFailed`
// runs when no file manager answers, or it answers with an error, within 3 s.
void callFileManager(const QString &method, const QString &path, std::function<void()> whenFailed)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        if (whenFailed)
            whenFailed();
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kFileManagerService, QStringLiteral("/org/freedesktop/FileManager1"),
                                                       kFileManagerService, method);
    call << QStringList{fileUrl(path)} << QString();
    auto *answer = new QDBusPendingCallWatcher(bus.asyncCall(call, 3000));
    QObject::connect(answer, &QDBusPendingCallWatcher::finished, answer,
                     [answer, failed = std::move(whenFailed)] {
                         if (answer->isError() && failed)
                             failed();
                         answer->deleteLater();
                     });
}

class DesktopShell final : public Shell {
public:
    bool openFile(const QString &path, std::function<void()> whenFailed) override
    {
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (opener.isEmpty())
            return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        // Not waited for: the window goes on while the opener looks for an
        // application. It is never killed either, since it may be the one running
        // the application, so it has no parent and is let go of when it ends.
        auto *process = new QProcess;
        QObject::connect(process, &QProcess::finished, process,
                         [process, failed = std::move(whenFailed)](int status, QProcess::ExitStatus how) {
                             if ((status != 0 || how != QProcess::NormalExit) && failed)
                                 failed();
                             process->deleteLater();
                         });
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(opener, {fileUrl(path)});
        if (process->waitForStarted(kStartTimeoutMs))
            return true;
        delete process;
        return false;
    }

    bool openUrl(const QUrl &url) override { return QDesktopServices::openUrl(url); }

    void showFolder(const QString &folder) override
    {
        callFileManager(QStringLiteral("ShowFolders"), folder,
                        [folder] { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); });
    }

    void showItemProperties(const QString &path, std::function<void()> whenFailed) override
    {
        callFileManager(QStringLiteral("ShowItemProperties"), path, std::move(whenFailed));
    }

    QString defaultApplicationFor(const QString &mimeType) override
    {
        const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
        if (xdgMime.isEmpty())
            return {};
        QProcess query;
        query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
        if (!query.waitForFinished(5000))
            return {};
        return QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    }
};

class DesktopPrinter final : public PrinterService {
public:
    std::optional<int> showPrinter() override
    {
        QPrintDialog dialog(&printer_, QApplication::activeWindow());
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        const int copies = printer_.copyCount();
        // Every copy is a job of its own, so the printer must not multiply them again.
        printer_.setCopyCount(1);
        return copies;
    }

    bool printDocument(const QString &text) override { return paintText(printer_, text); }

private:
    QPrinter printer_{QPrinter::HighResolution};
};

class SystemClock final : public Clock {
public:
    QTime timeOfDay() override { return QTime::currentTime(); }
    QDateTime now() override { return QDateTime::currentDateTime(); }
};

}  // namespace

Services desktopServices()
{
    Services s;
    s.messages = std::make_unique<DesktopMessageBoxes>();
    s.shell = std::make_unique<DesktopShell>();
    s.clock = std::make_unique<SystemClock>();
    s.printer = std::make_unique<DesktopPrinter>();
    s.applicationFolder = chooseExportFolder(QCoreApplication::applicationDirPath(),
                                             QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    s.desktopFolder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    s.findWallpaper = &desktopWallpaperPath;
    s.quit = [] { QCoreApplication::quit(); };
    return s;
}

}  // namespace platform
