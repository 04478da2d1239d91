// records.h -- every record of the simulation, the weapon/control/barrel bits.
//
// Plain records with public fields, allocated one by one and chained in singly
// linked lists with insertion at the head; lists are walked from the head with a
// trailing pointer. A newly allocated record has every field zero (use `new T{}`).
// Fields are 32-bit floats; intermediates are double unless a rule says float.
#pragma once

#include <string>
#include <vector>

#include "data/tables.h"
#include "world/random.h"

namespace drumhold {

struct GameState;
struct Tank;
class WorldHost;

// Weapon bits (Tank.weapons, Projectile.flags). A power-up of kind k sets 1 << k,
// so the letter order of "ERSHM" is the bit order.
enum : int {
    WEAPON_EXPLOSIVE = 0x1,
    WEAPON_REBOUND = 0x2,
    WEAPON_SCATTER = 0x4,
    WEAPON_HOMING = 0x8,
    WEAPON_MULTI = 0x10,
    WEAPON_ENEMY = 0x8000,
};

// Control bits of the player's Tank.controls, read from the key table each tick.
enum : int {
    CONTROL_FORWARD = 1,
    CONTROL_REVERSE = 2,
    CONTROL_LEFT = 4,
    CONTROL_RIGHT = 8,
    CONTROL_FIRE = 16,
};

// Barrel.state
enum : int {
    BARREL_GONE = 0,   // stolen: not drawn, pushed or sought
    BARREL_HOME = 1,   // free on the field
    BARREL_TOWED = 2,  // hooked by a thief
};

using Behaviour = void (*)(Tank* tank, GameState* game);

struct TankType {
    std::string name;
    const Shape* shape;  // not owned
    float turnRate;      // degrees per tick
    int reloadTicks;
    float speed;         // field units per tick
    float debrisChance;
    float radius;
    TankType* next;
};

struct Barrel {
    float x, y;
    int state;
    Barrel* next;
};

// One record serves for missiles and for explosion debris.
struct Projectile {
    float x, y;
    float prevX, prevY;
    float vx, vy;
    int flags;
    int life;
    float debrisChance;
    float heading;
    float speed;
    Projectile* next;
};

struct Explosion {
    int live;
    Projectile* debris;
    Explosion* next;
};

struct PowerUp {
    float x, y;
    int ttl;
    int kind;  // index into "ERSHM"
};

struct Tank {
    const float* colour;   // RGBA, one of the built-in colours
    unsigned displayList;  // owned; made by the host when the tank is created
    float x, y;
    float heading;         // degrees, [0, 360]; 0 faces +y, 90 faces -x
    float vx, vy;          // displacement of the last movement step
    float speed;           // requested speed; decays every movement step
    TankType* type;        // not owned
    int alive;             // > 0 on the field; <= 0 destroyed, counting up
    float speedFactor;     // enemy: scales speed, turn rate and reload
    int controls;          // player: CONTROL_* bits of this tick
    Behaviour behaviour;   // enemy: huntPlayer or stealBarrel
    Barrel* towedBarrel;   // enemy: barrel hooked by a thief
    float wanderHeading;   // enemy
    int towDelay;          // enemy
    int weapons;           // WEAPON_* bits
    int reload;            // ticks until the tank may fire again
    Projectile* missiles;  // owned
    Tank* next;
};

// One pending step of the barrel-to-barrel push: barrel `a` shoving every other
// barrel in list order, `b` being the one it is working on. The push spreads
// through a pile-up on an explicit stack of these (movement.cpp).
struct PushFrame {
    enum Phase { kNextPair, kTestPair, kAfterPushedB };
    Barrel* a;
    Barrel* b;
    double fa, fb;
    Phase phase;
};

// The world: every record of the game and everything else the rules read or
// write, handed to every rule. initWorld starts a fresh game in it; what a new
// game keeps is marked below.
struct GameState {
    int score;
    int ticks;
    int thumpTimer;
    PowerUp* powerUp;      // the single power-up slot, owned
    Tank* players;         // owned
    Tank* enemies;         // owned
    int barrelsLeft;
    Barrel* barrels;       // owned
    TankType* tankTypes;   // owned
    Random random;         // every draw of the game comes from here; seeded by initWorld

    // Kept by a new game: a display switch during play goes on playing, and
    // explosions in flight finish.
    bool playing;          // set while a game runs; cleared by the tick that ends it
    Explosion* explosions; // every explosion, owned
    WorldHost* host;       // cues, tank lists, sleep (host.h); not owned; null: silent
    std::vector<PushFrame> pushStack;  // reused: no allocation once the deepest pile-up was seen
};

}  // namespace drumhold
