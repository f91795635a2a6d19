#include "export/OfficeApplication.h"

#include "platform/Services.h"

#include <QCoreApplication>
#include <QMimeDatabase>

namespace listexport {

QString officeApplicationFor(platform::Shell &shell, const QString &path)
{
    return shell.defaultApplicationFor(QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name());
}

void openWithOfficeApplication(const ExportContext &context, const QString &path, OfficeKind kind,
                               const QString &application)
{
    platform::Shell &shell = context.shell;
    if (application.isEmpty()) {
        // Whole sentences per kind: other languages inflect the kind.
        const QString text =
            kind == OfficeKind::Spreadsheet
                ? QCoreApplication::translate(
                      "Export", "No application on this desktop opens spreadsheet files. The spreadsheet was saved as %1.")
                : QCoreApplication::translate(
                      "Export", "No application on this desktop opens document files. The document was saved as %1.");
        context.messages.show(text.arg(path), brand::kAppTitle, platform::MessageIcon::Critical);
        return;
    }
    if (!shell.openFile(path))
        context.messages.show(QCoreApplication::translate("Export", "Cannot open %1").arg(path), brand::kAppTitle,
                              platform::MessageIcon::Critical);
}

}  // namespace listexport
