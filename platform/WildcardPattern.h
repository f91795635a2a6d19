#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace platform {

// One item of a file specification, matched the way the find-first call of the
// platform this tool grew up on matches: "*" is any run of characters, "?" is one
// character, letters compare without regard to case, every other character is
// itself. Names arrive as raw bytes from the directory; ASCII names (the vast
// majority) take a byte-only path so a large walk never allocates per entry.
class WildcardPattern {
public:
    explicit WildcardPattern(const QString &item);

    bool matches(std::string_view rawName) const;
    bool isEmpty() const { return folded_.empty(); }

private:
    std::u32string folded_;
    std::string asciiFolded_;
    bool asciiOnly_ = true;
};

}  // namespace platform
