#include "search/ContentsSearch.h"

#include "platform/FolderEnumeration.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <climits>
#include <optional>
#include <set>


namespace search {
namespace {

// How often each byte value turns up in source code and English text, as a rank
// from 0 (rarest) to 255 (the blank): counted over C and C++ headers and licence texts.
constexpr std::array<unsigned char, 256> kByteRank = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   197, 243, 9,   155, 10,  11,  12,  13,  14,  15,  16,  17,  18,
    19,  20,  21,  22,  23,  24,  25,  26,  27,  28,  255, 165, 181, 217, 159, 164, 178, 174, 236, 238, 232, 166,
    226, 196, 200, 215, 219, 211, 198, 191, 182, 204, 180, 179, 184, 202, 195, 209, 190, 188, 189, 161, 167, 222,
    205, 230, 213, 241, 208, 206, 192, 229, 175, 199, 231, 214, 233, 235, 223, 173, 227, 247, 234, 203, 194, 176,
    216, 193, 170, 172, 183, 171, 162, 254, 163, 244, 212, 245, 242, 253, 237, 218, 228, 249, 168, 224, 239, 221,
    250, 248, 240, 177, 246, 251, 252, 225, 207, 201, 210, 220, 185, 187, 169, 186, 160, 29,  157, 138, 30,  31,
    32,  33,  34,  35,  145, 146, 36,  37,  38,  39,  40,  41,  42,  43,  44,  45,  46,  47,  48,  149, 49,  147,
    50,  51,  52,  53,  54,  55,  56,  57,  58,  59,  60,  61,  62,  139, 63,  140, 64,  65,  66,  148, 67,  68,
    69,  70,  154, 141, 71,  72,  142, 73,  74,  75,  76,  77,  153, 143, 150, 144, 78,  79,  158, 152, 80,  81,
    82,  83,  84,  85,  86,  87,  88,  89,  90,  156, 91,  92,  93,  94,  95,  96,  97,  98,  99,  100, 101, 102,
    103, 104, 105, 106, 107, 108, 151, 109, 110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123,
    124, 125, 126, 127, 128, 129, 130, 131, 132, 133, 134, 135, 136, 137,
};

// The scan tries at most this many byte values at once.
constexpr std::size_t kMostAnchorBytes = 3;

char32_t fold(char32_t c)
{
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 0x20 : c;
    return QChar::toCaseFolded(c);
}

bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// The character starting at `p`, and its length in bytes; length 0 where the bytes
// are not well-formed UTF-8 (overlong forms and surrogates included).
struct Decoded {
    char32_t c = 0;
    int length = 0;
};

Decoded decode(const char *p, const char *end)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    const std::ptrdiff_t room = end - p;
    if (room <= 0)
        return {};
    if (u[0] < 0x80)
        return {u[0], 1};
    int length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((u[0] & 0xE0) == 0xC0)
        length = 2, c = u[0] & 0x1F, least = 0x80;
    else if ((u[0] & 0xF0) == 0xE0)
        length = 3, c = u[0] & 0x0F, least = 0x800;
    else if ((u[0] & 0xF8) == 0xF0)
        length = 4, c = u[0] & 0x07, least = 0x10000;
    else
        return {};
    if (room < length)
        return {};
    for (int i = 1; i < length; ++i) {
        if (!isContinuation(u[i]))
            return {};
        c = (c << 6) | (u[i] & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return {};
    return {c, length};
}

std::string utf8Of(char32_t c)
{
    return QString::fromUcs4(&c, 1).toStdString();
}

}  // namespace

// Where an occurrence may be: a byte of the anchor's set and, where the text
// allows, a byte of a partner character's set a fixed distance away.
struct FoldedText::Prefilter {
    std::string first;            // one to three byte values
    std::string second;           // none, or one to three
    std::ptrdiff_t distance = 0;  // from the first byte to the second
};

namespace {

bool oneOf(char b, const std::string &set)
{
    return set.find(b) != std::string::npos;
}

// The next place at or after `p` that passes the prefilter, with both of its bytes
// inside [begin, end); `end` when none does. Thirty-two bytes at a time, in the
// vector instructions of whichever function it is inlined into.
[[gnu::always_inline]] inline const char *scan(const FoldedText::Prefilter &f, const char *p, const char *begin,
                                               const char *end)
{
    using Bytes = signed char __attribute__((vector_size(32)));
    // Each byte value of a set in every lane; a set of fewer than three repeats its last.
    const auto byteOf = [](const std::string &set, std::size_t i) {
        return static_cast<signed char>(set.empty() ? 0 : set[std::min(i, set.size() - 1)]);
    };
    Bytes a[3], b[3];
    for (std::size_t n = 0; n < 3; ++n) {
        for (int k = 0; k < 32; ++k) {
            a[n][k] = byteOf(f.first, n);
            b[n][k] = byteOf(f.second, n);
        }
    }
    const bool paired = !f.second.empty();
    const std::ptrdiff_t d = paired ? f.distance : 0;
    const std::ptrdiff_t size = end - begin;
    std::ptrdiff_t i = p - begin;
    // Offsets rather than pointers: the partner's place may lie outside the bytes.
    const auto passes = [&](std::ptrdiff_t at) {
        return oneOf(begin[at], f.first) && (!paired || (at + d >= 0 && at + d < size && oneOf(begin[at + d], f.second)));
    };
    for (; i < size && i + d < 0; ++i)
        if (passes(i))
            return begin + i;
    for (; size - i >= 32 && size - (i + d) >= 32; i += 32) {
        Bytes x;
        std::memcpy(&x, begin + i, 32);
        Bytes hit = (x == a[0]) | (x == a[1]) | (x == a[2]);
        if (paired) {
            Bytes y;
            std::memcpy(&y, begin + i + d, 32);
            hit &= (y == b[0]) | (y == b[1]) | (y == b[2]);
        }
        std::uint64_t lanes[4];
        std::memcpy(lanes, &hit, 32);
        if (lanes[0] | lanes[1] | lanes[2] | lanes[3]) {
            for (int k = 0; k < 32; ++k)
                if (hit[k])
                    return begin + i + k;
        }
    }
    for (; i < size; ++i)
        if (passes(i))
            return begin + i;
    return end;
}

#if defined(__x86_64__)
[[gnu::target("avx2")]] const char *scanWithAvx2(const FoldedText::Prefilter &f, const char *p, const char *begin,
                                                 const char *end)
{
    return scan(f, p, begin, end);
}
#endif

const char *scanWithBaseline(const FoldedText::Prefilter &f, const char *p, const char *begin, const char *end)
{
    return scan(f, p, begin, end);
}

// The scan in AVX2 where the processor has it. Chosen when first asked, not by the
// loader: a resolver run before the sanitizers' runtime is ready would crash them.
const char *nextCandidate(const FoldedText::Prefilter &f, const char *p, const char *begin, const char *end)
{
#if defined(__x86_64__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        return scanWithAvx2(f, p, begin, end);
#endif
    return scanWithBaseline(f, p, begin, end);
}

}  // namespace

FoldedText::FoldedText(const QString &text)
{
    for (const char32_t c : text.toUcs4())
        folded_ += fold(c);
    // Every character that folds to one of the text's: the ways each can be written.
    const std::set<char32_t> wanted(folded_.begin(), folded_.end());
    std::vector<std::set<std::string>> spellings(folded_.size());
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c == 0xD800)
            c = 0xE000;
        const char32_t f = fold(c);
        if (!wanted.count(f))
            continue;
        const std::string bytes = utf8Of(c);
        for (std::size_t i = 0; i < folded_.size(); ++i)
            if (folded_[i] == f)
                spellings[i].insert(bytes);
    }
    // Each character's bytes: the last byte of each way it is written, and its
    // length when all ways have the same.
    struct Place {
        std::string lastBytes;
        std::size_t length = 0;  // 0: the ways differ in length
        int cost = INT_MAX;      // how often the scan would stop there
    };
    std::vector<Place> places(folded_.size());
    for (std::size_t i = 0; i < folded_.size(); ++i) {
        Place &place = places[i];
        std::size_t longest = 0;
        for (const std::string &spelling : spellings[i]) {
            place.length = longest == 0 || place.length == spelling.size() ? spelling.size() : 0;
            longest = std::max(longest, spelling.size());
            if (!oneOf(spelling.back(), place.lastBytes))
                place.lastBytes += spelling.back();
        }
        longest_ += longest;
        if (place.lastBytes.empty() || place.lastBytes.size() > kMostAnchorBytes)
            continue;
        place.cost = 0;
        for (const char b : place.lastBytes)
            place.cost += 1 << (kByteRank[static_cast<unsigned char>(b)] / 16);
    }
    const auto cheapest = [&](std::size_t from, std::size_t to, std::size_t except) {
        std::optional<std::size_t> best;
        for (std::size_t i = from; i < to; ++i)
            if (i != except && places[i].cost < INT_MAX && (!best || places[i].cost < places[*best].cost))
                best = i;
        return best;
    };
    const std::optional<std::size_t> anchor = cheapest(0, places.size(), places.size());
    if (!anchor)
        return;
    anchor_ = *anchor;
    Prefilter prefilter;
    prefilter.first = places[anchor_].lastBytes;
    // The partner: among the characters that lie a fixed number of bytes away
    // (every one between written in one length), the rarest.
    std::size_t before = anchor_;
    while (before > 0 && places[before].length > 0)
        --before;
    std::size_t after = anchor_ + 1;
    while (after < places.size() && places[after].length > 0)
        ++after;
    if (const std::optional<std::size_t> partner = cheapest(before, after, anchor_)) {
        std::ptrdiff_t distance = 0;
        for (std::size_t i = std::min(anchor_, *partner) + 1; i <= std::max(anchor_, *partner); ++i)
            distance += std::ptrdiff_t(places[i].length);
        prefilter.second = places[*partner].lastBytes;
        prefilter.distance = *partner > anchor_ ? distance : -distance;
    }
    prefilter_ = std::make_shared<const Prefilter>(std::move(prefilter));
}

bool FoldedText::occursIn(const char *begin, const char *end) const
{
    if (folded_.empty())
        return true;
    if (!prefilter_) {
        for (const char *p = begin; p < end; ++p)
            if (occursAt(begin, end, p))
                return true;
        return false;
    }
    for (const char *p = begin; (p = nextCandidate(*prefilter_, p, begin, end)) != end; ++p)
        if (occursAt(begin, end, p))
            return true;
    return false;
}

// Whether the text occurs in [begin, end) with its anchor character ending at `anchorEnd`.
bool FoldedText::occursAt(const char *begin, const char *end, const char *anchorEnd) const
{
    const auto startOf = [begin](const char *last) {
        const char *start = last;
        for (int back = 0; back < 3 && start > begin && isContinuation(static_cast<unsigned char>(*start)); ++back)
            --start;
        return start;
    };
    const auto matches = [this](const Decoded &d, std::size_t i) { return d.length > 0 && fold(d.c) == folded_[i]; };

    const char *start = startOf(anchorEnd);
    const Decoded anchor = decode(start, end);
    if (start + anchor.length - 1 != anchorEnd || !matches(anchor, anchor_))
        return false;
    const char *at = start;
    for (std::size_t i = anchor_; i-- > 0;) {
        if (at == begin)
            return false;
        const char *previous = startOf(at - 1);
        const Decoded d = decode(previous, at);
        if (previous + d.length != at || !matches(d, i))
            return false;
        at = previous;
    }
    at = anchorEnd + 1;
    for (std::size_t i = anchor_ + 1; i < folded_.size(); ++i) {
        const Decoded d = decode(at, end);
        if (!matches(d, i))
            return false;
        at += d.length;
    }
    return true;
}

class ContentsSearch::Hits {
public:
    explicit Hits(std::size_t count) : found_(count, false), left_(count) {}
    // Looks for the texts not found yet in [begin, end); true once all were found.
    bool lookIn(const std::vector<FoldedText> &texts, const char *begin, const char *end)
    {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (!found_[i] && texts[i].occursIn(begin, end)) {
                found_[i] = true;
                --left_;
            }
        }
        return left_ == 0;
    }

private:
    std::vector<bool> found_;
    std::size_t left_;
};

ContentsSearch::ContentsSearch(const QStringList &texts, ContentsReading reading)
    : reading_(std::move(reading))
{
    for (const QString &text : texts) {
        texts_.emplace_back(text);
        overlap_ = std::max(overlap_, texts_.back().longestOccurrence() - 1);
    }
}

bool ContentsSearch::foundIn(const platform::FolderHandle &folder, const std::string &name, std::vector<char> &buffer,
                             const std::function<bool()> &stopped) const
{
    // A stopped walk opens nothing more, however many files its folder still holds.
    if (stopped())
        return false;
    const platform::ReadOnlyFile file = folder.openPlainFile(name);
    if (!file.isOpen())
        return false;
    const std::size_t piece = reading_.bufferSize;
    buffer.resize(overlap_ + piece);
    Hits hits(texts_.size());
    std::size_t kept = 0;
    for (bool first = true;; first = false) {
        if (!first && reading_.betweenReads)
            reading_.betweenReads();
        if (stopped())
            return false;
        const long n = file.read(buffer.data() + kept, piece);
        if (n <= 0)
            return false;  // the end, or a file that cannot be read
        const char *begin = buffer.data();
        const char *fresh = begin + kept;
        const char *end = fresh + n;
        if (first && n >= 2) {
            const auto *u = reinterpret_cast<const unsigned char *>(fresh);
            if ((u[0] == 0xFF && u[1] == 0xFE) || (u[0] == 0xFE && u[1] == 0xFF))
                return foundInUtf16(file, u[0] == 0xFE, std::string_view(fresh, std::size_t(n)), buffer,
                                    stopped, hits);
        }
        const void *nul = std::memchr(fresh, 0, std::size_t(n));
        if (hits.lookIn(texts_, begin, nul ? static_cast<const char *>(nul) : end))
            return true;
        if (nul)
            return false;  // binary
        kept = std::min(overlap_, std::size_t(end - begin));
        std::memmove(buffer.data(), end - kept, kept);
    }
}

bool ContentsSearch::foundInUtf16(const platform::ReadOnlyFile &file, bool bigEndian, std::string_view first, std::vector<char> &buffer,
                                  const std::function<bool()> &stopped, Hits &hits) const
{
    QStringDecoder decoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE);
    std::string window;
    // Adds a piece of the file to the window and looks there: true when all texts
    // were found, false when they cannot be any more, nothing to read on.
    const auto add = [&](QByteArrayView bytes) -> std::optional<bool> {
        QString text = decoder.decode(bytes);
        const qsizetype nul = text.indexOf(QChar(0));
        if (nul >= 0)
            text.truncate(nul);
        const QByteArray utf8 = text.toUtf8();
        window.append(utf8.constData(), std::size_t(utf8.size()));
        if (hits.lookIn(texts_, window.data(), window.data() + window.size()))
            return true;
        if (nul >= 0)
            return false;
        window.erase(0, window.size() - std::min(overlap_, window.size()));
        return std::nullopt;
    };
    if (const std::optional<bool> verdict = add(QByteArrayView(first.data(), qsizetype(first.size()))))
        return *verdict;
    for (;;) {
        if (reading_.betweenReads)
            reading_.betweenReads();
        if (stopped())
            return false;
        const long n = file.read(buffer.data(), buffer.size());
        if (n <= 0)
            return false;
        if (const std::optional<bool> verdict = add(QByteArrayView(buffer.data(), qsizetype(n))))
            return *verdict;
    }
}

}  // namespace search
