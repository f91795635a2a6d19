#include "search/FolderList.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace search {
namespace {

constexpr int kPathRole = Qt::UserRole;

QString normalised(const QString &folder)
{
    QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    if (clean.isEmpty())
        clean = QStringLiteral("/");
    return clean;
}

QStringList ancestorsOf(const QString &folder)
{
    QStringList chain{QStringLiteral("/")};
    QString built;
    for (const QString &part : folder.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        built += QLatin1Char('/') + part;
        chain.append(built);
    }
    return chain;
}

}  // namespace

FolderList::FolderList(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemActivated, this, &FolderList::open);
}

bool FolderList::setPath(const QString &folder)
{
    const QString target = normalised(folder);
    QDir dir(target);
    if (!dir.exists() || !dir.isReadable())
        return false;
    QStringList subfolders =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::sort(subfolders.begin(), subfolders.end(), collator);

    clear();
    const QStringList chain = ancestorsOf(target);
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    int depth = 0;
    for (const QString &ancestor : chain) {
        const QString label = ancestor == QLatin1String("/") ? ancestor : QFileInfo(ancestor).fileName();
        auto *item = new QListWidgetItem(openIcon, QString(depth * 2, QLatin1Char(' ')) + label, this);
        item->setData(kPathRole, ancestor);
        ++depth;
    }
    QListWidgetItem *openItem = item(count() - 1);
    const QString prefix = target == QLatin1String("/") ? target : target + QLatin1Char('/');
    for (const QString &name : subfolders) {
        auto *item = new QListWidgetItem(closedIcon, QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(kPathRole, prefix + name);
    }
    setCurrentItem(openItem);
    scrollToItem(openItem);

    const bool changed = target != path_;
    path_ = target;
    if (changed)
        emit Change();
    return true;
}

void FolderList::open(QListWidgetItem *item)
{
    if (item)
        setPath(item->data(kPathRole).toString());
}

QList<Volume> mountedVolumes()
{
    QList<Volume> volumes;
    for (const QStorageInfo &info : QStorageInfo::mountedVolumes()) {
        if (!info.isValid() || !info.isReady())
            continue;
        const QString label = info.name().isEmpty() ? info.displayName() : info.name();
        volumes.append({info.rootPath(), info.rootPath() + QStringLiteral(" [") + label + QLatin1Char(']')});
    }
    // The root is always there to search, even where the mount table does not
    // show it (inside a chroot or a container).
    const bool hasRoot = std::any_of(volumes.begin(), volumes.end(),
                                     [](const Volume &v) { return v.rootPath == QLatin1String("/"); });
    if (!hasRoot)
        volumes.append({QStringLiteral("/"), QStringLiteral("/ [/]")});
    std::sort(volumes.begin(), volumes.end(),
              [](const Volume &a, const Volume &b) { return a.rootPath < b.rootPath; });
    return volumes;
}

QString volumeRootOf(const QString &path)
{
    const QStorageInfo info(path);
    return info.isValid() ? info.rootPath() : QStringLiteral("/");
}

}  // namespace search
