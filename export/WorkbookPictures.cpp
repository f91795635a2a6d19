#include "export/WorkbookPictures.h"

#include "export/ZipPackage.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>

#include <unistd.h>

namespace listexport {
namespace {

const QString kFolderPrefix = QStringLiteral(".QuorvelFileSearch-pictures-");
const QString kDrawing = QStringLiteral("xl/drawings/drawing1.xml");
const QString kDrawingRelationships = QStringLiteral("xl/drawings/_rels/drawing1.xml.rels");
// Where the library put the placeholder, the one picture it was given.
const QString kPlaceholderMedia = QStringLiteral("xl/media/image1.jpeg");
const QByteArray kAnchorEnd = "</xdr:twoCellAnchor>";
constexpr int kRelationshipsPerPiece = 1024;

QByteArray relationshipId(int picture)
{
    return "rIdP" + QByteArray::number(picture + 1);
}

QString mediaName(int media)
{
    return QStringLiteral("xl/media/picture%1.jpeg").arg(media + 1);
}

}  // namespace

WorkbookPictures::WorkbookPictures(const QString &folder)
    : folder_(folder + QLatin1Char('/') + kFolderPrefix + QStringLiteral("XXXXXX"))
{
}

void WorkbookPictures::removeStale(const QString &folder, qint64 olderThanSeconds)
{
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-olderThanSeconds);
    const QFileInfoList found = QDir(folder).entryInfoList({kFolderPrefix + QLatin1Char('*')},
                                                           QDir::Dirs | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo &stale : found)
        if (stale.ownerId() == ::geteuid() && stale.lastModified() < before)
            QDir(stale.filePath()).removeRecursively();
}

const QByteArray &WorkbookPictures::placeholder()
{
    static const QByteArray bytes = [] {
        QImage pixel(1, 1, QImage::Format_RGB32);
        pixel.fill(Qt::white);
        pixel.setDotsPerMeterX(3780);  // 96 dpi
        pixel.setDotsPerMeterY(3780);
        QByteArray jpeg;
        QBuffer out(&jpeg);
        out.open(QIODevice::WriteOnly);
        pixel.save(&out, "JPG");
        return jpeg;
    }();
    return bytes;
}

QString WorkbookPictures::fileOf(int media) const
{
    return folder_.filePath(QString::number(media) + QStringLiteral(".jpg"));
}

bool WorkbookPictures::add(const QByteArray &jpeg)
{
    const QByteArray digest = QCryptographicHash::hash(jpeg, QCryptographicHash::Md5);
    const auto [it, isNew] = mediaOfDigest_.emplace(digest, int(mediaOfDigest_.size()));
    if (isNew) {
        QFile file(fileOf(it->second));
        if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size() || !file.flush()) {
            mediaOfDigest_.erase(it);
            return false;
        }
    }
    mediaOfPicture_.push_back(it->second);
    return true;
}

bool WorkbookPictures::finish(ZipPackage &package, const ZipPackage &original,
                              std::function<QByteArray(const QByteArray &anchor)> eachAnchor) const
{
    if (mediaOfPicture_.empty())
        return true;
    // The drawing: each anchor as it comes, naming its own picture.
    ZipPackage::Pieces drawing = original.pieces(kDrawing);
    auto rewritten = [drawing = std::move(drawing), eachAnchor = std::move(eachAnchor), carry = QByteArray(),
                      ended = false, picture = 0]() mutable -> std::optional<QByteArray> {
        static const QRegularExpression embed(QStringLiteral("r:embed=\"rId\\d+\""));
        for (;;) {
            const qsizetype end = carry.indexOf(kAnchorEnd);
            if (end >= 0) {
                QString anchor = QString::fromUtf8(eachAnchor(carry.left(end + kAnchorEnd.size())));
                anchor.replace(embed, QStringLiteral("r:embed=\"") + QString::fromLatin1(relationshipId(picture++)) +
                                          QStringLiteral("\""));
                carry.remove(0, end + kAnchorEnd.size());
                return anchor.toUtf8();
            }
            if (ended)
                return std::exchange(carry, QByteArray());  // the rest; then empty, which ends the part
            std::optional<QByteArray> piece = drawing();
            if (!piece)
                return std::nullopt;
            ended = piece->isEmpty();
            carry += *piece;
        }
    };
    // The drawing's relationships: one to each picture's file.
    auto relationships = [this, next = -1]() mutable -> std::optional<QByteArray> {
        const int count = int(mediaOfPicture_.size());
        if (next == -1) {
            next = 0;
            return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                              "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">");
        }
        if (next > count)
            return QByteArray();
        QByteArray piece;
        for (const int last = std::min(count, next + kRelationshipsPerPiece); next < last; ++next)
            piece += "<Relationship Id=\"" + relationshipId(next) +
                     "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
                     "Target=\"../" + mediaName(mediaOfPicture_[size_t(next)]).mid(3).toUtf8() + "\"/>";
        if (next == count) {
            ++next;
            piece += "</Relationships>";
        }
        return piece;
    };
    if (!package.write(kDrawing, std::move(rewritten)) || !package.write(kDrawingRelationships, std::move(relationships)) ||
        !package.remove(kPlaceholderMedia))
        return false;
    for (int media = 0; media < int(mediaOfDigest_.size()); ++media)
        if (!package.writeStoredFile(mediaName(media), fileOf(media)))
            return false;
    return true;
}

}  // namespace listexport
