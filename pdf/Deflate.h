#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pdf {

// `bytes` compressed for a stream with /Filter /FlateDecode (zlib's format);
// nothing when compressing fails or would not make it smaller.
std::optional<std::string> deflated(std::string_view bytes);

}  // namespace pdf
