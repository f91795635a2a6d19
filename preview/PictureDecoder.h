#pragma once

#include "platform/FileNames.h"
#include "platform/WorkerThread.h"
#include "preview/Picture.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <atomic>
#include <functional>
#include <optional>

namespace preview {

// What the selection preview needs made of one entry.
struct PreviewRequest {
    QString path;
    // Asked for by a walk selecting what it finds: such a request does not stop
    // the decode running, and the pictures of entries found meanwhile are drawn
    // as they come, so a long walk shows its pictures as it goes.
    bool whileWalking = false;
    int row = -1;  // the entry's place in the list
    // The PNG loader's bitmaps for both boxes, instead of a picture to paint.
    bool png = false;
    // A picture: the largest pixel size it is drawn at.
    QSize showSize;
    // PNG: each box's bitmap size; an empty size makes none (that box keeps what it has).
    QSize previewBitmap;
    QSize bannerBitmap;
    // PNG: a decoded picture larger than this is kept only this large for later
    // bitmaps of the same file (no box is larger than the screen).
    QSize keepBound;
};

// What was made of it. Nothing in it when the file could not be loaded.
struct DecodedPreview {
    QString path;
    bool whileWalking = false;
    int row = -1;
    std::optional<platform::FileStamp> stamp;  // the file as it was decoded; none when nothing was learnt of it
    bool png = false;
    std::optional<Picture> picture;
    QImage previewBitmap;
    QImage bannerBitmap;
};

// Decodes the pictures of the preview on a thread of its own, so that neither a
// search nor a person stepping through photos waits for a decode. The newest
// request wins: one that waits when another comes is never decoded; one that a
// person's selection overtakes while it runs is stopped, and its result dropped.
// Results come in the order asked, never an older after a newer. The last file
// decoded is kept, so a new size of the same picture (a resize) costs no decode.
class PictureDecoder {
public:
    using Delivery = std::function<void(const DecodedPreview &)>;
    // `deliver` runs on the thread that makes the requests; `beforeDecode` on the
    // decoding thread before each decode (tests hold one there).
    explicit PictureDecoder(Delivery deliver, std::function<void(const QString &path)> beforeDecode = {});
    // Stops the decode under way at its next read: the window is going.
    ~PictureDecoder();

    // Starts the helper that decodes, and its spare, before any picture is asked
    // for: a helper takes tens of milliseconds to start, which the first picture
    // of a search would otherwise wait for, and take from the walk.
    void prepare();
    void request(PreviewRequest request);
    // Forgets every request made so far: none of their results is delivered.
    void cancel();
    // A request is waiting for its result.
    bool busy() const { return awaited_ != 0; }

    // The work itself, as the thread does it; `kept` is what the last call left.
    struct Kept {
        QString path;
        platform::FileStamp stamp;
        bool png = false;
        std::optional<Picture> picture;
        QImage source;  // PNG, at most the keep bound
        bool failed = false;  // the file is no picture: not tried again while it stays as it is
    };
    // A decode that `interrupted` stops keeps nothing.
    static DecodedPreview decode(const PreviewRequest &request, std::optional<Kept> &kept,
                                 const Interrupted &interrupted = {});

private:
    Delivery deliver_;
    const std::function<void(const QString &path)> beforeDecode_;
    quint64 serial_ = 0;
    quint64 awaited_ = 0;    // the newest request, until its result comes
    quint64 delivered_ = 0;  // the newest result delivered
    // Results of requests before this one are not wanted; read by the decoding
    // thread to stop a decode overtaken.
    std::atomic<quint64> barrier_{0};
    std::optional<Kept> kept_;  // touched only by the decoding thread
    QObject receiver_;
    platform::WorkerThread worker_{platform::WorkerThread::Policy::NewestOnly};  // last: stopped before what it uses goes
};

}  // namespace preview
