#include "export/OfficeApplication.h"

#include "platform/Services.h"

#include <QMimeDatabase>

namespace listexport {

QString officeApplicationFor(platform::Shell &shell, const QString &path)
{
    return shell.defaultApplicationFor(QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name());
}

void openWithOfficeApplication(const ExportContext &context, const QString &path, const QString &kind,
                               const QString &application)
{
    platform::Shell &shell = context.shell;
    if (application.isEmpty()) {
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
