// Homing: the bearing convention, target choice within the 15-degree cone, and
// the turn of at most one degree per tick the short way round.
#include <gtest/gtest.h>

#include <cmath>

#include "combat_support.h"
#include "data/tables.h"
#include "world/missiles.h"
#include "world_fixture.h"

namespace drumhold::testing {
namespace {

class HomingTest : public WorldTest {
protected:
    Projectile missile{};
    void SetUp() override {
        WorldTest::SetUp();
        parkEnemies();
        player()->alive = -1000000;
        missile.flags = WEAPON_HOMING;
        missile.speed = 0.8f;
    }
    // Puts `tank` 20 units from the missile (at the origin) along heading `h`.
    void placeAlong(Tank* tank, double h, int alive = 1, double range = 20) {
        placeTank(tank, static_cast<float>(range * std::sin(-h * kGamePi / 180)),
                  static_cast<float>(range * std::cos(-h * kGamePi / 180)), alive);
    }
};

TEST_F(HomingTest, BearingFollowsTheHeadingConvention) {
    EXPECT_EQ(bearing(0, 0, 0, 10), 360.0f);  // straight up is 360, not 0
    EXPECT_FLOAT_EQ(bearing(0, 0, -10, 0), 90);
    EXPECT_FLOAT_EQ(bearing(0, 0, 0, -10), 180);
    EXPECT_FLOAT_EQ(bearing(0, 0, 10, 0), 270);
    EXPECT_FLOAT_EQ(bearing(5, 5, 4, 6), 45);
}

TEST_F(HomingTest, TurnsAtMostOneDegreeTheShortWayAcrossNorth) {
    placeAlong(enemy(0), 355);
    missile.heading = 5;
    steerProjectile(missile, game);
    EXPECT_FLOAT_EQ(missile.heading, 4);
    EXPECT_NEAR(missile.vx, 0.8 * std::sin(-4 * kGamePi / 180), 1e-6);
    EXPECT_NEAR(missile.vy, 0.8 * std::cos(-4 * kGamePi / 180), 1e-6);

    placeAlong(enemy(0), 5);
    missile.heading = 355;
    steerProjectile(missile, game);
    EXPECT_FLOAT_EQ(missile.heading, 356);

    // Less than a degree to go: lands on the bearing itself.
    placeAlong(enemy(0), 10.4);
    missile.heading = 10;
    steerProjectile(missile, game);
    EXPECT_EQ(missile.heading, bearing(0, 0, enemy(0)->x, enemy(0)->y));
    EXPECT_NEAR(missile.heading, 10.4, 1e-4);

    // The heading is never wrapped: from 0.5 toward 359 it goes below zero.
    placeAlong(enemy(0), 359);
    missile.heading = 0.5f;
    steerProjectile(missile, game);
    EXPECT_FLOAT_EQ(missile.heading, -0.5f);
    steerProjectile(missile, game);
    EXPECT_NEAR(missile.heading, -1, 1e-4);
}

TEST_F(HomingTest, TargetMustLieStrictlyWithinFifteenDegrees) {
    placeTank(enemy(0), 0, 20);  // bearing exactly 360
    missile.heading = 345;
    EXPECT_EQ(homingTarget(missile, game), nullptr);
    steerProjectile(missile, game);
    EXPECT_EQ(missile.heading, 345);
    EXPECT_EQ(missile.vx, 0);  // no target: velocity untouched too

    missile.heading = 345.01f;
    EXPECT_EQ(homingTarget(missile, game), enemy(0));

    // Twenty degrees off is outside the cone, even the short way across north.
    placeAlong(enemy(0), 350);
    missile.heading = 10;
    EXPECT_EQ(homingTarget(missile, game), nullptr);
}

TEST_F(HomingTest, ChoosesTheSmallestErrorAndKeepsTheEarlierEnemyOnATie) {
    missile.heading = 358;
    placeTank(enemy(0), 0, 30);  // same bearing, further away
    placeTank(enemy(1), 0, 10);
    EXPECT_EQ(homingTarget(missile, game), enemy(0));

    placeAlong(enemy(2), 357);  // one degree off beats two
    EXPECT_EQ(homingTarget(missile, game), enemy(2));
}

TEST_F(HomingTest, WaitingEnemiesCountButNotTheOneAboutToEnter) {
    missile.heading = 0;
    placeAlong(enemy(1), 0, -40);  // destroyed, waiting at its respawn place
    EXPECT_EQ(homingTarget(missile, game), enemy(1));
    enemy(1)->alive = 0;
    EXPECT_EQ(homingTarget(missile, game), nullptr);
}

TEST_F(HomingTest, EnemyMissilesChaseOnlyTheFirstPlayerEvenWhileItWaits) {
    missile.flags = WEAPON_HOMING | WEAPON_ENEMY;
    missile.heading = 90;
    placeAlong(enemy(0), 90);  // enemies are never an enemy missile's target
    EXPECT_EQ(homingTarget(missile, game), nullptr);

    placeAlong(player(), 92, -60);
    EXPECT_EQ(homingTarget(missile, game), player());
    steerProjectile(missile, game);
    EXPECT_FLOAT_EQ(missile.heading, 91);
}

TEST_F(HomingTest, UpdateSteersAfterTheBounceAndKeepsTheSpeedField) {
    // A homing, rebounding missile bouncing off the right edge steers from its
    // new heading (90) toward an enemy 5 degrees further round.
    Projectile* list = nullptr;
    Projectile* m = pushProjectile(list, 59.5f, 0, 0.8f, 0, WEAPON_HOMING | WEAPON_REBOUND);
    m->heading = 270;
    m->speed = 0.8f;
    placeTank(enemy(0), static_cast<float>(59.3 - 30 * std::sin(95 * kGamePi / 180)),
              static_cast<float>(30 * std::cos(95 * kGamePi / 180)));
    EXPECT_EQ(updateProjectiles(list, game), 1);
    EXPECT_FLOAT_EQ(m->heading, 91);
    EXPECT_NEAR(std::hypot(m->vx, m->vy), 0.8, 1e-6);
    releaseProjectiles(list);
}

}  // namespace
}  // namespace drumhold::testing
