// Firing and the per-tick projectile update: counts, speeds, draws, the field
// edge, bouncing, life, the hit table and unlinking.
#include <gtest/gtest.h>

#include <cmath>

#include "combat_support.h"
#include "world/missiles.h"
#include "world_fixture.h"

namespace drumhold::testing {
namespace {

class MissilesTest : public WorldTest {
protected:
    Projectile* list = nullptr;
    void SetUp() override {
        WorldTest::SetUp();
        parkEnemies();
        player()->alive = -1000000;
    }
    void TearDown() override {
        releaseProjectiles(list);
        WorldTest::TearDown();
    }
};

TEST_F(MissilesTest, PlainShotLeavesTheMuzzleAndGoesInFrontOfOlderMissiles) {
    const std::uint32_t before = game->random.state;
    list = fireMissiles(nullptr, 0, 0, 0, 0, 1, game->random);
    ASSERT_EQ(countProjectiles(list), 1);
    const Projectile& m = *list;
    EXPECT_NEAR(m.prevX, 0, 1e-6);
    EXPECT_FLOAT_EQ(m.prevY, 1);
    EXPECT_NEAR(m.x, 0, 1e-6);
    EXPECT_FLOAT_EQ(m.y, 2);
    EXPECT_NEAR(m.vx, 0, 1e-6);
    EXPECT_FLOAT_EQ(m.vy, 1);
    EXPECT_EQ(m.life, 150);
    EXPECT_EQ(m.heading, 0);
    EXPECT_EQ(m.speed, 1);
    EXPECT_EQ(m.flags, 0);
    EXPECT_EQ(m.debrisChance, 10);
    EXPECT_EQ(game->random.state, before);  // a plain shot draws nothing

    // Heading 90 faces -x; the new shot becomes the head.
    Projectile* first = list;
    list = fireMissiles(list, 5, 5, 90, WEAPON_EXPLOSIVE, 1, game->random);
    ASSERT_EQ(countProjectiles(list), 2);
    EXPECT_EQ(list->next, first);
    EXPECT_FLOAT_EQ(list->x, 3);
    EXPECT_NEAR(list->y, 5, 1e-6);
    EXPECT_FLOAT_EQ(list->vx, -1);
    EXPECT_EQ(list->flags, WEAPON_EXPLOSIVE);
}

TEST_F(MissilesTest, ScatterAndMultiSetTheCountAndTheDraws) {
    struct Case {
        int flags, missiles, draws;
    };
    const Case cases[] = {{0, 1, 0},
                          {WEAPON_MULTI, 3, 0},
                          {WEAPON_SCATTER, 3, 6},
                          {WEAPON_SCATTER | WEAPON_MULTI, 9, 18}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        const std::uint32_t before = game->random.state;
        Projectile* shot = fireMissiles(nullptr, 0, 0, 30, c.flags, 1, game->random);
        EXPECT_EQ(countProjectiles(shot), c.missiles);
        EXPECT_EQ(game->random.state, stateAfter(before, c.draws));
        for (Projectile* m = shot; m; m = m->next) {
            EXPECT_GE(m->speed, 0.8f);
            EXPECT_LE(m->speed, 1.0f);
            EXPECT_GE(m->heading, 27.5f);
            EXPECT_LE(m->heading, 32.5f);
            // Every missile starts from the same muzzle point.
            EXPECT_EQ(m->prevX, shot->prevX);
            EXPECT_EQ(m->prevY, shot->prevY);
            EXPECT_NEAR(std::hypot(m->vx, m->vy), m->speed, 1e-6);
            if (!(c.flags & WEAPON_SCATTER)) {
                EXPECT_EQ(m->x, shot->x);  // multi alone stacks identical missiles
                EXPECT_EQ(m->vy, shot->vy);
            }
        }
        releaseProjectiles(shot);
    }
}

TEST_F(MissilesTest, HomingAndEnemySpeedOverrideTheScatterCandidateButNotItsDraws) {
    std::uint32_t before = game->random.state;
    Projectile* homing = fireMissiles(nullptr, 0, 0, 0, WEAPON_HOMING | WEAPON_SCATTER, 1, game->random);
    EXPECT_EQ(game->random.state, stateAfter(before, 6));
    for (Projectile* m = homing; m; m = m->next) EXPECT_EQ(m->speed, 0.8f);
    releaseProjectiles(homing);

    before = game->random.state;
    const int enemyFlags = WEAPON_ENEMY | WEAPON_HOMING | WEAPON_SCATTER | WEAPON_MULTI;
    Projectile* enemyShot = fireMissiles(nullptr, 0, 0, 0, enemyFlags, 0.6f, game->random);
    EXPECT_EQ(game->random.state, stateAfter(before, 18));
    EXPECT_EQ(countProjectiles(enemyShot), 9);
    for (Projectile* m = enemyShot; m; m = m->next) {
        EXPECT_EQ(m->speed, 0.6f);
        EXPECT_EQ(m->flags, enemyFlags);
    }
    releaseProjectiles(enemyShot);
}

TEST_F(MissilesTest, TheFieldEdgeItselfIsInside) {
    pushProjectile(list, 59.5f, 0, 0.5f, 0);  // lands exactly on 60
    EXPECT_EQ(updateProjectiles(list, game), 1);
    EXPECT_EQ(list->x, 60);
    EXPECT_EQ(list->prevX, 59.5f);

    list->vx = 0.01f;  // 60.01 is outside
    EXPECT_EQ(updateProjectiles(list, game), 0);
    EXPECT_EQ(list, nullptr);

    pushProjectile(list, 0, -44.5f, 0, -0.5f);
    EXPECT_EQ(updateProjectiles(list, game), 1);
    pushProjectile(list, 0, 44.9f, 0, 0.2f);
    EXPECT_EQ(updateProjectiles(list, game), 0);
}

TEST_F(MissilesTest, ReboundingMissileTurnsBackAtUnitSpeedAndTakesTwoSteps) {
    Projectile* m = pushProjectile(list, 59.0f, 0, 0.5f, 0, WEAPON_REBOUND);
    m->heading = 270;
    m->speed = 0.5f;

    updateProjectiles(list, game);  // 59.5, then 60: on the edge, no bounce
    EXPECT_FLOAT_EQ(m->x, 60);
    EXPECT_EQ(m->heading, 270);

    updateProjectiles(list, game);  // 60.5 is out: bounce, then step back
    EXPECT_EQ(m->heading, 90);
    EXPECT_NEAR(m->vx, -1, 1e-6);
    EXPECT_NEAR(m->vy, 0, 1e-6);
    EXPECT_NEAR(m->x, 59.5, 1e-5);
    EXPECT_EQ(m->speed, 0.5f);  // the speed field is left alone

    updateProjectiles(list, game);
    EXPECT_NEAR(m->x, 57.5, 1e-5);
    EXPECT_NEAR(m->prevX, 59.5, 1e-5);  // where the tick began, two steps back

    // Top edge: 180 - heading, and both edges at a corner.
    Projectile* up = pushProjectile(list, 0, 44.8f, 0, 0.5f, WEAPON_REBOUND);
    up->heading = 0;
    Projectile* corner = pushProjectile(list, 59.8f, 44.8f, 0.5f, 0.5f, WEAPON_REBOUND);
    corner->heading = 315;
    EXPECT_EQ(updateProjectiles(list, game), 3);
    EXPECT_EQ(up->heading, 180);
    EXPECT_NEAR(up->vy, -1, 1e-6);
    EXPECT_EQ(corner->heading, 180 - (360 - 315));  // 135, never wrapped
    EXPECT_LT(corner->vx, 0);
    EXPECT_LT(corner->vy, 0);
}

TEST_F(MissilesTest, LifeRunsOutAfterTheHundredAndFiftyFirstUpdate) {
    Projectile* plain = pushProjectile(list, -10, -40, 0, 0.1f);
    Projectile* explosive = pushProjectile(list, 10, -40, 0, 0.1f, WEAPON_EXPLOSIVE);
    for (int i = 1; i < 150; ++i) ASSERT_EQ(updateProjectiles(list, game), 2);
    EXPECT_EQ(explosions, nullptr);
    EXPECT_EQ(host.count("explosion"), 0);

    // The 150th update brings life to 0: the explosive one bursts where it is,
    // with radius 0, yet both still live.
    EXPECT_EQ(updateProjectiles(list, game), 2);
    EXPECT_EQ(plain->life, 0);
    ASSERT_EQ(countExplosions(explosions), 1);
    EXPECT_EQ(host.count("explosion"), 1);
    for (Projectile* f = explosions->debris; f; f = f->next) {
        EXPECT_EQ(f->x, explosive->x);
        EXPECT_EQ(f->y, explosive->y);
    }

    EXPECT_EQ(updateProjectiles(list, game), 0);  // the 151st removes both
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(countExplosions(explosions), 1);
}

TEST_F(MissilesTest, DeadProjectilesAreUnlinkedWhereverTheyStand) {
    EXPECT_EQ(updateProjectiles(list, game), 0);  // empty list

    Projectile* tail = pushProjectile(list, 70, 0, 1, 0);  // outside
    Projectile* middle = pushProjectile(list, 0, 0, 0, 1);
    pushProjectile(list, 0, 10, 0, 1, 0, 0);  // head, life already spent
    EXPECT_EQ(updateProjectiles(list, game), 1);
    EXPECT_EQ(list, middle);
    EXPECT_EQ(middle->next, nullptr);
    (void)tail;

    Projectile* head = pushProjectile(list, 0, 20, 0, 1);
    pushProjectile(list, 0, -50, 0, -1);  // outside, new head
    EXPECT_EQ(updateProjectiles(list, game), 2);
    EXPECT_EQ(list, head);
    EXPECT_EQ(head->next, middle);
}

TEST_F(MissilesTest, HitTableAimsExplosiveProjectilesAtTheOtherSide) {
    // One missile from (0, -1) moving +y; both tanks wait 2.26 units beyond the end
    // of its coming step: too far for plain reach, near enough for explosive reach.
    struct Case {
        int flags;
        bool enemyThere, playerThere;
        int scoreChange;
    };
    const Case cases[] = {
        {0, true, true, 0},
        {WEAPON_EXPLOSIVE, true, false, 100},
        {WEAPON_EXPLOSIVE, false, true, 0},  // a player missile is not aimed at the player
        {WEAPON_EXPLOSIVE | WEAPON_ENEMY, false, true, -100},
        {WEAPON_EXPLOSIVE | WEAPON_ENEMY, true, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        placeTank(enemy(0), 0.5f, 3.2f, c.enemyThere ? 1 : -1000000);
        placeTank(player(), 0.5f, 3.2f, c.playerThere ? 1 : -1000000);
        const int score = game->score;
        Projectile* shot = nullptr;
        pushProjectile(shot, 0, -1, 0, 1, c.flags);
        const int left = updateProjectiles(shot, game);
        EXPECT_EQ(game->score - score, c.scoreChange);
        EXPECT_EQ(left, c.scoreChange == 0 ? 1 : 0);
        if (c.scoreChange != 0) {
            // The tank explodes first; then the missile bursts half a step on.
            ASSERT_EQ(countExplosions(explosions), 2);
            EXPECT_NEAR(explosions->debris->prevX, 0, 1e-6);
            EXPECT_FLOAT_EQ(explosions->debris->prevY, 0.5f);
            EXPECT_FLOAT_EQ(explosions->next->debris->prevY, 3.2f);
        }
        releaseProjectiles(shot);
        releaseExplosions(game);
    }
}

TEST_F(MissilesTest, MissileLeavingTheFieldStillStrikesATankOnTheEdge) {
    placeTank(enemy(1), 61, 0);
    pushProjectile(list, 59.8f, 0, 0.5f, 0);
    EXPECT_EQ(updateProjectiles(list, game), 0);
    EXPECT_EQ(game->score, 100);
    EXPECT_EQ(enemy(1)->alive, -100);
}

TEST_F(MissilesTest, MissilesFlyOnAfterTheirShooterIsDestroyed) {
    Tank* shooter = enemy(2);
    shooter->alive = -40;
    shooter->missiles = fireMissiles(nullptr, 0, 0, 180, WEAPON_ENEMY, 0.5, game->random);
    player()->missiles = fireMissiles(nullptr, 10, 0, 0, 0, 1, game->random);
    const float enemyY = shooter->missiles->y;
    const float playerY = player()->missiles->y;
    updateEnemyMissiles(game->enemies, game);
    updatePlayerMissiles(game->players, game);
    EXPECT_FLOAT_EQ(shooter->missiles->y, enemyY - 0.5f);
    EXPECT_FLOAT_EQ(player()->missiles->y, playerY + 1);

    shooter->missiles->life = 0;  // the update that removes the last one empties the list
    updateEnemyMissiles(game->enemies, game);
    EXPECT_EQ(shooter->missiles, nullptr);
}

}  // namespace
}  // namespace drumhold::testing
