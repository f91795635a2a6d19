// quorvel-metafile: converts one metafile, read from standard input, into the
// drawing the preview shows, written to standard output. Run by the program for
// each metafile, so that a file that crashes or hangs the conversion libraries
// costs that one picture.
#include "preview/Metafile.h"

#include <cstdio>
#include <cstring>

#include <sys/resource.h>
#include <unistd.h>

namespace {

// Larger metafiles are not drawings anyone previews.
constexpr qsizetype kLargestMetafile = 64 * 1024 * 1024;

bool writeAll(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    size_t left = size_t(bytes.size());
    while (left > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, data, left);
        if (n <= 0)
            return false;
        data += n;
        left -= size_t(n);
    }
    return true;
}

}  // namespace

int main(int argc, char *argv[])
{
    // A conversion that crashes leaves no core file behind.
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    if (argc != 2 || (std::strcmp(argv[1], "emf") != 0 && std::strcmp(argv[1], "wmf") != 0)) {
        std::fputs("usage: quorvel-metafile emf|wmf < metafile > drawing\n", stderr);
        return 2;
    }
    QByteArray input;
    char buffer[65536];
    for (ssize_t n; (n = ::read(STDIN_FILENO, buffer, sizeof buffer)) != 0;) {
        if (n < 0 || input.size() + n > kLargestMetafile)
            return 1;
        input.append(buffer, n);
    }
    const preview::MetafileDrawing drawing =
        std::strcmp(argv[1], "emf") == 0 ? preview::emfToSvg(input) : preview::wmfToSvg(input);
    return writeAll(preview::packDrawing(drawing)) ? 0 : 1;
}
