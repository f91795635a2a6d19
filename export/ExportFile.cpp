#include "export/ExportFile.h"

#include "app/Form1.h"
#include "platform/Brand.h"

#include <QSaveFile>

namespace listexport {

bool writeExportFile(Form1 &form, const QString &path, const QByteArray &content)
{
    QSaveFile file(path);
    // Replaces the old file even where the folder does not let us rename over it.
    file.setDirectWriteFallback(true);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit())
        return true;
    form.messageBox(QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + file.errorString(),
                    brand::kAppTitle, platform::MessageIcon::Critical);
    return false;
}

void writeAndOpen(Form1 &form, const QString &name, const QByteArray &content)
{
    const QString path = form.services().applicationFolder + QLatin1Char('/') + name;
    if (writeExportFile(form, path, content))
        form.services().shell->openFile(path);
}

}  // namespace listexport
