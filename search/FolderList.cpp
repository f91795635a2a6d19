#include "search/FolderList.h"

#include "platform/FileNames.h"
#include "platform/FolderEnumeration.h"

#include <QCollator>
#include <QDir>
#include <QCoreApplication>

#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <utility>

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

void FolderList::setPath(const QString &folder, std::function<void(bool)> done)
{
    const QString target = normalised(folder);
    wanted_ = target;
    whenOpened_ = std::move(done);
    showFolder(target, nullptr);
    if (unanswered_.contains(target))
        return;  // its answer, when it comes, is this one's
    unanswered_.insert(target);
    calls_.run<std::optional<QStringList>>(
        [target] {
            std::optional<QStringList> listed = subfoldersOf(target);
            if (listed)
                sortForPeople(*listed);
            return listed;
        },
        [this, target](std::optional<QStringList> listed) { answered(target, std::move(listed)); });
}

void FolderList::answered(const QString &folder, std::optional<QStringList> subfolders)
{
    unanswered_.remove(folder);
    if (folder != wanted_)
        return;  // overtaken
    wanted_.clear();
    const std::function<void(bool)> done = std::exchange(whenOpened_, nullptr);
    if (!subfolders) {
        showFolder(path_, &subfolders_);
        if (done)
            done(false);
        return;
    }
    subfolders_ = std::move(*subfolders);
    const bool changed = folder != path_;
    path_ = folder;
    showFolder(path_, &subfolders_);
    if (changed)
        emit Change();
    if (done)
        done(true);
}

void FolderList::showFolder(const QString &folder, const QStringList *subfolders)
{
    clear();
    if (folder.isEmpty())
        return;
    const QStringList chain = ancestorsOf(folder);
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
    const QString indent(qsizetype(depth) * 2, QLatin1Char(' '));
    if (!subfolders) {
        auto *item = new QListWidgetItem(indent + QCoreApplication::translate("FolderList", "Reading..."));
        item->setFlags(Qt::NoItemFlags);
        addItem(item);
    } else {
        const QString prefix = folder == QLatin1String("/") ? folder : folder + QLatin1Char('/');
        for (const QString &name : *subfolders) {
            // Filled before it joins the list: a change to an item in the list is a
            // notice to the view, a hundred thousand of them for a large folder.
            auto *item = new QListWidgetItem(closedIcon, indent + platform::shownFileName(name));
            item->setData(kPathRole, prefix + name);
            addItem(item);
        }
    }
    setCurrentItem(openItem);
    scrollToItem(openItem);
}

void FolderList::open(QListWidgetItem *item)
{
    if (item && item->data(kPathRole).isValid())
        setPath(item->data(kPathRole).toString());
}

}  // namespace search
