// tables.cpp -- the tank outline and the text of the instructions.
#include "data/tables.h"

namespace drumhold {

namespace {

// One outline for every tank, nose toward +y, centre of rotation at the origin.
constexpr float tankVertices[19][2] = {
    {0.866025f, -0.75f},     {-0.866025f, -0.75f},   {0.0f, 1.5f},
    {-1.2f, -1.25f},         {-0.8f, -1.25f},        {-1.2f, 0.25f},
    {-0.8f, 0.25f},          {1.2f, -1.25f},         {0.8f, -1.25f},
    {1.2f, 0.25f},           {0.8f, 0.25f},          {-0.672f, 0.450625f},
    {-0.448f, 0.450625f},    {-0.672f, 1.33187f},    {-0.448f, 1.33187f},
    {0.672f, 0.450625f},     {0.448f, 0.450625f},    {0.672f, 1.33187f},
    {0.448f, 1.33187f},
};

// Closed loops over 1-based vertex numbers: the hull triangle, the two tracks
// and the two small rectangles beside the nose.
constexpr int hullLoop[] = {1, 2, 3};
constexpr int leftTrackLoop[] = {4, 5, 7, 6};
constexpr int rightTrackLoop[] = {8, 9, 11, 10};
constexpr int leftNoseLoop[] = {12, 13, 15, 14};
constexpr int rightNoseLoop[] = {16, 17, 19, 18};

constexpr int tankLoopLengths[5] = {3, 4, 4, 4, 4};
constexpr const int* tankLoopIndices[5] = {hullLoop, leftTrackLoop, rightTrackLoop,
                                           leftNoseLoop, rightNoseLoop};

}  // namespace

const std::array<const char*, 49> instructionLines = {
    "INSTRUCTIONS:",
    "",
    " use keyboard arrows to control player tank (green)",
    "",
    " use shift key to fire weapon at enemy tanks (yellow)",
    "",
    " protect your barrels from enemy tanks",
    "",
    " game ends when all barrels have been stolen",
    "",
    "",
    "",
    "SCORING:",
    "",
    " destroying enemy tank scores 100 points",
    "",
    " destroying player tank scores -100 points",
    "",
    " firing weapons scores -1 point",
    "",
    "",
    "",
    "POWER-UPS:",
    "",
    " collect power-ups (blue) to enhance tank's weaponry",
    "",
    " power-ups last until tank is destroyed",
    "",
    " power-up effects are cummulative",
    "",
    " power-ups are:",
    "    H - homing missiles",
    "        missiles adjust flight path toward enemies",
    "",
    "    R - rebounding missiles",
    "        missiles bounce off field boundries",
    "",
    "    E - explosive missiles",
    "        missiles explode when close to enemies",
    "",
    "    S - scatter-shot missiles",
    "        multiple missiles are fired in scattered array",
    "",
    "    M - multi-fire missiles",
    "        triple number of missiles fired (enhances scatter)",
    "",
    " enemy tanks can collect power-ups",
    "",
    "",
};

const Shape tankShape = {19, tankVertices, 5, tankLoopLengths, tankLoopIndices};

}  // namespace drumhold
