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
