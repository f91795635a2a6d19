#pragma once

#include <string>
#include <string_view>

namespace pdf {

// UTF-8 text as single-byte Windows-1252, one byte a character; "?" stands for
// a character the code page cannot hold and for bytes that are not UTF-8.
std::string toCp1252(std::string_view utf8);

}  // namespace pdf
