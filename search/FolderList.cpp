#include "search/FolderList.h"

#include "platform/FileNames.h"
#include "platform/FolderEnumeration.h"

#include <QCollator>
#include <QDir>
#include <QStorageInfo>

#include <sys/stat.h>

#include <algorithm>
#include <optional>

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

// The names of the folders inside `folder` that do not begin with "." (links to
// folders too), as they are, bytes that are not UTF-8 included; nothing when the
// folder cannot be read.
std::optional<QStringList> subfoldersOf(const QString &folder)
{
    QByteArray raw = platform::encodeFileName(folder);
    if (!raw.endsWith('/'))
        raw.append('/');
    platform::FolderEnumeration enumeration(raw);
    if (!enumeration.isOpen())
        return std::nullopt;
    QStringList names;
    platform::FolderEntry entry;
    while (enumeration.next(entry)) {
        if (entry.name.empty() || entry.name[0] == '.')
            continue;
        const QByteArray name = QByteArray::fromStdString(entry.name);
        struct stat st {};
        if (entry.isFolder || (::stat((raw + name).constData(), &st) == 0 && S_ISDIR(st.st_mode)))
            names.append(platform::decodeFileName(name));
    }
    return names;
}

// In the order people expect: letters without regard to case, numbers by their
// value. Each name's sort key is made once, so a folder of 100,000 subfolders
// sorts in a blink instead of a collation per comparison.
void sortForPeople(QStringList &names)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::vector<std::pair<QCollatorSortKey, qsizetype>> keys;
    keys.reserve(size_t(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i)
        keys.emplace_back(collator.sortKey(names[i]), i);
    std::sort(keys.begin(), keys.end(), [](const auto &a, const auto &b) { return a.first.compare(b.first) < 0; });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const auto &[key, index] : keys)
        sorted.append(names[index]);
    names = std::move(sorted);
}

}  // namespace

FolderList::FolderList(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row is an icon and a name, so the view need not measure each one.
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemActivated, this, &FolderList::open);
}

bool FolderList::setPath(const QString &folder)
{
    const QString target = normalised(folder);
    std::optional<QStringList> listed = subfoldersOf(target);
    if (!listed)
        return false;
    QStringList subfolders = std::move(*listed);
    sortForPeople(subfolders);

    clear();
    const QStringList chain = ancestorsOf(target);
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    int depth = 0;
    for (const QString &ancestor : chain) {
        const QString label = platform::shownFileName(
            ancestor == QLatin1String("/") ? ancestor : ancestor.mid(ancestor.lastIndexOf(QLatin1Char('/')) + 1));
        auto *item = new QListWidgetItem(openIcon, QString(qsizetype(depth) * 2, QLatin1Char(' ')) + label);
        item->setData(kPathRole, ancestor);
        addItem(item);
        ++depth;
    }
    QListWidgetItem *openItem = item(count() - 1);
    const QString prefix = target == QLatin1String("/") ? target : target + QLatin1Char('/');
    for (const QString &name : subfolders) {
        // Filled before it joins the list: a change to an item in the list is a
        // notice to the view, a hundred thousand of them for a large folder.
        auto *item = new QListWidgetItem(closedIcon, QString(qsizetype(depth) * 2, QLatin1Char(' ')) + platform::shownFileName(name));
        item->setData(kPathRole, prefix + name);
        addItem(item);
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
