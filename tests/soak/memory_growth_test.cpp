// The game's memory must not grow with play: the replay tool's peak after 10
// minutes of heavy play (restarts included) stays within a few percent of its
// peak after 1 minute. A world that lost a missile or an explosion's debris now
// and then would need noticeably more after 10 minutes.
// not on Windows: it watches the tool's peak memory through the POSIX child runner
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/play_memory.h"

namespace drumhold::testing {
namespace {

TEST(MemoryGrowth, TenMinutesOfPlayNeedNoMoreMemoryThanOne) {
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer's allocator holds freed blocks back for a while, so its peak
    // rises with play however tidy the game is; LeakSanitizer covers leaks there.
    GTEST_SKIP() << "peak memory is not meaningful under AddressSanitizer";
#endif
    const PlayMemory m = measurePlayMemory(DRUMHOLD_TRACE_BIN);
    ASSERT_EQ(m.error, "");
    std::printf("memory: peak RSS after 1 min of play %ld KiB, after 10 min %ld KiB\n", m.oneMinuteKiB,
                m.tenMinutesKiB);
    ASSERT_GT(m.oneMinuteKiB, 0);
    EXPECT_TRUE(m.steady()) << "grew by " << m.growthKiB() << " KiB from " << m.oneMinuteKiB << " KiB";
}

}  // namespace
}  // namespace drumhold::testing
