// Robustness of chained explosions: a long, heavy fire-fight keeps the explosion
// list bounded, and once the shooting stops every explosion and missile dies out.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include "combat_support.h"
#include "world/missiles.h"
#include "world/setup.h"
#include "world/tick.h"
#include "world_fixture.h"

namespace drumhold::testing {
namespace {

constexpr int kShiftKey = 16;

struct Peak {
    int explosions = 0;
    int debris = 0;
    int projectiles = 0;  // missiles and debris together
};

class ChainTest : public WorldTest {
protected:
    int missilesInFlight() const {
        int n = 0;
        for (Tank* t = game->players; t; t = t->next) n += countProjectiles(t->missiles);
        for (Tank* t = game->enemies; t; t = t->next) n += countProjectiles(t->missiles);
        return n;
    }
    void note(Peak& peak) const {
        const int debris = countDebris(explosions);
        peak.explosions = std::max(peak.explosions, countExplosions(explosions));
        peak.debris = std::max(peak.debris, debris);
        peak.projectiles = std::max(peak.projectiles, debris + missilesInFlight());
    }
    // Every tank off the field for good, so that nothing fires or rams any more.
    void parkEveryone() const {
        parkEnemies();
        player()->alive = -1000000;
    }
};

TEST_F(ChainTest, HeavyFireIntoACrowdStaysBoundedAndDiesOut) {
    // A crowd of fifteen enemies, all hunting and all firing explosive missiles back.
    for (int i = 0; i < 12; ++i) game->enemies = createEnemy(game, "grunt", huntPlayer);
    playing = 1;
    keys[kShiftKey] = 1;

    const int playerWeapons = WEAPON_EXPLOSIVE | WEAPON_REBOUND | WEAPON_SCATTER |
                              WEAPON_HOMING | WEAPON_MULTI;
    Peak peak;
    int shots = 0;
    for (int tick = 0; tick < 60000; ++tick) {
        player()->weapons = playerWeapons;  // the worst case never loses its modifiers
        for (Tank* e = game->enemies; e; e = e->next) e->weapons |= WEAPON_EXPLOSIVE;
        const int before = game->score;
        gameTick(game, keys, 1000);
        shots += game->score < before;
        note(peak);
    }
    std::cout << "[ peak     ] explosions " << peak.explosions << ", debris " << peak.debris
              << ", projectiles " << peak.projectiles << ", explosion cues "
              << host.count("explosion") << "\n";
    EXPECT_GT(host.count("explosion"), 1000);  // the fight really happened
    EXPECT_GT(shots, 100);
    EXPECT_LT(peak.explosions, 200);
    EXPECT_LT(peak.projectiles, 4000);

    keys[kShiftKey] = 0;
    parkEveryone();
    // The last missiles burst at the end of their 150 ticks, their debris lives
    // up to 19 more, and an explosive fragment may chain on briefly.
    int quietTicks = 0;
    while ((explosions || missilesInFlight() > 0) && quietTicks < 1000) {
        gameTick(game, keys, 1000);
        ++quietTicks;
    }
    std::cout << "[ quiet    ] after " << quietTicks << " ticks\n";
    EXPECT_LT(quietTicks, 250);
    EXPECT_EQ(explosions, nullptr);
    EXPECT_EQ(missilesInFlight(), 0);
}

TEST_F(ChainTest, ExplosiveDebrisChainsEndOnTheirOwn) {
    // Every fragment of these bursts is explosive and bursts again at the end of
    // its life; the chance of those bursts (10) keeps the chain short.
    parkEveryone();
    for (int i = 0; i < 40; ++i) explode(game, i - 20.0, i % 7 - 3.0, 1.8, 10001);
    ASSERT_EQ(countDebris(explosions), 600);

    Peak peak;
    int ticks = 0;
    while (explosions && ticks < 1000) {
        updateExplosions(game);
        note(peak);
        ++ticks;
    }
    EXPECT_EQ(explosions, nullptr);
    EXPECT_LT(ticks, 100);
    EXPECT_GE(peak.explosions, 40);
}

}  // namespace
}  // namespace drumhold::testing
