#!/usr/bin/env node
// Serves the web page's folder (dist/web) on localhost, as a server for players should: each file
// with its type (the .wasm needs its own for streaming compilation), and a file's gzipped copy
// (tools/web/build writes them) to a browser that accepts gzip, sent as it is.
//   node tools/web/serve.mjs [DIST_WEB] [PORT]      (dist/web, 8080)
// The browser test uses it too (import { serve }).
import http from "node:http";
import fs from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";

const types = { ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".wasm": "application/wasm",
                ".data": "application/octet-stream", ".txt": "text/plain; charset=utf-8",
                ".webmanifest": "application/manifest+json", ".png": "image/png" };

// Returns the listening server; onRequest(name, bytesSent) hears of every file sent.
export async function serve(folder, port = 0, onRequest = () => {}) {
  const root = path.resolve(folder);
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, "http://x").pathname).replace(/^\/+/, "") || "index.html";
    const file = path.join(root, path.normalize(name));
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      res.writeHead(404).end();
      return;
    }
    const headers = { "Content-Type": types[path.extname(file)] || "application/octet-stream",
                      "Cache-Control": "no-cache", "Vary": "Accept-Encoding" };
    let sent = file;
    if (/\bgzip\b/.test(req.headers["accept-encoding"] || "") && fs.existsSync(file + ".gz")) {
      sent = file + ".gz";
      headers["Content-Encoding"] = "gzip";
    }
    headers["Content-Length"] = fs.statSync(sent).size;
    res.writeHead(200, headers);
    if (req.method === "HEAD") return res.end();
    fs.createReadStream(sent).pipe(res);
    onRequest(name, headers["Content-Length"]);
  });
  await new Promise((ok) => server.listen(port, "127.0.0.1", ok));
  return server;
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const server = await serve(process.argv[2] || "dist/web", Number(process.argv[3] || 8080));
  console.log(`Rushmora: http://127.0.0.1:${server.address().port}/`);
}
