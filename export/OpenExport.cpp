#include "export/OpenExport.h"

#include "export/BackgroundExport.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QMimeDatabase>

namespace listexport {

QString officeApplicationFor(platform::Shell &shell, const QString &path)
{
    return shell.defaultApplicationFor(QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name());
}

void sayNotOpened(const ExportContext &context, const QString &path, ExportKind kind)
{
    // Whole sentences per kind: other languages inflect the kind.
    QString text;
    switch (kind) {
    case ExportKind::Text:
        text = QCoreApplication::translate("Export",
                                           "No application on this desktop opens text files. The list was saved as %1.");
        break;
    case ExportKind::Html:
        text = QCoreApplication::translate("Export",
                                           "No application on this desktop opens web pages. The page was saved as %1.");
        break;
    case ExportKind::Pdf:
        text = QCoreApplication::translate(
            "Export", "No application on this desktop opens PDF files. The PDF file was saved as %1.");
        break;
    case ExportKind::Spreadsheet:
        text = QCoreApplication::translate(
            "Export", "No application on this desktop opens spreadsheet files. The spreadsheet was saved as %1.");
        break;
    case ExportKind::Document:
        text = QCoreApplication::translate(
            "Export", "No application on this desktop opens document files. The document was saved as %1.");
        break;
    }
    context.messages.show(text.arg(path), brand::kAppTitle, platform::MessageIcon::Critical);
}

void openExported(const ExportContext &context, const QString &path, ExportKind kind, bool applicationFound)
{
    if (!applicationFound) {
        sayNotOpened(context, path, kind);
        return;
    }
    const auto notOpened = context.background.whileAlive([&context, path, kind] { sayNotOpened(context, path, kind); });
    if (!context.shell.openFile(path, notOpened))
        notOpened();
}

}  // namespace listexport
