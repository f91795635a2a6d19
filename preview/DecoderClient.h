#pragma once

#include "preview/DecoderProtocol.h"
#include "preview/PictureFile.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

#include <sys/types.h>

namespace preview {

// A picture as the helper decoded it.
struct HelperPicture {
    QImage image;          // the pixels, mapped from the helper's sealed memory file
    QByteArray encoded;    // or the encoded picture, for a cell picture
    QSize size;            // of the pixels or the encoded picture
    QSize natural;         // pixels, or hundredths of a millimetre for a drawing
    bool reduced = false;
    bool drawing = false;
};

// The window's side of the picture decoder helper (quorvel-decoder): the helper
// is started on first use and kept for the next picture; each picture's file is
// opened here (regular files only) and handed over as a descriptor. A helper that
// crashes, hangs past the time allowed, or is no longer waited for is killed; it
// costs that picture, and a new one is started for the next.
// One client per thread that decodes: the helper ends with the thread that
// started it, even when the whole program is killed.
class DecoderClient {
public:
    explicit DecoderClient(QString helper = decoderHelperPath());
    ~DecoderClient();
    DecoderClient(const DecoderClient &) = delete;
    DecoderClient &operator=(const DecoderClient &) = delete;

    // The picture at `path` decoded as `request` says; nothing when it is no
    // picture of the route's kinds, cannot be read, the helper fails or takes
    // longer than `timeoutMs`, or `interrupted` says it is no longer wanted.
    std::optional<HelperPicture> decode(const QString &path, const decoding::Request &request,
                                        const Interrupted &interrupted = {}, int timeoutMs = 10000);

    // The last decode failed for the helper's sake (none could be started, it
    // crashed, hung past its time or talked nonsense), not the picture's: the
    // same picture may well decode when asked again.
    bool helperFailed() const { return helperFailed_; }

    // Starts the helper (and the spare, if kept) before the first picture, so that
    // it is ready when one is asked for.
    void startAhead() { start(); }

    // Ends the helper now rather than with the thread: a thread that decodes once.
    void finish() { stop(); }
    // Keeps a second helper started and ready, for a thread whose pictures are often
    // overtaken (the preview): the one stopped half way is replaced without a wait.
    void keepSpare(bool keep) { keepSpare_ = keep; }

    // The helper's process and the spare's, -1 when none runs: for tests that kill them.
    pid_t helperProcess() const { return pid_; }
    pid_t spareProcess() const { return spare_.pid; }

    // The helper program installed with the program.
    static QString decoderHelperPath();

private:
    struct Helper {
        int socket = -1;
        pid_t pid = -1;
    };
    bool start();
    void stop();
    Helper spawn();
    void end(Helper &helper);
    // Reaps the helpers killed earlier that have ended since.
    void reapEnded();

    QString helper_;
    int socket_ = -1;
    pid_t pid_ = -1;
    bool keepSpare_ = false;
    bool helperFailed_ = false;
    Helper spare_;
    std::vector<pid_t> ending_;  // killed, not yet reaped
};

// The client of the calling thread.
DecoderClient &decoderOfThisThread();

}  // namespace preview
