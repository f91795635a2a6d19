#include "platform/WildcardPattern.h"

#include <QFile>

namespace platform {
namespace {

template <typename Char>
bool globMatch(std::basic_string_view<Char> pattern, std::basic_string_view<Char> name)
{
    // Iterative matcher: remember the last "*" and retry from one character
    // further on a mismatch. Linear in practice, never recursive.
    size_t p = 0, n = 0;
    size_t starP = std::basic_string_view<Char>::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == Char('?') || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starP != std::basic_string_view<Char>::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == Char('*'))
        ++p;
    return p == pattern.size();
}

bool isAscii(std::string_view s)
{
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

std::u32string foldToUcs4(const QString &text)
{
    const QList<uint> ucs4 = text.toCaseFolded().toUcs4();
    return std::u32string(ucs4.begin(), ucs4.end());
}

}  // namespace

WildcardPattern::WildcardPattern(const QString &item)
    : folded_(foldToUcs4(item))
{
    for (char32_t c : folded_) {
        if (c >= 0x80) {
            asciiOnly_ = false;
            break;
        }
        asciiFolded_.push_back(char(c));
    }
    if (!asciiOnly_)
        asciiFolded_.clear();
}

bool WildcardPattern::matches(std::string_view rawName) const
{
    if (folded_.empty())
        return false;
    if (isAscii(rawName)) {
        if (asciiOnly_) {
            thread_local std::string lowered;
            lowered.assign(rawName);
            for (char &c : lowered)
                c = asciiLower(c);
            return globMatch<char>(asciiFolded_, lowered);
        }
    }
    const std::u32string name =
        foldToUcs4(QFile::decodeName(QByteArray(rawName.data(), qsizetype(rawName.size()))));
    return globMatch<char32_t>(folded_, name);
}

}  // namespace platform
