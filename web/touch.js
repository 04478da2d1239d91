// touch.js -- the page's touch controls: a direction pad (#touch-stick), fire
// (#touch-fire), start (#touch-start) and quit (#touch-quit). Each stands for
// keys of the keyboard (the arrows, Shift, Space, Esc), which it presses and
// releases as a finger comes and goes; the page hands them to the game as it
// does the keyboard's, so a game played by touch is recorded like any other.
//
// Every finger belongs to the control it touched first, and several fingers
// work at once (one drives while the other fires). A finger that slides over
// the pad changes direction without being lifted; one that leaves its control
// lets go of what it held, and so does a cancelled touch, or the page losing
// the focus or being hidden: no key stays held.
//
// The controls show on a device whose main pointer is a finger, and on any
// other from its first touch; never because of the window's size.
'use strict';

window.touchControls = function touchControls({ press, release, shown }) {
    const KEY = { left: 37, up: 38, right: 39, down: 40, shift: 16, space: 32, escape: 27 };
    // The pad's middle, as a share of its radius, where no key is held.
    const DEAD = 0.22;
    // A tap of start is at least this long: the game looks at Space only at
    // its ticks, which come a tenth of a second apart before a game.
    const START_HOLD_MS = 160;
    // The quit control asks once more, for this long.
    const ARMED_MS = 3000;
    const byId = (id) => document.getElementById(id);
    const root = byId('touch');

    // The pad's eight directions, counter-clockwise from the right, 45 degrees
    // each: a diagonal is two arrows, forward and a turn.
    const SECTORS = [[KEY.right], [KEY.up, KEY.right], [KEY.up], [KEY.up, KEY.left],
                     [KEY.left], [KEY.down, KEY.left], [KEY.down], [KEY.down, KEY.right]];
    const NAMES = { [KEY.left]: 'left', [KEY.up]: 'up', [KEY.right]: 'right', [KEY.down]: 'down' };

    // A control: its element, the keys a finger at (x, y) holds, the finger
    // it follows and the keys it holds now.
    function control(id, keysAt, extra) {
        return Object.assign({ element: byId(id), keysAt, finger: null, held: new Set(), releasing: new Map() }, extra);
    }
    const stick = control('touch-stick', (x, y, box) => {
        const radius = box.width / 2;
        const dx = x - (box.left + radius), dy = (box.top + box.height / 2) - y;
        if (Math.hypot(dx, dy) < DEAD * radius) return [];
        const sector = Math.round(Math.atan2(dy, dx) / (Math.PI / 4));
        return SECTORS[(sector + 8) % 8];
    });
    const fire = control('touch-fire', () => [KEY.shift]);
    const start = control('touch-start', () => [KEY.space], { minHold: START_HOLD_MS });
    // Quit holds Esc from its second tap until the run has ended (releaseAll).
    const quit = control('touch-quit', () => [], { armed: null });
    const controls = [stick, fire, start, quit];

    // --- keys held ---------------------------------------------------------
    // Holds `keys` on the control, and only those; `atOnce` lets go without
    // waiting for a short tap's least time.
    function setKeys(ctl, keys, atOnce) {
        const wanted = new Set(keys);
        for (const code of ctl.held) {
            if (wanted.has(code)) continue;
            ctl.held.delete(code);
            const early = ctl.minHold && !atOnce ? ctl.minHold - (performance.now() - ctl.pressedAt) : 0;
            if (early > 0) ctl.releasing.set(code, setTimeout(() => letGo(ctl, code), early));
            else release(code);
        }
        for (const code of wanted) {
            if (ctl.held.has(code)) continue;
            ctl.held.add(code);
            if (ctl.releasing.has(code)) {  // a release still to come: the key stays down
                clearTimeout(ctl.releasing.get(code));
                ctl.releasing.delete(code);
                continue;
            }
            ctl.pressedAt = performance.now();
            press(code);
        }
        show(ctl);
    }
    function letGo(ctl, code) {
        ctl.releasing.delete(code);
        release(code);
    }
    function show(ctl) {
        ctl.element.classList.toggle('held', ctl.held.size > 0);
        if (ctl === stick)
            for (const [code, name] of Object.entries(NAMES)) ctl.element.classList.toggle(name, ctl.held.has(+code));
    }

    // --- fingers -----------------------------------------------------------
    function inside(box, x, y) {
        return x >= box.left && x < box.right && y >= box.top && y < box.bottom;
    }
    function follow(ctl, event) {
        const box = ctl.element.getBoundingClientRect();
        const over = inside(box, event.clientX, event.clientY);
        if (ctl === stick) moveKnob(box, event, over);
        if (ctl !== quit) setKeys(ctl, over ? ctl.keysAt(event.clientX, event.clientY, box) : []);
        return over;
    }
    // The knob under the finger, kept within the pad.
    const knob = stick.element.querySelector('.knob');
    function moveKnob(box, event, over) {
        const radius = box.width / 2;
        let dx = event.clientX - (box.left + radius), dy = event.clientY - (box.top + radius);
        const length = Math.hypot(dx, dy), limit = radius * 0.6;
        if (length > limit) {
            dx *= limit / length;
            dy *= limit / length;
        }
        knob.style.transform = over ? `translate(${dx}px, ${dy}px)` : '';
    }
    function lift(ctl, event, cancelled) {
        if (ctl.finger !== event.pointerId) return;
        const over = !cancelled && follow(ctl, event);
        ctl.finger = null;
        if (ctl === quit) {
            if (over) tapQuit();
        } else {
            setKeys(ctl, []);
            if (ctl === stick) knob.style.transform = '';
        }
    }
    function tapQuit() {
        clearTimeout(quit.armed);
        if (quit.element.classList.contains('armed')) {
            disarm();
            setKeys(quit, [KEY.escape]);
        } else {
            quit.element.classList.add('armed');
            quit.armed = setTimeout(disarm, ARMED_MS);
        }
    }
    function disarm() {
        clearTimeout(quit.armed);
        quit.element.classList.remove('armed');
    }
    for (const ctl of controls) {
        const element = ctl.element;
        element.addEventListener('pointerdown', (event) => {
            event.preventDefault();  // no focus, no emulated mouse, no selection
            if (ctl.finger !== null) return;  // one finger per control
            ctl.finger = event.pointerId;
            // A mouse's pointer follows the control the way a finger does.
            if (event.pointerType === 'mouse') element.setPointerCapture(event.pointerId);
            follow(ctl, event);
        });
        element.addEventListener('pointermove', (event) => {
            if (ctl.finger === event.pointerId) follow(ctl, event);
        });
        element.addEventListener('pointerup', (event) => lift(ctl, event, false));
        element.addEventListener('pointercancel', (event) => lift(ctl, event, true));
        element.addEventListener('lostpointercapture', (event) => lift(ctl, event, true));
    }
    root.addEventListener('contextmenu', (event) => event.preventDefault());

    // Lets go of everything, at once.
    function releaseAll() {
        for (const ctl of controls) {
            ctl.finger = null;
            for (const [code, timer] of ctl.releasing) {
                clearTimeout(timer);
                release(code);
            }
            ctl.releasing.clear();
            setKeys(ctl, [], true);
        }
        knob.style.transform = '';
        disarm();
    }
    window.addEventListener('blur', releaseAll);
    window.addEventListener('pagehide', releaseAll);
    document.addEventListener('visibilitychange', () => document.hidden && releaseAll());

    // --- shown on a touch device -----------------------------------------------
    const coarse = matchMedia('(pointer: coarse)');
    let on = false;
    function turnOn(wanted) {
        if (!wanted || on) return;
        on = true;
        document.body.classList.add('touch');
        root.hidden = false;
        shown();
    }
    coarse.addEventListener('change', () => turnOn(coarse.matches));
    window.addEventListener('pointerdown', (event) => turnOn(event.pointerType === 'touch'), true);
    turnOn(coarse.matches);

    return {
        get on() { return on; },
        releaseAll,
        // A new run: its game holds no key yet, whatever a finger still does.
        forget() {
            for (const ctl of controls) {
                for (const timer of ctl.releasing.values()) clearTimeout(timer);
                ctl.releasing.clear();
                ctl.held.clear();
                show(ctl);
            }
            disarm();
        },
    };
};
