// The page around the presentation: loads the music and the pictures from
// data/ beside it with a progress bar, says what failed, starts the program
// on a click (the browser allows sound and full screen only then), and
// stands in for its window's events and its message boxes.
"use strict";

const KeyDown = 0x0100, KeyUp = 0x0101, Activate = 0x0006, Size = 0x0005;
const Ok = 1, Yes = 6, No = 7;

const startScreen = document.getElementById("start");
const stage = document.getElementById("stage");
const canvas = document.getElementById("screen");
const box = document.getElementById("box");

// What the program's stand-in layers read and write (win32_web.cpp,
// bass_web.cpp, picture_loader_web.cpp); also what the tests look at.
const page = {
    state: "loading",  // loading, ready, running
    events: [],
    music: {path: "", context: null, buffer: null, source: null, origin: 0},
    pictures: new Map(),
    problems: [],
    position: 0,
    exitStatus: null,
    // When the run began and how many frames it has shown, for the benchmark.
    startedAt: 0,
    frames: 0,
    firstFrameAt: 0,
    frameShown() {
        if (page.frames++ === 0) page.firstFrameAt = performance.now();
    },
    openWindow,
    closeWindow,
    messageBox,
    ended,
};
window.presentation = page;

function moduleOptions() {
    return {
        canvas,
        page,
        print: text => console.log(text),
        printErr: text => console.error(text),
    };
}

function showProgress(done, total) {
    startScreen.querySelector("#progress div").style.width = `${Math.round(100 * done / total)}%`;
    startScreen.querySelector(".status").textContent = `Loading ${done} of ${total}`;
}

function tellProblem(text) {
    page.problems.push(text);
    const item = document.createElement("li");
    item.textContent = text;
    document.getElementById("problems").appendChild(item);
}

function isPictureFile(head) {
    const jpeg = head[0] === 0xFF && head[1] === 0xD8 && head[2] === 0xFF;
    const png = [0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A].every((byte, i) => head[i] === byte);
    return jpeg || png;
}

async function loadPicture(path) {
    const picture = {bitmap: null, problem: ""};
    page.pictures.set(path, picture);
    try {
        const response = await fetch(path);
        if (!response.ok) throw new Error("missing or unreadable");
        const blob = await response.blob();
        if (blob.size === 0) throw new Error("empty file");
        if (!isPictureFile(new Uint8Array(await blob.slice(0, 8).arrayBuffer()))) {
            throw new Error("not a PNG or JPEG picture");
        }
        try {
            // Upright by its EXIF orientation, its alpha as it is.
            picture.bitmap = await createImageBitmap(blob, {imageOrientation: "from-image", premultiplyAlpha: "none"});
        } catch (error) {
            throw new Error("could not be decoded");
        }
    } catch (error) {
        picture.problem = error.message;
        tellProblem(`${path}: ${error.message}; not shown`);
    }
}

async function loadMusic() {
    const music = page.music;
    try {
        music.context = new AudioContext({sampleRate: 44100});
    } catch (error) {
        tellProblem(`No sound: ${error.message}`);
        return;
    }
    try {
        const response = await fetch(music.path);
        if (!response.ok) throw new Error("missing or unreadable");
        music.buffer = await music.context.decodeAudioData(await response.arrayBuffer());
    } catch (error) {
        const why = error instanceof DOMException ? "not music the browser can play" : error.message;
        tellProblem(`${music.path}: ${why}; the pictures run on their timeline without sound`);
    }
}

async function load() {
    // The first instance of the program names the music and the pictures it will ask for.
    page.next = await createPresentation(moduleOptions());
    page.music.path = page.next.UTF8ToString(page.next._WebMusicPath());
    const paths = page.next.UTF8ToString(page.next._WebPicturePaths()).split("\n");
    const total = paths.length + 1;
    let done = 0;
    const step = () => showProgress(++done, total);
    showProgress(0, total);
    await Promise.all([loadMusic().then(step), ...paths.map(path => loadPicture(path).then(step))]);
    becomeReady();
}

function becomeReady() {
    page.state = "ready";
    startScreen.classList.add("ready");
    startScreen.querySelector(".status").textContent = "";
}

async function start() {
    if (page.state !== "ready") return;
    page.state = "running";
    page.exitStatus = null;
    page.startedAt = performance.now();
    page.frames = 0;
    if (page.music.context) await page.music.context.resume().catch(() => {});
    stage.classList.add("open");
    startScreen.style.display = "none";
    // Granted only now, after a click; where it is refused the program asks.
    // The whole page goes full screen, so that the message boxes show too.
    await document.documentElement.requestFullscreen().catch(() => {});
    const program = page.next || await createPresentation(moduleOptions());
    page.next = null;
    program.callMain([]);
}

// Each run is a fresh instance of the program: it starts as a process does.
function ended(status) {
    page.exitStatus = status;
    closeWindow();
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    if (page.music.source) page.music.source.stop();
    page.music.source = null;
    becomeReady();
}

function onKey(event) {
    page.events.push([event.type === "keydown" ? KeyDown : KeyUp, event.keyCode & 0xFF, 0]);
    if (event.key === "Escape" || event.key === " ") event.preventDefault();
}

// A hidden page is a minimised window; showing it again restores it. Focus
// going elsewhere is another application taking it: not minimised.
function onVisibility() {
    page.events.push([Activate, document.hidden ? 0x10000 : 1, 0]);
}

function onFocus(event) {
    page.events.push([Activate, event.type === "focus" ? 1 : 0, 0]);
}

// Full screen or not, the window's client area stays 800 x 600: the page scales it.
function onFullscreen() {
    page.events.push([Size, 0, (600 << 16) | 800]);
}

// What the window listens to while it is open: [target, event, handler].
const windowEvents = [
    [window, "keydown", onKey], [window, "keyup", onKey],
    [window, "focus", onFocus], [window, "blur", onFocus],
    [document, "visibilitychange", onVisibility],
    [document, "fullscreenchange", onFullscreen],
];

function openWindow() {
    stage.classList.add("open");
    startScreen.style.display = "none";
    for (const [target, name, handler] of windowEvents) target.addEventListener(name, handler);
}

function closeWindow() {
    for (const [target, name, handler] of windowEvents) target.removeEventListener(name, handler);
    page.events.length = 0;
    stage.classList.remove("open");
    startScreen.style.display = "";
}

// A modal box in the page: its caption, text and buttons; Enter answers with
// the first button, Escape with the last.
function messageBox(title, text, yesNo) {
    box.querySelector(".caption").textContent = title;
    box.querySelector(".text").textContent = text;
    const buttons = box.querySelector(".buttons");
    buttons.replaceChildren();
    const answers = yesNo ? [["Yes", Yes], ["No", No]] : [["OK", Ok]];
    box.classList.add("open");
    return new Promise(resolve => {
        const answer = value => {
            window.removeEventListener("keydown", onBoxKey, true);
            box.classList.remove("open");
            resolve(value);
        };
        const onBoxKey = event => {
            if (event.key === "Enter") answer(answers[0][1]);
            else if (event.key === "Escape") answer(answers[answers.length - 1][1]);
            else return;
            event.preventDefault();
            event.stopImmediatePropagation();
        };
        for (const [label, value] of answers) {
            const button = document.createElement("button");
            button.textContent = label;
            button.addEventListener("click", () => answer(value));
            buttons.appendChild(button);
        }
        window.addEventListener("keydown", onBoxKey, true);
        buttons.firstChild.focus();
    });
}

startScreen.addEventListener("click", start);
window.addEventListener("keydown", event => {
    if (event.key === "Enter" && page.state === "ready") start();
});
load().catch(error => tellProblem(`The presentation could not be loaded: ${error.message}`));
