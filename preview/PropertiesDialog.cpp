#include "preview/PropertiesDialog.h"

#include "platform/FileNames.h"
#include "platform/Formatting.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

namespace preview {
namespace {

// The permission bits as "rwxr-x---".
QString permissionsText(mode_t mode)
{
    const std::pair<mode_t, char> bits[] = {{S_IRUSR, 'r'}, {S_IWUSR, 'w'}, {S_IXUSR, 'x'},
                                            {S_IRGRP, 'r'}, {S_IWGRP, 'w'}, {S_IXGRP, 'x'},
                                            {S_IROTH, 'r'}, {S_IWOTH, 'w'}, {S_IXOTH, 'x'}};
    QString text;
    for (const auto &[bit, letter] : bits)
        text += (mode & bit) ? QLatin1Char(letter) : QLatin1Char('-');
    return text;
}

QString dateText(const statx_timestamp &t, bool known)
{
    if (!known)
        return QStringLiteral("-");
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000);
    return QLocale().toString(when, QLocale::LongFormat);
}

QString userName(uid_t uid)
{
    const passwd *p = ::getpwuid(uid);
    return p ? QString::fromLocal8Bit(p->pw_name) : QString::number(uid);
}

QString groupName(gid_t gid)
{
    const group *g = ::getgrgid(gid);
    return g ? QString::fromLocal8Bit(g->gr_name) : QString::number(gid);
}

// The kind of the file from its name and its first bytes.
QString kindOf(const QString &path)
{
    QMimeDatabase mimes;
    QFile file;
    const QMimeType type = platform::openRegularFile(path, file) ? mimes.mimeTypeForFileNameAndData(path, &file)
                                                                 : mimes.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    return type.comment();
}

}  // namespace

// The facts come from the file system by the name's own bytes, so a name that
// is not valid UTF-8 shows its own file.
PropertiesDialog::PropertiesDialog(const QString &path, QWidget *parent)
    : QDialog(parent)
{
    const QByteArray raw = platform::encodeFileName(path);
    struct statx info {};
    const bool known = ::statx(AT_FDCWD, raw.constData(), 0, STATX_BASIC_STATS | STATX_BTIME, &info) == 0;
    struct stat link {};
    const bool isLink = ::lstat(raw.constData(), &link) == 0 && S_ISLNK(link.st_mode);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = platform::shownFileName(path.mid(slash + 1));

    setWindowTitle(QCoreApplication::translate("Preview", "%1 Properties").arg(name));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *form = new QFormLayout(this);
    // Each value is found by its label's English name, whatever language it is shown in.
    auto row = [&](const char *label, const QString &value) {
        auto *shown = new QLabel(value, this);
        shown->setTextFormat(Qt::PlainText);
        shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
        shown->setObjectName(QLatin1String(label));
        form->addRow(QCoreApplication::translate("Preview", "%1:").arg(QCoreApplication::translate("Preview", label)), shown);
    };
    const QString kind = kindOf(path);
    row(QT_TRANSLATE_NOOP("Preview", "Name"), name);
    row(QT_TRANSLATE_NOOP("Preview", "Folder"), platform::shownFileName(slash > 0 ? path.left(slash) : QStringLiteral("/")));
    row(QT_TRANSLATE_NOOP("Preview", "Kind"), isLink ? QCoreApplication::translate("Preview", "Link to %1").arg(kind) : kind);
    row(QT_TRANSLATE_NOOP("Preview", "Size"), QCoreApplication::translate("Preview", "%1 bytes").arg(platform::formatGrouped(known ? qint64(info.stx_size) : 0)));
    row(QT_TRANSLATE_NOOP("Preview", "Created"), dateText(info.stx_btime, known && (info.stx_mask & STATX_BTIME)));
    row(QT_TRANSLATE_NOOP("Preview", "Modified"), dateText(info.stx_mtime, known));
    row(QT_TRANSLATE_NOOP("Preview", "Accessed"), dateText(info.stx_atime, known));
    row(QT_TRANSLATE_NOOP("Preview", "Owner"), known ? userName(info.stx_uid) + QStringLiteral(" (") + groupName(info.stx_gid) +
                                             QLatin1Char(')')
                                       : QStringLiteral("-"));
    row(QT_TRANSLATE_NOOP("Preview", "Permissions"), permissionsText(known ? info.stx_mode : 0));
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
