#!/usr/bin/env node
// Serves the site (build/web/site) on 127.0.0.1 for playing and testing locally, with the headers
// that make the page cross-origin isolated. Plain Node, no packages: node web/serve.js [--port N]
// [--root DIR].
'use strict';

const http = require('http');
const fs = require('fs');
const path = require('path');

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.zip': 'application/zip',
  '.ttf': 'font/ttf',
  '.json': 'application/json',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.txt': 'text/plain; charset=utf-8',
};

function option(name, fallback) {
  const at = process.argv.indexOf(name);
  return at >= 0 && at + 1 < process.argv.length ? process.argv[at + 1] : fallback;
}

const root = path.resolve(option('--root', path.join(__dirname, '..', 'build', 'web', 'site')));
const port = Number(option('--port', '8000'));
if (!Number.isInteger(port) || port < 0 || port > 65535) {
  console.error('serve.js: --port takes a port number');
  process.exit(2);
}

const server = http.createServer((request, response) => {
  const headers = {
    'Cross-Origin-Opener-Policy': 'same-origin',
    'Cross-Origin-Embedder-Policy': 'require-corp',
    'Cross-Origin-Resource-Policy': 'same-origin',
    'Cache-Control': 'no-cache',
  };
  let name;
  try {
    name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
  } catch (error) {
    response.writeHead(400, headers).end('bad request\n');
    return;
  }
  if (name.endsWith('/')) name += 'index.html';
  const file = path.join(root, path.normalize(name));
  if (file !== root && !file.startsWith(root + path.sep)) {
    response.writeHead(403, headers).end('forbidden\n');
    return;
  }
  if (request.method !== 'GET' && request.method !== 'HEAD') {
    response.writeHead(405, headers).end('method not allowed\n');
    return;
  }
  fs.stat(file, (error, stats) => {
    if (error || !stats.isFile()) {
      response.writeHead(404, {...headers, 'Content-Type': 'text/plain'}).end('not found\n');
      return;
    }
    headers['Content-Type'] = kTypes[path.extname(file).toLowerCase()] || 'application/octet-stream';
    headers['Content-Length'] = stats.size;
    response.writeHead(200, headers);
    if (request.method === 'HEAD') {
      response.end();
      return;
    }
    fs.createReadStream(file).pipe(response);
  });
});

server.on('error', (error) => {
  console.error(`serve.js: ${error.message}`);
  process.exit(1);
});
server.listen(port, '127.0.0.1', () => {
  console.log(`qvplay site: http://127.0.0.1:${server.address().port}/ (serving ${root})`);
});
