#include "export/ExportFile.h"

#include "platform/ExportFolder.h"
#include "platform/Services.h"
#include "platform/WholeFile.h"

#include <QFile>

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

bool writeExportFile(platform::MessageBoxes &messages, const QString &path, const QByteArray &content,
                     platform::WholeFile::WriteFunction write)
{
    platform::WholeFile file(QFile::encodeName(path).toStdString(), write);
    if (file.open() && file.write(content.constData(), size_t(content.size())) && file.commit())
        return true;
    messages.cannotWrite(path, QString::fromLocal8Bit(file.reason().c_str()));
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
