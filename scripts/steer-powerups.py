#!/usr/bin/env python3
"""Writes the golden script powerups_fire.script by steering the player.

No fixed pattern of keys reliably drives over a power-up, so this steers: every
few frames it asks drumhold-trace where the player and the power-up are, turns
toward the power-up when there is one (circling and firing otherwise), and
writes the keys it chose as the script. Fire is held throughout, so the player
shoots with every modifier it collects. Run it again, then update-golden.sh,
when a change to the game makes the golden test report that the player no
longer holds a power-up.

Usage: scripts/steer-powerups.py [BUILD_DIR]    (default: build)
"""
import math
import pathlib
import subprocess
import sys

FRAMES = 3000  # length of the game
CHUNK = 10  # frames between steering decisions
HEADER = """\
# Fire while steering to every power-up that appears (written by
# scripts/steer-powerups.py): the player collects modifiers and fires with them.
"""

root = pathlib.Path(__file__).resolve().parent.parent
tool = root / (sys.argv[1] if len(sys.argv) > 1 else "build") / "drumhold-trace"
steps = [[5, "-"], [1, "space"]]


def script():
    return "".join(f"{count} {keys}\n" for count, keys in steps)


def last_frame():
    """The player (alive, x, y, heading, weapons) and power-up (x, y) or None."""
    n = sum(count for count, _ in steps)
    out = subprocess.run([str(tool), "--full", "--frames", f"{n}:{n}"], input=script(),
                         capture_output=True, text=True, check=True).stdout
    player = powerup = None
    for line in out.splitlines():
        w = line.split()
        if line.startswith("tank player"):
            player = (int(w[2]), float(w[3]), float(w[4]), float(w[5]), int(w[9]))
        elif line.startswith("powerup") and w[1] != "none":
            powerup = (float(w[1]), float(w[2]))
    return player, powerup


def choose(player, powerup):
    alive, x, y, heading, _ = player
    if not powerup or alive <= 0:
        return "up,left,fire"
    # Heading 0 faces +y and 90 faces -x.
    target = math.degrees(math.atan2(-(powerup[0] - x), powerup[1] - y)) % 360
    error = (target - heading + 540) % 360 - 180
    if abs(error) <= 8:
        return "up,fire"
    side = "left" if error > 0 else "right"
    return f"up,{side},fire" if abs(error) < 60 else f"{side},fire"


collected = 0
weapons = 0
while sum(count for count, _ in steps) < FRAMES:
    player, powerup = last_frame()
    collected += bool(player[4] & ~weapons)
    weapons = player[4]
    keys = choose(player, powerup)
    if steps[-1][1] == keys:
        steps[-1][0] += CHUNK
    else:
        steps.append([CHUNK, keys])

out = root / "tests/tools/golden/powerups_fire.script"
out.write_text(HEADER + script())
print(f"steer-powerups: {out}: {collected} power-ups collected")
