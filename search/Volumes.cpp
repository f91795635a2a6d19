#include "search/Volumes.h"

#include "platform/FileNames.h"

#include <QCoreApplication>
#include <QFile>
#include <QStorageInfo>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

namespace search {
namespace {

// How long a mount may take to say what it is before it is listed as unavailable.
constexpr auto kAnswerTime = std::chrono::seconds(2);

// The mount table's escapes: octal for a blank, a tab, a line end and a backslash.
QByteArray unescaped(const QByteArray &field)
{
    const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) && isOctal(field[i + 2]) &&
            isOctal(field[i + 3])) {
            out.append(char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
            i += 3;
        } else {
            out.append(field[i]);
        }
    }
    return out;
}

struct MountPoint {
    QString path;
    QByteArray type;
};

// Every mount point with its file system type, in the kernel's order.
std::vector<MountPoint> mountTable()
{
    std::vector<MountPoint> mounts;
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return mounts;
    for (const QByteArray &line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf("-");
        if (fields.size() < 5 || separator < 0 || separator + 1 >= fields.size())
            continue;
        mounts.push_back({platform::decodeFileName(unescaped(fields[4])), fields[separator + 1]});
    }
    return mounts;
}

bool isInside(const QString &path, const QString &folder)
{
    return folder == QLatin1String("/") || path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// Mounts that hold no volume a person searches: the kernel's own tables and devices.
bool isPseudo(const MountPoint &mount)
{
    for (const char *system : {"/dev", "/proc", "/sys", "/var/run", "/var/lock"})
        if (isInside(mount.path, QLatin1String(system)))
            return true;
    return mount.type == "rootfs";
}

}  // namespace

QString volumeRootOf(const QString &path)
{
    QString root = QStringLiteral("/");
    for (const MountPoint &mount : mountTable())
        if (isInside(path, mount.path) && mount.path.size() > root.size())
            root = mount.path;
    return root;
}

// What the threads asking the mounts share with the reader.
struct VolumeReader::Probes {
    std::mutex mutex;
    std::condition_variable answered;
    std::map<QString, std::optional<Volume>> answers;  // nothing: no volume to list
    std::set<QString> unanswered;                       // asked, no answer yet
};

VolumeReader::VolumeReader()
    : probes_(std::make_shared<Probes>())
{
}

VolumeReader::~VolumeReader() = default;

void VolumeReader::read(std::function<void(const QList<Volume> &)> done)
{
    calls_.run<QList<Volume>>(
        [probes = probes_] {
            std::vector<QString> roots;
            for (const MountPoint &mount : mountTable())
                if (!isPseudo(mount) && std::find(roots.begin(), roots.end(), mount.path) == roots.end())
                    roots.push_back(mount.path);
            std::unique_lock lock(probes->mutex);
            for (const QString &root : roots) {
                if (probes->unanswered.count(root))
                    continue;  // still held from an earlier reading
                probes->answers.erase(root);
                probes->unanswered.insert(root);
                std::thread([probes, root] {
                    const QStorageInfo info(root);
                    std::optional<Volume> volume;
                    // A mount of no size is no volume (a control file system), the root excepted.
                    if (info.isValid() && info.isReady() && (info.bytesTotal() > 0 || root == QLatin1String("/"))) {
                        const QString label = info.name().isEmpty() ? info.displayName() : info.name();
                        volume = Volume{root, root + QStringLiteral(" [") + label + QLatin1Char(']')};
                    }
                    const std::lock_guard lock(probes->mutex);
                    probes->answers[root] = volume;
                    probes->unanswered.erase(root);
                    probes->answered.notify_all();
                }).detach();
            }
            probes->answered.wait_for(lock, kAnswerTime, [&] {
                return std::none_of(roots.begin(), roots.end(), [&](const QString &r) { return probes->unanswered.count(r) > 0; });
            });
            QList<Volume> volumes;
            for (const QString &root : roots) {
                if (probes->unanswered.count(root)) {
                    volumes.append({root, root + QStringLiteral(" [") +
                                              QCoreApplication::translate("Volumes", "not answering") + QLatin1Char(']')});
                } else if (const auto found = probes->answers.find(root); found != probes->answers.end() && found->second) {
                    volumes.append(*found->second);
                }
            }
            // The root is always there to search, even where the mount table does
            // not show it (inside a chroot or a container).
            if (std::none_of(volumes.begin(), volumes.end(), [](const Volume &v) { return v.rootPath == QLatin1String("/"); }))
                volumes.append({QStringLiteral("/"), QStringLiteral("/ [/]")});
            std::sort(volumes.begin(), volumes.end(), [](const Volume &a, const Volume &b) { return a.rootPath < b.rootPath; });
            return volumes;
        },
        [done = std::move(done)](QList<Volume> volumes) { done(volumes); });
}

}  // namespace search
