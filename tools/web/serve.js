// A static file server on 127.0.0.1 and the Chromium options for the card's
// page, shared by the browser test (tests/web) and the benchmark (bench/web).
'use strict';

const fs = require('fs');
const http = require('http');
const path = require('path');

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.css': 'text/css', '.png': 'image/png', '.data': 'application/octet-stream', '.txt': 'text/plain',
};

// Serves each folder below its address prefix ('/', '/test/', ...) on a free
// port; resolves to the server and its origin. Nothing outside a folder is served.
function serveFolders(roots) {
  const prefixes = Object.keys(roots).sort((a, b) => b.length - a.length);
  const server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://127.0.0.1');
    const prefix = prefixes.find((p) => url.pathname.startsWith(p));
    const root = prefix && path.resolve(roots[prefix]);
    const file = root && path.join(root, decodeURIComponent(url.pathname.slice(prefix.length)) || 'index.html');
    if (!file || !file.startsWith(root) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () =>
    resolve({server, origin: 'http://127.0.0.1:' + server.address().port})));
}

// Debian's Chromium, headless, with nothing that reaches for the network.
function chromiumOptions(userDataDir, env) {
  return {
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir,
    env: env || process.env,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--disable-dev-shm-usage'],
  };
}

module.exports = {serveFolders, chromiumOptions};
