// context.h -- what drawing keeps per GL context: the font's lists and metrics,
// the border's list and the tanks' lists. Made once a context is current and
// dropped before the context goes, so no list name outlives its context: a name
// from a closed context may already mean another list in the next one.
#pragma once

#include <unordered_set>

#include "render/font.h"

namespace drumhold {

struct RenderContext {
    Font font;
    unsigned borderList = 0;                // compiled by the first frame that draws the border
    std::unordered_set<unsigned> tankLists; // compiled here and not yet released
};

}  // namespace drumhold
