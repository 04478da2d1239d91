// format_g9_web.cpp -- "%.9g" in the browser build, whose C++ library has no
// to_chars for doubles with a precision: printf's own conversion, which is exact
// (correctly rounded from the double's binary value) as to_chars is, so the
// bytes are the same.
#include <cstdio>

#include "replay/text.h"

namespace drumhold::replay {

char* formatG9(char* first, double value) {
    const int n = std::snprintf(first, kMaxFloatText, "%.9g", value);
    return first + (n > 0 ? n : 0);
}

}  // namespace drumhold::replay
