// The built-in tables: the outline, the barrel layout, the keys and the help text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <utility>

#include "data/tables.h"

namespace drumhold {
namespace {

TEST(Tables, TankOutline) {
    ASSERT_EQ(tankShape.vertexCount, 19);
    ASSERT_EQ(tankShape.loopCount, 5);
    // The apex of the hull triangle is the nose at heading 0.
    EXPECT_EQ(tankShape.vertices[2][0], 0.0f);
    EXPECT_EQ(tankShape.vertices[2][1], 1.5f);
    EXPECT_EQ(tankShape.vertices[0][0], 0.866025f);  // the decimal, not sqrt(3)/2
    float widest = 0, highest = -10;
    for (int i = 0; i < tankShape.vertexCount; ++i) {
        widest = std::max(widest, std::abs(tankShape.vertices[i][0]));
        highest = std::max(highest, tankShape.vertices[i][1]);
    }
    EXPECT_EQ(widest, 1.2f);
    EXPECT_EQ(highest, 1.5f);
    // Every vertex belongs to exactly one loop; indices count from 1.
    std::multiset<int> used;
    const int lengths[] = {3, 4, 4, 4, 4};
    for (int loop = 0; loop < tankShape.loopCount; ++loop) {
        EXPECT_EQ(tankShape.loopLengths[loop], lengths[loop]);
        for (int j = 0; j < tankShape.loopLengths[loop]; ++j)
            used.insert(tankShape.loopIndices[loop][j]);
    }
    ASSERT_EQ(used.size(), 19u);
    for (int v = 1; v <= 19; ++v) EXPECT_EQ(used.count(v), 1u) << v;
    // A rectangle visits 1st, 2nd, 4th, 3rd of its group: no crossing edges.
    EXPECT_EQ(tankShape.loopIndices[1][2], 7);
    EXPECT_EQ(tankShape.loopIndices[4][3], 18);
}

TEST(Tables, BarrelLayoutIsSymmetricWithoutDuplicates) {
    std::set<std::pair<float, float>> homes;
    for (const BarrelHome& h : barrelLayout) homes.insert({h.x, h.y});
    EXPECT_EQ(homes.size(), 18u);
    for (const auto& [x, y] : homes) {
        EXPECT_TRUE(homes.count({-x, y})) << x << "," << y;
        EXPECT_TRUE(homes.count({x, -y})) << x << "," << y;
    }
    EXPECT_EQ(barrelLayout[0].x, -6.0f);
    EXPECT_EQ(barrelLayout[0].y, -6.0f);
    EXPECT_EQ(barrelLayout[17].x, 6.0f);
    EXPECT_EQ(barrelLayout[5].y, 0.0f);
}

TEST(Tables, ColoursAndKeys) {
    EXPECT_EQ(playerColour[1], 1.0f);
    EXPECT_EQ(playerColour[0], 0.0f);
    EXPECT_EQ(enemyColour[0] + enemyColour[1] + enemyColour[2], 2.0f);
    EXPECT_EQ(powerUpColour[0], 0.1f);
    EXPECT_EQ(powerUpColour[1], 0.2f);
    EXPECT_EQ(textColour[2], 1.0f);
    EXPECT_EQ(controlKeys.left, 37);
    EXPECT_EQ(controlKeys.right, 39);
    EXPECT_EQ(controlKeys.forward, 38);
    EXPECT_EQ(controlKeys.reverse, 40);
    EXPECT_EQ(controlKeys.fire, 16);
}

TEST(Tables, InstructionText) {
    EXPECT_STREQ(instructionLines[0], "INSTRUCTIONS:");
    EXPECT_STREQ(instructionLines[47], "");
    EXPECT_STREQ(instructionLines[48], "");
    EXPECT_STREQ(instructionLines[12], "SCORING:");
    EXPECT_STREQ(instructionLines[28], " power-up effects are cummulative");
    EXPECT_STREQ(instructionLines[31], "    H - homing missiles");
    EXPECT_STREQ(instructionLines[35], "        missiles bounce off field boundries");
    EXPECT_STREQ(instructionLines[46], " enemy tanks can collect power-ups");
    int empty = 0;
    for (const char* line : instructionLines) empty += std::string(line).empty();
    EXPECT_EQ(empty, 24);
}

}  // namespace
}  // namespace drumhold
