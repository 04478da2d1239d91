// world_fixture.h -- a recording world host and a fixture that runs the world on it.
//
// RecordingHost keeps every cue name in order, hands out display-list names 1, 2,
// 3, ... and records released lists and requested sleeps. WorldTest owns a world
// on one, initialised as the game does it (seed 17, fresh reset world, not
// playing) with a zeroed key table, and releases it again in TearDown.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "data/keys.h"
#include "world/world.h"

namespace drumhold::testing {

class RecordingHost : public WorldHost {
public:
    std::vector<std::string> cues;           // every cue started, in order
    std::vector<unsigned> createdLists;      // list names handed out, in order
    std::vector<unsigned> releasedLists;     // list names given back, in order
    std::vector<std::uint32_t> sleeps;       // every sleep requested, in ms
    unsigned nextList = 1;

    bool playCue(const char* name) override {
        cues.emplace_back(name);
        return true;
    }
    unsigned createTankList(const Shape&) override {
        createdLists.push_back(nextList);
        return nextList++;
    }
    void releaseTankList(unsigned list) override { releasedLists.push_back(list); }
    void sleepMs(std::uint32_t ms) override { sleeps.push_back(ms); }

    // How many times `name` was started.
    int count(const std::string& name) const {
        int n = 0;
        for (const auto& cue : cues) n += cue == name;
        return n;
    }
};

class WorldTest : public ::testing::Test {
protected:
    RecordingHost host;
    KeyTable keys{};
    GameState world{};
    GameState* const game = &world;  // the rules take the world by pointer
    bool& playing = world.playing;
    Explosion*& explosions = world.explosions;

    void SetUp() override {
        world.host = &host;
        initWorld(game);
    }
    void TearDown() override { releaseWorld(game); }

    // Head of each list, for the common one-player, three-enemy world.
    Tank* player() const { return game->players; }
    Tank* enemy(int index) const {
        Tank* t = game->enemies;
        while (t && index-- > 0) t = t->next;
        return t;
    }
    Barrel* barrel(int index) const {
        Barrel* b = game->barrels;
        while (b && index-- > 0) b = b->next;
        return b;
    }
    // Takes every enemy off the field for good (alive far below zero), so that
    // a test can look at one tank or one rule without the others interfering.
    void parkEnemies() const {
        for (Tank* t = game->enemies; t; t = t->next) t->alive = -1000000;
    }
};

}  // namespace drumhold::testing
