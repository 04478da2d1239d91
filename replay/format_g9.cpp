// format_g9.cpp -- "%.9g" through to_chars, where the standard library has it.
#include <charconv>

#include "replay/text.h"

namespace drumhold::replay {

char* formatG9(char* first, double value) {
    // to_chars with a precision is defined to print what printf would, and is
    // several times faster than going through printf's format parser.
    return std::to_chars(first, first + kMaxFloatText, value, std::chars_format::general, 9).ptr;
}

}  // namespace drumhold::replay
