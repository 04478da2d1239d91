// sw.js -- the page's service worker: it keeps the files of one version of
// the page and the game on the device, so that after one visit the page loads
// from there and plays with no network.
//
// The build writes VERSION, CACHE and FILES (web/service_worker.cmake): the
// cache is named for the release and for the files' contents, so any change
// of a file is a new worker, which the browser finds on a later visit. The new
// worker fetches the files of its version into a cache of its own, checks each
// against its hash (a server or a proxy in the middle of an update may hand
// out an older file: then the worker is not installed, and the next visit
// tries again), and waits. It takes over when the page asks it to, which the
// page does once nothing is lost by loading itself again (page.js); then it
// drops the caches of other versions. A page is thus always served by one
// version, whole.
'use strict';

const VERSION = '@VERSION@';
const CACHE = '@CACHE_NAME@';
// The page's files, each with the SHA-256 of its bytes.
const FILES = {
@FILES@};

async function sha256(bytes) {
    const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
    return Array.from(digest, (byte) => byte.toString(16).padStart(2, '0')).join('');
}

// One file of this version, asked of the server (never taken unasked from the
// browser's own cache, which may hold another version's).
async function fetchChecked(name) {
    const response = await fetch(name, { cache: 'no-cache' });
    if (!response.ok) throw new Error(`${name}: ${response.status} ${response.statusText}`);
    if ((await sha256(await response.clone().arrayBuffer())) !== FILES[name])
        throw new Error(`${name}: not the file of version ${VERSION} that this worker keeps`);
    return response;
}

self.addEventListener('install', (event) => {
    event.waitUntil((async () => {
        // All of them or none.
        try {
            const responses = await Promise.all(Object.keys(FILES).map(fetchChecked));
            const cache = await caches.open(CACHE);
            await Promise.all(Object.keys(FILES).map((name, i) => cache.put(name, responses[i])));
        } catch (error) {
            await caches.delete(CACHE);
            throw error;
        }
    })());
});

self.addEventListener('message', (event) => {
    if (event.data === 'take over') self.skipWaiting();
});

self.addEventListener('activate', (event) => {
    event.waitUntil((async () => {
        for (const name of await caches.keys())
            if (name.startsWith('drumhold-') && name !== CACHE) await caches.delete(name);
        await self.clients.claim();
    })());
});

// The page's files from the cache; anything else (a replay the address names,
// say) from the network, as without a worker.
const SCOPE = new URL(self.registration.scope).pathname;
self.addEventListener('fetch', (event) => {
    const request = event.request, url = new URL(request.url);
    if (request.method !== 'GET' || url.origin !== self.location.origin || !url.pathname.startsWith(SCOPE)) return;
    let name = decodeURIComponent(url.pathname.slice(SCOPE.length));
    if (name === '' && request.mode === 'navigate') name = 'index.html';
    if (!Object.hasOwn(FILES, name)) return;
    event.respondWith(caches.match(name, { cacheName: CACHE }).then((kept) => kept || fetch(request)));
});
