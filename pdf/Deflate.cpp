#include "pdf/Deflate.h"

#include <zlib.h>

namespace pdf {

std::optional<std::string> deflated(std::string_view bytes)
{
    uLongf size = compressBound(uLong(bytes.size()));
    std::string packed(size, '\0');
    if (compress2(reinterpret_cast<Bytef *>(packed.data()), &size, reinterpret_cast<const Bytef *>(bytes.data()),
                  uLong(bytes.size()), Z_DEFAULT_COMPRESSION) != Z_OK ||
        size >= bytes.size())
        return std::nullopt;
    packed.resize(size);
    return packed;
}

}  // namespace pdf
