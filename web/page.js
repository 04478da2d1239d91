// page.js -- the page around the game. It downloads the game's files (showing
// how far it has got), starts a run of drumhold.wasm (a fresh instance for
// every run), gives it a canvas as large as the page shows it, with the touch
// controls (touch.js) beside or below it, tells it when the page is hidden,
// shown or resized, keeps every run's record for download, replays a chosen,
// dropped or named file, shows what the game prints as the desktop prints
// it, says plainly what went wrong when the game cannot run, and keeps the
// game on the device for the next visit, with or without a network (sw.js).
'use strict';

(function () {
    // A name no replay's path can take (fsPath never gives a space): the
    // record of a replayed game must not be written over the file it replays.
    const RECORD = '/this run.replay';
    // The drawing buffer's largest size: a larger field shows each of its
    // pixels as a square of several screen pixels.
    const MAX_BUFFER = { width: 1600, height: 1200 };
    // The room the controls need beside or below the field.
    const SIDE_ROOM = 200, SIDE_MAX = 320, BELOW_ROOM = 96;
    // With touch controls: the least width of the bands beside the field in
    // which they stand, and the least height below it on an upright screen;
    // with less room they stand over the field's corners.
    const TOUCH_BAND = 110, TOUCH_BELOW = 230;
    const byId = (id) => document.getElementById(id);
    const stage = byId('stage'), notice = byId('notice'), noticeText = byId('notice-text');
    const progress = byId('progress'), progressDone = byId('progress-done');
    const panel = byId('panel'), messages = byId('messages'), status = byId('status');
    const downloadButton = byId('download'), againButton = byId('again'), fileInput = byId('replay-file');
    const keysButton = byId('keys'), keysHelp = byId('keys-help');
    let canvas = byId('canvas');
    let still = null;  // the last picture of a run that has ended

    // What the tests look at: the running instance, the last record, the state
    // ('loading', 'starting', 'playing', 'replaying', 'ended', or 'failed' when
    // the game cannot run in this browser), what the game shows ('title',
    // 'attract' or 'play'), whether a game has been played or a file
    // replayed in this page, and the last run's exit status.
    const page = (window.drumhold = { instance: null, record: null, state: 'loading', mode: 'title', played: false,
                                      exitStatus: null });
    let run = null;  // the current run: { options, done, closeWanted, replayOver }

    function setState(state) {
        page.state = state;
        document.body.classList.toggle('loading', state === 'loading' || state === 'starting');
        document.body.classList.toggle('ended', state === 'ended' || state === 'failed');
        document.body.classList.toggle('failed', state === 'failed');
        showControls();
    }
    function setMode(mode) {
        page.mode = mode;
        if (mode === 'play') page.played = true;
        showControls();
    }
    // The touch controls that do something now: start where Space starts a
    // game (the attract screen, once the keys reach the game, or a run that
    // has ended), quit while a run goes on.
    function showControls() {
        const going = page.state === 'playing' || page.state === 'replaying';
        const keysReach = page.state === 'playing' || (run && run.replayOver);
        byId('touch-start').hidden = !(page.state === 'ended' || (going && keysReach && page.mode === 'attract'));
        byId('touch-quit').hidden = !going;
    }

    // --- what the game says, and what the page says ---------------------------
    let quiet = null;
    function say(line, error) {
        messages.textContent += line + '\n';
        messages.scrollTop = messages.scrollHeight;
        messages.classList.remove('quiet');
        clearTimeout(quiet);
        quiet = setTimeout(() => page.state !== 'ended' && messages.classList.add('quiet'), 8000);
        if (error) console.error(line); else console.log(line);
    }
    function setStatus(text) { status.textContent = text; }
    // A notice over the field: loading, the end of a run, a failure.
    function showNotice(text, offerAgain) {
        noticeText.textContent = text;
        againButton.hidden = !offerAgain;
        notice.hidden = false;
    }
    function hideNotice() {
        notice.hidden = true;
        progress.hidden = true;
    }
    // The game cannot run here: say why and what to do, with the details for
    // developers in the console; nothing is offered that cannot work.
    function fail(text, detail) {
        if (detail) console.error('drumhold:', detail);
        progress.hidden = true;
        setState('failed');
        setStatus('');
        showNotice(text, false);
    }
    const NO_WEBGL = 'This browser cannot draw the game: WebGL is turned off or not available.\n' +
        'Turn on hardware acceleration in the browser\'s settings and reload the page, or try another browser.';

    // --- the field at the size it is shown -----------------------------------
    // A line of the game is one pixel of the drawing buffer wide, so a buffer
    // pixel is never smaller than a pixel of the page (no line thinner than
    // that), and always a whole number of screen pixels (k), so that the
    // browser's step to the screen is a whole-number scale and every line keeps
    // its width. The field keeps its 4:3 shape. On a 4K screen, say, k grows
    // until the buffer is at most MAX_BUFFER.
    function fieldSize(width, height) {
        const ratio = window.devicePixelRatio || 1;
        for (let k = Math.max(1, Math.ceil(ratio - 1e-6)); ; ++k) {
            const unit = Math.floor(Math.min((width * ratio) / k / 4, (height * ratio) / k / 3));
            const buffer = { width: 4 * Math.max(unit, 1), height: 3 * Math.max(unit, 1) };
            if ((buffer.width <= MAX_BUFFER.width && buffer.height <= MAX_BUFFER.height) || unit <= 1)
                return { buffer, k, ratio, width: (buffer.width * k) / ratio, height: (buffer.height * k) / ratio };
        }
    }
    // The page's inside less what a notched screen's cut-outs and bars take
    // (the probe's padding is the safe area's insets).
    const safeArea = document.body.appendChild(Object.assign(document.createElement('div'), { id: 'safe-area' }));
    function viewport() {
        const style = getComputedStyle(safeArea);
        const inset = (side) => parseFloat(style['padding' + side]) || 0;
        const x = inset('Left'), y = inset('Top');
        return { x, y, width: window.innerWidth - x - inset('Right'), height: window.innerHeight - y - inset('Bottom') };
    }

    // Where the field, the panel (bar, status, messages) and the touch
    // controls go. A plan gives the mode ('side', 'below' or 'over': where the
    // panel is), the field, the area the field is centred in, the panel's box
    // (its sides that CSS does not set) and the touch controls' boxes.
    function keyboardPlan(view) {
        const field = fieldSize(view.width, view.height);
        const side = view.width - field.width, below = view.height - field.height;
        const mode = side >= SIDE_ROOM ? 'side' : below >= BELOW_ROOM ? 'below' : 'over';
        const area = { ...view };
        const plan = { mode, field, area, panel: {} };
        if (mode === 'side') {
            plan.panel.width = Math.min(side, SIDE_MAX);
            area.x += plan.panel.width;
            area.width -= plan.panel.width;
        } else if (mode === 'below') {
            area.height = field.height;
            plan.panel.height = below;
        }
        return plan;
    }
    // A landscape screen: the field as large as the height allows, the pad
    // and the panel in the band on its left, fire, start and quit in the band
    // on its right. An upright one: the field across the top, the panel under
    // it and the controls at the foot, within the thumbs' reach.
    function touchPlan(view) {
        const gap = 12, right = view.x + view.width, bottom = view.y + view.height;
        const upright = view.height > view.width;
        let field = upright ? fieldSize(view.width, view.height - TOUCH_BELOW) : fieldSize(view.width, view.height);
        const band = (view.width - field.width) / 2;
        const mode = upright ? (view.height - field.height >= TOUCH_BELOW ? 'below' : 'over')
                             : (band >= TOUCH_BAND ? 'side' : 'over');
        if (mode === 'over') field = fieldSize(view.width, view.height);
        // The width a column of controls takes, and the height of their zone.
        const column = mode === 'side' ? band : Math.min(view.width * (upright ? 0.45 : 0.22), 190);
        const zone = mode === 'below' ? Math.min(view.height - field.height, 280) : view.height;
        const size = (most, share) => Math.max(44, Math.min(column - 2 * gap, zone * share, most));
        const pad = size(180, 0.55), fire = size(120, 0.36);
        const box = (cx, cy, width, height) => ({ left: cx - width / 2, top: cy - height / 2, width, height });
        const leftMiddle = view.x + (mode === 'side' ? band / 2 : gap + pad / 2);
        const rightMiddle = right - (mode === 'side' ? band / 2 : gap + fire / 2);
        const fireMiddle = bottom - gap - fire / 2;
        const quitWidth = Math.min(column - 2 * gap, 104), startWidth = Math.min(column - 2 * gap, 140);
        const controls = {
            'touch-stick': box(leftMiddle, bottom - gap - pad / 2, pad, pad),
            'touch-fire': box(rightMiddle, fireMiddle, fire, fire),
            'touch-start': box(Math.min(rightMiddle, right - gap - startWidth / 2), fireMiddle - fire / 2 - gap - 24,
                               startWidth, 48),
            'touch-quit': box(right - gap - quitWidth / 2, bottom - zone + gap + 18, quitWidth, 36),
        };
        const area = { ...view };
        const panel = { left: view.x, top: view.y, width: view.width - quitWidth - 2 * gap };
        if (mode === 'side') {
            Object.assign(panel, { width: band, height: view.height - pad - 2 * gap });
        } else if (mode === 'below') {
            area.height = field.height;
            Object.assign(panel, { top: view.y + field.height, width: view.width,
                                   height: view.height - field.height - zone });
        }
        return { mode, field, area, panel, controls };
    }

    const PLACED = ['left', 'top', 'width', 'height'];
    function place(element, box) {
        for (const side of PLACED) element.style[side] = box[side] === undefined ? '' : box[side] + 'px';
    }
    let field = null;
    function layout() {
        const view = viewport();
        const touch = document.body.classList.contains('touch');
        const plan = touch ? touchPlan(view) : keyboardPlan(view);
        field = plan.field;
        for (const name of ['side', 'below', 'over']) document.body.classList.toggle('layout-' + name, plan.mode === name);
        place(panel, plan.panel);
        for (const [id, box] of Object.entries(plan.controls || {})) place(byId(id), box);
        // Placed on whole screen pixels, so that the scale stays exact.
        const ratio = field.ratio, area = plan.area;
        const left = (Math.round(area.x * ratio) + Math.floor((area.width * ratio - field.buffer.width * field.k) / 2)) / ratio;
        const top = (Math.round(area.y * ratio) + Math.floor((area.height * ratio - field.buffer.height * field.k) / 2)) / ratio;
        for (const element of [canvas, still, notice])
            if (element) place(element, { left, top, width: field.width, height: field.height });
        tellGame();
    }
    // The game's window is the canvas: hidden is minimised; its size follows.
    function tellGame() {
        const instance = page.instance;
        if (!instance || !instance._drumholdPage || !field) return;
        instance._drumholdPage(document.hidden ? 0 : 1, field.buffer.width, field.buffer.height);
    }
    window.addEventListener('resize', layout);
    new ResizeObserver(() => layout()).observe(safeArea, { box: 'border-box' });  // insets change on their own too
    document.addEventListener('visibilitychange', tellGame);
    // The device's pixel ratio changes without a resize when the page moves to
    // another screen or is zoomed.
    (function watchRatio() {
        matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener('change', () => {
            layout();
            watchRatio();
        }, { once: true });
    })();

    // --- the game's files ------------------------------------------------------
    // Fetched by the page, to show how far the download has got (a slow line
    // takes a while) and to say plainly when one is missing.
    const FILES = ['drumhold.js', 'drumhold.wasm', 'fonts/OCRABold.ttf'];
    const loaded = new Map();  // name -> bytes received
    const expected = new Map();  // name -> bytes announced (0: unknown)
    function showProgress() {
        if (page.state === 'failed') return;  // the other files still coming in
        const got = [...loaded.values()].reduce((a, b) => a + b, 0);
        const total = [...expected.values()].reduce((a, b) => a + b, 0);
        const known = expected.size === FILES.length && ![...expected.values()].includes(0);
        const kb = (n) => Math.round(n / 1024).toLocaleString('en');
        if (known && got <= total) {
            progressDone.style.width = ((100 * got) / total).toFixed(1) + '%';
            showNotice(`loading the game: ${Math.floor((100 * got) / total)} % (${kb(got)} of ${kb(total)} KB)`, false);
        } else {
            showNotice(`loading the game: ${kb(got)} KB`, false);
        }
    }
    // The bytes of NAME, counted as they come; an Error that says what is wrong.
    async function download(name) {
        let response;
        try {
            response = await fetch(name);
        } catch (error) {
            throw new Error(`${name}: ${error.message}`);
        }
        if (!response.ok) throw new Error(`${name}: ${response.status} ${response.statusText}`);
        // Compressed on the way, the length announced is not the length read.
        const length = response.headers.get('Content-Encoding') ? 0 : Number(response.headers.get('Content-Length'));
        expected.set(name, length || 0);
        const chunks = [];
        let size = 0;
        const reader = response.body.getReader();
        for (;;) {
            const { done, value } = await reader.read();
            if (done) break;
            chunks.push(value);
            size += value.length;
            loaded.set(name, size);
            showProgress();
        }
        const bytes = new Uint8Array(size);
        let at = 0;
        for (const chunk of chunks) {
            bytes.set(chunk, at);
            at += chunk.length;
        }
        return bytes;
    }
    let files = null;
    function loadFiles() {
        files = files || (async () => {
            if (typeof WebAssembly !== 'object')
                throw Object.assign(new Error('no WebAssembly'), {
                    plain: 'This browser cannot run the game: it has no WebAssembly.\nTry a recent Firefox, Chromium, Chrome, Edge or Safari.' });
            progress.hidden = false;
            const [script, wasm, font] = await Promise.all(FILES.map(download));
            const module = await WebAssembly.compile(wasm);
            await new Promise((resolve, reject) => {
                const element = document.createElement('script');
                element.src = URL.createObjectURL(new Blob([script], { type: 'text/javascript' }));
                element.onload = resolve;
                element.onerror = () => reject(new Error('drumhold.js: cannot be run'));
                document.head.append(element);
            });
            hideNotice();
            return { module, font };
        })();
        return files;
    }

    // Asked once: a context of its own costs a while to make.
    let webgl = null;
    function webglWorks() {
        if (webgl === null) {
            try {
                const context = document.createElement('canvas').getContext('webgl');
                webgl = !!context;
                if (context && context.getExtension('WEBGL_lose_context'))
                    context.getExtension('WEBGL_lose_context').loseContext();
            } catch (error) {
                webgl = false;
            }
        }
        return webgl;
    }

    // A path of the game's file system for NAME, as close to NAME as is safe,
    // so that the game's messages name the file as the player did.
    function fsPath(name) {
        const plain = /^[A-Za-z0-9._+-]+(\/[A-Za-z0-9._+-]+)*$/.test(name) && !/(^|\/)\.\.?(\/|$)/.test(name);
        return plain ? name : name.replace(/^.*[\\/]/, '').replace(/[^A-Za-z0-9._+-]/g, '_') || 'replay';
    }

    // Puts a file (a File, or a fetched Response) into the game's file system
    // as a stream: a chunk at a time, never the whole of it in one piece.
    async function streamInto(fs, path, body, size) {
        const folder = path.includes('/') ? path.replace(/\/[^/]*$/, '') : '';
        if (folder) fs.mkdirTree(folder);
        const stream = fs.open(path, 'w');
        try {
            if (size) fs.ftruncate(stream.fd, size);  // room for it all at once
            const reader = body.getReader();
            let position = 0;
            for (;;) {
                const { done, value } = await reader.read();
                if (done) break;
                fs.write(stream, value, 0, value.length, position);
                position += value.length;
            }
            fs.ftruncate(stream.fd, position);
        } finally {
            fs.close(stream);
        }
    }

    // --- a run -----------------------------------------------------------------
    // Every run gets a canvas of its own: a GL context is not handed over.
    function freshCanvas() {
        touch.forget();
        const fresh = canvas.cloneNode(false);
        fresh.id = 'canvas';  // the one SDL draws on
        canvas.remove();
        if (still) still.remove();
        still = null;
        stage.prepend(fresh);
        canvas = fresh;
        layout();
        canvas.focus();
    }

    // Starts a run: play (recorded) or, with `replay` {name, file | response},
    // a replay; any run still going is ended first, as Esc would end it.
    async function start(replay) {
        const previous = run;
        const current = (run = { closeWanted: false, close() { this.closeWanted = true; } });
        current.done = new Promise((resolve) => (current.finished = resolve));
        if (previous) {
            previous.close();
            await previous.done;
        }
        if (run !== current) return current.finished();
        setState('starting');
        messages.textContent = '';
        hideNotice();
        let game;
        try {
            game = await loadFiles();
        } catch (error) {
            current.finished();
            return fail(error.plain || 'The game could not be loaded: ' + error.message + '.\n' +
                        'Reload the page to try again; if it goes on, this copy of the game is incomplete.', error);
        }
        if (!webglWorks()) {
            current.finished();
            return fail(NO_WEBGL, 'no WebGL context could be made');
        }
        if (run !== current) return current.finished();
        freshCanvas();
        const path = replay ? fsPath(replay.name) : null;
        const options = {
            canvas,
            // A replay is recorded too: with the play that follows it, the
            // record is the whole game.
            arguments: ['--windowed', '--record', RECORD].concat(replay ? ['--replay', path] : []),
            print: (line) => say(line, false),
            printErr: (line) => say(line, true),
            instantiateWasm(imports, done) {
                WebAssembly.instantiate(game.module, imports).then((instance) => done(instance, game.module));
                return {};
            },
            preRun: [() => {
                const fs = options.FS;
                fs.mkdirTree('/fonts');
                fs.writeFile('/fonts/OCRABold.ttf', game.font);
                if (!replay || !replay.body) return;
                options.addRunDependency('replay');
                streamInto(fs, path, replay.body, replay.size)
                    .catch((error) => say(`drumhold: ${replay.name}: ${error.message}`, true))
                    .finally(() => options.removeRunDependency('replay'));
            }],
            onLastPicture: () => keepPicture(options),
            onMode: (mode) => current === run && setMode(mode),
            onReplayEnded: () => {
                if (current !== run) return;
                current.replayOver = true;
                setStatus(`the replay of ${replay.name} has ended: the keyboard plays on`);
                showControls();
            },
            onRunEnded: (code) => ended(current, code),
            onExit: (code) => ended(current, code),
            onAbort: (what) => ended(current, -2, what),
            recordPath: RECORD,
        };
        current.options = options;
        current.close = () => {
            current.closeWanted = true;
            if (options._drumholdClose) options._drumholdClose();
        };
        downloadButton.disabled = false;
        setStatus(replay ? 'replaying ' + replay.name : '');
        page.mode = 'title';
        if (replay) page.played = true;
        setState(replay ? 'replaying' : 'playing');
        page.instance = options;  // the instance is this object, filled in
        page.exitStatus = null;
        try {
            await createDrumhold(options);
        } catch (error) {
            return ended(current, -2, error);
        }
        tellGame();
        if (current.closeWanted) current.close();
    }

    function takeRecord(instance) {
        if (!instance || !instance.recordPath) return null;
        try {
            return instance.FS.readFile(instance.recordPath);
        } catch (error) {
            return null;
        }
    }

    // The run's last picture, copied before its canvas goes with the window.
    function keepPicture(instance) {
        if (instance !== page.instance) return;
        const copy = document.createElement('canvas');
        copy.id = 'still';
        copy.width = canvas.width;
        copy.height = canvas.height;
        copy.getContext('2d').drawImage(canvas, 0, 0);
        if (still) still.remove();
        still = copy;
        canvas.after(copy);
        const lose = canvas.getContext('webgl').getExtension('WEBGL_lose_context');
        if (lose) lose.loseContext();
        layout();
    }

    function ended(current, code, what) {
        if (current.ended) return;
        current.ended = true;
        current.close = () => {};
        current.finished();
        if (current !== run) {
            // Ended to make way for another run: its record is kept all the same.
            page.record = takeRecord(current.options) || page.record;
            downloadButton.disabled = !page.record;
            return;
        }
        page.record = takeRecord(current.options) || page.record;
        page.exitStatus = code;
        downloadButton.disabled = !page.record;
        touch.releaseAll();  // quit's Esc among them
        if (what !== undefined) {
            return fail('The game stopped on an internal error.\nReload the page to play again.', what);
        }
        // No window could be opened (1), or no video system at all (-1).
        if (code === 1 || code === -1) return fail(NO_WEBGL, 'the game could not open its window');
        setState('ended');
        messages.classList.remove('quiet');
        setStatus(code === 2 ? 'the file could not be replayed' : 'the run has ended');
        showNotice((code === 2 ? 'The file could not be replayed (the message says why).\n'
                               : 'The run has ended' + (page.record ? '; its record can be downloaded.\n' : '.\n')) +
                   'Space, Enter, a click or a tap start a new game.', true);
        canvas.blur();
    }

    function downloadRecord() {
        const bytes = page.state === 'playing' ? takeRecord(page.instance) : page.record;
        if (!bytes) return;
        const link = document.createElement('a');
        link.href = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
        link.download = 'drumhold-' + new Date().toISOString().replace(/[:.]/g, '-').slice(0, 19) + '.replay';
        document.body.append(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    }

    function playAgain() {
        history.replaceState(null, '', location.pathname);
        if (!takeUpdate(true)) start(null);
    }
    function replayFile(file) {
        start({ name: file.name, body: file.stream(), size: file.size });
    }

    // Fullscreen, and on a phone or tablet in landscape where the browser
    // allows it to be locked (most allow it only in fullscreen, some never).
    const whole = document.documentElement;
    const fullscreenOffered = document.fullscreenEnabled || document.webkitFullscreenEnabled;
    function toggleFullscreen() {
        if (document.fullscreenElement || document.webkitFullscreenElement) {
            (document.exitFullscreen || document.webkitExitFullscreen).call(document);
            return;
        }
        Promise.resolve(whole.requestFullscreen ? whole.requestFullscreen({ navigationUI: 'hide' })
                                                : whole.webkitRequestFullscreen())
            .then(() => screen.orientation && screen.orientation.lock && screen.orientation.lock('landscape'))
            .catch(() => {});
    }

    // --- keys, pointer, controls ---------------------------------------------------
    // Before SDL sees them: Alt+Enter and F11 are the page's fullscreen (no
    // display switch in a browser), the game's keys never scroll the page, and
    // once a run has ended Space or Enter starts the next.
    const onControl = () => document.activeElement && document.activeElement.closest('#panel, #notice');
    window.addEventListener('keydown', (event) => {
        if (event.key === 'F11' || (event.key === 'Enter' && event.altKey)) {
            event.preventDefault();
            event.stopImmediatePropagation();
            if (!event.repeat) toggleFullscreen();
            return;
        }
        if (page.state === 'ended' && (event.key === ' ' || event.key === 'Enter') && !onControl()) {
            event.preventDefault();
            if (!event.repeat) playAgain();
            return;
        }
        if (['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', ' ', 'Spacebar'].includes(event.key) && !onControl())
            event.preventDefault();
    }, true);
    stage.addEventListener('pointerdown', (event) => {
        if (page.state === 'ended' && event.target !== againButton) playAgain();
    });
    // The touch controls press the keyboard's keys; the game takes them as it
    // takes the keyboard's (and Space after a run has ended starts the next).
    function touchKey(code, down) {
        if (down && code === 32 && page.state === 'ended') return playAgain();
        const game = run && !run.ended && run.options;
        if (game && game._drumholdKey) game._drumholdKey(code, down ? 1 : 0);
    }
    const touch = window.touchControls({ press: (code) => touchKey(code, true),
                                          release: (code) => touchKey(code, false), shown: layout });
    // Browsers let sound start only from a player's gesture, and a touch is
    // one when the finger lifts, not when it lands (where SDL listens).
    window.addEventListener('pointerup', () => {
        const audio = page.instance && page.instance.SDL2 && page.instance.SDL2.audioContext;
        if (audio && audio.state === 'suspended') audio.resume();
    }, true);
    // Over the field the bar shows while the pointer moves (not for the touch controls).
    let idle = null;
    function stir(event) {
        if (event && event.target.closest && event.target.closest('#touch')) return;
        document.body.classList.remove('idle');
        clearTimeout(idle);
        idle = setTimeout(() => document.body.classList.add('idle'), 2500);
    }
    window.addEventListener('pointermove', stir);
    window.addEventListener('pointerdown', stir);
    stir();

    byId('fullscreen').hidden = !fullscreenOffered;
    byId('fullscreen').addEventListener('click', (event) => {
        toggleFullscreen();
        event.currentTarget.blur();
    });
    downloadButton.addEventListener('click', (event) => {
        downloadRecord();
        event.currentTarget.blur();
    });
    againButton.addEventListener('click', playAgain);
    keysButton.addEventListener('click', () => {
        keysHelp.hidden = !keysHelp.hidden;
        keysButton.setAttribute('aria-expanded', String(!keysHelp.hidden));
    });
    byId('replay-label').addEventListener('keydown', (event) => {
        if (event.key === 'Enter' || event.key === ' ') {
            event.preventDefault();
            fileInput.click();
        }
    });
    fileInput.addEventListener('change', () => {
        if (fileInput.files.length) replayFile(fileInput.files[0]);
        fileInput.value = '';
    });
    document.addEventListener('dragover', (event) => {
        event.preventDefault();
        document.body.classList.add('dragging');
    });
    document.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
    document.addEventListener('drop', (event) => {
        event.preventDefault();
        document.body.classList.remove('dragging');
        if (event.dataTransfer.files.length) replayFile(event.dataTransfer.files[0]);
    });

    // --- the game kept on the device (sw.js) ----------------------------------------
    // Once the game's files are in, the service worker keeps them (its own
    // download is checked against this one and costs little more) for the
    // next visit, with or without a network. A new version is fetched in the
    // background on a later visit and taken, by loading the page again, as
    // soon as nothing is lost by that: before anything has been played in
    // this page, or when a new run is about to start. Until then this page
    // goes on with the files it has: one version's, whole.
    let update = null;  // a new version's worker, ready
    let updating = false;
    function keepOnDevice() {
        const workers = navigator.serviceWorker;
        if (!workers) return;  // only on https, or on this machine
        let controlled = !!workers.controller;
        workers.addEventListener('controllerchange', () => {
            // The first worker taking charge of the page changes nothing in it.
            if (!controlled) return (controlled = true);
            if (updating || !page.played) location.reload();
        });
        workers.register('sw.js').then((registration) => {
            // A new version waits behind the one in charge (the first one
            // goes on to take charge at once).
            const ready = () => {
                if (!registration.waiting || !registration.active) return;
                update = registration.waiting;
                takeUpdate(false);
            };
            // (The browser looks for one as the page loads: it may be on
            // its way already.)
            const watch = (worker) => worker && worker.addEventListener('statechange', ready);
            registration.addEventListener('updatefound', () => watch(registration.installing));
            watch(registration.installing);
            ready();
        }).catch((error) => console.warn('drumhold: the game is not kept for playing offline:', error.message));
    }
    // Takes the new version, if there is one and nothing is lost by it (a new
    // run is about to start, or nothing has been played); true when it does.
    function takeUpdate(newRun) {
        if (updating) return true;
        if (!update || (page.played && !newRun)) return false;
        updating = true;
        update.postMessage('take over');
        setTimeout(() => location.reload(), 3000);  // should another page have taken it already
        return true;
    }

    // --- the start: a game, or the replay the address names ------------------------
    async function begin() {
        layout();
        loadFiles().then(keepOnDevice, () => {});
        const named = new URLSearchParams(location.search).get('replay');
        if (named === null) return start(null);
        let body = null, size = 0;
        try {
            const response = await fetch(named, { cache: 'no-store' });
            if (response.ok) {
                body = response.body;
                size = Number(response.headers.get('Content-Length')) || 0;
            }
        } catch (error) { /* the game says it cannot open the file */ }
        return start({ name: named, body, size });
    }
    begin();
})();
