#include "export/ExportFile.h"

#include "platform/ExportFolder.h"
#include "platform/Services.h"

#include <QSaveFile>

namespace listexport {

QString ExportContext::newPathOf(const QString &stem, const QString &extension) const
{
    return platform::firstFreeName(folder, stem, extension);
}

bool ExportContext::prepareFolder() const
{
    QString reason;
    if (platform::makeFolder(folder, reason))
        return true;
    messages.cannotWrite(folder, reason);
    return false;
}

bool writeExportFile(platform::MessageBoxes &messages, const QString &path, const QByteArray &content)
{
    QSaveFile file(path);
    // Replaces the old file even where the folder does not let us rename over it.
    file.setDirectWriteFallback(true);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit())
        return true;
    messages.cannotWrite(path, file.errorString());
    return false;
}

void writeAndOpen(const ExportContext &context, const QString &name, const QByteArray &content)
{
    if (!context.prepareFolder())
        return;
    const QString path = context.pathOf(name);
    if (writeExportFile(context.messages, path, content))
        context.shell.openFile(path);
}

}  // namespace listexport
