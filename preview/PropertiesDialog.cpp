#include "preview/PropertiesDialog.h"

#include "platform/Formatting.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>

namespace preview {
namespace {

QString permissionsText(QFile::Permissions p)
{
    const std::pair<QFile::Permission, char> bits[] = {
        {QFile::ReadOwner, 'r'}, {QFile::WriteOwner, 'w'}, {QFile::ExeOwner, 'x'},
        {QFile::ReadGroup, 'r'}, {QFile::WriteGroup, 'w'}, {QFile::ExeGroup, 'x'},
        {QFile::ReadOther, 'r'}, {QFile::WriteOther, 'w'}, {QFile::ExeOther, 'x'}};
    QString text;
    for (const auto &[bit, letter] : bits)
        text += (p & bit) ? QLatin1Char(letter) : QLatin1Char('-');
    return text;
}

QString dateText(const QDateTime &when)
{
    return when.isValid() ? QLocale().toString(when, QLocale::LongFormat) : QStringLiteral("-");
}

}  // namespace

PropertiesDialog::PropertiesDialog(const QString &path, QWidget *parent)
    : QDialog(parent)
{
    const QFileInfo info(path);
    setWindowTitle(info.fileName() + QStringLiteral(" Properties"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *form = new QFormLayout(this);
    auto row = [&](const QString &label, const QString &value) {
        auto *shown = new QLabel(value, this);
        shown->setTextFormat(Qt::PlainText);
        shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
        shown->setObjectName(label);
        form->addRow(label + QLatin1Char(':'), shown);
    };
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    row(QStringLiteral("Name"), info.fileName());
    row(QStringLiteral("Folder"), info.absolutePath());
    row(QStringLiteral("Kind"), info.isSymLink() ? QStringLiteral("Link to ") + type.comment() : type.comment());
    row(QStringLiteral("Size"), platform::formatGrouped(info.size()) + QStringLiteral(" bytes"));
    row(QStringLiteral("Created"), dateText(info.birthTime()));
    row(QStringLiteral("Modified"), dateText(info.lastModified()));
    row(QStringLiteral("Accessed"), dateText(info.lastRead()));
    row(QStringLiteral("Owner"), info.owner() + QStringLiteral(" (") + info.group() + QLatin1Char(')'));
    row(QStringLiteral("Permissions"), permissionsText(info.permissions()));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    form->addRow(buttons);
}

QString PropertiesDialog::value(const QString &label) const
{
    const auto *shown = findChild<QLabel *>(label);
    return shown ? shown->text() : QString();
}

}  // namespace preview
