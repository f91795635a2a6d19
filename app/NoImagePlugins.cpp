// The window's process never reads a picture's content: the confined decoder
// helper does. The toolkit would still load every image-format plugin (and with
// them libjpeg, libtiff, libwebp, ...) the first time it reads an icon of its own,
// to ask each one whether it reads PNG. This process's dlopen() refuses them;
// everything else is loaded as usual. Linked into the program alone.
#include <cstring>

#include <dlfcn.h>

extern "C" void *dlopen(const char *file, int mode)
{
    using Open = void *(*)(const char *, int);
    static const auto next = reinterpret_cast<Open>(::dlsym(RTLD_NEXT, "dlopen"));
    if (file && std::strstr(file, "/imageformats/"))
        return nullptr;
    return next ? next(file, mode) : nullptr;
}
