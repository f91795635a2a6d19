#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace pdf {

// The CID of each glyph of a CID-keyed CFF font program (the `CFF ` table of an
// OpenType font): in a PDF, such a font's text and widths are keyed by CID, not
// by glyph index. Nothing for a font that is not CID-keyed or a table that cannot
// be read; every read is checked against the table's end.
std::optional<std::vector<std::uint16_t>> cidsOfGlyphs(std::string_view cff, unsigned glyphCount);

}  // namespace pdf
