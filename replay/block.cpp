// block.cpp -- a frame's block and its hash.
#include "replay/block.h"

#include "world/tick.h"

namespace drumhold::replay {

namespace {

// Each field is preceded by its separating space.
void field(TextBuffer& out, float value) {
    out.put(' ');
    out.putFloat(value);
}
void field(TextBuffer& out, int value) {
    out.put(' ');
    out.putInt(value);
}

void appendHeader(TextBuffer& out, const FrameView& view) {
    const GameState& g = *view.game;
    out.put("frame ");
    out.putInt(view.frame);
    out.put(" playing");
    field(out, g.playing ? 1 : 0);
    out.put(" ticks");
    field(out, g.ticks);
    out.put(" score");
    field(out, g.score);
    out.put(" barrelsLeft");
    field(out, g.barrelsLeft);
    out.put(" thumpTimer");
    field(out, g.thumpTimer);
    out.put(" rng ");
    out.putInt(g.random.state);
    out.put('\n');
}

void appendPowerUp(TextBuffer& out, const PowerUp* p) {
    if (!p) {
        out.put("powerup none\n");
        return;
    }
    out.put("powerup");
    field(out, p->x);
    field(out, p->y);
    field(out, p->ttl);
    field(out, p->kind);
    out.put('\n');
}

// Position of `barrel` in the list, counted from the head; -1 when absent.
int barrelIndex(const Barrel* list, const Barrel* barrel) {
    if (!barrel) return -1;
    int index = 0;
    for (const Barrel* b = list; b; b = b->next, ++index)
        if (b == barrel) return index;
    return -1;
}

const char* behaviourName(Behaviour behaviour) {
    if (behaviour == huntPlayer) return "hunt";
    if (behaviour == stealBarrel) return "steal";
    return "none";  // never the case for an enemy the world made
}

void appendMissiles(TextBuffer& out, const Projectile* list) {
    for (const Projectile* m = list; m; m = m->next) {
        out.put("missile");
        field(out, m->x);
        field(out, m->y);
        field(out, m->prevX);
        field(out, m->prevY);
        field(out, m->vx);
        field(out, m->vy);
        field(out, m->heading);
        field(out, m->speed);
        field(out, m->flags);
        field(out, m->life);
        out.put('\n');
    }
}

// The fields a player and an enemy line share, after the role word.
void appendTankCommon(TextBuffer& out, const Tank& t) {
    field(out, t.alive);
    field(out, t.x);
    field(out, t.y);
    field(out, t.heading);
    field(out, t.vx);
    field(out, t.vy);
    field(out, t.speed);
    field(out, t.weapons);
    field(out, t.reload);
}

void appendTanks(TextBuffer& out, const GameState& g) {
    for (const Tank* t = g.players; t; t = t->next) {
        out.put("tank player");
        appendTankCommon(out, *t);
        field(out, t->controls);
        out.put('\n');
        appendMissiles(out, t->missiles);
    }
    for (const Tank* t = g.enemies; t; t = t->next) {
        out.put("tank enemy");
        appendTankCommon(out, *t);
        out.put(' ');
        out.put(behaviourName(t->behaviour));
        field(out, barrelIndex(g.barrels, t->towedBarrel));
        field(out, t->towDelay);
        field(out, t->wanderHeading);
        field(out, t->speedFactor);
        out.put('\n');
        appendMissiles(out, t->missiles);
    }
}

void appendBarrels(TextBuffer& out, const Barrel* list) {
    int index = 0;
    for (const Barrel* b = list; b; b = b->next, ++index) {
        out.put("barrel");
        field(out, index);
        field(out, b->x);
        field(out, b->y);
        field(out, b->state);
        out.put('\n');
    }
}

void appendExplosions(TextBuffer& out, const Explosion* list) {
    for (const Explosion* e = list; e; e = e->next) {
        out.put("explosion\n");
        for (const Projectile* d = e->debris; d; d = d->next) {
            out.put("debris");
            field(out, d->x);
            field(out, d->y);
            field(out, d->prevX);
            field(out, d->prevY);
            field(out, d->vx);
            field(out, d->vy);
            field(out, d->flags);
            field(out, d->life);
            field(out, d->debrisChance);
            out.put('\n');
        }
    }
}

}  // namespace

void appendBlock(TextBuffer& out, const FrameView& view) {
    const GameState& g = *view.game;
    appendHeader(out, view);
    appendPowerUp(out, g.powerUp);
    appendTanks(out, g);
    appendBarrels(out, g.barrels);
    appendExplosions(out, g.explosions);
    out.put("cues ");
    out.put(view.cues.empty() ? std::string_view("-") : view.cues);
    out.put('\n');
}

std::uint64_t blockHash(const FrameView& view, TextBuffer& scratch) {
    scratch.clear();
    appendBlock(scratch, view);
    return fnv1a64(scratch.view());
}

}  // namespace drumhold::replay
