#include "export/TextExport.h"

#include "export/ExportFile.h"
#include "platform/Brand.h"
#include "platform/FileNames.h"

#include <algorithm>

namespace listexport {

namespace {

bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// The well-formed UTF-8 character at `at`: its length and code point; length 0
// when the bytes there are no UTF-8.
struct Utf8Char {
    int length = 0;
    char32_t code = 0;
};

Utf8Char utf8At(const QByteArray &bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u; };
    const unsigned lead = byte(at);
    const int length = lead < 0x80                    ? 1
                       : lead >= 0xC2 && lead <= 0xDF ? 2
                       : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                      : 0;
    char32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return {};
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (length == 0 || code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return {};
    return {length, code};
}

bool isPlain(const Utf8Char &c)
{
    return c.length > 0 && !isControl(c.code);
}

void appendEscaped(QByteArray &out, unsigned char byte)
{
    static const char kNamed[] = "abtnvfr";  // \a is 7, ... \r is 13
    out += '\\';
    if (byte >= 7 && byte <= 13) {
        out += kNamed[byte - 7];
        return;
    }
    out += char('0' + (byte >> 6));
    out += char('0' + ((byte >> 3) & 7));
    out += char('0' + (byte & 7));
}

// A name in the shell's quoting, as `ls --quoting-style=shell-escape` writes it:
// single quotes, with each run of control characters and bytes that are no UTF-8
// between them as one $'...'. A shell, or a person, gets the name back from it.
QByteArray shellEscaped(const QByteArray &name)
{
    QByteArray out("'");
    bool quoted = true;
    for (qsizetype i = 0; i < name.size();) {
        Utf8Char c = utf8At(name, i);
        if (name[i] == '\'') {
            out += quoted ? "'\\''" : "\\'";
            ++i;
        } else if (isPlain(c)) {
            if (!quoted)
                out += '\'';
            quoted = true;
            out += name.mid(i, c.length);
            i += c.length;
        } else {
            out += quoted ? "'$'" : "$'";
            quoted = false;
            do {
                const qsizetype end = i + std::max(c.length, 1);
                for (; i < end; ++i)
                    appendEscaped(out, static_cast<unsigned char>(name[i]));
                c = utf8At(name, i);
            } while (i < name.size() && !isPlain(c));
            out += '\'';
        }
    }
    if (quoted)
        out += '\'';
    return out;
}

bool holdsControl(const QString &name)
{
    return std::any_of(name.cbegin(), name.cend(), [](QChar c) { return isControl(c.unicode()); });
}

// A name as a line of its own: as it is shown, or quoted when it holds a control
// character (a newline would make two lines of it, neither a real path).
QByteArray textLine(const QString &entry)
{
    if (holdsControl(entry))
        return shellEscaped(platform::encodeFileName(entry));
    return platform::shownFileName(entry).toUtf8();
}

bool writeText(const search::EntryList &entries, const ExportSink &sink, ExportProgress &progress)
{
    QByteArray lines;
    for (const QString &entry : entries) {
        if (progress.stopped())
            return false;
        lines += textLine(entry) + "\r\n";
        if (lines.size() > qsizetype(64) * 1024) {
            sink(lines);
            lines.clear();
        }
    }
    sink(lines + "\r\n" +
         (QStringLiteral("File List Exported by Quorvel Software ") + brand::kContactEmail).toUtf8() + "\r\n");
    return true;
}

}  // namespace

QByteArray textExportContent(const search::EntryList &entries)
{
    return exportBytes(entries, &writeText);
}

void exportText(const ExportContext &context, search::EntryList entries)
{
    writeAndOpen(context, QStringLiteral("QuorvelFileSearch.txt"), ExportKind::Text, std::move(entries), &writeText);
}

}  // namespace listexport
