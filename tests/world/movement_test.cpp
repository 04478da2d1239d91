// The movement step and the pushing of barrels by tanks and by each other.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "world/tick.h"

namespace drumhold {
namespace {

// A bare state: a barrel list and one tank type, no host, no other rules.
class MovementTest : public ::testing::Test {
protected:
    GameState state{};
    TankType type{};
    Tank tank{};
    std::vector<Barrel*> barrels;  // in list order

    void SetUp() override {
        type.radius = 1.8f;
        type.speed = 0.5f;
        tank.type = &type;
    }
    void TearDown() override {
        for (Barrel* b : barrels) delete b;
    }
    // Appends at the tail, so list order is the order of the calls.
    Barrel* addBarrel(float x, float y, int barrelState = BARREL_HOME) {
        Barrel* b = new Barrel{x, y, barrelState, nullptr};
        if (barrels.empty())
            state.barrels = b;
        else
            barrels.back()->next = b;
        barrels.push_back(b);
        return b;
    }
    double minimumSpacing() const {
        double best = 1e9;
        for (const Barrel* a : barrels)
            for (const Barrel* b : barrels)
                if (a != b && a->state != BARREL_GONE && b->state != BARREL_GONE)
                    best = std::min(best, distance(a->x - b->x, a->y - b->y));
        return best;
    }
};

// The barrel-to-barrel rule written as plainly nested calls: the order that the
// game's explicit stack must reproduce push for push.
void nestedSeparate(GameState* g, Barrel* a) {
    for (Barrel* b = g->barrels; b; b = b->next) {
        if (b == a || b->state == BARREL_GONE) continue;
        const double fb = b->state == BARREL_TOWED ? 0.01 : 0.1;
        const double fa = a->state == BARREL_TOWED ? 0.01 : 0.1;
        while (distance(static_cast<double>(a->x) - b->x, static_cast<double>(a->y) - b->y) < 2) {
            const double dx = static_cast<double>(b->x) - a->x;
            const double dy = static_cast<double>(b->y) - a->y;
            if (dx == 0 && dy == 0) break;
            b->x = static_cast<float>(b->x + dx * fb);
            b->y = static_cast<float>(b->y + dy * fb);
            a->x = static_cast<float>(a->x - dx * fa);
            a->y = static_cast<float>(a->y - dy * fa);
            nestedSeparate(g, b);
            nestedSeparate(g, a);
        }
    }
}

TEST_F(MovementTest, MoveAndCoast) {
    tank.heading = 0;
    tank.speed = 0.5f;
    moveTank(&tank);
    EXPECT_EQ(tank.vy, 0.5f);
    EXPECT_NEAR(tank.vx, 0.0, 1e-12);
    EXPECT_FLOAT_EQ(tank.speed, 0.5f / 1.1f);
    moveTank(&tank);
    EXPECT_FLOAT_EQ(tank.vy, 0.45454545f);
    moveTank(&tank);
    EXPECT_FLOAT_EQ(tank.vy, 0.41322314f);
    EXPECT_FLOAT_EQ(tank.y, 0.5f + 0.45454545f + 0.41322314f);

    tank = Tank{};
    tank.type = &type;
    tank.heading = 90;  // faces -x
    tank.speed = 1;
    moveTank(&tank);
    EXPECT_FLOAT_EQ(tank.x, -1.0f);
    EXPECT_NEAR(tank.y, 0.0, 1e-7);
}

TEST_F(MovementTest, TankShovesFreeBarrelFiveTimesFurtherThanItselfAndTowedOneBarely) {
    Barrel* b = addBarrel(0, 2.5f);
    pushBarrels(&state, &tank);
    // One pass: the barrel goes 0.25 along the line of centres, the tank 0.05 back.
    EXPECT_FLOAT_EQ(b->y, 2.75f);
    EXPECT_FLOAT_EQ(tank.y, -0.05f);
    EXPECT_EQ(b->x, 0.0f);
    EXPECT_GE(distance(tank.x - b->x, tank.y - b->y), 2.8 - 1e-6);

    tank = Tank{};
    tank.type = &type;
    b->x = 0;
    b->y = 2.5f;
    b->state = BARREL_TOWED;
    pushBarrels(&state, &tank);
    // Two passes (x1.11 each): the towed barrel moves a tenth of the tank's recoil.
    EXPECT_NEAR((b->y - 2.5f) / -tank.y, 0.1, 1e-5);
    EXPECT_GE(distance(tank.x - b->x, tank.y - b->y), 2.8 - 1e-6);

    b->x = 0;
    b->y = 1;
    b->state = BARREL_GONE;  // stolen barrels are not in the way
    pushBarrels(&state, &tank);
    EXPECT_EQ(b->y, 1.0f);
}

TEST_F(MovementTest, PushedBarrelShovesItsNeighbours) {
    Barrel* a = addBarrel(0, 0);
    Barrel* b = addBarrel(1.5f, 0);
    separateBarrel(&state, a);
    // Two free barrels share each push equally until 2 apart.
    EXPECT_FLOAT_EQ(a->x + b->x, 1.5f);
    EXPECT_GE(b->x - a->x, 2.0f);

    // A towed barrel gives way a tenth as far as a free one.
    a->x = 0;
    a->state = BARREL_TOWED;
    b->x = 1.5f;
    separateBarrel(&state, a);
    EXPECT_NEAR((b->x - 1.5f) / -a->x, 10.0, 1e-3);
    EXPECT_GE(b->x - a->x, 2.0f);

    // The shove travels down a line of barrels.
    a->x = 0;
    a->state = BARREL_HOME;
    b->x = 1.9f;
    Barrel* c = addBarrel(3.8f, 0);
    Barrel* d = addBarrel(5.7f, 0);
    separateBarrel(&state, a);
    EXPECT_GT(c->x, 3.8f);
    EXPECT_GT(d->x, 5.7f);
    EXPECT_GE(minimumSpacing(), 2.0 - 1e-6);
}

TEST_F(MovementTest, ExplicitStackPushesInTheNestedOrder) {
    seedRandom(state.random, 12345);
    for (int round = 0; round < 40; ++round) {
        for (Barrel* b : barrels) delete b;
        barrels.clear();
        state.barrels = nullptr;
        const int n = 3 + round % 10;
        for (int i = 0; i < n; ++i) {
            const int st = random01(state.random) < 0.2 ? BARREL_TOWED : random01(state.random) < 0.1 ? BARREL_GONE : BARREL_HOME;
            addBarrel(static_cast<float>(random01(state.random) * 5), static_cast<float>(random01(state.random) * 5), st);
        }
        std::vector<Barrel> copy;
        for (Barrel* b : barrels) copy.push_back(*b);
        std::vector<Barrel*> twin;
        for (std::size_t i = 0; i < copy.size(); ++i) twin.push_back(&copy[i]);
        for (std::size_t i = 0; i + 1 < copy.size(); ++i) copy[i].next = twin[i + 1];
        copy.back().next = nullptr;
        GameState twinState{};
        twinState.barrels = twin[0];

        const std::size_t start = round % n;
        separateBarrel(&state, barrels[start]);
        nestedSeparate(&twinState, twin[start]);
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(barrels[i]->x, copy[i].x) << "round " << round << " barrel " << i;
            EXPECT_EQ(barrels[i]->y, copy[i].y) << "round " << round << " barrel " << i;
        }
    }
}

TEST_F(MovementTest, PileUpsEndWithoutExhaustingTheStack) {
    // 200 barrels within a hair of one spot: nesting tens of thousands deep.
    for (int i = 0; i < 200; ++i)
        addBarrel(static_cast<float>(10 + 1e-3 * std::sin(i)), static_cast<float>(5 + 1e-3 * std::cos(i)));
    separateBarrel(&state, barrels[0]);
    EXPECT_GE(minimumSpacing(), 2.0 - 1e-6);

    // Centres that coincide exactly cannot be pushed apart: left as they are.
    for (Barrel* b : barrels) delete b;
    barrels.clear();
    Barrel* a = addBarrel(3, 3);
    Barrel* b = addBarrel(3, 3);
    separateBarrel(&state, a);
    EXPECT_EQ(a->x, 3.0f);
    EXPECT_EQ(b->x, 3.0f);
    tank.x = 3;
    tank.y = 3;
    pushBarrels(&state, &tank);
    EXPECT_EQ(tank.x, 3.0f);
    EXPECT_EQ(a->y, 3.0f);

    // One unit in the last place apart: a push too small to move either centre.
    b->x = std::nextafter(3.0f, 4.0f);
    separateBarrel(&state, a);
    tank.x = std::nextafter(a->x, 0.0f);
    pushBarrels(&state, &tank);
    SUCCEED();
}

TEST(Movement, NothingToDoWithoutAGameOrATank) {
    Tank tank{};
    Barrel barrel{};
    pushBarrels(nullptr, &tank);
    separateBarrel(nullptr, &barrel);
    GameState empty{};
    pushBarrels(&empty, nullptr);
    separateBarrel(&empty, nullptr);
    EXPECT_EQ(distance(3, 4), 5.0);
}

}  // namespace
}  // namespace drumhold
