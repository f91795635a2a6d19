#pragma once

#include <string>
#include <string_view>

namespace pdf {

// UTF-8 text as single-byte Windows-1252, one byte a character; "?" stands for
// a character the code page cannot hold and for bytes that are not UTF-8.
std::string toCp1252(std::string_view utf8);

// Whether Windows-1252 holds every character of the text (text that is not
// valid UTF-8 does not fit: its broken bytes would turn into "?").
bool fitsCp1252(std::string_view utf8);

// The characters of UTF-8 text; U+FFFD for each broken sequence.
std::u32string decodeUtf8(std::string_view utf8);

}  // namespace pdf
