#pragma once

#include <string>
#include <unordered_map>

namespace pdf {

// The widths of the standard fonts a PDF names without embedding them
// (Helvetica, Times, Courier and their styles, Symbol, ZapfDingbats). Viewers
// draw them with metric-compatible fonts, the URW ones on this desktop; the
// widths are read from the font fontconfig gives for the same family and style.
class StandardFontWidths {
public:
    explicit StandardFontWidths(const std::string &baseFont);

    // The width of `text` in thousandths of an em; a character the font lacks
    // counts as the "?" the writer puts in its place.
    int width(const std::u32string &text) const;

private:
    int advance(char32_t c) const;

    std::unordered_map<char32_t, int> widths_;
    int fallback_ = 500;  // without any font: an average letter
};

}  // namespace pdf
