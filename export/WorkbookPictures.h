#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <unordered_map>
#include <vector>

namespace listexport {

class ZipPackage;

// The pictures of a workbook, kept out of memory until its package is finished:
// each one's JPEG in a file of its own, in a folder beside the workbook (on the
// disk the person chose, never a /tmp that may be memory), the same picture
// stored once. The library that writes the workbook, which would hold every
// picture in memory until the end, is handed one small placeholder instead
// (which it stores once); the finished package's drawing then names the real ones.
class WorkbookPictures {
public:
    explicit WorkbookPictures(const QString &folder);
    // Removes what an export that never ended (the program killed) left in
    // `folder`: picture folders of ours older than `olderThanSeconds`, so that one
    // another instance of the program is filling now is spared.
    static void removeStale(const QString &folder, qint64 olderThanSeconds);

    bool isValid() const { return folder_.isValid(); }
    // Keeps `jpeg` as the next picture placed on the sheet.
    bool add(const QByteArray &jpeg);
    // A 1 x 1 pixel JPEG at 96 dpi, placed in each picture's stead: scaled by a
    // picture's size in pixels, it takes the picture's place.
    static const QByteArray &placeholder();

    // Puts the pictures into `package`, whose drawing (read from `original`) has an
    // anchor for each, in the order they were added: each anchor, changed by
    // `eachAnchor`, names its own picture; the placeholder goes. The drawing is
    // rewritten a piece at a time, never held whole.
    bool finish(ZipPackage &package, const ZipPackage &original,
                std::function<QByteArray(const QByteArray &anchor)> eachAnchor) const;

private:
    QString fileOf(int media) const;

    QTemporaryDir folder_;
    std::unordered_map<QByteArray, int> mediaOfDigest_;
    std::vector<int> mediaOfPicture_;
};

}  // namespace listexport
