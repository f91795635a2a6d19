#pragma once

#include <clocale>

#include <locale.h>

namespace platform {

// While it lives, this thread formats and reads numbers with "." whatever the
// user's locale: file formats need the C library's numeric locale "C", and the
// libraries that write them (the workbook writer) use the C library's formatting.
class CNumericLocale {
public:
    CNumericLocale()
        : c_(::newlocale(LC_NUMERIC_MASK, "C", ::duplocale(LC_GLOBAL_LOCALE)))
        , previous_(c_ ? ::uselocale(c_) : nullptr)
    {
    }
    ~CNumericLocale()
    {
        if (c_) {
            ::uselocale(previous_);
            ::freelocale(c_);
        }
    }
    CNumericLocale(const CNumericLocale &) = delete;
    CNumericLocale &operator=(const CNumericLocale &) = delete;

private:
    locale_t c_;
    locale_t previous_;
};

}  // namespace platform
