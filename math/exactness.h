// exactness.h -- what the compiler and the machine must give for the world to
// run bit for bit alike everywhere (docs/exactness.md): refused at compile time,
// where it can be seen then. The math library's results depend on it first;
// both it and the world include it, so each is checked as it is built.
#pragma once

#include <cfloat>
#include <limits>

namespace drumhold {

static_assert(std::numeric_limits<float>::is_iec559 && std::numeric_limits<float>::digits == 24,
              "float must be IEEE 754 binary32");
static_assert(std::numeric_limits<double>::is_iec559 && std::numeric_limits<double>::digits == 53,
              "double must be IEEE 754 binary64");
// No x87 excess precision: every operation rounds once, to its own type.
static_assert(FLT_EVAL_METHOD == 0, "float and double arithmetic must round to their own type");

// -ffast-math and its parts (-ffinite-math-only, -fno-signed-zeros,
// -fassociative-math) let the compiler rewrite arithmetic; GCC then says it no
// longer follows IEEE 754. (Contraction, -ffp-contract=fast, shows in no macro:
// `make test-cross` catches it on 64-bit ARM.)
#if defined(__FAST_MATH__) || (defined(__GCC_IEC_559) && __GCC_IEC_559 == 0)
#error "the world needs IEEE 754 arithmetic: build without -ffast-math and its parts"
#endif

}  // namespace drumhold
