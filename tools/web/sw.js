// The page's offline copy: after the first visit every file of the game is kept in a cache named
// after this build, so the game starts without a network (and from a home-screen icon). A new build
// has another name: it fills its own cache as it installs and then removes the old ones.
"use strict";
const CACHE = "rushmora-@VERSION@";
const FILES = [@FILES@];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith("rushmora-") && n !== CACHE)
                                      .map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// The game's files from the cache (the page's parameters do not matter for them), else the network.
self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((hit) => hit || fetch(event.request)));
});
