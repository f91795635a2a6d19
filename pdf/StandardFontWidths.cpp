#include "pdf/StandardFontWidths.h"

#include "pdf/FontHandles.h"

#include <cmath>

namespace pdf {
namespace {

// The fontconfig pattern of the URW font that stands in for `baseFont`.
std::string patternFor(const std::string &baseFont)
{
    const auto has = [&](const char *part) { return baseFont.find(part) != std::string::npos; };
    if (baseFont == "Symbol")
        return "Standard Symbols PS";
    if (baseFont == "ZapfDingbats")
        return "D050000L";
    std::string pattern = has("Times") ? "Nimbus Roman" : has("Courier") ? "Nimbus Mono PS" : "Nimbus Sans";
    if (has("Bold"))
        pattern += ":bold";
    if (has("Italic") || has("Oblique"))
        pattern += ":italic";
    return pattern;
}

}  // namespace

StandardFontWidths::StandardFontWidths(const std::string &baseFont)
{
    FcInit();
    const Pattern pattern(FcNameParse(reinterpret_cast<const FcChar8 *>(patternFor(baseFont).c_str())));
    if (!pattern)
        return;
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const Pattern match(FcFontMatch(nullptr, pattern.get(), &result));
    FcChar8 *file = nullptr;
    int index = 0;
    if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch)
        return;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    const Blob blob(hb_blob_create_from_file_or_fail(reinterpret_cast<const char *>(file)));
    if (!blob)
        return;
    const Face face(hb_face_create(blob.get(), unsigned(index)));
    const HbFont font(hb_font_create(face.get()));
    const double perEm = 1000.0 / std::max(1u, hb_face_get_upem(face.get()));
    // The characters Windows-1252 holds: every one the font is set in.
    for (char32_t c = 0x20; c <= 0x2122; ++c) {
        hb_codepoint_t glyph = 0;
        if (hb_font_get_nominal_glyph(font.get(), c, &glyph))
            widths_.emplace(c, int(std::lround(hb_font_get_glyph_h_advance(font.get(), glyph) * perEm)));
    }
    fallback_ = advance(U'?');
}

int StandardFontWidths::advance(char32_t c) const
{
    const auto it = widths_.find(c);
    return it != widths_.end() ? it->second : fallback_;
}

int StandardFontWidths::width(const std::u32string &text) const
{
    int total = 0;
    for (const char32_t c : text)
        total += advance(c);
    return total;
}

}  // namespace pdf
