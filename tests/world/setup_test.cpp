// Initialisation, reset and the placement rules, with their exact random draws.
#include <cmath>
#include <vector>

#include "data/tables.h"
#include "world/missiles.h"
#include "world/random.h"
#include "world/setup.h"
#include "world/tick.h"
#include "world_fixture.h"

namespace drumhold {
namespace {

using SetupTest = testing::WorldTest;

// The state from which the next draws are the given one.
std::uint32_t previousState(std::uint32_t state) {
    std::uint32_t inverse = 214013u;
    for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;
    return (state - 2531011u) * inverse;
}
constexpr std::uint32_t kStateDrawingOne = 0x7FFF0000u;  // its draw is 32767

int listLength(const Tank* t) {
    int n = 0;
    for (; t; t = t->next) ++n;
    return n;
}

TEST_F(SetupTest, FreshWorldAfterInit) {
    EXPECT_EQ(game->score, 0);
    EXPECT_EQ(game->ticks, 0);
    EXPECT_EQ(game->thumpTimer, 0);
    EXPECT_EQ(game->barrelsLeft, 18);
    EXPECT_EQ(game->powerUp, nullptr);
    ASSERT_EQ(listLength(game->players), 1);
    ASSERT_EQ(listLength(game->enemies), 3);
    // Types are inserted at the head.
    ASSERT_NE(game->tankTypes, nullptr);
    EXPECT_EQ(game->tankTypes->name, "grunt");
    EXPECT_EQ(game->tankTypes->next->name, "player");
    EXPECT_EQ(game->tankTypes->next->speed, 0.5f);
    EXPECT_EQ(game->tankTypes->reloadTicks, 150);
    EXPECT_EQ(game->tankTypes->radius, 1.8f);

    const Tank* p = player();
    EXPECT_EQ(p->alive, 0);
    EXPECT_EQ(p->weapons, 0);
    EXPECT_EQ(p->colour, playerColour);
    EXPECT_EQ(p->type->name, "player");
    EXPECT_EQ(p->behaviour, nullptr);
    EXPECT_LE(std::fabs(p->x), 29.0f);
    EXPECT_LE(std::fabs(p->y), 21.5f);
    for (int i = 0; i < 3; ++i) {
        const Tank* e = enemy(i);
        EXPECT_EQ(e->alive, 0);
        EXPECT_EQ(e->speedFactor, 0.5f);
        EXPECT_EQ(e->weapons, 0);  // not even WEAPON_ENEMY at creation
        EXPECT_EQ(e->colour, enemyColour);
        EXPECT_EQ(e->type->name, "grunt");
        const bool onSide = std::fabs(e->x) == 59.0f && std::fabs(e->y) <= 21.5f;
        const bool onEnd = std::fabs(e->y) == 44.0f && std::fabs(e->x) <= 29.0f;
        EXPECT_TRUE(onSide || onEnd) << e->x << "," << e->y;
    }
    // Each tank got its own display list from the host.
    EXPECT_EQ(host.createdLists.size(), 4u);

    // The first reset inserts at the head: the list runs backwards through the layout.
    int k = 0;
    for (const Barrel* b = game->barrels; b; b = b->next, ++k) {
        EXPECT_EQ(b->state, BARREL_HOME);
        EXPECT_EQ(b->x, barrelLayout[17 - k].x);
        EXPECT_EQ(b->y, barrelLayout[17 - k].y);
    }
    EXPECT_EQ(k, 18);
}

TEST_F(SetupTest, ResetDrawsInTheRuleOrder) {
    const std::uint32_t afterInit = game->random.state;
    seedRandom(game->random, 17);
    struct Placed {
        float wander, x, y, heading;
        Behaviour behaviour;
    };
    std::vector<Placed> enemies;
    for (int i = 0; i < 3; ++i) {
        Placed e{};
        e.wander = static_cast<float>(random01(game->random) * 360);
        const int side = static_cast<int>(random01(game->random) * 4);
        const double along = random01(game->random) - 0.5;
        e.x = side == 0 ? 59.0f : side == 1 ? -59.0f : static_cast<float>(along * 58);
        e.y = side < 2 ? static_cast<float>(along * 43) : side == 2 ? 44.0f : -44.0f;
        e.heading = static_cast<float>(random01(game->random) * 360);
        e.behaviour = random01(game->random) < 0.66 ? stealBarrel : huntPlayer;
        enemies.push_back(e);
    }
    const float px = static_cast<float>((random01(game->random) - 0.5) * 58);
    const float py = static_cast<float>((random01(game->random) - 0.5) * 43);
    const float ph = static_cast<float>(random01(game->random) * 360);
    EXPECT_EQ(game->random.state, afterInit);

    for (int i = 0; i < 3; ++i) {
        const Tank* e = enemy(i);  // the head is the last one created
        const Placed& want = enemies[2 - i];
        EXPECT_EQ(e->wanderHeading, want.wander);
        EXPECT_EQ(e->x, want.x);
        EXPECT_EQ(e->y, want.y);
        EXPECT_EQ(e->heading, want.heading);
        EXPECT_EQ(e->behaviour, want.behaviour);
    }
    EXPECT_EQ(player()->x, px);
    EXPECT_EQ(player()->y, py);
    EXPECT_EQ(player()->heading, ph);
}

TEST_F(SetupTest, SecondResetReusesBarrelsAndReleasesTanks) {
    std::vector<Barrel*> records;
    for (Barrel* b = game->barrels; b; b = b->next) records.push_back(b);
    records[3]->state = BARREL_GONE;
    records[4]->state = BARREL_TOWED;
    records[5]->x = 70;
    game->barrelsLeft = 2;
    game->score = 1234;
    game->ticks = 999;
    game->powerUp = new PowerUp{1, 2, 300, 4};
    player()->missiles = new Projectile{};

    resetGame(game);
    int k = 0;
    for (Barrel* b = game->barrels; b; b = b->next, ++k) {
        ASSERT_LT(k, 18);
        EXPECT_EQ(b, records[k]);
        EXPECT_EQ(b->state, BARREL_HOME);
        EXPECT_EQ(b->x, barrelLayout[k].x);
        EXPECT_EQ(b->y, barrelLayout[k].y);
    }
    EXPECT_EQ(k, 18);
    EXPECT_EQ(game->barrelsLeft, 18);
    EXPECT_EQ(game->score, 0);
    EXPECT_EQ(game->ticks, 0);
    EXPECT_EQ(game->powerUp, nullptr);
    EXPECT_EQ(listLength(game->enemies), 3);
    EXPECT_EQ(listLength(game->players), 1);
    // The old tanks gave back lists 1..4; the new ones got 5..8.
    EXPECT_EQ(host.releasedLists.size(), 4u);
    EXPECT_EQ(host.createdLists.back(), 8u);
}

TEST_F(SetupTest, RespawnRule) {
    Tank* e = enemy(0);
    e->alive = -100;
    e->reload = 7;
    e->towDelay = 5;
    e->wanderHeading = 12;
    e->weapons = WEAPON_HOMING | WEAPON_ENEMY;
    e->speed = 0.3f;
    Barrel held{};
    e->towedBarrel = &held;
    respawnEnemy(e, game);
    EXPECT_EQ(e->speedFactor, 0.5f);
    EXPECT_EQ(e->weapons, WEAPON_ENEMY);
    EXPECT_EQ(e->speed, 0.0f);
    EXPECT_EQ(e->towedBarrel, nullptr);
    EXPECT_EQ(e->alive, -100);  // left alone: the caller's business
    EXPECT_EQ(e->reload, 7);
    EXPECT_EQ(e->towDelay, 5);
    EXPECT_EQ(e->wanderHeading, 12.0f);

    game->ticks = 50000;
    respawnEnemy(e, game);
    EXPECT_EQ(e->speedFactor, 1.5f);
    game->ticks = 10000;
    respawnEnemy(e, game);
    EXPECT_EQ(e->speedFactor, 0.7f);

    // A side draw of exactly 1 keeps the old position.
    e->x = 12.5f;
    e->y = -3.25f;
    seedRandom(game->random, previousState(kStateDrawingOne));
    respawnEnemy(e, game);
    EXPECT_EQ(e->x, 12.5f);
    EXPECT_EQ(e->y, -3.25f);
}

TEST_F(SetupTest, NewEnemyWithSideFourStandsAtOrigin) {
    // The wander heading is drawn first, then the side.
    seedRandom(game->random, previousState(previousState(kStateDrawingOne)));
    Tank* e = createEnemy(game, "grunt", huntPlayer);
    game->enemies = e;
    EXPECT_EQ(e->x, 0.0f);
    EXPECT_EQ(e->y, 0.0f);
    EXPECT_EQ(e->weapons, 0);
    EXPECT_EQ(e->reload, 0);
    EXPECT_EQ(e->next, enemy(1));
}

TEST_F(SetupTest, TankTypeRegistryAndLookupQuirk) {
    TankType* grunt = game->tankTypes;
    TankType* playerType = grunt->next;
    EXPECT_EQ(findTankType(game, "grunt"), grunt);
    EXPECT_EQ(findTankType(game, "player"), playerType);
    // The last type is never compared: it is what any unknown name yields.
    EXPECT_EQ(findTankType(game, "tiger"), playerType);
    EXPECT_EQ(findTankType(game, "Grunt"), playerType);

    char name[] = "tiger";
    registerTankType(game, name, &tankShape, 0.1, 7, 2.5, 0.3, 1.0);
    name[0] = 'X';  // the type keeps its own copy
    TankType* tiger = game->tankTypes;
    EXPECT_EQ(tiger->name, "tiger");
    EXPECT_EQ(tiger->next, grunt);
    EXPECT_EQ(tiger->speed, 0.1f);
    EXPECT_EQ(tiger->turnRate, 2.5f);
    EXPECT_EQ(tiger->radius, 0.3f);
    EXPECT_EQ(tiger->reloadTicks, 7);
    EXPECT_EQ(findTankType(game, "tiger"), tiger);
    EXPECT_EQ(findTankType(game, "grunt"), grunt);
}

TEST(WorldLifetime, ANewGameKeepsPlayAndExplosionsAndReleaseLeavesNothing) {
    testing::RecordingHost host;
    GameState world{};
    world.host = &host;
    initWorld(&world);
    world.score = 700;
    world.playing = true;
    explode(&world, 0, 0, 1, 10);
    initWorld(&world);  // a new window: a fresh game, but play and the explosion go on
    EXPECT_EQ(world.score, 0);
    EXPECT_EQ(world.barrelsLeft, 18);
    EXPECT_TRUE(world.playing);
    EXPECT_NE(world.explosions, nullptr);
    EXPECT_EQ(world.host, &host);
    const std::uint32_t afterSecondInit = world.random.state;
    Random expected;
    seedRandom(expected, 17);
    for (int i = 0; i < 3 * 5 + 3; ++i) randomRaw(expected);  // three enemies, one player
    EXPECT_EQ(afterSecondInit, expected.state);
    releaseWorld(&world);
    EXPECT_EQ(world.players, nullptr);
    EXPECT_EQ(world.enemies, nullptr);
    EXPECT_EQ(world.barrels, nullptr);
    EXPECT_EQ(world.tankTypes, nullptr);
    EXPECT_EQ(world.explosions, nullptr);
}

}  // namespace
}  // namespace drumhold
