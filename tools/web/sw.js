// The page's offline copy: once the game has come, every file of it (the data in the parts of the
// player's language) is kept in a cache named after this build, so the game starts without a
// network (and from a home-screen icon). Other files the page fetches later (the other language's
// parts) join the cache as they pass. A new build has another name: it fills its own cache as it
// installs and then removes the old ones.
"use strict";
const CACHE = "rushmora-@VERSION@";
const FILES = [@FILES@];
const PARTS = (new URL(self.location).searchParams.get("parts") || "").split(",").filter((p) => /^[\w.-]+\.data$/.test(p));

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(["./"].concat(FILES, PARTS.map((p) => "./" + p))))
    .then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith("rushmora-") && n !== CACHE)
                                      .map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// The game's files from the cache (the page's parameters do not matter for them), else the network,
// keeping what comes from there.
self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET" || new URL(event.request.url).origin !== self.location.origin) return;
  event.respondWith(caches.open(CACHE).then((cache) => cache.match(event.request, { ignoreSearch: true })
    .then((hit) => hit || fetch(event.request).then((response) => {
      if (response.ok && !new URL(event.request.url).search) cache.put(event.request, response.clone());
      return response;
    }))));
});
