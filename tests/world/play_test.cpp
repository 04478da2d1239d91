// A whole game left to the enemies: thieves hook the barrels one by one and
// carry them off until the game ends.
#include <chrono>
#include <cstdio>
#include <set>

#include "world/random.h"
#include "world/tick.h"
#include "world_fixture.h"

namespace drumhold {
namespace {

using PlayTest = testing::WorldTest;

TEST_F(PlayTest, ThievesCarryEveryBarrelOffAndTheGameEnds) {
    playing = 1;
    int thefts = 0;
    int lastLeft = game->barrelsLeft;
    const auto start = std::chrono::steady_clock::now();
    while (playing && game->ticks < 2000000) {
        gameTick(game, keys, 1000);
        // Barrels only ever leave one at a time, and the tick that takes the
        // last one ends the game.
        ASSERT_TRUE(game->barrelsLeft == lastLeft || game->barrelsLeft == lastLeft - 1);
        if (game->barrelsLeft < lastLeft) ++thefts;
        lastLeft = game->barrelsLeft;
        EXPECT_EQ(playing, game->barrelsLeft > 0 ? 1 : 0);

        std::set<const Barrel*> held;
        for (const Tank* t = game->enemies; t; t = t->next) {
            EXPECT_GE(t->heading, 0.0f);
            EXPECT_LE(t->heading, 360.0f);
            if (t->towedBarrel) {
                EXPECT_TRUE(held.insert(t->towedBarrel).second) << "two thieves, one barrel";
                EXPECT_EQ(t->towedBarrel->state, BARREL_TOWED);
            }
        }
        const Tank* p = game->players;
        EXPECT_GE(p->heading, 0.0f);
        EXPECT_LE(p->heading, 360.0f);
        if (HasFailure()) break;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("game over after %d ticks (%.0f ticks/s with the checks)\n", game->ticks,
                game->ticks / seconds);

    EXPECT_EQ(playing, 0);
    EXPECT_EQ(game->barrelsLeft, 0);
    EXPECT_EQ(thefts, 18);
    EXPECT_GE(host.count("grab"), 18);
    EXPECT_GT(host.count("thump"), 0);
    int records = 0;
    for (const Barrel* b = game->barrels; b; b = b->next, ++records) EXPECT_EQ(b->state, BARREL_GONE);
    EXPECT_EQ(records, 18);
}

TEST_F(PlayTest, SameSeedSameGame) {
    // Two runs of the same ticks from initialisation end in the same world.
    auto play = [&](int ticks) {
        playing = 1;
        for (int i = 0; i < ticks && playing; ++i) gameTick(game, keys, 1000);
        return game->random.state;
    };
    const std::uint32_t first = play(20000);
    const int score = game->score, left = game->barrelsLeft;
    const float px = game->players->x;
    releaseWorld(game);
    initWorld(game);
    EXPECT_EQ(play(20000), first);
    EXPECT_EQ(game->score, score);
    EXPECT_EQ(game->barrelsLeft, left);
    EXPECT_EQ(game->players->x, px);
}

}  // namespace
}  // namespace drumhold
