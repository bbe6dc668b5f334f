// The web build in headless Chromium on this machine (frame rate limited to
// the display's, as a viewer sees it; FLAGS=--disable-frame-rate-limit lifts it):
// time from the click to the first frame, frames a second in each scene
// (beside them, bench/frame_bench's native figures on llvmpipe), and the size
// of the module and its glue, gzipped. Prints figures; not a test.
//   node web_bench.mjs WEB_BUILD (the page, the module and data/, as tools/web.sh --build-only leaves them)
import {spawn} from "node:child_process";
import {readFileSync} from "node:fs";
import {createRequire} from "node:module";
import {dirname, join} from "node:path";
import {fileURLToPath} from "node:url";
import {gzipSync} from "node:zlib";

const here = dirname(fileURLToPath(import.meta.url));
const require = createRequire(join(here, "../tests/web/package.json"));
const puppeteer = require("puppeteer-core");
const site = process.argv[2];

// For every thread of the trace: the share of the traced time that its
// outermost events cover, and the events inside them that took most of it.
function BusyShares(events) {
    const names = new Map();
    for (const e of events) {
        if (e.ph === "M" && e.name === "thread_name") names.set(`${e.pid}:${e.tid}`, e.args.name);
    }
    const spans = events.filter(e => e.ph === "X" && e.dur > 0);
    const start = Math.min(...spans.map(e => e.ts));
    const end = Math.max(...spans.map(e => e.ts + e.dur));
    const byThread = new Map();
    for (const e of spans.sort((a, b) => a.ts - b.ts || b.dur - a.dur)) {
        const key = `${e.pid}:${e.tid}`;
        const t = byThread.get(key) || {reach: 0, busy: 0, what: new Map()};
        if (e.ts >= t.reach) {  // outermost only
            t.busy += e.dur;
            t.reach = e.ts + e.dur;
        } else if (e.name !== "ThreadControllerImpl::RunTask") {
            // What the tasks do: the events inside them.
            t.what.set(e.name, (t.what.get(e.name) || 0) + e.dur);
        }
        byThread.set(key, t);
    }
    return [...byThread.entries()]
        .map(([key, t]) => [names.get(key) || key, t.busy / (end - start),
                            [...t.what.entries()].sort((a, b) => b[1] - a[1]).slice(0, 3)
                                .map(([n, d]) => `${n} ${(100 * d / (end - start)).toFixed(0)}%`).join(", ")])
        .filter(([, share]) => share > 0.02)
        .sort((a, b) => b[1] - a[1]);
}
const port = 18999;

for (const file of ["dwip-this.wasm", "dwip-this.js", "page.js", "index.html"]) {
    const bytes = readFileSync(join(site, file));
    console.log(`${file.padEnd(16)} ${(bytes.length / 1024).toFixed(1).padStart(7)} KB, gzipped ` +
                `${(gzipSync(bytes, {level: 9}).length / 1024).toFixed(1).padStart(6)} KB`);
}

const server = spawn(process.execPath, [join(here, "../tools/web/serve.mjs"), site, String(port)],
                     {stdio: ["ignore", "pipe", "inherit"]});
await new Promise(resolve => server.stdout.once("data", resolve));
const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium", headless: true,
    args: ["--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--no-first-run",
           "--disable-background-networking", ...(process.env.FLAGS ? process.env.FLAGS.split(" ") : [])],
});
try {
    const page = await browser.newPage();
    await page.setViewport({width: 800, height: 600});
    await page.goto(`http://127.0.0.1:${port}/`, {waitUntil: "load"});
    await page.waitForFunction(() => window.presentation.state === "ready", {timeout: 60000});
    // Samples taken in the page itself: the program's frames and the music's clock.
    await page.evaluate(() => {
        window.samples = [];
        setInterval(() => window.samples.push([window.presentation.position / 176400, window.presentation.frames,
                                               performance.now()]), 250);
    });
    await page.click("#start");
    await page.waitForFunction(() => window.presentation.frames > 0, {timeout: 60000, polling: 5});
    const first = await page.evaluate(() => window.presentation.firstFrameAt - window.presentation.startedAt);
    console.log(`click to first frame: ${first.toFixed(0)} ms`);
    const scenes = [["opening logo (rising)", 3, 8], ["main section, flip frame", 19, 23],
                    ["main section, swaying picture", 52, 58], ["credits", 126, 131]];
    // Where the time of a frame goes: Chromium's own trace of 3 s of the
    // swaying picture, each thread's busy share.
    await page.waitForFunction(() => window.presentation.position >= 53 * 176400, {timeout: 200000, polling: 100});
    await page.tracing.start({categories: ["toplevel", "gpu", "viz", "cc", "v8", "blink", "benchmark",
                                           "disabled-by-default-gpu.service"]});
    await new Promise(resolve => setTimeout(resolve, 3000));
    const trace = JSON.parse(Buffer.from(await page.tracing.stop()).toString("utf8"));
    console.log("busy share of each thread over 3 s of the swaying picture (Chromium's trace):");
    for (const [name, share, top] of BusyShares(trace.traceEvents)) {
        console.log(`  ${name.padEnd(28)} ${(100 * share).toFixed(0).padStart(3)}%   ${top}`);
    }
    await page.waitForFunction(() => window.presentation.position >= 132 * 176400, {timeout: 200000, polling: 1000});
    const samples = await page.evaluate(() => window.samples);
    for (const [name, from, to] of scenes) {
        const inside = samples.filter(([seconds]) => seconds >= from && seconds <= to);
        const [a, b] = [inside[0], inside[inside.length - 1]];
        const fps = a && b && b[2] > a[2] ? (b[1] - a[1]) * 1000 / (b[2] - a[2]) : NaN;
        console.log(`${name.padEnd(32)} ${fps.toFixed(1).padStart(6)} fps`);
    }
} finally {
    await browser.close();
    server.kill();
}
