// Scene drawing: border, tanks, projectiles, barrels, drawing order and the
// per-context preparation, checked on the pixels of a real (software) GL context.
#include "data/tables.h"
#include "gl_fixture.h"
#include "render/gl_presentation.h"

namespace drumhold::testing {
namespace {

class SceneTest : public RenderTest {
protected:
    Tank makeTank(const float* colour, float x, float y, float heading, int alive) {
        Tank tank{};
        tank.colour = colour;
        tank.displayList = compileTankList(context, tankShape);
        tank.x = x;
        tank.y = y;
        tank.heading = heading;
        tank.alive = alive;
        lists.push_back(tank.displayList);
        return tank;
    }
    void TearDown() override {
        for (unsigned list : lists) releaseTankList(context, list);
        RenderTest::TearDown();
    }
    std::vector<unsigned> lists;
};

TEST_F(SceneTest, BorderLiesOnThePixelsOfItsCoordinatesAndTheSceneClearsFirst) {
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    clear();
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    drawScene(state, context);
    const Frame frame;
    // +-59.9 and +-44.9 fall in the outermost pixel columns and rows of the
    // 800x600 window; the next ones inward stay dark.
    ASSERT_EQ(column(-59.9), 0);
    ASSERT_EQ(column(59.9), 799);
    ASSERT_EQ(row(-44.9), 0);
    ASSERT_EQ(row(44.9), 599);
    for (int r = 20; r < 580; r += 37) {
        EXPECT_TRUE(frame.is(0, r, blue)) << "row " << r;
        EXPECT_TRUE(frame.is(799, r, blue)) << "row " << r;
        EXPECT_TRUE(frame.black(1, r) && frame.black(798, r)) << "row " << r;
    }
    for (int c = 20; c < 780; c += 41) {
        EXPECT_TRUE(frame.is(c, 0, blue)) << "column " << c;
        EXPECT_TRUE(frame.is(c, 599, blue)) << "column " << c;
        EXPECT_TRUE(frame.black(c, 1) && frame.black(c, 598)) << "column " << c;
    }
    // The red of the earlier clear is gone; an empty world shows no tank,
    // barrel or projectile.
    EXPECT_EQ(frame.count(red), 0);
    EXPECT_EQ(frame.count(white) + frame.count(green) + frame.count(yellow), 0);
    EXPECT_TRUE(glIsList(context.borderList));

    // The list is built once and reused.
    const unsigned list = context.borderList;
    drawScene(state, context);
    EXPECT_EQ(context.borderList, list);
}

TEST_F(SceneTest, TanksPointAlongTheirHeadingInTheirColour) {
    Tank player = makeTank(playerColour, 0.0f, 0.0f, 0.0f, 1);
    Tank west = makeTank(enemyColour, 20.0f, -10.0f, 90.0f, 1);
    Tank south = makeTank(enemyColour, -20.0f, 10.0f, 180.0f, 5);
    west.next = &south;
    state.players = &player;
    state.enemies = &west;
    drawScene(state, context);
    const Frame frame;

    // Heading 0: the apex at (0, 1.5) is the top of the green outline; the tracks
    // reach x = +-1.2.
    EXPECT_TRUE(frame.near(column(0), row(1.5), green));
    EXPECT_EQ(frame.count(green, 0, row(1.5) + 2, 799, 599), 0);
    EXPECT_TRUE(frame.near(column(-1.2), row(-0.5), green));
    EXPECT_TRUE(frame.near(column(1.2), row(-0.5), green));
    EXPECT_EQ(frame.count(green, 0, 0, column(-1.2) - 2, 599), 0);
    EXPECT_TRUE(frame.black(column(0), row(-0.2)));  // an outline, not a filled shape

    // Heading 90 faces -x, heading 180 faces -y, both yellow.
    EXPECT_TRUE(frame.near(column(18.5), row(-10), yellow));
    EXPECT_EQ(frame.count(yellow, 0, 0, column(18.5) - 2, row(-5)), 0);
    EXPECT_TRUE(frame.near(column(-20), row(8.5), yellow));
    EXPECT_EQ(frame.count(yellow, 0, row(5), 799, row(8.5) - 2), 0);
    EXPECT_EQ(frame.count(green, column(5), 0, 799, 599), 0);
}

TEST_F(SceneTest, DestroyedTanksVanishButTheirMissilesAndDebrisRemain) {
    Projectile playerMissile{};
    playerMissile.x = 14.0f, playerMissile.y = 10.0f, playerMissile.prevX = 10.0f, playerMissile.prevY = 10.0f;
    Projectile enemyMissile{};
    enemyMissile.x = -10.0f, enemyMissile.y = -20.0f, enemyMissile.prevX = -10.0f, enemyMissile.prevY = -16.0f;
    Projectile debris2{};
    debris2.x = 30.0f, debris2.y = 20.0f, debris2.prevX = 32.0f, debris2.prevY = 22.0f;
    Projectile debris1{};
    debris1.x = 30.0f, debris1.y = 30.0f, debris1.prevX = 33.0f, debris1.prevY = 30.0f;
    debris1.next = &debris2;
    Explosion explosion{1, &debris1, nullptr};
    state.explosions = &explosion;

    Tank player = makeTank(playerColour, 10.0f, 12.0f, 0.0f, 0);
    player.missiles = &playerMissile;
    Tank enemy = makeTank(enemyColour, -10.0f, -14.0f, 0.0f, -40);
    enemy.missiles = &enemyMissile;
    state.players = &player;
    state.enemies = &enemy;
    drawScene(state, context);
    const Frame frame;

    EXPECT_EQ(frame.count(green) + frame.count(yellow), 0);
    // Each projectile is the segment from its previous to its current position.
    EXPECT_TRUE(frame.near(column(12), row(10), red));
    EXPECT_TRUE(frame.near(column(-10), row(-18), red));
    EXPECT_TRUE(frame.near(column(31), row(21), red));
    EXPECT_TRUE(frame.near(column(31.5), row(30), red));
    EXPECT_FALSE(frame.near(column(12), row(12), red, 3));
}

TEST_F(SceneTest, BarrelsAreCircleOutlinesUnlessStolen) {
    Barrel gone{6.0f, 6.0f, BARREL_GONE, nullptr};
    Barrel towed{0.0f, 0.0f, BARREL_TOWED, &gone};
    Barrel home{-6.0f, -6.0f, BARREL_HOME, &towed};
    state.barrels = &home;
    drawScene(state, context);
    const Frame frame;

    for (const Barrel* b : {&home, &towed}) {
        // A 16-gon of radius 1 has corners on both axes.
        EXPECT_TRUE(frame.near(column(b->x + 1), row(b->y), white)) << b->x;
        EXPECT_TRUE(frame.near(column(b->x - 1), row(b->y), white)) << b->x;
        EXPECT_TRUE(frame.near(column(b->x), row(b->y + 1), white)) << b->x;
        EXPECT_TRUE(frame.black(column(b->x), row(b->y))) << b->x;
        EXPECT_FALSE(frame.near(column(b->x + 1.4), row(b->y), white, 1)) << b->x;
    }
    EXPECT_EQ(frame.count(white, column(4), row(4), column(8), row(8)), 0);
}

TEST_F(SceneTest, LaterLayersCoverEarlierOnes) {
    // A tank under the score line, a missile through a barrel, a power-up over both.
    Tank player = makeTank(playerColour, -50.0f, 42.0f, 90.0f, 1);
    state.players = &player;
    Projectile missile{};
    missile.x = 25.0f, missile.y = 0.0f, missile.prevX = 15.0f, missile.prevY = 0.0f;
    player.missiles = &missile;
    Barrel barrel{20.0f, 0.0f, BARREL_HOME, nullptr};
    state.barrels = &barrel;
    PowerUp powerUp{24.0f, 0.0f, 18, 0};
    state.powerUp = &powerUp;
    drawScene(state, context);
    const Frame frame;

    EXPECT_TRUE(frame.near(column(19.0), row(0), white, 0));  // barrel over missile
    EXPECT_TRUE(frame.near(column(17.0), row(0), red, 1));
    EXPECT_TRUE(frame.near(column(22.3), row(0), {26, 51, 255}, 1));  // power-up over missile
    // The score line starts at x = -57, 42: the tank's outline crosses it on top.
    EXPECT_GT(frame.count(green, column(-52), row(40), column(-48), row(44)), 10);
    EXPECT_GT(frame.count(cyan), 50);
}

TEST_F(SceneTest, EachContextGetsTheViewAndListsOfItsOwn) {
    GlPresentation presentation;
    EXPECT_EQ(presentation.compileTankList(tankShape), 0u) << "no context, no list";
    glLoadIdentity();
    presentation.contextOpened();

    // The field's ortho lands on the model-view matrix; the projection stays identity.
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[0], 2.0f / 120.0f);
    EXPECT_FLOAT_EQ(m[5], 2.0f / 90.0f);
    EXPECT_FLOAT_EQ(m[10], -2.0f / 1000.0f);
    EXPECT_FLOAT_EQ(m[14], -1.0f);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_FLOAT_EQ(m[0], 1.0f);
    EXPECT_FLOAT_EQ(m[10], 1.0f);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    state.playing = true;
    presentation.drawFrame(state);
    const Frame frame;
    EXPECT_TRUE(frame.is(0, 300, blue));  // the border was built in this context
    EXPECT_GT(frame.count(cyan), 50);      // and the score line drew with its font
    for (GLenum cap : {GL_DEPTH_TEST, GL_BLEND, GL_LIGHTING, GL_TEXTURE_2D, GL_LINE_SMOOTH,
                       GL_SCISSOR_TEST})
        EXPECT_FALSE(glIsEnabled(cap)) << cap;

    // A tank list lives until it is released, once.
    const unsigned list = presentation.compileTankList(tankShape);
    EXPECT_TRUE(glIsList(list));
    presentation.releaseTankList(list);
    EXPECT_FALSE(glIsList(list));

    // A context dies with a tank's list still alive; in the next one the same
    // name may mean another list, so the old tank's release is dropped. (The
    // one GL context of the tests stands in for both.)
    const unsigned old = presentation.compileTankList(tankShape);
    presentation.contextClosing();
    presentation.contextOpened();
    presentation.releaseTankList(old);
    EXPECT_TRUE(glIsList(old)) << "a list of a closed context was deleted in the next one";
    glDeleteLists(old, 1);
    presentation.contextClosing();
}

}  // namespace
}  // namespace drumhold::testing
