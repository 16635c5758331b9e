// The web page in headless Chromium: serves dist/web (tools/web/serve.mjs), first loads it cold over
// a throttled network (10 Mbit/s, 40 ms) and measures the bytes and the time before the opening's
// first frame and when the music's instruments come and the music sounds; then opens the page,
// leaves the opening with Enter, starts a run, walks, answers the Escape question, checks that the
// screen is drawn and moves on, and measures the frames a second the game shows on the title and in
// the run; then the settings (and the touch keys and controls they make), the language, the offline
// copy, four viewports and touch.
//   node tools/web/browser-test.mjs DIST_WEB OUT_FOLDER
// Needs puppeteer-core (NODE_PATH) and Debian's chromium. Exits 1 with a message on any failure.
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { createRequire } from "node:module";
import { fileURLToPath } from "node:url";
import { serve } from "./serve.mjs";

const require = createRequire(import.meta.url);
const puppeteer = require("puppeteer-core");

const [distArg, outDir] = process.argv.slice(2);
if (!distArg || !outDir) {
  console.error("usage: browser-test.mjs DIST_WEB OUT_FOLDER");
  process.exit(2);
}
const distWeb = path.resolve(distArg);
fs.mkdirSync(outDir, { recursive: true });
const chromium = process.env.CHROMIUM || "/usr/bin/chromium";
const seed = "20261207";

const server = await serve(distWeb);
const url = `http://127.0.0.1:${server.address().port}/index.html?seed=${seed}`;

const profile = fs.mkdtempSync(path.join(os.tmpdir(), "rushmora-chromium-"));
const browser = await puppeteer.launch({
  executablePath: chromium,
  headless: true,
  userDataDir: profile,
  args: ["--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
         "--autoplay-policy=no-user-gesture-required", "--disable-background-networking",
         "--disable-component-update", "--disable-sync", "--no-first-run", "--disable-gpu",
         "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
         "--window-size=1280,760"],
  defaultViewport: { width: 1280, height: 760 },
});

let failed = false;
const messages = [];
function fail(text) {
  console.error("browser-test: FAIL: " + text);
  failed = true;
}
const sleep = (ms) => new Promise((ok) => setTimeout(ok, ms));

// What the page plays, heard: every audio node that reaches the speakers also feeds an analyser,
// whose loudness the test reads (window.rushmoraLoudness()).
function listen() {
  const connect = AudioNode.prototype.connect;
  AudioNode.prototype.connect = function (target, ...rest) {
    if (target instanceof AudioDestinationNode) {
      const analyser = target.context.createAnalyser();
      analyser.fftSize = 2048;
      connect.call(this, analyser);
      window.rushmoraLoudness = () => {
        const a = new Float32Array(analyser.fftSize);
        analyser.getFloatTimeDomainData(a);
        return Math.sqrt(a.reduce((sum, v) => sum + v * v, 0) / a.length);
      };
    }
    return connect.call(this, target, ...rest);
  };
}

// The first visit, from a cold cache over a throttled network: the bytes and the time before the
// opening's first frame, and the music once its instruments have come.
async function coldLoad(lang, whole) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.evaluateOnNewDocument(listen);
  const cdp = await page.createCDPSession();
  await cdp.send("Network.enable");
  await cdp.send("Network.setCacheDisabled", { cacheDisabled: true });
  await cdp.send("Network.emulateNetworkConditions",
                 { offline: false, latency: 40, downloadThroughput: 10e6 / 8, uploadThroughput: 5e6 / 8 });
  // Every response's bytes on the wire as they come (CDP's monotonic clock), and the clock's wall time.
  const received = [], urls = {};
  let clock = null;
  cdp.on("Network.requestWillBeSent", (e) => {
    urls[e.requestId] = e.request.url;
    if (!clock) clock = { wall: e.wallTime, mono: e.timestamp };
  });
  cdp.on("Network.dataReceived", (e) => received.push({ id: e.requestId, at: e.timestamp, bytes: e.encodedDataLength }));
  cdp.on("Network.responseReceived", (e) => received.push({ id: e.requestId, at: e.timestamp, bytes: 0 }));
  const finished = {};
  cdp.on("Network.loadingFinished", (e) => { finished[e.requestId] = { at: e.timestamp, bytes: e.encodedDataLength }; });
  const said = [];
  page.on("console", (m) => said.push(m.text()));
  await page.goto(url.replace(/\?.*$/, "") + (lang === "ja" ? "" : "?lang=" + lang), { waitUntil: "load" });
  await page.waitForFunction("window.rushmoraFirstFrameAt !== undefined", { timeout: 60000, polling: 20 });
  const [firstAt, origin] = await page.evaluate("[window.rushmoraFirstFrameAt, performance.timeOrigin]");
  const firstMono = (origin + firstAt) / 1000 - clock.wall + clock.mono;
  const sentBefore = (until) => {
    let bytes = 0;
    const ids = new Set(received.map((r) => r.id));
    for (const id of ids) {
      const f = finished[id];
      if (f && f.at <= until) bytes += f.bytes;  // headers included
      else bytes += received.filter((r) => r.id === id && r.at <= until).reduce((n, r) => n + r.bytes, 0);
    }
    return bytes;
  };
  const before = sentBefore(firstMono);
  const files = Object.keys(finished).filter((id) => finished[id].at <= firstMono)
    .map((id) => urls[id].replace(/^.*\//, "").replace(/\?.*$/, "")).sort();
  console.log(`browser-test: cold load (${lang}) at 10 Mbit/s, 40 ms: the opening's first frame after ${(firstAt / 1000).toFixed(2)} s ` +
              `and ${(before / 1e6).toFixed(2)} MB (${files.join(", ")})`);
  if (before > 2e6) fail(`${before} bytes came before the first frame (at most 2 MB)`);
  if (firstAt > 3000) fail(`the first frame came after ${(firstAt / 1000).toFixed(2)} s (at most 3 s)`);
  const waits = await page.evaluate("window.rushmoraWaits");
  if (waits.some((w) => w[1] === 0)) fail(`the game waited for files before its first frame: ${JSON.stringify(waits)}`);
  if (!whole) return context.close();
  // Leave the opening for the title, whose piece starts at once: silent until the instruments come.
  await page.focus("#canvas");
  await pressKey(page, "Enter");
  await page.waitForFunction("window.rushmoraMusicCame !== null", { timeout: 60000, polling: 50 });
  const [cameFrame, cameAt] = await page.evaluate("[window.rushmoraMusicCame, performance.now()]");
  let loudest = 0;
  for (let i = 0; i < 40 && loudest < 0.005; i++) {
    await sleep(100);
    loudest = Math.max(loudest, await page.evaluate("window.rushmoraLoudness ? window.rushmoraLoudness() : 0"));
  }
  // The patches the page made of the FLAC streams are the very files the node build reads.
  const instruments = path.join(distWeb, "..", "web-cli", "timidity");
  const fnv = (bytes) => { let h = 0x811c9dc5; for (const b of bytes) h = Math.imul(h ^ b, 0x01000193) >>> 0; return h; };
  for (const name of fs.readdirSync(instruments, { recursive: true })) {
    const file = path.join(instruments, name);
    if (fs.statSync(file).isDirectory() || name === "copyright") continue;
    const there = await page.evaluate((f) => { try { const b = FS.readFile(f); let h = 0x811c9dc5;
      for (const x of b) h = Math.imul(h ^ x, 0x01000193) >>> 0; return h; } catch (e) { return "missing"; } },
      "/timidity/" + name.split(path.sep).join("/"));
    if (there !== fnv(fs.readFileSync(file))) fail(`the page's /timidity/${name} is not the instrument file (${there})`);
  }
  // The title's pictures were asked for while their part was on its way, or had come already.
  const waited = await page.evaluate("window.rushmoraWaits");
  console.log(`browser-test: files the game waited for while they came: ${waited.length ? waited.map((w) => w[0] + " at frame " + w[1]).join(", ") : "none"}`);
  const total = sentBefore(Infinity);
  console.log(`browser-test: the music's instruments came at frame ${cameFrame} (${(cameAt / 1000).toFixed(1)} s), ` +
              `the whole game ${(total / 1e6).toFixed(2)} MB; the music's loudness then ${loudest.toFixed(4)} (RMS)`);
  if (loudest < 0.005) fail("no music sounded once its instruments had come");
  if (total > 4e6) fail(`the whole game came in ${total} bytes (at most 4 MB)`);
  if (said.some((m) => /music cannot be played/.test(m))) fail("the game could not play its music: " + said.join(" | "));
  await context.close();
}

// A part that does not come (the network fails on it): the game never waits for it, plays on
// without those pictures or its music, and the page says so.
async function partMissing(part) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setRequestInterception(true);
  page.on("request", (r) => (new URL(r.url()).pathname.endsWith("/" + part) ? r.abort() : r.continue()));
  await page.goto(url, { waitUntil: "load" });
  await page.waitForFunction("window.rushmoraStarted === true", { timeout: 60000 });
  await page.waitForFunction(() => /could not be fetched/.test(document.getElementById("coming").textContent),
                             { timeout: 30000 }).catch(() => fail(`without ${part} the page did not say so`));
  await page.focus("#canvas");
  await pressKey(page, "Enter");  // to the title, whose pictures may be missing
  const f0 = await page.evaluate("window.rushmoraFrames");
  await sleep(1500);
  const f1 = await page.evaluate("window.rushmoraFrames");
  if (f1 < f0 + 30 || (await page.evaluate("window.rushmoraExited !== undefined")))
    fail(`without ${part} the game did not play on (${f1 - f0} frames in 1.5 s)`);
  else console.log(`browser-test: without ${part} the game plays on (${f1 - f0} frames in 1.5 s) and the page says what is missing`);
  await context.close();
}

// A part that comes damaged (random bytes of its length): the page checks it against its hash, says
// so plainly over the game with a Reload button, and the game plays on without it.
async function partDamaged(part) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const size = fs.statSync(path.join(distWeb, part)).size;
  const noise = Buffer.alloc(size);
  for (let i = 0; i < size; i++) noise[i] = (i * 2654435761 >>> 13) & 0xff;
  await page.setRequestInterception(true);
  page.on("request", (r) => (new URL(r.url()).pathname.endsWith("/" + part)
    ? r.respond({ status: 200, contentType: "application/octet-stream", body: noise }) : r.continue()));
  await page.goto(url, { waitUntil: "load" });
  await page.waitForFunction("window.rushmoraStarted === true", { timeout: 60000 });
  await page.waitForFunction(() => !document.getElementById("trouble").classList.contains("hidden"), { timeout: 30000 })
    .catch(() => fail(`a damaged ${part} was not said`));
  const said = await page.$eval("#trouble", (t) => ({ text: t.textContent, button: !!t.querySelector("button") }));
  if (!said.button || !said.text.includes(part)) fail(`a damaged ${part} was said as "${said.text}"`);
  await page.focus("#canvas");
  await pressKey(page, "Enter");
  const f0 = await page.evaluate("window.rushmoraFrames");
  await sleep(1500);
  const f1 = await page.evaluate("window.rushmoraFrames");
  if (f1 < f0 + 30 || (await page.evaluate("window.rushmoraExited !== undefined")))
    fail(`with a damaged ${part} the game did not play on (${f1 - f0} frames in 1.5 s)`);
  else console.log(`browser-test: a damaged ${part} is said with a Reload button, and the game plays on (${f1 - f0} frames in 1.5 s)`);
  await context.close();
}

// A key held across a few frames: the game reads the keys' state once a frame.
async function pressKey(page, key, ms = 120) {
  await page.keyboard.down(key);
  await sleep(ms);
  await page.keyboard.up(key);
}

// The game's actions as the page was built with them (src/actions/actions.def): their number.
const actionsDef = fileURLToPath(new URL("../../src/actions/actions.def", import.meta.url));
const actionCount = fs.readFileSync(actionsDef, "utf8").split("\n").filter((l) => l.startsWith("RUSHMORA_ACTION(")).length;

// After jump was moved to J: the touch key for jump presses J (as a press of J reaches SDL: its code
// and its key number) and says "jump" in the page's language; the controls table lists J for it,
// and the settings dialog lists every action.
async function touchKeysFollowSettings(page, language, jumpSaid) {
  const seen = await page.evaluate(() => {
    const button = document.querySelector('#pad-act button[data-action="jump"]');
    if (!button) return null;
    const sent = [];
    const note = (e) => sent.push([e.type, e.code, e.keyCode]);
    window.addEventListener("keydown", note, true);
    window.addEventListener("keyup", note, true);
    button.dispatchEvent(new PointerEvent("pointerdown", { bubbles: true, cancelable: true }));
    button.dispatchEvent(new PointerEvent("pointerup", { bubbles: true, cancelable: true }));
    window.removeEventListener("keydown", note, true);
    window.removeEventListener("keyup", note, true);
    const rows = [...document.querySelectorAll("#controls tr")].map((r) => [...r.cells].map((c) => c.textContent));
    return { sent, label: button.textContent, lang: document.documentElement.lang, rows,
             touchKeys: document.querySelectorAll(".pad button").length };
  });
  if (!seen) return fail("no touch key for jump");
  const sent = JSON.stringify(seen.sent);
  if (sent !== JSON.stringify([["keydown", "KeyJ", 74], ["keyup", "KeyJ", 74]]))
    fail(`the jump touch key sent ${sent}, not J`);
  if (seen.label !== jumpSaid || seen.lang !== language)
    fail(`the jump touch key says "${seen.label}" on a page in ${seen.lang}, not "${jumpSaid}" in ${language}`);
  if (!seen.rows.some((r) => r[0] === jumpSaid && r[1] === "J")) fail(`the controls do not list J for jump: ${JSON.stringify(seen.rows)}`);
  if (seen.rows.length < actionCount + 1) fail(`the controls list ${seen.rows.length - 1} rows for ${actionCount} actions`);
  if (seen.touchKeys !== 17) fail(`${seen.touchKeys} touch keys, not 17 (the actions', the four diagonals, help and pause)`);
  await page.click("#settings");
  const listed = await page.$$eval("#settings-keys button.key", (b) => b.map((e) => e.dataset.key + "=" + e.textContent));
  await page.click('#settings-box button[value="cancel"]');
  if (listed.length !== actionCount || !listed.includes("jump=J") || !listed.includes("dash=S"))
    fail(`the settings dialog lists ${JSON.stringify(listed)} (${actionCount} actions)`);
  if (!failed) console.log(`browser-test: the jump touch key sends J and says "${jumpSaid}" (page in ${language}); ` +
                           "the controls and the settings dialog list the player's keys");
}

try {
  await coldLoad("ja", true);
  await coldLoad("en", false);
  await partMissing("music.data");
  await partMissing("game-ja.data");
  await partDamaged("game-ja.data");
  const page = await browser.newPage();
  page.on("console", (m) => messages.push(m.text()));
  page.on("pageerror", (e) => messages.push("page error: " + e.message));
  const t0 = Date.now();
  await page.goto(url, { waitUntil: "load" });
  await page.waitForFunction("window.rushmoraStarted === true || window.rushmoraExited !== undefined",
                             { timeout: 60000 });
  if (await page.evaluate("window.rushmoraExited !== undefined")) throw new Error("the game ended at start-up");
  console.log(`browser-test: page loaded and the game started in ${((Date.now() - t0) / 1000).toFixed(1)} s`);

  // The installed page's icons: each as large as the manifest says, 192 and 512 among them, and a
  // maskable one.
  const icons = await page.evaluate(async () => {
    const manifest = await (await fetch("manifest.webmanifest")).json();
    const seen = [];
    for (const icon of manifest.icons) {
      const img = new Image();
      img.src = icon.src;
      await img.decode().catch(() => {});
      seen.push({ src: icon.src, sizes: icon.sizes, purpose: icon.purpose || "any",
                  got: img.naturalWidth + "x" + img.naturalHeight });
    }
    return seen;
  });
  for (const icon of icons)
    if (icon.got !== icon.sizes) fail(`the manifest's icon ${icon.src} is ${icon.got}, not ${icon.sizes}`);
  for (const size of ["192x192", "512x512"])
    if (!icons.some((i) => i.sizes === size && i.purpose.split(" ").includes("any")))
      fail(`the manifest has no ${size} icon`);
  if (!icons.some((i) => i.purpose.split(" ").includes("maskable"))) fail("the manifest has no maskable icon");

  // The screen as the page shows it: a hash of the canvas, how many colours, and a PNG file.
  async function look(name) {
    const data = await page.evaluate(() => {
      const c = document.getElementById("canvas");
      const copy = document.createElement("canvas");
      copy.width = c.width;
      copy.height = c.height;
      const g = copy.getContext("2d");
      g.drawImage(c, 0, 0);
      const px = g.getImageData(0, 0, c.width, c.height).data;
      let hash = 2166136261, colours = new Set();
      for (let i = 0; i < px.length; i += 4) {
        const v = (px[i] << 16) | (px[i + 1] << 8) | px[i + 2];
        hash = Math.imul(hash ^ v, 16777619) >>> 0;
        if (colours.size < 4096 && (i & 63) === 0) colours.add(v);
      }
      return { hash, colours: colours.size, width: c.width, height: c.height, png: copy.toDataURL("image/png") };
    });
    fs.writeFileSync(path.join(outDir, name + ".png"), Buffer.from(data.png.split(",")[1], "base64"));
    return data;
  }
  function notBlank(shot, name) {
    if (shot.colours < 8) fail(`${name}: the screen is blank (${shot.colours} colours)`);
  }
  const press = (key, ms) => pressKey(page, key, ms);
  const frames = () => page.evaluate("window.rushmoraFrames");
  async function fps(seconds) {
    const f0 = await frames(), s0 = Date.now();
    await sleep(seconds * 1000);
    return ((await frames()) - f0) * 1000 / (Date.now() - s0);
  }

  await page.focus("#canvas");
  await sleep(1500);
  const opening = await look("1-opening");
  notBlank(opening, "the opening");
  console.log(`browser-test: screen ${opening.width}x${opening.height}`);

  await press("Enter");
  await sleep(1500);
  const title = await look("2-title");
  notBlank(title, "the title");
  if (title.hash === opening.hash) fail("Enter did not leave the opening");
  const titleFps = await fps(4);

  await press("Enter"); // the title's start entry
  await sleep(6000); // the loading screen, then the run
  const run = await look("3-run");
  notBlank(run, "the run");
  if (run.hash === title.hash) fail("Enter on the title did not start the run");

  await page.keyboard.down("ArrowRight"); // walk
  const runFps = await fps(5);
  await page.keyboard.up("ArrowRight");
  const walked = await look("4-walked");
  notBlank(walked, "the run after walking");
  if (walked.hash === run.hash) fail("walking did not change the screen");

  // The page's Settings dialog: the game stands still behind it, and the Escape that closes it stays
  // the dialog's (the pause the dialog left behind is still there, not resumed by it, and the game
  // asks no question); the pause's own Escape then goes on with the run.
  const still = async (ms) => {
    const f0 = await frames();
    await sleep(ms);
    return (await frames()) - f0;
  };
  await page.click("#settings");
  await sleep(1000);
  const behindDialog = await still(1200);
  if (behindDialog > 1) fail(`the game showed ${behindDialog} frames behind the settings dialog`);
  await page.keyboard.press("Escape");
  await sleep(800);
  if (await page.$eval("#settings-box", (b) => b.open)) fail("Escape did not close the settings dialog");
  const afterDialog = await still(1200);
  if (afterDialog > 1) fail(`the Escape that closed the dialog reached the game (${afterDialog} frames shown)`);
  await look("4b-paused-after-dialog");
  await page.focus("#canvas");
  await press("Escape");
  await sleep(500);
  const resumed = await still(1000);
  if (resumed < 5) fail(`the pause's Escape did not go on with the run (${resumed} frames in 1 s)`);
  else console.log(`browser-test: the settings dialog paused the run and kept its Escape (${behindDialog} and ` +
                   `${afterDialog} frames shown), and the run went on after the pause (${resumed} frames in 1 s)`);

  // A hidden tab pauses the run (and holds its music); the pause's Escape goes on with it.
  const setHidden = (hidden) => page.evaluate((h) => {
    Object.defineProperty(document, "hidden", { configurable: true, get: () => h });
    document.dispatchEvent(new Event("visibilitychange"));
  }, hidden);
  await setHidden(true);
  await sleep(1000);
  const whileHidden = await still(1000);
  await setHidden(false);
  if (whileHidden > 1) fail(`the run went on in a hidden tab (${whileHidden} frames shown)`);
  await press("Escape");
  await sleep(500);
  if ((await still(1000)) < 5) fail("the run did not go on after the hidden tab's pause");
  else console.log(`browser-test: a hidden tab paused the run (${whileHidden} frames shown) until Escape`);

  await press("Escape");
  await sleep(800);
  const question = await look("5-escape-question");
  if (question.hash === walked.hash) fail("Escape did not ask its question");
  const boxFrames = await frames();
  await press("n"); // No: the run goes on
  await sleep(1500);
  const after = await look("6-after-no");
  notBlank(after, "the run after the answer");
  if ((await frames()) <= boxFrames) fail("the game did not go on after the question was answered");
  if (after.hash === question.hash) fail("answering No did not close the question");
  if (await page.evaluate("window.rushmoraExited !== undefined")) fail("the game ended after No");

  await press("Escape");
  await sleep(800);
  await press("y"); // Yes: back to the title
  await sleep(2500);
  const back = await look("7-after-yes");
  notBlank(back, "the screen after Yes");
  if (back.hash === after.hash) fail("answering Yes did not leave the run");

  // The option screen's F5: the game says it opens the key configuration, then the page says that it
  // cannot start a program.
  await press("ArrowDown");
  await sleep(400);
  await press("Enter");
  await sleep(1500);
  const option = await look("8-option");
  notBlank(option, "the option screen");
  await press("F5");
  await sleep(800);
  await press("Enter"); // the game's own box
  await sleep(800);
  await look("9-no-programs");
  await press("Enter"); // the page's box
  await sleep(800);
  if (!messages.some((m) => /"Rushmora" \/ "KeyConfig1.exe はブラウザの中では起動できません[^"]*" answered OK/.test(m)))
    fail("F5 did not say that the key configuration cannot start in a browser");
  await press("Escape");
  await sleep(1500);

  // The sound: with autoplay allowed, SDL's audio context runs.
  const audio = await page.evaluate("Module.SDL2 && Module.SDL2.audioContext ? Module.SDL2.audioContext.state : 'none'");
  if (audio !== "running") fail(`the sound does not play (audio context: ${audio})`);

  // Quit from the title: the game ends cleanly (the mixer and its Timidity shut down).
  await press("ArrowDown");
  await sleep(300);
  await press("ArrowDown");
  await sleep(300);
  await press("Enter");
  await page.waitForFunction("window.rushmoraExited !== undefined", { timeout: 15000 })
    .catch(() => fail("choosing the title's last entry did not end the game"));
  const code = await page.evaluate("window.rushmoraExited");
  if (code !== undefined && code !== 0) fail(`the game ended with status ${code}`);

  // The page's settings: J for jump, S refused for it (dash has it), saved in local storage, and the
  // game started again reads them.
  await page.click("#settings");
  await page.click('#settings-keys button[data-key="jump"]');
  await page.keyboard.press("KeyS");
  const refused = await page.$eval("#settings-note", (n) => n.textContent);
  if (!/in use/.test(refused)) fail(`S for jump was not refused as in use: "${refused}"`);
  await page.keyboard.press("KeyJ");
  await Promise.all([page.waitForNavigation({ waitUntil: "load" }), page.click('#settings-box button[value="save"]')]);
  await page.waitForFunction("window.rushmoraStarted === true", { timeout: 30000 });
  const given = await page.evaluate("FS.readFile('/settings.ini', { encoding: 'utf8' })");
  if (!/^jump=J$/m.test(given) || !/^dash=S$/m.test(given)) fail(`the game was given these settings: ${given}`);
  else console.log("browser-test: the settings dialog moved jump to J, refused S, and the game read it");
  await touchKeysFollowSettings(page, "ja", "ジャンプ");
  // The language switch: remembered, and the game starts again in English.
  await Promise.all([page.waitForNavigation({ waitUntil: "load" }), page.select("#language", "en")]);
  await page.waitForFunction("window.rushmoraStarted === true", { timeout: 30000 });
  const chosen = await page.evaluate("FS.readFile('/settings.ini', { encoding: 'utf8' })");
  if (!/^language=en$/m.test(chosen)) fail(`the language switch gave the game: ${chosen}`);
  const pageLang = await page.evaluate("document.documentElement.lang");
  if (pageLang !== "en") fail(`the English page says its language is "${pageLang}"`);
  if ((await page.$eval("#language", (e) => e.value)) !== "en") fail("the page forgot its language");
  await touchKeysFollowSettings(page, "en", "jump");
  await sleep(1500);
  await look("10-english");

  // Offline: after the visits above the service worker keeps the game, and the page starts without
  // the network.
  await page.waitForFunction(async () => {
    const names = (await caches.keys()).filter((n) => n.startsWith("rushmora-"));
    const cache = names.length === 1 && await caches.open(names[0]);
    return !!cache && !!(await cache.match("game-ja.data")) && !!(await cache.match("music.data"));
  }, { timeout: 60000 }).catch(() => fail("the service worker did not keep the game"));
  await page.setOfflineMode(true);
  await page.reload({ waitUntil: "load" });
  await page.waitForFunction("window.rushmoraStarted === true", { timeout: 30000 })
    .then(() => console.log("browser-test: the page started again offline, from its own copy"),
          () => fail("the page did not start offline"));
  await page.setOfflineMode(false);

  // Any viewport: phones both ways, a tablet upright and a desktop; the game's frame window must be
  // wholly on the page, and an upright phone says to turn it.
  for (const [w, h, dpr, mobile] of [[390, 844, 3, true], [844, 390, 3, true], [844, 390, 1, true],
                                      [768, 1024, 2, true], [1024, 768, 2, true], [1280, 800, 1, true],
                                      [1920, 1080, 1, false]]) {
    const view = await browser.newPage();
    await view.setViewport({ width: w, height: h, deviceScaleFactor: dpr, isMobile: mobile, hasTouch: mobile });
    await view.goto(url, { waitUntil: "load" });
    await view.waitForFunction("window.rushmoraStarted === true", { timeout: 60000 });
    await sleep(2500);
    await view.screenshot({ path: path.join(outDir, `viewport-${w}x${h}-${dpr}.png`) });
    const fit = await view.evaluate(() => {
      const r = document.getElementById("canvas").getBoundingClientRect();
      const turn = getComputedStyle(document.getElementById("turn")).display !== "none";
      return { left: r.left, top: r.top, right: r.right, bottom: r.bottom, w: innerWidth, h: innerHeight, turn };
    });
    if (fit.left < -1 || fit.top < -1 || fit.right > fit.w + 1 || fit.bottom > fit.h + 1)
      fail(`at ${w}x${h} the game is not wholly on the page: ${JSON.stringify(fit)}`);
    if (fit.turn !== (h > w && w < 900)) fail(`at ${w}x${h} the note to turn the device is ${fit.turn ? "shown" : "missing"}`);
    // What shows over the desktop (the touch keys, the note) stays on the page and clear of each other.
    const over = await view.evaluate(() => [...document.querySelectorAll(".pad button, #turn")]
      .filter((e) => e.getClientRects().length > 0)
      .map((e) => { const r = e.getBoundingClientRect(); return { name: e.dataset.action || e.id, ...r.toJSON() }; }));
    if (mobile && over.length < 11) fail(`at ${w}x${h} only ${over.length} touch keys and notes show`);
    // The game's window (the frame window, on the canvas) is under none of them.
    const game = await view.evaluate(() => {
      Module._rushmora_game_window();
      const g = Module.rushmoraGameWindow, c = document.getElementById("canvas"), r = c.getBoundingClientRect();
      if (!g) return null;
      const sx = r.width / c.width, sy = r.height / c.height;
      return { left: r.left + g.x * sx, top: r.top + g.y * sy, right: r.left + (g.x + g.w) * sx,
               bottom: r.top + (g.y + g.h) * sy };
    });
    if (!game) fail(`at ${w}x${h} the page cannot say where the game's window is`);
    for (const a of over)
      if (game && a.name !== "turn" && a.left < game.right && game.left < a.right && a.top < game.bottom &&
          game.top < a.bottom)
        fail(`at ${w}x${h} dpr ${dpr} the touch key ${a.name} covers the game's window`);
    for (const [i, a] of over.entries()) {
      if (a.left < 0 || a.top < 0 || a.right > fit.w || a.bottom > fit.h) fail(`at ${w}x${h} ${a.name} is off the page`);
      for (const b of over.slice(i + 1))
        if (a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
          fail(`at ${w}x${h} ${a.name} and ${b.name} overlap`);
    }
    await view.close();
  }
  console.log("browser-test: the game fits 390x844, 844x390 (dpr 1 and 3), 768x1024, 1024x768, 1280x800 and " +
              "1920x1080, its window clear of the touch keys (screenshots viewport-*.png)");

  // Touch: a phone held sideways plays from the opening into a run with the on-screen keys only; the
  // run's state at its last frame says the runner went on.
  {
    const phone = await browser.newPage();
    const said = [];
    phone.on("console", (m) => said.push(m.text()));
    await phone.setViewport({ width: 844, height: 390, deviceScaleFactor: 2, isMobile: true, hasTouch: true });
    await phone.goto(url + "&frames=1500&dump-state", { waitUntil: "load" });
    await phone.waitForFunction("window.rushmoraStarted === true", { timeout: 60000 });
    if (await phone.$eval("#pad-act", (e) => e.classList.contains("hidden"))) fail("no touch keys on a touch screen");
    const hold = async (action, ms) => {
      const box = await (await phone.$(`.pad button[data-action="${action}"]`)).boundingBox();
      await phone.touchscreen.touchStart(box.x + box.width / 2, box.y + box.height / 2);
      await sleep(ms);
      await phone.touchscreen.touchEnd();
    };
    // Timed by the game's frames, not the clock: a phone's screen of device pixels is drawn slower.
    const atFrame = (n) => phone.waitForFunction(`window.rushmoraFrames >= ${n}`, { timeout: 60000, polling: 20 });
    await atFrame(90);
    // A thumb's quick taps, let go at once: each still reaches the game (none falls between frames).
    await hold("enter", 0);  // the opening to the title
    const title = await phone.evaluate("window.rushmoraFrames");
    await atFrame(title + 120);
    await hold("enter", 0);  // start
    const start = await phone.evaluate("window.rushmoraFrames");
    await atFrame(start + 450);  // the loading screen and the run's count-in
    const walk = await phone.evaluate("window.rushmoraFrames");
    const box = await (await phone.$('.pad button[data-action="right"]')).boundingBox();
    await phone.touchscreen.touchStart(box.x + box.width / 2, box.y + box.height / 2);
    await atFrame(walk + 150);
    await phone.touchscreen.touchEnd();
    await hold("jump", 200);  // J now (the settings above)
    await phone.screenshot({ path: path.join(outDir, "touch-run.png") });
    await phone.waitForFunction("window.rushmoraExited !== undefined", { timeout: 60000 }).catch(() => {});
    const dump = said.find((m) => m.startsWith("{\"frame\""));
    const scene = dump && JSON.parse(dump).scene;
    if (!scene || scene.name !== "GameScene") fail(`touch did not reach a run: ${dump ? dump.slice(0, 200) : "no dump"}`);
    else if (!(scene.distance > 100)) fail(`the runner did not go on under touch (distance ${scene.distance})`);
    else console.log(`browser-test: on-screen touch keys took the game into a run and the runner on (distance ${scene.distance})`);

    // A thumb rolls from one direction to the next without lifting, and a corner presses two.
    await phone.evaluate(() => {
      window.keysSent = [];
      for (const type of ["keydown", "keyup"])
        window.addEventListener(type, (e) => window.keysSent.push((type === "keydown" ? "+" : "-") + e.code), true);
    });
    const centre = async (action) => {
      const b = await (await phone.$(`.pad button[data-action="${action}"]`)).boundingBox();
      return [b.x + b.width / 2, b.y + b.height / 2];
    };
    const [lx, ly] = await centre("left"), [rx, ry] = await centre("right"), [dx, dy] = await centre("up+right");
    await phone.touchscreen.touchStart(lx, ly);
    await phone.touchscreen.touchMove((lx + rx) / 2, (ly + ry) / 2);  // over the middle, no key: still left
    await phone.touchscreen.touchMove(rx, ry);
    await phone.touchscreen.touchEnd();
    await phone.touchscreen.touchStart(dx, dy);
    await phone.touchscreen.touchEnd();
    const sent = (await phone.evaluate("window.keysSent")).join(" ");
    const want = "+ArrowLeft -ArrowLeft +ArrowRight -ArrowRight +ArrowUp +ArrowRight -ArrowUp -ArrowRight";
    if (sent !== want) fail(`the direction keys under a sliding thumb and a corner sent "${sent}", not "${want}"`);
    else console.log("browser-test: a thumb slid from ◀ to ▶ and the ◥ corner pressed up and right together");
    await phone.close();
  }

  console.log(`browser-test: frames a second shown (software renderer, headless Chromium): ` +
              `title ${titleFps.toFixed(1)}, run ${runFps.toFixed(1)}`);
  if (titleFps < 55 || runFps < 55)
    console.log("browser-test: note: below 60 frames a second on this (shared) machine");
  console.log(`browser-test: screenshots in ${outDir}`);
} catch (e) {
  fail(e.message);
} finally {
  if (failed) for (const m of messages.slice(-30)) console.error("  page: " + m);
  await browser.close();
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
process.exit(failed ? 1 : 0);
