// Hit tests: the three sample points and the squared-distance touch rule, the
// two skip rules, and what destroying a tank does to it, its barrel and the score.
#include <gtest/gtest.h>

#include "combat_support.h"
#include "world/missiles.h"
#include "world/tick.h"
#include "world_fixture.h"

namespace drumhold::testing {
namespace {

class HitsTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        parkEnemies();
        player()->alive = -1000000;
    }
};

TEST_F(HitsTest, TouchIsAgainstTheSquaredDistanceOfAnySamplePoint) {
    Tank* target = enemy(0);
    placeTank(target, 10, 10);
    EXPECT_EQ(hitEnemies(11.4, 10, 0, 0, 0.1, 0.1, game), 0);  // 1.4^2 = 1.96 > 1.9
    EXPECT_EQ(target->alive, 1);
    EXPECT_EQ(host.count("explosion"), 0);

    // A point 5 units away whose coming step passes 1.3 from the centre at its middle...
    EXPECT_EQ(hitEnemies(11.3, 5, 0, 10, 0.1, 0.1, game), 1);
    EXPECT_EQ(target->alive, -100);
    EXPECT_EQ(game->score, 100);
    EXPECT_EQ(host.count("explosion"), 1);
    ASSERT_EQ(countExplosions(explosions), 1);
    // ...explodes it where it stood, before the respawn moved it to an edge.
    EXPECT_EQ(explosions->debris->prevX, 10);
    EXPECT_EQ(explosions->debris->prevY, 10);
    EXPECT_TRUE(target->x != 10 || target->y != 10);
    EXPECT_EQ(target->weapons, WEAPON_ENEMY);

    // ...and one whose step ends 1.3 away.
    placeTank(target, 10, 10);
    EXPECT_EQ(hitEnemies(11.3, 0, 0, 10, 0.1, 0.1, game), 1);
    // The step already taken does not count: only the coming one is swept.
    placeTank(target, 10, 10);
    EXPECT_EQ(hitEnemies(11.3, 12, 0, 10, 0.1, 0.1, game), 0);

    // A destroyed tank is not tested at all.
    placeTank(target, 10, 10, -5);
    EXPECT_EQ(hitEnemies(10.1, 10, 0, 0, 0.1, 0.1, game), 0);
    EXPECT_EQ(target->alive, -5);
}

TEST_F(HitsTest, OneSweepDestroysEveryTankItTouches) {
    placeTank(enemy(0), 0, 0);
    placeTank(enemy(1), 0.5f, 0.5f);
    placeTank(enemy(2), -0.5f, 0.5f);
    placeTank(player(), 0.4f, -0.4f);
    game->score = 50;

    EXPECT_EQ(hitEnemies(0.1, 0.2, 0, 0, 0.1, 0.1, game), 1);
    EXPECT_EQ(hitPlayers(0.1, 0.2, 0, 0, 0.1, 0.1, game), 1);
    EXPECT_EQ(game->score, 50 + 300 - 100);
    EXPECT_EQ(host.count("explosion"), 4);
    EXPECT_EQ(countExplosions(explosions), 4);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(enemy(i)->alive, -100);
    EXPECT_EQ(player()->alive, -100);
    EXPECT_EQ(player()->weapons, 0);
    EXPECT_EQ(player()->speed, 0);
}

TEST_F(HitsTest, ThePlayerCanGoBelowZero) {
    game->score = 50;
    placeTank(player(), 3, 3);
    player()->weapons = WEAPON_MULTI | WEAPON_HOMING;
    EXPECT_EQ(hitPlayers(3.5, 3.5, 0, 0, 0.1, 0.1, game), 1);
    EXPECT_EQ(game->score, -50);
    EXPECT_EQ(player()->weapons, 0);
}

TEST_F(HitsTest, EnemiesSkipOnlyTheExactPositionPlayersSkipEitherCoordinate) {
    Tank* e = enemy(1);
    placeTank(e, 20, 20);
    EXPECT_EQ(hitEnemies(20, 20, 0.3, 0, 1.8, 100, game), 0);  // its own position
    EXPECT_EQ(e->alive, 1);
    EXPECT_EQ(hitEnemies(20, 20.5, 0, 0, 0.1, 0.1, game), 1);  // same x only: struck
    placeTank(e, 20, 20);
    EXPECT_EQ(hitEnemies(20.5, 20, 0, 0, 0.1, 0.1, game), 1);  // same y only: struck

    Tank* p = player();
    placeTank(p, -20, -20);
    EXPECT_EQ(hitPlayers(-20, -20.5, 0, 0, 0.1, 0.1, game), 0);
    EXPECT_EQ(hitPlayers(-20.5, -20, 0, 0, 0.1, 0.1, game), 0);
    EXPECT_EQ(p->alive, 1);
    EXPECT_EQ(hitPlayers(-20.5, -20.5, 0, 0, 0.1, 0.1, game), 1);
    EXPECT_EQ(p->alive, -100);
}

TEST_F(HitsTest, RammingEnemyIsCreditedToThePlayerAndSurvives) {
    Tank* rammer = enemy(0);
    Tank* victim = enemy(2);
    placeTank(rammer, 5, 5);
    placeTank(victim, 6.5f, 5);
    rammer->vx = 0.25f;
    const TankType* type = rammer->type;
    EXPECT_EQ(hitEnemies(rammer->x, rammer->y, rammer->vx, rammer->vy, type->radius,
                         type->debrisChance, game),
              1);
    EXPECT_EQ(rammer->alive, 1);
    EXPECT_EQ(victim->alive, -100);
    EXPECT_EQ(game->score, 100);
}

TEST_F(HitsTest, DestroyedThiefLeavesItsBarrelStandingWhereItWas) {
    Tank* thief = enemy(0);
    Barrel* b = barrel(4);
    placeTank(thief, 30, 0);
    b->x = 32.5f;
    b->y = 0.5f;
    b->state = BARREL_TOWED;
    thief->towedBarrel = b;
    thief->behaviour = stealBarrel;

    EXPECT_EQ(hitEnemies(30.5, 0.5, 0, 0, 0.1, 0.1, game), 1);
    EXPECT_EQ(b->state, BARREL_HOME);
    EXPECT_EQ(b->x, 32.5f);
    EXPECT_EQ(b->y, 0.5f);
    EXPECT_EQ(thief->towedBarrel, nullptr);
    EXPECT_EQ(nearestHomeBarrel(32, 0, game->barrels), b);  // free to be sought again
}

}  // namespace
}  // namespace drumhold::testing
