#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class FolderHandle;
class ReadOnlyFile;
}

namespace search {

// A text looked for in UTF-8 bytes whatever its case: each character of the text
// and of the bytes is compared by its simple Unicode case folding, as names are,
// so "ΟΔΟΣ" finds "οδος" and "οδος" with a final sigma. Bytes that are not UTF-8
// never match a character, and the text around them still does: an ASCII word is
// found in a file of any 8-bit encoding.
class FoldedText {
public:
    explicit FoldedText(const QString &text);

    // Whether the text occurs in [begin, end).
    bool occursIn(const char *begin, const char *end) const;
    // The most bytes one occurrence can take.
    std::size_t longestOccurrence() const { return longest_; }

    struct Prefilter;

private:
    bool occursAt(const char *begin, const char *end, const char *anchorEnd) const;

    std::u32string folded_;
    // The character the scan looks for first, by the last byte of each way it can
    // be written: the rarest in most files.
    std::size_t anchor_ = 0;
    std::shared_ptr<const Prefilter> prefilter_;  // null: every byte is tried
    std::size_t longest_ = 0;
};

// How the contents of a file are searched. The seam lets tests act between two
// reads of a file.
struct ContentsReading {
    std::size_t bufferSize = 128 * 1024;
    std::function<void()> betweenReads;
};

// The texts a file must contain, every one of them. Files are read in pieces into a
// buffer the caller keeps, never mapped: a file cut short while it is read ends the
// reading, not the program. A file holding a NUL byte before the texts were found is
// binary and does not match; one starting with a UTF-16 byte order mark is read as
// that.
class ContentsSearch {
public:
    explicit ContentsSearch(const QStringList &texts, ContentsReading reading = {});

    bool isEmpty() const { return texts_.empty(); }
    // Whether the plain file `name` in `folder` holds every text. Anything but a
    // plain file is never opened; a file that cannot be read does not match.
    // Reading stops as soon as `stopped` says so, between two pieces.
    bool foundIn(const platform::FolderHandle &folder, const std::string &name, std::vector<char> &buffer,
                 const std::function<bool()> &stopped) const;

private:
    class Hits;
    bool foundInUtf16(const platform::ReadOnlyFile &file, bool bigEndian, std::string_view first, std::vector<char> &buffer,
                      const std::function<bool()> &stopped, Hits &hits) const;

    std::vector<FoldedText> texts_;
    std::size_t overlap_ = 0;  // bytes kept from one piece to the next, so no occurrence is cut
    ContentsReading reading_;
};

}  // namespace search
