// The trace's number printing and hash: floats must print exactly like printf's
// "%.9g" (the trace contract is written in its terms), and the hash must be
// FNV-1a 64 to the bit, or every recorded trace changes.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "replay/text.h"

namespace drumhold::replay {
namespace {

std::string viaPrintf(double value) {
    // printf's text for a NaN varies with the C library (Windows': "nan" or
    // "-nan(ind)"); the trace's is glibc's everywhere.
    if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
    char text[64];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

std::string viaFormatG9(double value) {
    char text[kMaxFloatText];
    return std::string(text, formatG9(text, value));
}

// Interesting floats: every sign and exponent band, integers, values that tie
// at the ninth digit, denormals, the extremes, -0, infinities and NaN.
std::vector<float> sampleFloats() {
    std::vector<float> values = {
        0.0f, -0.0f, 1.0f, -1.0f, 0.1f, -0.1f, 0.5f, 100.0f, -100.0f, 360.0f, 1.1f,
        123456789.0f, 999999999.0f, 1e9f, 16777216.0f, 16777217.0f, 8388607.5f,
        1.0f + 1.0f / 512.0f,  // 1.001953125: ten digits, a tie at the ninth
        2.001953125f, 1e-10f, 1e10f, 3.141592645f, -59.9999962f,
        FLT_MIN, -FLT_MIN, FLT_MAX, -FLT_MAX, FLT_TRUE_MIN, -FLT_TRUE_MIN, FLT_EPSILON,
        std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
        std::numeric_limits<float>::quiet_NaN(),
    };
    // A spread of bit patterns over the whole float range, both signs.
    for (std::uint64_t bits = 0; bits < (std::uint64_t{1} << 32); bits += 40009)
        values.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
    // Denser in the range the field uses.
    for (int i = -600000; i <= 600000; i += 7) values.push_back(static_cast<float>(i) / 10000.0f);
    return values;
}

TEST(TraceText, FormatG9MatchesPrintfForFloatsAndDoubles) {
    int mismatches = 0;
    for (float f : sampleFloats()) {
        const double d = f;
        if (viaFormatG9(d) != viaPrintf(d) && ++mismatches <= 10)
            ADD_FAILURE() << "bits " << std::bit_cast<std::uint32_t>(f) << ": " << viaFormatG9(d)
                          << " vs printf " << viaPrintf(d);
    }
    for (double d : {1e300, -1e-300, 123456789012.0, 0.1, 2.5e-308, 4.9e-324, DBL_MAX, 1234567895.0})
        EXPECT_EQ(viaFormatG9(d), viaPrintf(d)) << d;
    EXPECT_EQ(mismatches, 0);
}

TEST(TraceText, BufferPrintsEveryValueCorrectlyThroughItsMemo) {
    // Enough distinct values to make memo slots collide many times, printed
    // twice over so that repeats come from the memo.
    const std::vector<float> values = sampleFloats();
    TextBuffer buffer(16);  // tiny, so it must grow
    std::string expected;
    for (int pass = 0; pass < 2; ++pass) {
        for (float f : values) {
            buffer.putFloat(f);
            buffer.put(' ');
            expected += viaPrintf(f);
            expected += ' ';
        }
    }
    buffer.putInt(-2147483647 - 1);
    buffer.put(' ');
    buffer.putInt(std::uint64_t{18446744073709551615u});
    expected += "-2147483648 18446744073709551615";
    ASSERT_EQ(buffer.size(), expected.size());
    EXPECT_TRUE(buffer.view() == expected);

    buffer.clear();
    buffer.putFloat(-0.0f);
    buffer.putFloat(0.0f);
    EXPECT_EQ(buffer.view(), "-00");
}

TEST(TraceText, Fnv1aAndHexMatchKnownValues) {
    char hex[16];
    auto text = [&](std::uint64_t h) { return std::string(hex, formatHex16(hex, h)); };
    EXPECT_EQ(text(fnv1a64("")), "cbf29ce484222325");
    EXPECT_EQ(text(fnv1a64("a")), "af63dc4c8601ec8c");
    EXPECT_EQ(text(fnv1a64("foobar")), "85944171f73967e8");
    EXPECT_EQ(text(fnv1a64("10")), "07f89207b4ba08a4");
    // Hashing in pieces continues where the last piece left off.
    EXPECT_EQ(fnv1a64("bar", fnv1a64("foo")), fnv1a64("foobar"));
    // Bytes above 127 hash as unsigned (and the leading zero stays).
    EXPECT_EQ(text(fnv1a64("\xff\x80")), "0a9a2607b6f6e56a");
}

}  // namespace
}  // namespace drumhold::replay
