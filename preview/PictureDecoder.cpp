#include "preview/PictureDecoder.h"

#include "preview/DecoderClient.h"
#include "preview/PictureLoader.h"

#include <limits>
#include <new>

namespace preview {
namespace {

bool stillGood(const std::optional<PictureDecoder::Kept> &kept, const PreviewRequest &request,
               const std::optional<platform::FileStamp> &stamp)
{
    if (!kept || !stamp || kept->path != request.path || kept->stamp != *stamp || kept->png != request.png)
        return false;
    if (kept->failed || request.png)
        return true;
    return kept->picture && kept->picture->sharpAt(request.showSize);
}

PictureDecoder::Kept load(const PreviewRequest &request, const platform::FileStamp &stamp,
                          const Interrupted &interrupted)
{
    PictureDecoder::Kept kept{request.path, stamp, request.png, std::nullopt, {}, true};
    try {
        if (!request.png) {
            kept.picture = LoadPicture(request.path, request.showSize, interrupted);
            kept.failed = kept.picture->isEmpty();
            return kept;
        }
        // A huge picture is resampled for each box size from a copy no larger than
        // the screen, which looks the same and costs a fraction of the time.
        kept.source = Module2::DecodePicture(request.path, interrupted, request.keepBound);
        kept.failed = false;
    } catch (const PictureError &) {
    } catch (const std::bad_alloc &) {
        // A picture the machine has no room for is no picture.
    }
    return kept;
}

}  // namespace

PictureDecoder::PictureDecoder(Delivery deliver, std::function<void(const QString &path)> beforeDecode)
    : deliver_(std::move(deliver))
    , beforeDecode_(std::move(beforeDecode))
{
}

PictureDecoder::~PictureDecoder()
{
    barrier_ = std::numeric_limits<quint64>::max();
}

DecodedPreview PictureDecoder::decode(const PreviewRequest &request, std::optional<Kept> &kept,
                                      const Interrupted &interrupted)
{
    const std::optional<platform::FileStamp> stamp = platform::regularFileStamp(request.path);
    DecodedPreview result{request.path, request.whileWalking, request.row, stamp, request.png, std::nullopt, {}, {}};
    if (!stamp) {
        kept.reset();
        return result;
    }
    if (!stillGood(kept, request, stamp)) {
        kept = load(request, *stamp, interrupted);
        // A decode cut short, or lost with its helper, says nothing of the file:
        // nothing is kept of it, and selecting it again tries again.
        if ((interrupted && interrupted()) || (kept->failed && decoderOfThisThread().helperFailed())) {
            kept.reset();
            result.stamp.reset();  // no stamp: not taken for what the file holds
            return result;
        }
    }
    if (kept->failed)
        return result;
    if (!request.png) {
        result.picture = kept->picture;  // a drawing: a bitmap of the size it is shown at
        return result;
    }
    try {
        const QRgb white = qRgb(255, 255, 255);
        if (!request.previewBitmap.isEmpty())
            result.previewBitmap = Module2::RenderStretched(kept->source, request.previewBitmap, white);
        if (!request.bannerBitmap.isEmpty())
            result.bannerBitmap = Module2::RenderStretched(kept->source, request.bannerBitmap, white);
    } catch (const std::bad_alloc &) {
        result.previewBitmap = result.bannerBitmap = QImage();
    }
    return result;
}

namespace {

// The decoding thread's client. The preview's pictures are often overtaken: a
// spare helper takes over at once.
DecoderClient &previewClient()
{
    DecoderClient &client = decoderOfThisThread();
    client.keepSpare(true);
    return client;
}

}  // namespace

void PictureDecoder::prepare()
{
    worker_.post([] { previewClient().startAhead(); });
}

void PictureDecoder::request(PreviewRequest request)
{
    const quint64 serial = ++serial_;
    awaited_ = serial;
    if (!request.whileWalking)
        barrier_ = serial;
    worker_.post([this, serial, request = std::move(request)] {
        previewClient();  // before the decode below starts its helper
        if (beforeDecode_)
            beforeDecode_(request.path);
        DecodedPreview decoded = decode(request, kept_, [this, serial] { return barrier_ > serial; });
        platform::deliverTo(&receiver_, [this, serial, decoded = std::move(decoded)] {
            if (serial == awaited_)
                awaited_ = 0;
            if (serial < barrier_ || serial <= delivered_)
                return;
            delivered_ = serial;
            deliver_(decoded);
        });
    });
}

void PictureDecoder::cancel()
{
    worker_.dropWaiting();
    barrier_ = ++serial_;
    awaited_ = 0;
}

}  // namespace preview
