#pragma once

#include <fribidi.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace pdf {

// Glyphs of one font, in the order they are drawn from left to right.
struct GlyphRun {
    size_t font = 0;  // index among the document's embedded fonts
    std::vector<std::uint16_t> glyphs;
    int width = 0;  // in thousandths of an em, as the font's widths in the document give it
    // Each glyph stands for one character, in the text's order, and the font's map
    // back to the text says which: a reader gets the text back from the glyphs.
    bool textInOrder = true;
};

// The text as UTF-16 big-endian hexadecimal, as ToUnicode targets and the text
// strings of a content stream are written.
std::string utf16Hex(const std::u32string &text);

// The fonts for text that Windows-1252 cannot hold: found among the installed
// fonts with fontconfig (a TrueType font that covers each character, DejaVu Sans
// first), ordered by the Unicode Bidirectional Algorithm (FriBidi), shaped with
// HarfBuzz, and embedded as subsets of the glyphs used, each as a
// Type 0 font with an Identity-H encoding, widths and a map back to the text.
class UnicodeFonts {
public:
    UnicodeFonts();
    ~UnicodeFonts();
    UnicodeFonts(const UnicodeFonts &) = delete;
    UnicodeFonts &operator=(const UnicodeFonts &) = delete;

    // The line's glyph runs from left to right; a character no installed font
    // covers is drawn as "?". Empty when no font is installed at all.
    std::vector<GlyphRun> layout(const std::string &utf8);

    size_t fontCount() const { return fonts_.size(); }
    // The PDF objects (without their numbers' lines) of font `k`: the Type 0 font,
    // its CID font, the font descriptor, the font file and the ToUnicode map, to be
    // numbered `first` to `first + kObjectsPerFont - 1`.
    static constexpr int kObjectsPerFont = 5;
    std::vector<std::string> objects(size_t k, std::int32_t first) const;

private:
    struct Font;
    struct Segment;

    // The font that draws `c`, loading one that covers it if need be; -1 for none.
    int fontFor(char32_t c);
    int loadFont(const std::string &file, int index);
    void shape(const std::u32string &text, const Segment &segment, std::vector<GlyphRun> &runs);
    // The level of each character by the Unicode Bidirectional Algorithm, the line
    // read left to right as a path is.
    const std::vector<FriBidiLevel> &bidiLevels(const std::u32string &text);
    // A segment of a script that needs no shaping: each character's own glyph.
    void mapDirectly(const std::u32string &text, const Segment &segment, std::vector<GlyphRun> &runs);

    std::vector<std::unique_ptr<Font>> fonts_;
    // The font of each character once looked up: a table for the first plane, where
    // nearly every name's characters lie, a map beyond it.
    static constexpr char32_t kQuickCharacters = 0x10000;
    static constexpr std::int16_t kNotLookedUp = -2;
    std::vector<std::int16_t> quickFontOf_ = std::vector<std::int16_t>(kQuickCharacters, kNotLookedUp);
    std::unordered_map<char32_t, int> fontOfCharacter_;
    std::vector<Segment> perChar_;
    std::vector<FriBidiCharType> bidiTypes_;
    std::vector<FriBidiBracketType> brackets_;
    std::vector<FriBidiLevel> levels_;

    std::map<std::pair<std::string, int>, int> loaded_;
};

}  // namespace pdf
