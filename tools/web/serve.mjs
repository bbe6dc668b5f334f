// A static file server for the web build: node serve.mjs FOLDER [PORT]
// Serves FOLDER on http://127.0.0.1:PORT/ (8080) until stopped.
import {createServer} from "node:http";
import {createReadStream, statSync} from "node:fs";
import {extname, join, normalize, resolve} from "node:path";

const root = resolve(process.argv[2] || ".");
const port = Number(process.argv[3] || 8080);
const types = {
    ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".mjs": "text/javascript",
    ".wasm": "application/wasm", ".png": "image/png", ".jpg": "image/jpeg", ".mp3": "audio/mpeg",
    ".css": "text/css", ".json": "application/json",
};

createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
    const file = normalize(join(root, path.endsWith("/") ? path + "index.html" : path));
    let size = -1;
    try {
        if (file.startsWith(root)) size = statSync(file).isFile() ? statSync(file).size : -1;
    } catch {}
    if (size < 0) {
        response.writeHead(404, {"Content-Type": "text/plain"});
        response.end("not found\n");
        return;
    }
    response.writeHead(200, {
        "Content-Type": types[extname(file).toLowerCase()] || "application/octet-stream",
        "Content-Length": size,
        "Cache-Control": "no-cache",
    });
    createReadStream(file).pipe(response);
}).listen(port, "127.0.0.1", () => {
    console.log(`Serving ${root} on http://127.0.0.1:${port}/ (Ctrl+C stops)`);
});
