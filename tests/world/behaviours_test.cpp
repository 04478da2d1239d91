// The enemy behaviours: the hunter's chase, aim and wander, the thief's seek,
// hook, wait and carry, and the searches and speed scale they share.
#include <cmath>

#include "data/tables.h"
#include "world/random.h"
#include "world/tick.h"
#include "world_fixture.h"

namespace drumhold {
namespace {

class BehaviourTest : public testing::WorldTest {
protected:
    Tank* e = nullptr;
    void SetUp() override {
        WorldTest::SetUp();
        parkEnemies();
        e = enemy(0);
        e->alive = 1;
        e->x = 0;
        e->y = 0;
        e->vx = 0;
        e->vy = 0;
        e->speed = 0;
        e->speedFactor = 0.5f;
        e->reload = 0;
        player()->alive = 1;
    }
    // Puts a target at `d` from the enemy, `bearing` degrees (heading convention).
    void placeAt(float& x, float& y, double bearingDegrees, double d) const {
        const double a = -bearingDegrees * kGamePi / 180;
        x = static_cast<float>(e->x + std::sin(a) * d);
        y = static_cast<float>(e->y + std::cos(a) * d);
    }
    // Only this barrel is still free; the rest are gone.
    Barrel* onlyBarrel() {
        for (Barrel* b = game->barrels; b; b = b->next) b->state = BARREL_GONE;
        Barrel* b = barrel(0);
        b->state = BARREL_HOME;
        return b;
    }
};

TEST_F(BehaviourTest, HunterTurnsTheShortWayThroughNorth) {
    placeAt(player()->x, player()->y, 10, 30);
    e->heading = 350;
    e->reload = 99;
    huntPlayer(e, game);
    EXPECT_FLOAT_EQ(e->heading, 350.5f);
    // Still 19.5 degrees off course after the turn: cos(19.5) of its 0.125.
    EXPECT_NEAR(e->speed, std::cos(19.5 * kGamePi / 180) * 0.125, 1e-4);

    placeAt(player()->x, player()->y, 350, 30);
    e->heading = 10;
    huntPlayer(e, game);
    EXPECT_FLOAT_EQ(e->heading, 9.5f);

    // Crossing north from above 360 is wrapped back into range.
    placeAt(player()->x, player()->y, 0.2, 30);
    e->heading = 359.9f;
    huntPlayer(e, game);
    EXPECT_NEAR(e->heading, 0.2, 1e-3);
}

TEST_F(BehaviourTest, HunterSpeedAndFiring) {
    // Exactly 10 away: the speed is not set and coasts.
    player()->x = 0;
    player()->y = 10;
    e->heading = 0;
    e->speed = 0.123f;
    e->reload = 5;
    huntPlayer(e, game);
    EXPECT_EQ(e->speed, 0.123f);
    EXPECT_EQ(host.count("shot"), 0);  // aligned, but still reloading
    EXPECT_EQ(e->missiles, nullptr);

    e->reload = 0;
    e->weapons = WEAPON_ENEMY | WEAPON_REBOUND;
    huntPlayer(e, game);
    EXPECT_EQ(e->reload, 300);
    EXPECT_EQ(host.count("shot"), 1);
    ASSERT_NE(e->missiles, nullptr);
    EXPECT_EQ(e->missiles->flags & (WEAPON_ENEMY | WEAPON_REBOUND), WEAPON_ENEMY | WEAPON_REBOUND);
    EXPECT_EQ(game->score, 0);  // enemy shots cost the player nothing

    e->speedFactor = 0.7f;
    e->reload = 0;
    huntPlayer(e, game);
    EXPECT_EQ(e->reload, 214);

    // Facing away from a far target it backs up while it turns.
    player()->y = -30;
    e->reload = 9;
    huntPlayer(e, game);
    EXPECT_LT(e->speed, 0.0f);
}

TEST_F(BehaviourTest, HunterDropsABarrelAndWandersWithoutAPlayer) {
    Barrel* b = barrel(3);
    b->state = BARREL_TOWED;
    e->towedBarrel = b;
    player()->alive = 0;
    huntPlayer(e, game);
    EXPECT_EQ(b->state, BARREL_HOME);
    EXPECT_EQ(e->towedBarrel, nullptr);

    // One draw for a right turn, a second only when that fails.
    int right = 0, left = 0, drive = 0;
    for (int i = 0; i < 2000; ++i) {
        const std::uint32_t before = game->random.state;
        e->heading = 180;
        e->speed = 0;
        huntPlayer(e, game);
        seedRandom(game->random, before);
        const bool firstTurns = random01(game->random) < 0.1;
        if (e->heading == 179.75f) {
            ++right;
            EXPECT_TRUE(firstTurns);
        } else if (e->heading == 180.25f) {
            ++left;
            EXPECT_FALSE(firstTurns);
            EXPECT_LT(random01(game->random), 0.1);
        } else {
            ++drive;
            EXPECT_EQ(e->speed, 0.0625f);
            EXPECT_FALSE(firstTurns);
            EXPECT_GE(random01(game->random), 0.1);
        }
    }
    EXPECT_NEAR(right / 2000.0, 0.1, 0.03);
    EXPECT_NEAR(left / 2000.0, 0.09, 0.03);
    EXPECT_EQ(right + left + drive, 2000);
}

TEST_F(BehaviourTest, TurnSpeedScale) {
    EXPECT_EQ(turnSpeedScale(0), 1.0);
    EXPECT_NEAR(turnSpeedScale(120 * kGamePi / 180), -0.25, 1e-7);
    EXPECT_NEAR(turnSpeedScale(-120 * kGamePi / 180), -0.5, 1e-7);
    EXPECT_NEAR(turnSpeedScale(200 * kGamePi / 180), std::cos(20 * kGamePi / 180), 1e-7);
}

TEST_F(BehaviourTest, NearestSearches) {
    Tank other{};
    other.alive = 1;
    other.x = 5;
    other.next = nullptr;
    Tank first{};
    first.alive = 0;  // dead: passed over
    first.x = 1;
    first.next = &other;
    EXPECT_EQ(nearestLivePlayer(0, 0, &first), &other);
    first.alive = 1;
    first.x = -5;  // equally near: the earlier one wins
    EXPECT_EQ(nearestLivePlayer(0, 0, &first), &first);
    EXPECT_EQ(nearestLivePlayer(20000, 0, &first), nullptr);  // beyond the search limit

    Barrel far{10, 0, BARREL_HOME, nullptr};
    Barrel towed{1, 0, BARREL_TOWED, &far};
    Barrel gone{0, 0, BARREL_GONE, &towed};
    EXPECT_EQ(nearestHomeBarrel(0, 0, &gone), &far);
    far.state = BARREL_TOWED;
    EXPECT_EQ(nearestHomeBarrel(0, 0, &gone), nullptr);
}

TEST_F(BehaviourTest, ThiefBrakesInFrontOfItsBarrel) {
    e->behaviour = stealBarrel;
    Barrel* b = onlyBarrel();
    b->x = 0;
    b->y = 3;
    e->heading = 0;
    stealBarrel(e, game);
    EXPECT_FLOAT_EQ(e->speed, 0.1f);  // d - 2.9 rather than its 0.125
    EXPECT_EQ(e->towedBarrel, nullptr);

    b->y = 2.85f;
    stealBarrel(e, game);
    EXPECT_NEAR(e->speed, -0.05, 1e-6);  // backs off, and being aligned, hooks
    EXPECT_EQ(e->towedBarrel, b);

    // Nothing free: it stands idle and keeps its speed to coast on.
    e->towedBarrel = nullptr;
    e->heading = 123;
    e->speed = 0.07f;
    stealBarrel(e, game);
    EXPECT_EQ(e->heading, 123.0f);
    EXPECT_EQ(e->speed, 0.07f);
}

TEST_F(BehaviourTest, ThiefHooksOnlyCloseAndAligned) {
    Barrel* b = onlyBarrel();
    game->tankTypes->turnRate = 0;  // hold the heading error as placed
    auto attempt = [&](float y, float heading) {
        b->x = 0;
        b->y = y;
        b->state = BARREL_HOME;
        e->heading = heading;
        e->towedBarrel = nullptr;
        stealBarrel(e, game);
        return e->towedBarrel != nullptr;
    };
    EXPECT_FALSE(attempt(2.9015f, 0));
    EXPECT_FALSE(attempt(2.9005f, 0.2f));
    EXPECT_EQ(host.count("grab"), 0);
    const std::uint32_t before = game->random.state;
    EXPECT_TRUE(attempt(2.9005f, 0.05f));
    EXPECT_EQ(host.count("grab"), 1);
    EXPECT_EQ(b->state, BARREL_TOWED);
    EXPECT_EQ(e->towDelay, 200);
    seedRandom(game->random, before);
    EXPECT_EQ(e->wanderHeading, static_cast<float>(random01(game->random) * 360));

    e->speedFactor = 0.7f;
    EXPECT_TRUE(attempt(2.9005f, 0.05f));
    EXPECT_EQ(e->towDelay, 142);

    // Hooked: it waits without turning, driving or moving the barrel.
    e->towDelay = 2;
    e->speed = 0.04f;
    stealBarrel(e, game);
    EXPECT_EQ(e->towDelay, 1);
    EXPECT_EQ(e->speed, 0.04f);
    EXPECT_EQ(b->y, 2.9005f);
}

TEST_F(BehaviourTest, CarryingThiefTurnsByItsTable) {
    Barrel* b = onlyBarrel();
    e->towedBarrel = b;
    b->state = BARREL_TOWED;
    e->towDelay = 0;
    auto carry = [&](float heading, float wander) {
        e->heading = heading;
        e->wanderHeading = wander;
        stealBarrel(e, game);
        return e->heading;
    };
    EXPECT_FLOAT_EQ(carry(300, 80), 300.5f);  // left through 360
    EXPECT_FLOAT_EQ(carry(80, 300), 79.5f);   // right through 0
    EXPECT_FLOAT_EQ(carry(200, 10), 199.5f);  // straight across, the long way
    EXPECT_FLOAT_EQ(carry(100, 100.2f), 100.0f);  // within a step: stays put
    EXPECT_NEAR(carry(359.8f, 10), 0.3, 1e-4);      // through north and wrapped
    EXPECT_FLOAT_EQ(e->speed, 0.125f);

    // The barrel is held 2.9 ahead, plus the last displacement.
    e->x = 10;
    e->y = 10;
    e->vx = 0.1f;
    e->vy = 0;
    carry(90, 90);  // faces -x
    EXPECT_NEAR(b->x, 10 - 2.9 + 0.1, 1e-5);
    EXPECT_NEAR(b->y, 10, 1e-5);
    EXPECT_EQ(b->state, BARREL_TOWED);
}

TEST_F(BehaviourTest, BarrelIsStolenWhenTheThiefLeavesTheField) {
    Barrel* b = onlyBarrel();
    e->towedBarrel = b;
    b->state = BARREL_TOWED;
    e->towDelay = 0;
    e->heading = 270;
    e->wanderHeading = 270;
    e->x = 62.85f;
    stealBarrel(e, game);
    EXPECT_EQ(e->towedBarrel, b);
    EXPECT_EQ(game->barrelsLeft, 18);

    // The last barrel: the game ends in the very tick it leaves.
    game->barrelsLeft = 1;
    playing = 1;
    e->x = 62.95f;
    e->behaviour = stealBarrel;
    gameTick(game, keys, 1000);
    EXPECT_EQ(b->state, BARREL_GONE);
    EXPECT_EQ(e->towedBarrel, nullptr);
    EXPECT_EQ(game->barrelsLeft, 0);
    EXPECT_EQ(playing, 0);
}

}  // namespace
}  // namespace drumhold
