// The block of one frame, printed from a hand-built world: every kind of line,
// the list orders, the towed-barrel index, the behaviour names, and its hash.
#include <gtest/gtest.h>

#include <string>

#include "replay/block.h"
#include "replay/text.h"
#include "world/records.h"
#include "world/tick.h"

namespace drumhold::replay {
namespace {

// A small world wired by hand, as the lists would hold it (head first).
struct HandBuiltWorld {
    Barrel barrels[3] = {
        {6.0f, 6.0f, BARREL_HOME, &barrels[1]},
        {-0.0f, 0.1f, BARREL_GONE, &barrels[2]},
        {-59.9999962f, 1e-7f, BARREL_TOWED, nullptr},
    };
    Projectile shot2{1.5f, 2.5f, 1.0f, 2.0f, 0.5f, 0.5f, WEAPON_HOMING, 40, 0.0f, 315.0f, 0.8f, nullptr};
    Projectile shot1{-3.0f, 4.0f, -3.0f, 3.0f, 0.0f, 1.0f, 0, 99, 0.0f, 0.0f, 1.0f, &shot2};
    Projectile enemyShot{10.0f, -10.0f, 10.25f, -10.0f, -0.25f, 0.0f, WEAPON_ENEMY, 7, 0.0f, 90.0f, 0.25f, nullptr};
    Tank thief{};
    Tank hunter{};
    Tank player{};
    Projectile debris2{0.25f, -0.5f, 0.0f, 0.0f, 0.25f, -0.5f, 0, 12, 1.0f, 0.0f, 0.0f, nullptr};
    Projectile debris1{2.0f, 3.0f, 1.0f, 1.0f, 1.0f, 2.0f, WEAPON_EXPLOSIVE, 30, 10.0f, 0.0f, 0.0f, &debris2};
    Explosion spent{0, nullptr, nullptr};
    Explosion burst{1, &debris1, &spent};
    PowerUp powerUp{-12.5f, 33.25f, 480, 3};
    GameState state{};

    HandBuiltWorld() {
        player.alive = 1;
        player.x = 1.25f;
        player.y = -2.5f;
        player.heading = 270.0f;
        player.vx = 0.5f;
        player.vy = -0.0f;
        player.speed = 0.454545468f;
        player.weapons = WEAPON_EXPLOSIVE | WEAPON_MULTI;
        player.reload = 14;
        player.controls = CONTROL_FORWARD | CONTROL_FIRE;
        player.missiles = &shot1;

        hunter.alive = -100;
        hunter.x = -60.0f;
        hunter.y = 20.0f;
        hunter.heading = 90.0f;
        hunter.speedFactor = 0.5f;
        hunter.wanderHeading = 12.5f;
        hunter.behaviour = huntPlayer;
        hunter.missiles = &enemyShot;
        hunter.next = &thief;

        thief.alive = 57;
        thief.x = 3.0f;
        thief.y = 44.0f;
        thief.heading = 180.0f;
        thief.speed = 0.125f;
        thief.reload = 300;
        thief.behaviour = stealBarrel;
        thief.towedBarrel = &barrels[2];
        thief.towDelay = 20;
        thief.wanderHeading = 359.5f;
        thief.speedFactor = 0.50002f;

        state.score = -102;
        state.ticks = 1234;
        state.thumpTimer = 17;
        state.barrelsLeft = 2;
        state.powerUp = &powerUp;
        state.players = &player;
        state.enemies = &hunter;
        state.barrels = barrels;
    }

    std::string block(std::uint64_t frame, std::string_view cues) {
        state.playing = true;
        state.random.state = 4294967295u;
        state.explosions = &burst;
        FrameView view;
        view.frame = frame;
        view.game = &state;
        view.cues = cues;
        TextBuffer out(64);
        appendBlock(out, view);
        return std::string(out.view());
    }
};

const char* const kExpectedBlock =
    "frame 4000000000 playing 1 ticks 1234 score -102 barrelsLeft 2 thumpTimer 17 rng 4294967295\n"
    "powerup -12.5 33.25 480 3\n"
    "tank player 1 1.25 -2.5 270 0.5 -0 0.454545468 17 14 17\n"
    "missile -3 4 -3 3 0 1 0 1 0 99\n"
    "missile 1.5 2.5 1 2 0.5 0.5 315 0.800000012 8 40\n"
    "tank enemy -100 -60 20 90 0 0 0 0 0 hunt -1 0 12.5 0.5\n"
    "missile 10 -10 10.25 -10 -0.25 0 90 0.25 32768 7\n"
    "tank enemy 57 3 44 180 0 0 0.125 0 300 steal 2 20 359.5 0.500020027\n"
    "barrel 0 6 6 1\n"
    "barrel 1 -0 0.100000001 0\n"
    "barrel 2 -59.9999962 1.00000001e-07 2\n"
    "explosion\n"
    "debris 2 3 1 1 1 2 1 30 10\n"
    "debris 0.25 -0.5 0 0 0.25 -0.5 0 12 1\n"
    "explosion\n"
    "cues shot,explosion,thump\n";

TEST(TraceBlock, PrintsEveryLineKindInListOrder) {
    HandBuiltWorld world;
    EXPECT_EQ(world.block(4000000000u, "shot,explosion,thump"), kExpectedBlock);
}

TEST(TraceBlock, EmptySlotsAndListsAndNoCues) {
    HandBuiltWorld world;
    world.state.powerUp = nullptr;
    world.thief.towedBarrel = nullptr;
    world.player.missiles = nullptr;
    world.hunter.next = nullptr;
    world.state.barrels = nullptr;
    FrameView view;
    view.game = &world.state;
    TextBuffer out;
    appendBlock(out, view);
    EXPECT_EQ(out.view(),
              "frame 0 playing 0 ticks 1234 score -102 barrelsLeft 2 thumpTimer 17 rng 0\n"
              "powerup none\n"
              "tank player 1 1.25 -2.5 270 0.5 -0 0.454545468 17 14 17\n"
              "tank enemy -100 -60 20 90 0 0 0 0 0 hunt -1 0 12.5 0.5\n"
              "missile 10 -10 10.25 -10 -0.25 0 90 0.25 32768 7\n"
              "cues -\n");

    // A thief whose barrel is not in the list any more shows -1, not garbage.
    world.hunter.next = &world.thief;
    world.thief.towedBarrel = &world.barrels[1];
    out.clear();
    appendBlock(out, view);
    EXPECT_NE(out.view().find(" steal -1 20 "), std::string_view::npos);
}

TEST(TraceBlock, HashOfAKnownBlock) {
    // Worked out independently of this code, over the bytes of kExpectedBlock.
    char hex[16];
    EXPECT_EQ(std::string(hex, formatHex16(hex, fnv1a64(kExpectedBlock))), "b27a04815f704b4d");
}

}  // namespace
}  // namespace drumhold::replay
