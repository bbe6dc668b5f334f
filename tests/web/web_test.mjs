// The web build in headless Chromium (Debian's, with SwiftShader's WebGL and
// Web Audio without a sound device), driven as a user would: the page loads,
// a click starts the presentation, the pictures follow the music's clock,
// Escape ends it, and a missing music file gives the program's messages.
//   node web_test.mjs WEB_BUILD SAMPLE_MEDIA SCREENSHOT_DIR PICTURE_LIST
// PICTURE_LIST is the program's picture table, with a test colour for each
// picture, as the build writes it (pictures.json).
import {test, after} from "node:test";
import assert from "node:assert/strict";
import {spawn} from "node:child_process";
import {copyFileSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync} from "node:fs";
import {tmpdir} from "node:os";
import {basename, dirname, join} from "node:path";
import {fileURLToPath} from "node:url";
import {deflateSync} from "node:zlib";
import puppeteer from "puppeteer-core";

const [webBuild, sampleMedia, screenshots, pictureList] = process.argv.slice(2);
mkdirSync(screenshots, {recursive: true});
const serve = join(dirname(fileURLToPath(import.meta.url)), "../../tools/web/serve.mjs");
const BytesPerSecond = 176400;

// Every picture the program loads, each in a colour of its own, so that a
// pixel tells which is on screen.
const Table = JSON.parse(readFileSync(pictureList, "utf8"));
const Colours = Object.fromEntries(Table.pictures.map(picture => [picture.name, picture.colour]));

const CrcTable = Array.from({length: 256}, (_, n) => {
    let c = n;
    for (let k = 0; k < 8; k++) c = c & 1 ? 0xEDB88320 ^ (c >>> 1) : c >>> 1;
    return c >>> 0;
});

function crc32(bytes) {
    let c = 0xFFFFFFFF;
    for (const byte of bytes) c = CrcTable[(c ^ byte) & 0xFF] ^ (c >>> 8);
    return (c ^ 0xFFFFFFFF) >>> 0;
}

function chunk(type, data) {
    const length = Buffer.alloc(4);
    length.writeUInt32BE(data.length);
    const body = Buffer.concat([Buffer.from(type, "ascii"), data]);
    const crc = Buffer.alloc(4);
    crc.writeUInt32BE(crc32(body));
    return Buffer.concat([length, body, crc]);
}

// A 16 x 16 PNG of one opaque colour (the page and the browser go by the
// contents, so it may stand under a .jpg name too).
function solidPng([r, g, b]) {
    const header = Buffer.alloc(13);
    header.writeUInt32BE(16, 0);
    header.writeUInt32BE(16, 4);
    header.set([8, 2, 0, 0, 0], 8);
    const rows = Buffer.concat(Array.from({length: 16}, () => Buffer.from([0, ...Array(16).fill([r, g, b]).flat()])));
    return Buffer.concat([Buffer.from([0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A]), chunk("IHDR", header),
                          chunk("IDAT", deflateSync(rows)), chunk("IEND", Buffer.alloc(0))]);
}

// The built page and module with solid-colour pictures (but `missing`) and,
// unless left out, the sample music.
function makeSite(withMusic, missing = null) {
    const site = mkdtempSync(join(tmpdir(), "dwip-web-"));
    for (const file of ["index.html", "page.js", "dwip-this.js", "dwip-this.wasm"]) {
        copyFileSync(join(webBuild, file), join(site, file));
    }
    mkdirSync(join(site, "data"));
    for (const picture of Table.pictures) {
        if (picture.name !== missing) writeFileSync(join(site, picture.path), solidPng(picture.colour));
    }
    if (withMusic) copyFileSync(join(sampleMedia, basename(Table.music)), join(site, Table.music));
    return site;
}

async function startServer(site) {
    const port = 18000 + (process.pid % 2000);
    const server = spawn(process.execPath, [serve, site, String(port)], {stdio: ["ignore", "pipe", "inherit"]});
    await new Promise((resolve, reject) => {
        server.stdout.once("data", resolve);
        server.once("exit", () => reject(new Error("the server did not start")));
    });
    return {server, url: `http://127.0.0.1:${port}/`};
}

const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync"],
});
after(() => browser.close());

async function openSite(withMusic, missing = null) {
    const site = makeSite(withMusic, missing);
    const {server, url} = await startServer(site);
    const page = await browser.newPage();
    await page.setViewport({width: 800, height: 600});
    const log = [];
    page.on("console", message => log.push(message.text()));
    await page.goto(url, {waitUntil: "load"});
    await page.waitForFunction(() => window.presentation.state === "ready", {timeout: 60000});
    const close = async () => {
        await page.close();
        server.kill();
        rmSync(site, {recursive: true, force: true});
    };
    return {page, log, close};
}

// Waits until the program has read the music clock at `seconds` or later.
async function waitForMusic(page, seconds) {
    await page.waitForFunction(bytes => window.presentation.position >= bytes, {timeout: 90000, polling: 20},
                               seconds * BytesPerSecond);
}

// The colour of a pixel the program drew, from the bottom left as OpenGL counts.
async function pixel(page, x, y) {
    return page.evaluate((x, y) => {
        const gl = document.getElementById("screen").getContext("webgl2");
        const rgba = new Uint8Array(4);
        gl.readPixels(x, y, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, rgba);
        return [rgba[0], rgba[1], rgba[2]];
    }, x, y);
}

function assertColour(actual, expected, what) {
    const near = actual.every((value, i) => Math.abs(value - expected[i]) <= 3);
    assert.ok(near, `${what}: rgb(${actual}) instead of rgb(${expected})`);
}

async function escapeToTheStartScreen(page) {
    // Full screen, the browser's own Escape leaves it first.
    for (let press = 0; press < 2 && await page.evaluate(() => window.presentation.state) === "running"; press++) {
        await page.keyboard.press("Escape");
        await new Promise(resolve => setTimeout(resolve, 300));
    }
    await page.waitForFunction(() => window.presentation.state === "ready", {timeout: 5000});
}

test("the page loads everything, names no problem and offers to start", async () => {
    const {page, close} = await openSite(true);
    try {
        assert.equal(await page.$eval("h1", h => h.textContent), "KX 2007 Zandrel - Dwip This");
        assert.ok(await page.$eval("#start .click", e => getComputedStyle(e).visibility === "visible"));
        assert.deepEqual(await page.evaluate(() => window.presentation.problems), []);
    } finally {
        await close();
    }
});

test("a click starts the presentation, the pictures follow the music, Escape ends it", async () => {
    const {page, log, close} = await openSite(true);
    try {
        await page.click("#start");
        await waitForMusic(page, 2);
        assertColour(await pixel(page, 400, 300), Colours["qorlogo.jpg"], "the logo at 2 s");
        await page.screenshot({path: join(screenshots, "web-logo.png")});
        // The main section begins at 3235176 bytes (18.3 s) with the first flip frame.
        await waitForMusic(page, 19);
        assertColour(await pixel(page, 400, 300), Colours["Dwip1.png"], "the first flip frame at 19 s");
        await page.screenshot({path: join(screenshots, "web-flip.png")});
        await escapeToTheStartScreen(page);
        assert.equal(await page.evaluate(() => window.presentation.exitStatus), 0);
        assert.ok(await page.$eval("#stage", stage => !stage.classList.contains("open")), "the stage is closed");
        assert.ok(!log.some(line => line.startsWith("ERROR")), log.join("\n"));
    } finally {
        await close();
    }
});

test("without the music the program says so, then the pictures keep their timeline", async () => {
    const {page, log, close} = await openSite(false);
    try {
        const problems = await page.evaluate(() => window.presentation.problems);
        assert.match(problems.join("\n"), /data\/Fast\.mp3: missing or unreadable/);
        await page.click("#start");
        for (const text of ["Bass file loading failed!", "Music failed to play!"]) {
            await page.waitForFunction(expected => document.getElementById("box").classList.contains("open") &&
                                                   document.querySelector("#box .text").textContent === expected,
                                       {timeout: 20000}, text);
            assert.equal(await page.$eval("#box .caption", e => e.textContent), "ERROR");
            await page.click("#box button");
        }
        await page.waitForSelector("#box:not(.open)");
        assert.ok(log.includes("ERROR: Bass file loading failed!"), log.join("\n"));
        // The silent clock starts once the boxes are closed.
        const first = await page.evaluate(() => window.presentation.position);
        assert.ok(first < 0.5 * BytesPerSecond, `the clock stood at ${first} bytes after the boxes`);
        await waitForMusic(page, 19);
        assertColour(await pixel(page, 400, 300), Colours["Dwip1.png"], "the first flip frame at 19 s");
        await escapeToTheStartScreen(page);
    } finally {
        await close();
    }
});

test("a missing picture is named on the page and what lies behind it shows in its place", async () => {
    const {page, close} = await openSite(true, "qorlogo.jpg");
    try {
        const named = await page.$$eval("#problems li", items => items.map(item => item.textContent));
        assert.deepEqual(named, ["data/qorlogo.jpg: missing or unreadable; not shown"]);
        await page.click("#start");
        await waitForMusic(page, 2);
        assertColour(await pixel(page, 400, 300), [0, 0, 0], "the cleared screen where the logo would be at 2 s");
        await escapeToTheStartScreen(page);
    } finally {
        await close();
    }
});
