// Explosions: the fragments of a burst and the order of their draws, the update
// that ages and unlinks explosions, and chains set off during that update.
#include <gtest/gtest.h>

#include <cmath>

#include "combat_support.h"
#include "world/missiles.h"
#include "world_fixture.h"

namespace drumhold::testing {
namespace {

class ExplosionsTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        parkEnemies();
        player()->alive = -1000000;
    }
    // An explosion holding the given fragments, put at the head of the list by hand.
    Explosion* addExplosion(std::initializer_list<Projectile*> fragments) {
        auto* e = new Explosion{};
        for (Projectile* f : fragments) {
            f->next = e->debris;
            e->debris = f;
        }
        e->next = explosions;
        explosions = e;
        return e;
    }
    static Projectile* fragment(float x, float y, int life, int flags = 0) {
        Projectile* list = nullptr;
        Projectile* f = pushProjectile(list, x, y, 0, 0.1f, flags, life);
        f->debrisChance = flags ? 10 : 1;
        return f;
    }
};

TEST_F(ExplosionsTest, BurstMakesFifteenFragmentsFromSixDrawsEach) {
    host.cues.clear();
    seedRandom(game->random, 1234);
    Explosion* e = explode(game, 3, -2, 2, 100);
    EXPECT_EQ(e, explosions);
    EXPECT_EQ(game->random.state, stateAfter(1234, 90));
    EXPECT_EQ(host.cues, std::vector<std::string>{"explosion"});
    ASSERT_EQ(countProjectiles(e->debris), 15);

    // The head is the last fragment made: replay its six draws (r, a, s, d,
    // life, explosive test) and check what each one governs.
    seedRandom(game->random, stateAfter(1234, 84));
    const double r = static_cast<float>(random01(game->random) * 2);
    random01(game->random);  // a
    const double s = static_cast<float>(random01(game->random));
    random01(game->random);  // d
    const int life = static_cast<int>(random01(game->random) * 150 * 0.125);
    const bool explosive = random01(game->random) < 100 * 0.0001;
    const Projectile& f = *e->debris;
    EXPECT_NEAR(std::hypot(f.x - 3.0, f.y + 2.0), r, 1e-5);
    EXPECT_NEAR(std::hypot(f.vx, f.vy), s * 0.35 * (explosive ? 2 : 1), 1e-6);
    EXPECT_EQ(f.life, explosive ? life / 2 : life);
    EXPECT_EQ(f.flags, explosive ? WEAPON_EXPLOSIVE : 0);

    for (const Projectile* p = e->debris; p; p = p->next) {
        EXPECT_EQ(p->prevX, 3);
        EXPECT_EQ(p->prevY, -2);
        EXPECT_LE(std::hypot(p->x - 3.0, p->y + 2.0), 2 + 1e-5);
        EXPECT_GE(p->life, 0);
        EXPECT_LE(p->life, 18);
    }
}

TEST_F(ExplosionsTest, ChanceDecidesExplosiveFragments) {
    Explosion* none = explode(game, 0, 0, 0, 0);
    for (const Projectile* p = none->debris; p; p = p->next) {
        EXPECT_EQ(p->flags, 0);
        EXPECT_EQ(p->debrisChance, 1);
        EXPECT_LE(std::hypot(p->vx, p->vy), 0.35 + 1e-6);
        EXPECT_EQ(p->x, 0);  // radius 0: every fragment starts at the centre
        EXPECT_EQ(p->y, 0);
    }
    Explosion* all = explode(game, 0, 0, 0, 10001);  // chance x 0.0001 above any draw
    for (const Projectile* p = all->debris; p; p = p->next) {
        EXPECT_EQ(p->flags, WEAPON_EXPLOSIVE);
        EXPECT_EQ(p->debrisChance, 10);
        EXPECT_LE(p->life, 9);
        EXPECT_LE(std::hypot(p->vx, p->vy), 0.7 + 1e-6);
    }
}

TEST_F(ExplosionsTest, FragmentsAgeOutAndSpentExplosionsAreUnlinked) {
    Explosion* lasting = addExplosion({fragment(0, 0, 5)});
    addExplosion({fragment(5, 0, 0), fragment(-5, 0, 0, WEAPON_EXPLOSIVE)});
    addExplosion({fragment(10, 0, 0)});
    // List: tail, dying, lasting -- the head and the middle die this tick.
    updateExplosions(game);
    EXPECT_EQ(explosions, lasting);
    EXPECT_EQ(lasting->next, nullptr);
    EXPECT_EQ(lasting->live, 1);
    // An explosive fragment with life 0 never bursts.
    EXPECT_EQ(host.count("explosion"), 0);

    for (int i = 0; i < 5; ++i) updateExplosions(game);
    EXPECT_EQ(explosions, nullptr);
}

TEST_F(ExplosionsTest, ExplosiveFragmentBurstsWhenItsLifeReachesZero) {
    Projectile* f = fragment(1, 1, 1, WEAPON_EXPLOSIVE);
    Explosion* parent = addExplosion({f});
    updateExplosions(game);
    // The burst went in ahead of its parent and was not updated this tick.
    ASSERT_EQ(countExplosions(explosions), 2);
    EXPECT_EQ(explosions->next, parent);
    EXPECT_EQ(explosions->debris->prevX, f->x);
    EXPECT_EQ(explosions->debris->prevY, f->y);
    EXPECT_EQ(host.count("explosion"), 1);

    updateExplosions(game);  // the fragment's last update
    EXPECT_EQ(countExplosions(explosions), 1);
    EXPECT_NE(explosions, parent);
}

TEST_F(ExplosionsTest, ExplosionBornAsItsParentDiesStaysInTheList) {
    placeTank(enemy(0), 20, 20.2f);
    // The only explosion; its only fragment has no life left but strikes the enemy.
    addExplosion({fragment(20.1f, 19.9f, 0)});
    updateExplosions(game);
    EXPECT_EQ(enemy(0)->alive, -100);
    EXPECT_EQ(game->score, 100);
    // The enemy's explosion and the fragment's burst remain, not yet updated.
    ASSERT_EQ(countExplosions(explosions), 2);
    EXPECT_EQ(countDebris(explosions), 30);
    for (const Projectile* p = explosions->next->debris; p; p = p->next) {
        EXPECT_EQ(p->prevX, 20);
        EXPECT_EQ(p->prevY, 20.2f);
    }

    // Same with a survivor behind the dying head: the newcomers go in front of both.
    releaseExplosions(game);
    Explosion* survivor = addExplosion({fragment(-30, -30, 10)});
    placeTank(enemy(1), 20, 20.2f);
    addExplosion({fragment(20.1f, 19.9f, 0)});
    updateExplosions(game);
    ASSERT_EQ(countExplosions(explosions), 3);
    EXPECT_EQ(explosions->next->next, survivor);
    EXPECT_EQ(survivor->next, nullptr);

    releaseExplosions(game);
    EXPECT_EQ(explosions, nullptr);
}

}  // namespace
}  // namespace drumhold::testing
