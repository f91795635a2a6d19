#include "export/ExportFile.h"

#include "export/WorkbookPictures.h"
#include "platform/ExportFolder.h"
#include "platform/Services.h"
#include "platform/WholeFile.h"

#include <QFile>

namespace listexport {

QString ExportContext::newPathOf(const QString &stem, const QString &extension) const
{
    // An export still being written has its name, though its file is not there yet.
    QString path = platform::firstFreeName(folder, stem, extension,
                                                 [this](const QString &name) { return background.promised(name); });
    background.promise(path);
    return path;
}

bool claimNumberedName(platform::FileBeside &file, const QString &folder, const QString &stem, const QString &extension)
{
    constexpr int kMostTries = 100;
    int tries = 0;
    return file.claimTarget([&]() -> std::string {
        if (++tries > kMostTries)
            return {};
        return QFile::encodeName(platform::firstFreeName(folder, stem, extension, nullptr)).toStdString();
    });
}

bool ExportContext::prepareFolder() const
{
    QString reason;
    if (platform::makeFolder(folder, reason)) {
        // What an export cut short long ago left behind goes; a day's grace spares
        // one another instance of the program is writing now.
        constexpr long long kDay = 24LL * 60 * 60;
        background.runQuietly([folder = folder] {
            platform::removeStaleParts(QFile::encodeName(folder).toStdString(), kDay);
            WorkbookPictures::removeStale(folder, kDay);
        });
        return true;
    }
    messages.cannotWrite(folder, reason);
    return false;
}

void writeAndOpen(const ExportContext &context, const QString &name, ExportKind kind, search::EntryList entries,
                  ExportWriter writer)
{
    if (!context.prepareFolder())
        return;
    const QString path = context.pathOf(name);
    context.background.run([&context, path, kind, entries = std::move(entries), writer](ExportProgress &progress) {
        platform::WholeFile file(QFile::encodeName(path).toStdString());
        bool written = file.open();
        const ExportSink sink = [&](const QByteArray &piece) {
            written = written && file.write(piece.constData(), size_t(piece.size()));
        };
        if (written) {
            const bool whole = writer(entries, sink, progress);  // false when told to stop
            written = whole && written && file.commit();
        }
        if (progress.stopped())
            return std::function<void()>();  // the file was not given its name
        if (written)
            return std::function<void()>([&context, path, kind] { openExported(context, path, kind); });
        const QString reason = QString::fromLocal8Bit(file.reason().c_str());
        return std::function<void()>([&context, path, reason] { context.messages.cannotWrite(path, reason); });
    });
}

QByteArray exportBytes(const search::EntryList &entries, ExportWriter writer)
{
    QByteArray bytes;
    ExportProgress progress;
    writer(entries, [&bytes](const QByteArray &piece) { bytes += piece; }, progress);
    return bytes;
}

}  // namespace listexport
