#include "pdf/UnicodeFonts.h"

#include "pdf/CffCharset.h"
#include "pdf/Cp1252.h"
#include "pdf/Deflate.h"
#include "pdf/FontHandles.h"

#include <fontconfig/fontconfig.h>
#include <fribidi.h>

#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pdf {
namespace {

// The font tried first: it covers Latin, Greek, Cyrillic, Hebrew and Arabic.
constexpr const char *kPrimaryFamily = "DejaVu Sans";
// A ToUnicode block holds at most this many pairs.
constexpr size_t kPairsPerBlock = 100;

std::string decimal(long long v)
{
    return std::to_string(v);
}

std::string hex4(unsigned v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", v & 0xFFFF);
    return buf;
}

bool isNeutral(hb_script_t script)
{
    return script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED || script == HB_SCRIPT_UNKNOWN;
}

// Scripts drawn one glyph a character, left to right, when no combining mark is
// among the characters: shaping them would give the same glyphs.
bool needsNoShaping(hb_script_t script)
{
    switch (script) {
    case HB_SCRIPT_LATIN:
    case HB_SCRIPT_GREEK:
    case HB_SCRIPT_CYRILLIC:
    case HB_SCRIPT_COMMON:
    case HB_SCRIPT_HAN:
    case HB_SCRIPT_HIRAGANA:
    case HB_SCRIPT_KATAKANA:
    case HB_SCRIPT_HANGUL:
        return true;
    default:
        return false;
    }
}

// ASCII, most of every path, answered without asking the character database.
hb_script_t scriptOf(hb_unicode_funcs_t *unicode, char32_t c)
{
    if (c < 0x80)
        return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') ? HB_SCRIPT_LATIN : HB_SCRIPT_COMMON;
    return hb_unicode_script(unicode, c);
}

bool isMark(hb_unicode_funcs_t *unicode, char32_t c)
{
    if (c < 0x80)
        return false;
    const hb_unicode_general_category_t category = hb_unicode_general_category(unicode, c);
    return category == HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK ||
           category == HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK ||
           category == HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK || c >= 0x10000;
}

}  // namespace

std::string utf16Hex(const std::u32string &text)
{
    std::string out;
    for (char32_t c : text) {
        if (c >= 0x10000) {
            const char32_t v = c - 0x10000;
            out += hex4(0xD800 + (v >> 10));
            out += hex4(0xDC00 + (v & 0x3FF));
        } else {
            out += hex4(unsigned(c));
        }
    }
    return out;
}

struct UnicodeFonts::Font {
    std::unique_ptr<hb_blob_t, BlobFree> blob;
    std::unique_ptr<hb_face_t, FaceFree> face;
    std::unique_ptr<hb_font_t, FontFree> font;
    unsigned unitsPerEm = 1000;
    std::string postScriptName;
    // CFF outlines (a CIDFontType0 font): text and widths are keyed by each glyph's
    // CID. TrueType outlines (CIDFontType2): by the glyph index itself.
    bool cff = false;
    std::vector<std::uint16_t> cids;

    std::uint16_t codeOf(std::uint16_t glyph) const { return cff && glyph < cids.size() ? cids[glyph] : glyph; }

    // Every glyph drawn, with the characters it stands for (empty for a glyph that
    // is part of a cluster another glyph already names).
    std::map<std::uint16_t, std::u32string> used;
    std::unordered_map<char32_t, std::uint16_t> nominal;  // each character's own glyph, once looked up

    std::uint16_t glyphOf(char32_t c)
    {
        const auto it = nominal.find(c);
        if (it != nominal.end())
            return it->second;
        hb_codepoint_t glyph = 0;
        hb_font_get_nominal_glyph(font.get(), c, &glyph);
        nominal.emplace(c, std::uint16_t(glyph));
        used.emplace(std::uint16_t(glyph), std::u32string(1, c));
        return std::uint16_t(glyph);
    }


    int thousandths(hb_position_t units) const { return int(std::lround(units * 1000.0 / unitsPerEm)); }
    std::string subsetTag() const;
    std::string subsetBytes() const;
    std::string subsetProgram(bool retainGlyphIndices, unsigned &glyphCount) const;
};

// One stretch of a line drawn in one font, in one direction and script.
struct UnicodeFonts::Segment {
    size_t start = 0;
    size_t length = 0;
    int font = 0;
    hb_script_t script = HB_SCRIPT_COMMON;
    FriBidiLevel level = 0;  // odd: right to left
};

std::string UnicodeFonts::Font::subsetTag() const
{
    // Six capital letters that stay the same for the same glyphs.
    std::uint64_t hash = 1469598103934665603ULL;
    for (const auto &[glyph, text] : used)
        hash = (hash ^ glyph) * 1099511628211ULL;
    std::string tag;
    for (int i = 0; i < 6; ++i, hash /= 26)
        tag += char('A' + hash % 26);
    return tag;
}

std::string UnicodeFonts::Font::subsetBytes() const
{
    // A TrueType subset keeps its glyph indices, the codes in the text. A CFF
    // subset is keyed by CID, which its charset keeps whatever the glyphs' new
    // indices: it is packed, unless its charset lost a CID the text uses.
    unsigned glyphCount = 0;
    std::string program = subsetProgram(!cff, glyphCount);
    if (cff) {
        const std::optional<std::vector<std::uint16_t>> kept = cidsOfGlyphs(program, glyphCount);
        const bool allKept = kept && std::all_of(used.begin(), used.end(), [&](const auto &u) {
                                 return std::find(kept->begin(), kept->end(), codeOf(u.first)) != kept->end();
                             });
        if (!allKept)
            program = subsetProgram(true, glyphCount);
    }
    return program;
}

std::string UnicodeFonts::Font::subsetProgram(bool retainGlyphIndices, unsigned &glyphCount) const
{
    std::unique_ptr<hb_subset_input_t, SubsetInputFree> input(hb_subset_input_create_or_fail());
    if (!input)
        return {};
    hb_set_t *glyphs = hb_subset_input_set(input.get(), HB_SUBSET_SETS_GLYPH_INDEX);
    hb_set_add(glyphs, 0);
    for (const auto &[glyph, text] : used)
        hb_set_add(glyphs, glyph);
    if (retainGlyphIndices)
        hb_subset_input_set_flags(input.get(), HB_SUBSET_FLAGS_RETAIN_GIDS);
    std::unique_ptr<hb_face_t, FaceFree> subset(hb_subset_or_fail(face.get(), input.get()));
    if (!subset)
        return {};
    glyphCount = hb_face_get_glyph_count(subset.get());
    // A CFF font goes in as its bare font program (FontFile3, CIDFontType0C).
    std::unique_ptr<hb_blob_t, BlobFree> bytes(cff ? hb_face_reference_table(subset.get(), HB_TAG('C', 'F', 'F', ' '))
                                                   : hb_face_reference_blob(subset.get()));
    unsigned length = 0;
    const char *data = hb_blob_get_data(bytes.get(), &length);
    return std::string(data, length);
}

UnicodeFonts::UnicodeFonts()
{
    FcInit();
}

UnicodeFonts::~UnicodeFonts() = default;

int UnicodeFonts::loadFont(const std::string &file, int index)
{
    const auto key = std::make_pair(file, index);
    if (const auto it = loaded_.find(key); it != loaded_.end())
        return it->second;
    loaded_[key] = -1;
    auto f = std::make_unique<Font>();
    f->blob.reset(hb_blob_create_from_file_or_fail(file.c_str()));
    if (!f->blob)
        return -1;
    f->face.reset(hb_face_create(f->blob.get(), unsigned(index)));
    // TrueType outlines go into a CIDFontType2 font; CID-keyed CFF outlines (Noto
    // CJK, Source Han) into a CIDFontType0 font. A CFF font keyed by glyph names has
    // no CIDs to key the text by, and is passed over.
    std::unique_ptr<hb_blob_t, BlobFree> glyf(hb_face_reference_table(f->face.get(), HB_TAG('g', 'l', 'y', 'f')));
    if (hb_blob_get_length(glyf.get()) == 0) {
        std::unique_ptr<hb_blob_t, BlobFree> cff(hb_face_reference_table(f->face.get(), HB_TAG('C', 'F', 'F', ' ')));
        unsigned length = 0;
        const char *data = hb_blob_get_data(cff.get(), &length);
        std::optional<std::vector<std::uint16_t>> cids =
            cidsOfGlyphs(std::string_view(data, length), hb_face_get_glyph_count(f->face.get()));
        if (!cids)
            return -1;
        f->cff = true;
        f->cids = std::move(*cids);
    }
    f->font.reset(hb_font_create(f->face.get()));
    f->unitsPerEm = std::max(1u, hb_face_get_upem(f->face.get()));
    char name[128] = {};
    unsigned size = sizeof name;
    hb_ot_name_get_utf8(f->face.get(), HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &size, name);
    f->postScriptName = name[0] ? name : "Font";
    for (char &c : f->postScriptName)
        if (c == ' ' || c == '/' || c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']')
            c = '-';
    fonts_.push_back(std::move(f));
    loaded_[key] = int(fonts_.size() - 1);
    return int(fonts_.size() - 1);
}

int UnicodeFonts::fontFor(char32_t c)
{
    if (c < kQuickCharacters && quickFontOf_[c] != kNotLookedUp)
        return quickFontOf_[c];
    if (const auto it = fontOfCharacter_.find(c); it != fontOfCharacter_.end())
        return it->second;
    int chosen = -1;
    hb_codepoint_t glyph = 0;
    for (size_t k = 0; k < fonts_.size() && chosen < 0; ++k)
        if (hb_font_get_nominal_glyph(fonts_[k]->font.get(), c, &glyph))
            chosen = int(k);
    if (chosen < 0) {
        // The fonts fontconfig ranks for the primary family and this character.
        std::unique_ptr<FcPattern, PatternFree> pattern(
            FcNameParse(reinterpret_cast<const FcChar8 *>(fonts_.empty() ? kPrimaryFamily : "sans-serif")));
        std::unique_ptr<FcCharSet, CharSetFree> wanted(FcCharSetCreate());
        FcCharSetAddChar(wanted.get(), FcChar32(c));
        FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted.get());
        FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
        FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
        FcDefaultSubstitute(pattern.get());
        FcResult result = FcResultNoMatch;
        std::unique_ptr<FcFontSet, FontSetFree> sorted(FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result));
        for (int i = 0; sorted && i < sorted->nfont && chosen < 0; ++i) {
            FcCharSet *covered = nullptr;
            FcChar8 *file = nullptr;
            int index = 0;
            if (FcPatternGetString(sorted->fonts[i], FC_FILE, 0, &file) != FcResultMatch)
                continue;
            FcPatternGetInteger(sorted->fonts[i], FC_INDEX, 0, &index);
            const bool covers = FcPatternGetCharSet(sorted->fonts[i], FC_CHARSET, 0, &covered) == FcResultMatch &&
                                FcCharSetHasChar(covered, FcChar32(c));
            // The first font loaded is the primary one, whatever it covers.
            if (!covers && !fonts_.empty())
                continue;
            const int k = loadFont(reinterpret_cast<const char *>(file), index);
            if (k >= 0 && hb_font_get_nominal_glyph(fonts_[size_t(k)]->font.get(), c, &glyph))
                chosen = k;
        }
    }
    if (c < kQuickCharacters)
        quickFontOf_[c] = std::int16_t(chosen);
    else
        fontOfCharacter_[c] = chosen;
    return chosen;
}

void UnicodeFonts::shape(const std::u32string &text, const Segment &s, std::vector<GlyphRun> &runs)
{
    Font &font = *fonts_[size_t(s.font)];
    std::unique_ptr<hb_buffer_t, BufferFree> buffer(hb_buffer_create());
    hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const std::uint32_t *>(text.data()), int(text.size()),
                        unsigned(s.start), int(s.length));
    hb_buffer_set_direction(buffer.get(), s.level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer.get(), s.script);
    hb_buffer_guess_segment_properties(buffer.get());
    hb_shape(font.font.get(), buffer.get(), nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t *info = hb_buffer_get_glyph_infos(buffer.get(), &count);
    GlyphRun run{size_t(s.font), {}, 0, true};
    run.glyphs.reserve(count);
    std::vector<size_t> clusters;
    clusters.reserve(count + 1);
    for (unsigned i = 0; i < count; ++i)
        clusters.push_back(info[i].cluster);
    clusters.push_back(s.start + s.length);
    std::sort(clusters.begin(), clusters.end());
    // Left to right, each glyph one character in the text's order: the fonts' maps
    // back to the text say it; conjuncts, ligatures and vowel signs drawn before
    // their consonant need more. Right to left, readers turn the glyphs round
    // themselves, a ligature's characters with them: its map holds them reversed.
    const bool rightToLeft = s.level % 2 != 0;
    run.textInOrder = rightToLeft || count == s.length;
    for (unsigned i = 0; i < count; ++i) {
        const auto glyph = std::uint16_t(info[i].codepoint);
        run.glyphs.push_back(font.codeOf(glyph));
        run.width += font.thousandths(hb_font_get_glyph_h_advance(font.font.get(), glyph));
        run.textInOrder = run.textInOrder && (rightToLeft || info[i].cluster == s.start + i);
        // The characters of this glyph's cluster: up to the next larger cluster
        // value. The glyphs of one cluster stand together; the first names it.
        const size_t first = info[i].cluster;
        const size_t next = *std::upper_bound(clusters.begin(), clusters.end(), first);
        const bool clusterNamed = i > 0 && info[i - 1].cluster == first;
        std::u32string chars = clusterNamed ? std::u32string() : text.substr(first, next - first);
        if (rightToLeft)
            std::reverse(chars.begin(), chars.end());
        auto [it, inserted] = font.used.emplace(glyph, chars);
        if (!inserted && it->second.empty())
            it->second = chars;
        // A glyph already mapped to other text (one glyph for several characters).
        run.textInOrder = run.textInOrder && (rightToLeft || it->second == chars);
    }
    runs.push_back(std::move(run));
}

void UnicodeFonts::mapDirectly(const std::u32string &text, const Segment &s, std::vector<GlyphRun> &runs)
{
    Font &font = *fonts_[size_t(s.font)];
    GlyphRun run{size_t(s.font), {}, 0, true};
    run.glyphs.reserve(s.length);
    for (size_t i = s.start; i < s.start + s.length; ++i) {
        const std::uint16_t glyph = font.glyphOf(text[i]);
        run.glyphs.push_back(font.codeOf(glyph));
        run.width += font.thousandths(hb_font_get_glyph_h_advance(font.font.get(), glyph));
        run.textInOrder = run.textInOrder && font.used[glyph] == std::u32string(1, text[i]);
    }
    runs.push_back(std::move(run));
}

const std::vector<FriBidiLevel> &UnicodeFonts::bidiLevels(const std::u32string &text)
{
    const auto n = FriBidiStrIndex(text.size());
    const auto *chars = reinterpret_cast<const FriBidiChar *>(text.data());
    bidiTypes_.resize(text.size());
    levels_.assign(text.size(), 0);
    fribidi_get_bidi_types(chars, n, bidiTypes_.data());
    // Nothing that reads right to left (no such letter, Arabic digit or direction
    // mark): the whole line is level 0, as the algorithm would find.
    constexpr FriBidiCharType kTurns = FRIBIDI_MASK_RTL | FRIBIDI_MASK_ARABIC | FRIBIDI_MASK_EXPLICIT | FRIBIDI_MASK_ISOLATE;
    if (std::none_of(bidiTypes_.begin(), bidiTypes_.end(), [](FriBidiCharType t) { return (t & kTurns) != 0; }))
        return levels_;
    brackets_.resize(text.size());
    fribidi_get_bracket_types(chars, n, bidiTypes_.data(), brackets_.data());
    FriBidiParType direction = FRIBIDI_PAR_LTR;  // a path reads left to right
    if (fribidi_get_par_embedding_levels_ex(bidiTypes_.data(), brackets_.data(), n, &direction, levels_.data()) == 0)
        levels_.assign(text.size(), 0);
    return levels_;
}

std::vector<GlyphRun> UnicodeFonts::layout(const std::string &utf8)
{
    std::u32string text = decodeUtf8(utf8);
    const int fallback = fontFor(U'?');
    if (fallback < 0)
        return {};
    // Each character's font ("?" where none covers it), script and direction; the
    // work vectors are kept from line to line.
    std::vector<Segment> &perChar = perChar_;
    perChar.resize(text.size());
    hb_unicode_funcs_t *unicode = hb_unicode_funcs_get_default();
    hb_script_t lastScript = HB_SCRIPT_LATIN;
    for (size_t i = 0; i < text.size(); ++i) {
        int f = fontFor(text[i]);
        if (f < 0) {
            text[i] = U'?';
            f = fallback;
        }
        hb_script_t script = scriptOf(unicode, text[i]);
        if (isNeutral(script))
            script = lastScript;
        else
            lastScript = script;
        perChar[i] = {i, 1, f, script, 0};
    }
    const std::vector<FriBidiLevel> &levels = bidiLevels(text);

    // Segments of one font, script and level, shaped each in the level's direction.
    std::vector<GlyphRun> runs;
    std::vector<FriBidiLevel> runLevels;
    for (size_t i = 0; i < text.size();) {
        Segment s = perChar[i];
        size_t j = i + 1;
        while (j < text.size() && perChar[j].font == s.font && perChar[j].script == s.script && levels[j] == levels[i])
            ++j;
        s.start = i;
        s.length = j - i;
        s.level = levels[i];
        const bool simple = s.level % 2 == 0 && needsNoShaping(s.script) &&
                            std::none_of(text.begin() + std::ptrdiff_t(i), text.begin() + std::ptrdiff_t(j),
                                         [&](char32_t c) { return isMark(unicode, c); });
        if (simple)
            mapDirectly(text, s, runs);
        else
            shape(text, s, runs);
        runLevels.push_back(s.level);
        i = j;
    }
    // The runs in the order they are seen (the algorithm's rule L2): from the
    // highest level down to the lowest odd one, every stretch of runs at that
    // level or above turns round.
    const FriBidiLevel highest = runLevels.empty() ? 0 : *std::max_element(runLevels.begin(), runLevels.end());
    for (FriBidiLevel level = highest; level >= 1; --level) {
        for (size_t i = 0; i < runs.size();) {
            if (runLevels[i] < level) {
                ++i;
                continue;
            }
            size_t j = i;
            while (j < runs.size() && runLevels[j] >= level)
                ++j;
            std::reverse(runs.begin() + std::ptrdiff_t(i), runs.begin() + std::ptrdiff_t(j));
            std::reverse(runLevels.begin() + std::ptrdiff_t(i), runLevels.begin() + std::ptrdiff_t(j));
            i = j;
        }
    }
    return runs;
}

namespace {

// A stream object of `bytes`, compressed (FlateDecode) where zlib can; `extra`
// goes into its dictionary (a font program's /Length1, its size unpacked).
std::string streamObject(const std::string &bytes, const std::string &extra = {})
{
    const std::optional<std::string> packed = deflated(bytes);
    if (!packed)
        return "<< /Length " + decimal(static_cast<long long>(bytes.size())) + extra + " >>\r\nstream\r\n" + bytes +
               "\r\nendstream";
    return "<< /Length " + decimal(static_cast<long long>(packed->size())) + " /Filter /FlateDecode" + extra +
           " >>\r\nstream\r\n" + *packed + "\r\nendstream";
}

}  // namespace

std::vector<std::string> UnicodeFonts::objects(size_t k, std::int32_t first) const
{
    const Font &f = *fonts_[k];
    const std::string name = f.subsetTag() + "+" + f.postScriptName;
    const std::string ref = " 0 R";
    std::vector<std::string> out;

    out.push_back("<< /Type /Font /Subtype /Type0 /BaseFont /" + name + " /Encoding /Identity-H /DescendantFonts [" +
                  decimal(first + 1) + ref + "] /ToUnicode " + decimal(first + 4) + ref + " >>");

    // Widths and the map back to the text are keyed by the codes in the text.
    std::vector<std::pair<std::uint16_t, std::uint16_t>> codes;  // code, glyph
    for (const auto &[glyph, text] : f.used)
        codes.emplace_back(f.codeOf(glyph), glyph);
    std::sort(codes.begin(), codes.end());
    std::string widths = "/W [";
    for (const auto &[code, glyph] : codes)
        widths += " " + decimal(code) + " [" +
                  decimal(f.thousandths(hb_font_get_glyph_h_advance(f.font.get(), glyph))) + "]";
    widths += " ]";
    out.push_back("<< /Type /Font /Subtype " + std::string(f.cff ? "/CIDFontType0" : "/CIDFontType2") +
                  " /BaseFont /" + name +
                  " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> /FontDescriptor " +
                  decimal(first + 2) + ref + " /DW 1000 " + widths + (f.cff ? "" : " /CIDToGIDMap /Identity") + " >>");

    hb_font_extents_t extents{};
    hb_font_get_h_extents(f.font.get(), &extents);
    hb_position_t capHeight = extents.ascender;
    hb_ot_metrics_get_position(f.font.get(), HB_OT_METRICS_TAG_CAP_HEIGHT, &capHeight);
    out.push_back("<< /Type /FontDescriptor /FontName /" + name + " /Flags 32 /FontBBox [0 " +
                  decimal(f.thousandths(extents.descender)) + " 1000 " + decimal(f.thousandths(extents.ascender)) +
                  "] /ItalicAngle 0 /Ascent " + decimal(f.thousandths(extents.ascender)) + " /Descent " +
                  decimal(f.thousandths(extents.descender)) + " /CapHeight " + decimal(f.thousandths(capHeight)) +
                  " /StemV 80 " + (f.cff ? "/FontFile3 " : "/FontFile2 ") + decimal(first + 3) + ref + " >>");

    const std::string bytes = f.subsetBytes();
    out.push_back(f.cff ? streamObject(bytes, " /Subtype /CIDFontType0C")
                        : streamObject(bytes, " /Length1 " + decimal(static_cast<long long>(bytes.size()))));

    std::string cmap = "/CIDInit /ProcSet findresource begin 12 dict begin begincmap\r\n"
                       "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\r\n"
                       "/CMapName /Adobe-Identity-UCS def /CMapType 2 def\r\n"
                       "1 begincodespacerange <0000> <FFFF> endcodespacerange\r\n";
    std::vector<std::pair<std::uint16_t, std::u32string>> pairs;
    for (const auto &[code, glyph] : codes)
        if (const std::u32string &text = f.used.at(glyph); !text.empty())
            pairs.emplace_back(code, text);
    for (size_t i = 0; i < pairs.size(); i += kPairsPerBlock) {
        const size_t n = std::min(kPairsPerBlock, pairs.size() - i);
        cmap += decimal(static_cast<long long>(n)) + " beginbfchar\r\n";
        for (size_t j = i; j < i + n; ++j)
            cmap += "<" + hex4(pairs[j].first) + "> <" + utf16Hex(pairs[j].second) + ">\r\n";
        cmap += "endbfchar\r\n";
    }
    cmap += "endcmap CMapName currentdict /CMap defineresource pop end end";
    out.push_back(streamObject(cmap));
    return out;
}

}  // namespace pdf
