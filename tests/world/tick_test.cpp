// The game tick: its order, pacing, heartbeat, controls, firing and the end of a game.
#include <vector>

#include "world/random.h"
#include "world/setup.h"
#include "world/tick.h"
#include "world_fixture.h"

namespace drumhold {
namespace {

class TickTest : public testing::WorldTest {
protected:
    // One live player alone in a quiet corner, enemies off the field.
    void SetUp() override {
        WorldTest::SetUp();
        playing = 1;
        parkEnemies();
        Tank* p = player();
        p->alive = 1;
        p->x = 30;
        p->y = 30;
        p->heading = 0;
        p->speed = 0;
    }
    void runTicks(int n) {
        for (int i = 0; i < n; ++i) gameTick(game, keys, 1000);
    }
    // Ticks (counted from the reset) at which "thump" sounded during n ticks.
    std::vector<int> thumpTicks(int n) {
        std::vector<int> at;
        for (int i = 0; i < n; ++i) {
            const int before = host.count("thump");
            gameTick(game, keys, 1000);
            if (host.count("thump") > before) at.push_back(game->ticks);
        }
        return at;
    }
    void press(int key) { keys[key] = 1; }
};

TEST_F(TickTest, PacingAndCounters) {
    gameTick(game, keys, 5);
    gameTick(game, keys, 20);
    gameTick(game, keys, 1000);
    gameTick(game, keys, 0);
    EXPECT_EQ(host.sleeps, (std::vector<std::uint32_t>{15, 20}));
    EXPECT_EQ(game->ticks, 4);
    EXPECT_EQ(game->thumpTimer, 4);
}

TEST_F(TickTest, HeartbeatQuickensAsBarrelsGo) {
    EXPECT_EQ(thumpTicks(401), (std::vector<int>{201, 401}));
    EXPECT_EQ(game->thumpTimer, 1);  // the remainder is kept, not reset

    resetGame(game);
    parkEnemies();
    game->barrelsLeft = 1;
    EXPECT_EQ(thumpTicks(91), (std::vector<int>{31, 61, 91}));

    resetGame(game);
    parkEnemies();
    game->barrelsLeft = 0;
    EXPECT_EQ(thumpTicks(41), (std::vector<int>{21, 41}));
}

TEST_F(TickTest, ControlsSteerAndDrive) {
    Tank* p = player();
    press(38);
    press(40);  // reverse wins over forward
    readControls(p, keys);
    EXPECT_EQ(p->controls, CONTROL_FORWARD | CONTROL_REVERSE);
    updatePlayers(game->players, game);
    EXPECT_EQ(p->speed, -0.25f);

    keys.fill(0);
    p->heading = 359;
    press(37);
    readControls(p, keys);
    updatePlayers(game->players, game);
    EXPECT_EQ(p->heading, 2.0f);

    keys.fill(0);
    p->heading = 1;
    press(39);
    readControls(p, keys);
    updatePlayers(game->players, game);
    EXPECT_EQ(p->heading, 358.0f);

    press(37);  // left and right together cancel out
    readControls(p, keys);
    updatePlayers(game->players, game);
    EXPECT_EQ(p->heading, 358.0f);

    // A destroyed player takes no controls.
    p->alive = 0;
    readControls(p, keys);
    EXPECT_EQ(p->controls, 0);
}

TEST_F(TickTest, HeldFireShootsEveryFifteenTicksForAPointEach) {
    press(16);
    gameTick(game, keys, 1000);
    EXPECT_EQ(game->score, -1);
    EXPECT_EQ(player()->reload, 14);
    EXPECT_NE(player()->missiles, nullptr);
    EXPECT_EQ(host.count("shot"), 1);
    runTicks(14);
    EXPECT_EQ(game->score, -1);
    EXPECT_EQ(player()->reload, 0);
    gameTick(game, keys, 1000);  // tick 16
    EXPECT_EQ(game->score, -2);
    runTicks(15);  // tick 31
    EXPECT_EQ(game->score, -3);
    EXPECT_EQ(host.count("shot"), 3);
}

TEST_F(TickTest, ClampComesBeforeTheMove) {
    Tank* p = player();
    p->x = 57.9f;
    p->heading = 270;  // facing +x
    p->speed = 0.5f;
    gameTick(game, keys, 1000);
    EXPECT_NEAR(p->x, 58.4f, 1e-5);
    updatePlayers(game->players, game);
    EXPECT_EQ(p->x, 58.0f);
    p->y = -50;
    updatePlayers(game->players, game);
    EXPECT_EQ(p->y, -43.0f);
}

TEST_F(TickTest, DestroyedTanksComeBackAfterTheirCount) {
    Tank* p = player();
    p->alive = -100;
    p->speed = 0.3f;
    Tank* e = enemy(1);
    e->alive = -100;
    e->reload = 50;
    e->behaviour = huntPlayer;
    press(38);
    runTicks(100);
    EXPECT_EQ(p->alive, 0);
    EXPECT_EQ(p->x, 30.0f);  // not moved while away
    EXPECT_EQ(e->alive, 0);
    EXPECT_EQ(e->reload, 0);  // the reload ran down while away
    // Back in the 101st tick: it moves, but took no controls in it.
    gameTick(game, keys, 1000);
    EXPECT_EQ(p->alive, 1);
    EXPECT_EQ(p->controls, 0);
    EXPECT_NE(p->y, 30.0f);
    EXPECT_EQ(e->alive, 1);
    gameTick(game, keys, 1000);
    EXPECT_EQ(p->controls, CONTROL_FORWARD);
}

TEST_F(TickTest, BehavioursRunOnlyForTanksOnTheField) {
    static std::vector<Tank*> called;
    called.clear();
    for (Tank* t = game->enemies; t; t = t->next) {
        t->behaviour = [](Tank* tank, GameState*) { called.push_back(tank); };
    }
    enemy(0)->alive = 1;
    enemy(2)->alive = 5;
    runBehaviours(game->enemies, game);
    EXPECT_EQ(called, (std::vector<Tank*>{enemy(0), enemy(2)}));
}

TEST_F(TickTest, EndOfGameAndPowerUpDraws) {
    // While a power-up is out no draw is made for spawning.
    game->powerUp = new PowerUp{-50, -40, 1000, 0};
    std::uint32_t before = game->random.state;
    gameTick(game, keys, 1000);
    EXPECT_EQ(game->random.state, before);
    ASSERT_NE(game->powerUp, nullptr);
    delete game->powerUp;
    game->powerUp = nullptr;

    // With an empty slot one draw per tick; the tick that finds no barrel
    // left ends the game but still runs to its end.
    game->barrelsLeft = 0;
    before = game->random.state;
    seedRandom(game->random, before);
    const double draw = random01(game->random);
    const std::uint32_t afterOne = game->random.state;
    seedRandom(game->random, before);
    const int ticks = game->ticks;
    gameTick(game, keys, 1000);
    EXPECT_EQ(playing, 0);
    EXPECT_EQ(game->ticks, ticks + 1);
    if (draw >= 0.002) {
        EXPECT_EQ(game->random.state, afterOne);
        EXPECT_EQ(game->powerUp, nullptr);
    } else {
        EXPECT_NE(game->powerUp, nullptr);
    }
}

TEST_F(TickTest, EnemyThatCollectsAPowerUpTurnsHunter) {
    Tank* e = enemy(0);
    e->alive = 1;
    e->behaviour = stealBarrel;
    game->powerUp = new PowerUp{e->x, e->y, 100, 2};
    updateEnemies(game->enemies, game);
    EXPECT_EQ(e->behaviour, huntPlayer);
    EXPECT_EQ(game->powerUp, nullptr);
}

}  // namespace
}  // namespace drumhold
