// page.js -- the page around the game: starts a run of drumhold.wasm (a fresh
// instance for every run), fits its 800x600 picture to the window, keeps the
// run's record in memory for download, replays a chosen or named file, and
// shows what the game prints, as the desktop prints it, on the page and in
// the console.
'use strict';

(function () {
    const RECORD = '/record.replay';
    const stage = document.getElementById('stage');
    const messages = document.getElementById('messages');
    const status = document.getElementById('status');
    const downloadButton = document.getElementById('download');
    const againButton = document.getElementById('again');
    const fileInput = document.getElementById('replay-file');
    let canvas = document.getElementById('canvas');

    // What the tests look at: the running instance, the last record, the state.
    const page = (window.drumhold = { instance: null, record: null, state: 'loading', exitStatus: null });

    // The game's lines stay in view for a while, and for good once a run ended.
    let quiet = null;
    function say(line, error) {
        // emscripten's notes about its GL emulation are for developers only.
        if (line.startsWith('WARNING: using emscripten GL')) return console.debug(line);
        messages.textContent += line + '\n';
        messages.classList.remove('quiet');
        clearTimeout(quiet);
        quiet = setTimeout(() => page.state !== 'ended' && messages.classList.add('quiet'), 8000);
        if (error) console.error(line); else console.log(line);
    }
    function setStatus(text) { status.textContent = text; }

    function fit() {
        const scale = Math.min(window.innerWidth / 800, window.innerHeight / 600);
        canvas.style.width = Math.floor(800 * scale) + 'px';
        canvas.style.height = Math.floor(600 * scale) + 'px';
    }
    window.addEventListener('resize', fit);

    // Every run gets a canvas of its own: a GL context is not handed over.
    function freshCanvas() {
        const fresh = canvas.cloneNode(false);
        canvas.replaceWith(fresh);
        canvas = fresh;
        fit();
        canvas.focus();
    }

    let loaded = null;
    function loadGame() {
        loaded = loaded || new Promise((resolve, reject) => {
            const script = document.createElement('script');
            script.src = 'drumhold.js';
            script.onload = resolve;
            script.onerror = () => reject(new Error('cannot load drumhold.js'));
            document.head.append(script);
        });
        return loaded;
    }
    const font = fetch('fonts/OCRABold.ttf')
        .then((response) => (response.ok ? response.arrayBuffer() : null))
        .catch(() => null);

    // A path of the game's file system for NAME, as close to NAME as is safe,
    // so that the game's messages name the file as the player did.
    function fsPath(name) {
        const plain = /^[A-Za-z0-9._+-]+(\/[A-Za-z0-9._+-]+)*$/.test(name) && !/(^|\/)\.\.?(\/|$)/.test(name);
        return plain ? name : name.replace(/^.*[\\/]/, '').replace(/[^A-Za-z0-9._+-]/g, '_') || 'replay';
    }

    // Starts a run: play (recorded) or, with `replay` {name, bytes}, a replay.
    async function start(replay) {
        freshCanvas();
        messages.textContent = '';
        document.body.classList.remove('ended');
        againButton.hidden = true;
        page.state = 'starting';
        page.exitStatus = null;
        let fontBytes;
        try {
            [, fontBytes] = await Promise.all([loadGame(), font]);
        } catch (error) {
            say('drumhold: ' + error.message, true);
            return;
        }
        const args = ['--windowed'];
        const path = replay ? fsPath(replay.name) : RECORD;
        args.push(replay ? '--replay' : '--record', path);
        const options = {
            canvas,
            arguments: args,
            print: (line) => say(line, false),
            printErr: (line) => say(line, true),
            preRun: [() => {
                const fs = options.FS;
                if (fontBytes) {
                    fs.mkdirTree('/fonts');
                    fs.writeFile('/fonts/OCRABold.ttf', new Uint8Array(fontBytes));
                }
                if (replay && replay.bytes) {
                    const folder = path.includes('/') ? path.replace(/\/[^/]*$/, '') : '';
                    if (folder) fs.mkdirTree(folder);
                    fs.writeFile(path, new Uint8Array(replay.bytes));
                }
            }],
            onRunEnded: (code) => ended(options, code),
            onExit: (code) => ended(options, code),
            onAbort: () => ended(options, -1),
            recordPath: replay ? null : RECORD,
        };
        page.record = null;
        downloadButton.disabled = !!replay;
        setStatus(replay ? 'replaying ' + replay.name : '');
        page.state = replay ? 'replaying' : 'playing';
        page.instance = options;  // the instance is this object, filled in
        await createDrumhold(options);
    }

    function takeRecord(instance) {
        if (!instance || !instance.recordPath) return page.record;
        try {
            return instance.FS.readFile(instance.recordPath);
        } catch (error) {
            return page.record;
        }
    }

    function ended(instance, code) {
        if (instance !== page.instance || page.state === 'ended') return;
        page.record = takeRecord(instance);
        page.state = 'ended';
        page.exitStatus = code;
        document.body.classList.add('ended');
        messages.classList.remove('quiet');
        againButton.hidden = false;
        setStatus('the run has ended' + (code ? ' (status ' + code + ')' : '') + ': start again?');
        againButton.focus();
    }

    function download() {
        const bytes = page.state === 'ended' ? page.record : takeRecord(page.instance);
        if (!bytes) return;
        const link = document.createElement('a');
        link.href = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
        link.download = 'drumhold-' + new Date().toISOString().replace(/[:.]/g, '-').slice(0, 19) + '.replay';
        document.body.append(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    }

    // A replay while a run is still going: the page starts afresh with it, as
    // an instance cannot be stopped in the middle of its loop.
    const PENDING = 'drumhold-pending-replay';
    async function replayBytes(name, bytes) {
        if (page.state === 'ended' || page.state === 'loading') return start({ name, bytes });
        let text = '';
        for (const byte of new Uint8Array(bytes)) text += String.fromCharCode(byte);
        try {
            sessionStorage.setItem(PENDING, JSON.stringify({ name, text }));
        } catch (error) {
            say('drumhold: the file is too large to replay while a run is going; end the run with Esc first', true);
            return;
        }
        location.reload();
    }
    async function replayFile(file) {
        replayBytes(file.name, await file.arrayBuffer());
    }

    function toggleFullscreen() {
        if (document.fullscreenElement) document.exitFullscreen();
        else document.documentElement.requestFullscreen().catch(() => {});
    }

    // Before SDL sees them: Alt+Enter and F11 are the page's fullscreen (no
    // display switch in a browser), and the game's keys never scroll the page.
    window.addEventListener('keydown', (event) => {
        if (event.key === 'F11' || (event.key === 'Enter' && event.altKey)) {
            event.preventDefault();
            event.stopImmediatePropagation();
            if (!event.repeat) toggleFullscreen();
            return;
        }
        if (event.key === 'Enter' && page.state === 'ended' && document.activeElement === againButton) return;
        if (['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', ' ', 'Spacebar'].includes(event.key))
            event.preventDefault();
    }, true);

    document.getElementById('fullscreen').addEventListener('click', (event) => {
        toggleFullscreen();
        event.currentTarget.blur();
    });
    downloadButton.addEventListener('click', (event) => {
        download();
        event.currentTarget.blur();
    });
    againButton.addEventListener('click', () => {
        history.replaceState(null, '', location.pathname);
        start(null);
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

    async function begin() {
        fit();
        const pending = sessionStorage.getItem(PENDING);
        if (pending) {
            sessionStorage.removeItem(PENDING);
            const { name, text } = JSON.parse(pending);
            const bytes = Uint8Array.from(text, (c) => c.charCodeAt(0));
            return start({ name, bytes });
        }
        const named = new URLSearchParams(location.search).get('replay');
        if (named === null) return start(null);
        let bytes = null;
        try {
            const response = await fetch(named, { cache: 'no-store' });
            if (response.ok) bytes = await response.arrayBuffer();
        } catch (error) { /* the game says it cannot open the file */ }
        return start({ name: named, bytes });
    }
    begin();
})();
