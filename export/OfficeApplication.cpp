#include "export/OfficeApplication.h"

#include "app/Form1.h"
#include "platform/Brand.h"

#include <QMimeDatabase>

namespace listexport {

void openWithOfficeApplication(Form1 &f, const QString &path, const QString &kind)
{
    platform::Shell &shell = *f.services().shell;
    const QString mimeType = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
    if (shell.defaultApplicationFor(mimeType).isEmpty()) {
        f.messageBox(QStringLiteral("No application on this desktop opens ") + kind +
                         QStringLiteral(" files. The ") + kind + QStringLiteral(" was saved as ") + path +
                         QLatin1Char('.'),
                     brand::kAppTitle, platform::MessageIcon::Critical);
        return;
    }
    if (!shell.openFile(path))
        f.messageBox(QStringLiteral("Cannot open ") + path, brand::kAppTitle, platform::MessageIcon::Critical);
}

}  // namespace listexport
