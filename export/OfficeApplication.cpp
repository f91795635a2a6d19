#include "export/OfficeApplication.h"

#include "platform/Services.h"

#include <QMimeDatabase>

namespace listexport {

void openWithOfficeApplication(const ExportContext &context, const QString &path, const QString &kind)
{
    platform::Shell &shell = context.shell;
    const QString mimeType = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
    if (shell.defaultApplicationFor(mimeType).isEmpty()) {
        context.messages.show(QStringLiteral("No application on this desktop opens ") + kind +
                         QStringLiteral(" files. The ") + kind + QStringLiteral(" was saved as ") + path +
                         QLatin1Char('.'),
                     brand::kAppTitle, platform::MessageIcon::Critical);
        return;
    }
    if (!shell.openFile(path))
        context.messages.show(QStringLiteral("Cannot open ") + path, brand::kAppTitle, platform::MessageIcon::Critical);
}

}  // namespace listexport
