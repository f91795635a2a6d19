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
    if (emf.size() < 88 || readInt32(emf, 0) != 1 || emf.mid(40, 4) != " EMF")
        return {};
    const std::optional<int> width = extent(readInt32(emf, 24), readInt32(emf, 32));
    const std::optional<int> height = extent(readInt32(emf, 28), readInt32(emf, 36));
    if (!width || !height)
        return {};
    const QSize himetric(*width, *height);
    QByteArray contents = emf;
    generatorOptions options{};
    char nameSpace[] = "";
    options.nameSpace = nameSpace;
    options.emfplus = true;
    options.svgDelimiter = true;
    char *out = nullptr;
    size_t outLength = 0;
    const int ok = emf2svg(contents.data(), size_t(contents.size()), &out, &outLength, &options);
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
