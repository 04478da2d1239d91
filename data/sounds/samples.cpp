// samples.cpp -- lookup of the built-in samples by name.
#include "data/sounds/samples.h"

#include <cstddef>

namespace drumhold {

namespace {

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

}  // namespace

int findEmbeddedSample(std::string_view name) {
    const auto samples = embeddedSamples();
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (sameIgnoringCase(name, samples[i].name)) return static_cast<int>(i);
    return -1;
}

}  // namespace drumhold
