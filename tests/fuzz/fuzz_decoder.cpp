// A fuzz target for one decoder route of the picture decoder helper: libFuzzer
// hands it bytes, and it decodes them as the helper would (without the
// confinement, so that the sanitizers see every fault). Which route is chosen
// when the target is built (QUORVEL_FUZZ_ROUTE, QUORVEL_FUZZ_METAFILE).
#include "preview/Decoding.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Drawings need the toolkit's fonts, which need an application.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "quorvel-fuzz";
    static char *argv[] = {name, nullptr};
    static const std::unique_ptr<QGuiApplication> application = std::make_unique<QGuiApplication>(argc, argv);
    preview::decoding::warmUp();
    // Ended as the helper ends, without the toolkit's teardown: at exit
    // fontconfig's own teardown asserts on caches it still holds, which would end
    // a fuzzing job as if its last input had crashed. Registered last, this runs
    // before every teardown registered earlier; the fuzzer's own failures end the
    // process with _Exit and their own status, never through here.
    std::atexit([] { std::_Exit(0); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    preview::decoding::Request request;
    request.route = preview::decoding::Route(QUORVEL_FUZZ_ROUTE);
    request.metafile = preview::decoding::Metafile(QUORVEL_FUZZ_METAFILE);
    request.boundWidth = 200;
    request.boundHeight = 150;
    (void)preview::decoding::decode(request, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
