// Power-ups: where they appear, how long they stay, and who collects them.
#include <gtest/gtest.h>

#include <cmath>

#include "combat_support.h"
#include "world/tick.h"
#include "world_fixture.h"

namespace drumhold::testing {
namespace {

class PowerUpsTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        parkEnemies();
    }
    void putPowerUp(float x, float y, int kind, int ttl = 100) {
        delete game->powerUp;
        game->powerUp = new PowerUp{x, y, ttl, kind};
    }
};

TEST_F(PowerUpsTest, LifetimeShrinksAsTheGameGoesOnAndKindIsARawDraw) {
    const int ticks[] = {0, 50000, 100000};
    const int ttl[] = {500, 250, 166};
    for (int i = 0; i < 3; ++i) {
        game->ticks = ticks[i];
        const std::uint32_t before = game->random.state;
        PowerUp* p = createPowerUp(game);
        EXPECT_EQ(p->ttl, ttl[i]);
        EXPECT_EQ(game->random.state, stateAfter(before, 3));
        seedRandom(game->random, stateAfter(before, 2));
        EXPECT_EQ(p->kind, randomRaw(game->random) % 5);
        delete p;
    }
}

TEST_F(PowerUpsTest, PlacementAvoidsTheCentralCrossAndTheBorder) {
    int quadrants[4] = {};
    int kinds[5] = {};
    for (int i = 0; i < 2000; ++i) {
        PowerUp* p = createPowerUp(game);
        EXPECT_GE(std::fabs(p->x), 15.0f);
        EXPECT_LE(std::fabs(p->x), 45.0f);
        EXPECT_GE(std::fabs(p->y), 11.25f);
        EXPECT_LE(std::fabs(p->y), 33.75f);
        ++quadrants[(p->x > 0) * 2 + (p->y > 0)];
        ++kinds[p->kind];
        delete p;
    }
    for (int q : quadrants) EXPECT_GT(q, 300);
    for (int k : kinds) EXPECT_GT(k, 250);
}

TEST_F(PowerUpsTest, AgeingCountsDownAndReleasesAtZero) {
    EXPECT_EQ(agePowerUp(nullptr), nullptr);
    auto* p = new PowerUp{20, 20, 2, 0};
    EXPECT_EQ(agePowerUp(p), p);
    EXPECT_EQ(p->ttl, 1);
    EXPECT_EQ(agePowerUp(p), nullptr);  // released

    // A power-up made with ttl 1 goes in the tick it was made.
    EXPECT_EQ(agePowerUp(new PowerUp{20, 20, 1, 0}), nullptr);
}

TEST_F(PowerUpsTest, CollectionReachIsRadiusPlusOnePointSeven) {
    Tank* p = player();
    placeTank(p, 0, 0);
    putPowerUp(3.5f, 0, 3);
    playerCollectPowerUp(p, game);
    EXPECT_NE(game->powerUp, nullptr);
    EXPECT_EQ(p->weapons, 0);

    putPowerUp(2.4f, 2.4f, 3);  // 3.39 away
    playerCollectPowerUp(p, game);
    EXPECT_EQ(game->powerUp, nullptr);
    EXPECT_EQ(p->weapons, WEAPON_HOMING);
    EXPECT_EQ(host.count("power_up"), 1);

    // A kind already held changes nothing, yet is still used up with its cue.
    putPowerUp(1, 1, 3);
    playerCollectPowerUp(p, game);
    EXPECT_EQ(game->powerUp, nullptr);
    EXPECT_EQ(p->weapons, WEAPON_HOMING);
    EXPECT_EQ(host.count("power_up"), 2);

    playerCollectPowerUp(p, game);  // empty slot, missing arguments: nothing happens
    playerCollectPowerUp(nullptr, game);
    EXPECT_EQ(host.count("power_up"), 2);
}

TEST_F(PowerUpsTest, EnemiesCollectTooButNotBeforeTheyEnter) {
    Tank* e = enemy(1);
    placeTank(e, 30, 20, 0);
    e->weapons = WEAPON_ENEMY;
    putPowerUp(31, 20, 4);
    EXPECT_EQ(enemyCollectPowerUp(e, game), 0);
    EXPECT_EQ(enemyCollectPowerUp(nullptr, game), 0);
    e->alive = 1;
    EXPECT_EQ(enemyCollectPowerUp(e, game), 1);
    EXPECT_EQ(e->weapons, WEAPON_ENEMY | WEAPON_MULTI);
    EXPECT_EQ(game->powerUp, nullptr);
    EXPECT_EQ(enemyCollectPowerUp(e, game), 0);
}

TEST_F(PowerUpsTest, InATickThePlayerComesFirstAndACollectingThiefTurnsHunter) {
    playing = 1;
    Tank* p = player();
    Tank* e = enemy(0);
    placeTank(p, 30, 20);
    placeTank(e, 33, 20);
    e->behaviour = stealBarrel;
    putPowerUp(31.5f, 20, 0);
    gameTick(game, keys, 1000);
    EXPECT_EQ(p->weapons & WEAPON_EXPLOSIVE, WEAPON_EXPLOSIVE);
    EXPECT_EQ(e->weapons & WEAPON_EXPLOSIVE, 0);

    // The enemy alone in reach collects it and becomes a hunter.
    placeTank(p, -40, -30);
    placeTank(e, 33, 20);
    e->behaviour = stealBarrel;
    putPowerUp(33, 21, 1);
    gameTick(game, keys, 1000);
    EXPECT_EQ(e->weapons & WEAPON_REBOUND, WEAPON_REBOUND);
    EXPECT_EQ(e->behaviour, huntPlayer);
}

}  // namespace
}  // namespace drumhold::testing
