#include "preview/Metafile.h"

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <iconv.h>
#include <memory>
#include <optional>

namespace preview {
namespace {

std::int32_t readInt32(const QByteArray &data, qsizetype at)
{
    std::int32_t v = 0;
    std::memcpy(&v, data.constData() + at, sizeof v);
    return v;
}

// The extent from `low` to `high`, a hostile header's included: nothing where it
// is empty, reversed or wider than an int holds.
std::optional<int> extent(std::int32_t low, std::int32_t high)
{
    const std::int64_t length = std::int64_t(high) - std::int64_t(low);
    if (length <= 0 || length > INT_MAX)
        return std::nullopt;
    return int(length);
}

std::uint16_t readUint16(const QByteArray &data, qsizetype at)
{
    std::uint16_t v = 0;
    std::memcpy(&v, data.constData() + at, sizeof v);
    return v;
}

std::uint32_t readUint32(const QByteArray &data, qsizetype at)
{
    std::uint32_t v = 0;
    std::memcpy(&v, data.constData() + at, sizeof v);
    return v;
}

// Whether `length` bytes from `offset` lie within `size` bytes.
bool within(std::uint64_t offset, std::uint64_t length, std::uint64_t size)
{
    return offset <= size && length <= size - offset;
}

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmrComment = 70;
constexpr std::uint32_t kEmfPlusSignature = 0x2B464D45;  // "EMF+"
// The converter knows an EMF+ record by the low six bits of its type alone,
// whatever the bits above them say.
constexpr std::uint16_t kEmfPlusTypeMask = 0x3F;
constexpr std::uint16_t kEmfPlusObject = 0x08;
constexpr std::uint16_t kEmfPlusContinued = 0x8000;
constexpr qsizetype kEmrHeaderSize = 88;

// EMF+ records inside one comment: each of a size that fits the comment and
// holds its own data. An object too large for one record is continued over
// several (the continue flag on all but the last); the converter gathers every
// object's bytes in one buffer it keeps from file to file, and an object record
// without data, or pieces of one object broken off by anything else, leave that
// buffer freed twice. So every object record carries data, and a continued
// object comes whole: nothing between its pieces, and the last before the file
// ends (`pendingObject`, -1 when none waits).
bool emfPlusRecordsFit(const QByteArray &emf, qsizetype at, std::uint32_t length, int &pendingObject)
{
    std::uint64_t offset = 0;
    while (offset < length) {
        if (!within(offset, 12, length))
            return false;
        const qsizetype record = at + qsizetype(offset);
        const std::uint32_t size = readUint32(emf, record + 4);
        const std::uint32_t dataSize = readUint32(emf, record + 8);
        if (size < 12 || size % 4 != 0 || !within(offset, size, length) || dataSize > size - 12)
            return false;
        const std::uint16_t type = readUint16(emf, record);
        const std::uint16_t flags = readUint16(emf, record + 2);
        if ((type & kEmfPlusTypeMask) == kEmfPlusObject) {
            const int object = flags & 0xFF;
            if (pendingObject >= 0 && pendingObject != object)
                return false;
            const bool continued = flags & kEmfPlusContinued;
            // Some of the object, after the total size a continued piece begins with.
            if (dataSize < (continued ? 5u : 1u))
                return false;
            pendingObject = continued ? object : -1;
        } else if (pendingObject >= 0) {
            return false;
        }
        offset += size;
    }
    return true;
}

// The record structure the converter walks, checked before it walks it: the
// header's size and description inside the header and the file, every record of
// a size that fits the file up to the end-of-file record (the converter reads
// the size of the record after each until it meets one), and every EMF+ record
// inside its comment. The converter reads whatever these sizes claim without
// checking them.
bool emfRecordsFit(const QByteArray &emf)
{
    const auto size = std::uint64_t(emf.size());
    const std::uint32_t headerSize = readUint32(emf, 4);
    if (headerSize < kEmrHeaderSize || headerSize % 4 != 0 || headerSize > size)
        return false;
    const std::uint32_t descriptionChars = readUint32(emf, 60);
    const std::uint32_t descriptionOffset = readUint32(emf, 64);
    if (descriptionChars > 0 &&
        (descriptionOffset < kEmrHeaderSize || !within(descriptionOffset, std::uint64_t(descriptionChars) * 2, headerSize)))
        return false;
    int pendingObject = -1;
    std::uint64_t offset = 0;
    while (offset < size) {
        if (!within(offset, 8, size))
            return false;
        const std::uint32_t type = readUint32(emf, qsizetype(offset));
        const std::uint32_t recordSize = readUint32(emf, qsizetype(offset) + 4);
        if (recordSize < 8 || recordSize % 4 != 0 || !within(offset, recordSize, size))
            return false;
        if ((offset == 0) != (type == kEmrHeader))
            return false;  // the header comes first, and once
        if (type == kEmrEof)
            return pendingObject < 0;  // nothing after it is read
        if (type == kEmrComment && recordSize >= 16 && readUint32(emf, qsizetype(offset) + 12) == kEmfPlusSignature) {
            const std::uint32_t dataSize = readUint32(emf, qsizetype(offset) + 8);
            if (dataSize < 4 || dataSize > recordSize - 12 ||
                !emfPlusRecordsFit(emf, qsizetype(offset) + 16, dataSize - 4, pendingObject))
                return false;
        }
        offset += recordSize;
    }
    return false;  // no end-of-file record
}

struct FreeDeleter {
    void operator()(char *p) const { std::free(p); }
};

struct WmfApi {
    wmfAPI *api = nullptr;
    ~WmfApi()
    {
        if (api)
            wmf_api_destroy(api);
    }
};

}  // namespace

void prepareMetafileConversions()
{
    // The converters of UTF-16 text, loaded now and never closed.
    for (const char *from : {"UTF-16LE", "UTF-16", "UCS-2LE"})
        (void)iconv_open("UTF-8", from);
}

MetafileDrawing emfToSvg(const QByteArray &emf)
{
    // EMR_HEADER: type 1, then the bounds and, from byte 24, the frame in HIMETRIC.
    if (emf.size() < kEmrHeaderSize || readUint32(emf, 0) != kEmrHeader || emf.mid(40, 4) != " EMF" ||
        !emfRecordsFit(emf))
        return {};
    const std::optional<int> width = extent(readInt32(emf, 24), readInt32(emf, 32));
    const std::optional<int> height = extent(readInt32(emf, 28), readInt32(emf, 36));
    if (!width || !height)
        return {};
    const QSize himetric(*width, *height);
    // The converter reads the description a second time, from past its first
    // string for as long as the whole: zeros after the file keep that read in our
    // copy, and end a string that has no end of its own.
    QByteArray contents = emf;
    contents.append(QByteArray(qsizetype(readUint32(emf, 60)) * 2 + 8, '\0'));
    generatorOptions options{};
    char nameSpace[] = "";
    options.nameSpace = nameSpace;
    options.emfplus = true;
    options.svgDelimiter = true;
    char *out = nullptr;
    size_t outLength = 0;
    const int ok = emf2svg(contents.data(), size_t(emf.size()), &out, &outLength, &options);
    const std::unique_ptr<char, FreeDeleter> owned(out);
    if (!ok || !out || outLength == 0)
        return {};
    return {QByteArray(out, qsizetype(outLength)), himetric};
}

MetafileDrawing wmfToSvg(const QByteArray &wmf)
{
    if (wmf.size() < 18)
        return {};
    WmfApi handle;
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    if (wmf_api_create(&handle.api, WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL, &options) != wmf_E_None)
        return {};
    wmfAPI *api = handle.api;
    wmf_svg_t *device = WMF_SVG_GetData(api);
    device->out = wmf_stream_create(api, nullptr);
    QByteArray data = wmf;
    if (wmf_mem_open(api, reinterpret_cast<unsigned char *>(data.data()), long(data.size())) != wmf_E_None)
        return {};
    wmfD_Rect bbox{};
    if (wmf_scan(api, 0, &bbox) != wmf_E_None) {
        wmf_mem_close(api);
        return {};
    }
    unsigned int himetricWidth = 0, himetricHeight = 0;
    wmf_display_size(api, &himetricWidth, &himetricHeight, 2540, 2540);
    unsigned int width = 0, height = 0;
    wmf_display_size(api, &width, &height, 96, 96);
    device->bbox = bbox;
    device->width = width ? width : 1;
    device->height = height ? height : 1;
    const wmf_error_t played = wmf_play(api, 0, &bbox);
    char *out = nullptr;
    unsigned long outLength = 0;
    wmf_stream_destroy(api, device->out, &out, &outLength);
    wmf_mem_close(api);
    if (played != wmf_E_None || !out || outLength == 0)
        return {};
    // The stream's memory belongs to the library's allocator, freed with the API.
    if (himetricWidth > INT_MAX || himetricHeight > INT_MAX)
        return {};
    return {QByteArray(out, qsizetype(outLength)), QSize(int(himetricWidth), int(himetricHeight))};
}

}  // namespace preview
