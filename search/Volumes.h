#pragma once

#include "platform/DetachedCall.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace search {

// A volume as the drive list shows it.
struct Volume {
    QString rootPath;
    QString caption;  // root path and label
};

// The volume holding `path`, as its root path: read from the kernel's mount
// table alone, so that no mount is asked anything.
QString volumeRootOf(const QString &path);

// Reads the machine's volumes. Each mount is asked for its size and label on a
// thread of its own: one that has not answered within two seconds (a share
// whose server went away) is listed as unavailable, and is not asked again until
// it has answered. The list comes to `done` on the window's thread.
class VolumeReader {
public:
    VolumeReader();
    ~VolumeReader();
    VolumeReader(const VolumeReader &) = delete;
    VolumeReader &operator=(const VolumeReader &) = delete;

    void read(std::function<void(const QList<Volume> &)> done);

private:
    struct Probes;
    std::shared_ptr<Probes> probes_;  // shared with the threads asking the mounts
    QObject answers_;
    platform::DetachedCalls calls_{&answers_};
};

}  // namespace search
