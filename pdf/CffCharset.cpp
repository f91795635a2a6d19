#include "pdf/CffCharset.h"

#include <algorithm>
#include <cstddef>

namespace pdf {
namespace {

// Bytes read from the front, never past the end.
class Reader {
public:
    Reader(std::string_view bytes, size_t at) : bytes_(bytes), at_(at) {}
    bool ok() const { return ok_; }
    size_t at() const { return at_; }
    unsigned byte()
    {
        if (at_ >= bytes_.size()) {
            ok_ = false;
            return 0;
        }
        return static_cast<unsigned char>(bytes_[at_++]);
    }
    unsigned card16() { return (byte() << 8) | byte(); }
    std::uint32_t offset(unsigned size)
    {
        std::uint32_t v = 0;
        for (unsigned i = 0; i < size; ++i)
            v = (v << 8) | byte();
        return v;
    }
    void skip(size_t n)
    {
        if (n > bytes_.size() - std::min(at_, bytes_.size()))
            ok_ = false;
        at_ += n;
    }

private:
    std::string_view bytes_;
    size_t at_;
    bool ok_ = true;
};

// An INDEX: its items' start and end, relative to the whole table.
struct Index {
    std::vector<std::pair<size_t, size_t>> items;
    size_t end = 0;
};

std::optional<Index> readIndex(std::string_view cff, size_t at)
{
    Reader r(cff, at);
    Index index;
    const unsigned count = r.card16();
    if (count == 0) {
        index.end = r.at();
        return r.ok() ? std::optional(index) : std::nullopt;
    }
    const unsigned offSize = r.byte();
    if (offSize < 1 || offSize > 4)
        return std::nullopt;
    std::vector<std::uint32_t> offsets(count + 1);
    for (std::uint32_t &o : offsets)
        o = r.offset(offSize);
    const size_t base = r.at() - 1;  // offsets count from the byte before the data
    for (unsigned i = 0; i < count; ++i) {
        if (offsets[i] < 1 || offsets[i + 1] < offsets[i])
            return std::nullopt;
        index.items.emplace_back(base + offsets[i], base + offsets[i + 1]);
    }
    index.end = base + offsets[count];
    if (!r.ok() || index.end > cff.size())
        return std::nullopt;
    return index;
}

// The Top DICT's charset offset, and whether it names a registry, ordering and
// supplement (ROS), the mark of a CID-keyed font.
struct TopDict {
    long charset = 0;
    bool cidKeyed = false;
};

std::optional<TopDict> readTopDict(std::string_view cff, size_t from, size_t to)
{
    TopDict dict;
    std::vector<long> operands;
    Reader r(cff.substr(0, to), from);
    while (r.ok() && r.at() < to) {
        const unsigned b0 = r.byte();
        if (b0 <= 21) {  // an operator
            const unsigned op = b0 == 12 ? 1200 + r.byte() : b0;
            if (op == 15 && !operands.empty())
                dict.charset = operands.back();
            if (op == 1230)  // ROS
                dict.cidKeyed = true;
            operands.clear();
        } else if (b0 == 28) {
            operands.push_back(static_cast<std::int16_t>(r.card16()));
        } else if (b0 == 29) {
            operands.push_back(static_cast<std::int32_t>(r.offset(4)));
        } else if (b0 == 30) {  // a real number: nibbles up to an end nibble
            for (unsigned b = r.byte(); r.ok() && (b & 0x0F) != 0x0F && (b >> 4) != 0x0F; b = r.byte()) {
            }
            operands.push_back(0);
        } else if (b0 >= 32 && b0 <= 246) {
            operands.push_back(long(b0) - 139);
        } else if (b0 >= 247 && b0 <= 250) {
            operands.push_back((long(b0) - 247) * 256 + r.byte() + 108);
        } else if (b0 >= 251 && b0 <= 254) {
            operands.push_back(-(long(b0) - 251) * 256 - r.byte() - 108);
        } else {
            return std::nullopt;
        }
    }
    return r.ok() ? std::optional(dict) : std::nullopt;
}

}  // namespace

std::optional<std::vector<std::uint16_t>> cidsOfGlyphs(std::string_view cff, unsigned glyphCount)
{
    if (cff.size() < 4 || glyphCount == 0)
        return std::nullopt;
    const size_t headerSize = static_cast<unsigned char>(cff[2]);
    const std::optional<Index> names = readIndex(cff, headerSize);
    const std::optional<Index> tops = names ? readIndex(cff, names->end) : std::nullopt;
    if (!tops || tops->items.empty())
        return std::nullopt;
    const std::optional<TopDict> top = readTopDict(cff, tops->items[0].first, tops->items[0].second);
    // The predefined charsets (0 to 2) belong to fonts keyed by name.
    if (!top || !top->cidKeyed || top->charset <= 2 || size_t(top->charset) >= cff.size())
        return std::nullopt;

    std::vector<std::uint16_t> cids(glyphCount, 0);  // glyph 0 is CID 0
    Reader r(cff, size_t(top->charset));
    const unsigned format = r.byte();
    unsigned glyph = 1;
    while (r.ok() && glyph < glyphCount) {
        if (format == 0) {
            cids[glyph++] = std::uint16_t(r.card16());
            continue;
        }
        if (format != 1 && format != 2)
            return std::nullopt;
        const unsigned first = r.card16();
        const unsigned left = format == 1 ? r.byte() : r.card16();
        for (unsigned i = 0; i <= left && glyph < glyphCount; ++i)
            cids[glyph++] = std::uint16_t(first + i);
    }
    if (!r.ok())
        return std::nullopt;
    return cids;
}

}  // namespace pdf
