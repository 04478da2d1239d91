// The game's world host: display lists never outlive their context.
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "shell/game_host.h"

namespace drumhold::testing {
namespace {

TEST(GameHostTest, ListsOfAClosedContextAreNeverDeletedInANewOne) {
    FakePlatform platform;
    FakePresentation presentation{platform};
    GameHost host(platform, presentation);
    const Shape shape{};

    EXPECT_EQ(host.createTankList(shape), 0u) << "no context, no list";
    EXPECT_TRUE(presentation.compiledLists.empty());

    host.contextOpened();
    const unsigned first = host.createTankList(shape);
    const unsigned second = host.createTankList(shape);
    EXPECT_EQ(presentation.compiledLists, (std::vector<unsigned>{first, second}));
    host.releaseTankList(first);
    host.releaseTankList(first);  // a second release is not passed on
    EXPECT_EQ(presentation.releasedLists, std::vector<unsigned>{first});

    // The context dies with `second` still alive; in the next context the same
    // name may mean another list, so the old tank's release is dropped.
    host.contextClosed();
    host.contextOpened();
    presentation.nextList = second;
    const unsigned reused = host.createTankList(shape);
    ASSERT_EQ(reused, second);
    host.releaseTankList(second);  // this time it is the new context's list
    EXPECT_EQ(presentation.releasedLists, (std::vector<unsigned>{first, second}));
    host.releaseTankList(first);   // from the dead context: dropped
    EXPECT_EQ(presentation.releasedLists.size(), 2u);

    host.contextClosed();
    host.releaseTankList(reused);
    EXPECT_EQ(presentation.releasedLists.size(), 2u);
}

TEST(GameHostTest, SleepsGoThroughThePlatformClock) {
    FakePlatform platform;
    FakePresentation presentation{platform};
    GameHost host(platform, presentation);
    host.sleepMs(20);
    host.sleepMs(0);
    EXPECT_EQ(platform.now, 20u);
    EXPECT_EQ(platform.sleeps.size(), 2u);
}

}  // namespace
}  // namespace drumhold::testing
