#include "export/ExportFile.h"

#include "platform/Services.h"

#include <QSaveFile>

namespace listexport {

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
    const QString path = context.pathOf(name);
    if (writeExportFile(context.messages, path, content))
        context.shell.openFile(path);
}

}  // namespace listexport
