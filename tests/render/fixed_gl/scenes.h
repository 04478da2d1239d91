// scenes.h -- the pictures drawn both through the desktop's GL (scene_picture)
// and through our fixed functions (fixed_gl_test): the title, and a world made
// by hand with something of everything, in play, outside play and in a smaller
// picture.
#pragma once

#include <array>
#include <string_view>

#include "data/tables.h"
#include "render/gl_presentation.h"

namespace drumhold::testing {

inline constexpr std::string_view kScenes[] = {"title", "play", "attract", "smaller"};

// Tanks over the score line and the border, projectiles, debris, the barrels
// (one towed, one gone) and the power-up, its letter over a barrel's ring.
class SceneWorld {
public:
    explicit SceneWorld(Presentation& presentation) {
        const auto tank = [&](Tank& t, const float* colour, float x, float y, float heading, Tank* next) {
            t.colour = colour;
            t.displayList = presentation.compileTankList(tankShape);
            t.x = x, t.y = y, t.heading = heading, t.alive = 1, t.next = next;
        };
        tank(tanks_[0], playerColour, -20.0f, -10.0f, 30.0f, nullptr);
        tank(tanks_[1], enemyColour, -45.0f, 42.5f, 200.0f, &tanks_[2]);
        tank(tanks_[2], enemyColour, 58.8f, 10.0f, 271.5f, nullptr);
        const auto segment = [](Projectile& p, float x, float y, float prevX, float prevY, Projectile* next) {
            p.x = x, p.y = y, p.prevX = prevX, p.prevY = prevY, p.next = next;
        };
        segment(shots_[0], 14.0f, 10.0f, 10.0f, 10.5f, &shots_[1]);
        segment(shots_[1], -30.0f, -40.0f, -30.0f, -36.0f, nullptr);
        segment(shots_[2], 30.0f, 20.0f, 32.3f, 22.1f, nullptr);
        segment(debris_[0], -2.0f, 30.0f, 1.0f, 30.0f, &debris_[1]);
        segment(debris_[1], 40.0f, -30.0f, 40.7f, -28.9f, nullptr);
        tanks_[0].missiles = &shots_[0];
        tanks_[1].missiles = &shots_[2];
        explosion_ = {1, &debris_[0], nullptr};

        for (std::size_t i = 0; i < barrels_.size(); ++i) {
            const float x = static_cast<float>(i / 4) * 3.0f - 6.0f, y = static_cast<float>(i % 4) * 4.0f - 6.0f;
            barrels_[i] = {x, y, i == 5 ? BARREL_TOWED : i == 9 ? BARREL_GONE : BARREL_HOME,
                           i + 1 < barrels_.size() ? &barrels_[i + 1] : nullptr};
        }
        powerUp_ = {0.3f, 4.2f, 40, 3};

        game_.players = &tanks_[0];
        game_.enemies = &tanks_[1];
        game_.barrels = &barrels_[0];
        game_.explosions = &explosion_;
        game_.powerUp = &powerUp_;
        game_.score = -1200;
        game_.barrelsLeft = 17;
    }
    GameState& game() { return game_; }

private:
    GameState game_{};
    std::array<Tank, 3> tanks_{};
    std::array<Projectile, 3> shots_{};
    std::array<Projectile, 2> debris_{};
    Explosion explosion_{};
    std::array<Barrel, 20> barrels_{};
    PowerUp powerUp_{};
};

// Opens the presentation as the game's window does (an 800x600 one) and draws
// `scene` in it; false for a name not in kScenes.
inline bool drawNamedScene(GlPresentation& presentation, std::string_view scene) {
    presentation.setViewport({0, 0, 800, 600});
    presentation.setClearValues();
    presentation.contextOpened();
    if (scene == "title") {
        presentation.showTitle();
        return true;
    }
    SceneWorld world(presentation);
    GameState& game = world.game();
    game.playing = scene == "play";
    // Outside play, with the scroller's lines in its band.
    presentation.attractScreen().scrollFrame = 500;
    if (scene == "smaller") presentation.setViewport({70, 40, 600, 450});
    else if (scene != "play" && scene != "attract") return false;
    presentation.drawFrame(game);
    return true;
}

}  // namespace drumhold::testing
