// qvplay's page: loads the chosen game (the sample until the player opens another), starts the
// program on the player's click, fits the canvas to the window, turns a long touch into the
// right click that opens the system menu, and moves saves in and out as .zip archives.
'use strict';

(function() {
  var canvas = document.getElementById('canvas');
  var stage = document.getElementById('stage');
  var overlay = document.getElementById('overlay');
  var startButton = document.getElementById('start');
  var statusLine = document.getElementById('status');
  var frameWidth = 640;  // the game's frame, from its instance file
  var frameHeight = 480;
  var kLongPressMs = 600;

  var qv = window.qv = {
    state: 'loading',
    start: start,
    openFiles: openFiles,
    exportSaves: exportSaves,
    importSaves: importSaves,
    frame: frame,
  };
  var gameName = '';
  var instanceName = '';  // the game's InstanceName: its saves' key
  var scale = 1;
  var runtimeReady = false;

  function setState(state, text) {
    qv.state = state;
    document.body.dataset.state = state;
    if (text !== undefined) say(text);
  }
  function say(text) { statusLine.textContent = text; }
  function fail(text) {
    setState('error', text);
    overlay.hidden = false;
    startButton.textContent = text;
    startButton.disabled = true;
  }

  // ---- Cross-origin isolation: the program's threads share memory, which browsers allow only
  // to isolated pages. Where the server does not send the headers, sw.js adds them; the page is
  // loaded once more when it first takes control.
  async function isolate() {
    if (window.crossOriginIsolated) {
      sessionStorage.removeItem('qvplay-isolating');
      return true;
    }
    if (!('serviceWorker' in navigator) || !window.isSecureContext) return false;
    await navigator.serviceWorker.register('sw.js');
    if (sessionStorage.getItem('qvplay-isolating')) return false;  // tried once already
    sessionStorage.setItem('qvplay-isolating', '1');
    if (navigator.serviceWorker.controller) {
      location.reload();
    } else {
      navigator.serviceWorker.addEventListener('controllerchange', function() { location.reload(); });
    }
    return new Promise(function() {});  // the reload ends this page
  }

  // ---- The chosen game, kept in IndexedDB across the reload that opens it.
  function database() {
    return new Promise(function(resolve, reject) {
      var request = indexedDB.open('qvplay-site', 1);
      request.onupgradeneeded = function() { request.result.createObjectStore('games'); };
      request.onsuccess = function() { resolve(request.result); };
      request.onerror = function() { reject(request.error); };
    });
  }
  async function stored(mode, work) {
    var db = await database();
    return new Promise(function(resolve, reject) {
      var transaction = db.transaction('games', mode);
      var request = work(transaction.objectStore('games'));
      transaction.oncomplete = function() { db.close(); resolve(request.result); };
      transaction.onerror = function() { db.close(); reject(transaction.error); };
    });
  }
  function loadChosenGame() { return stored('readonly', function(s) { return s.get('chosen'); }); }
  function keepChosenGame(game) { return stored('readwrite', function(s) { return s.put(game, 'chosen'); }); }
  function forgetChosenGame() { return stored('readwrite', function(s) { return s.delete('chosen'); }); }

  // The files below the shallowest folder that holds a game (a .ist or .qv file), paths made
  // relative to it; an archive or a folder often wraps the game in a folder of its own.
  function gameFiles(files) {
    var root = null;
    files.forEach(function(file) {
      if (!/\.(ist|qv)$/i.test(file.path)) return;
      var folder = file.path.slice(0, file.path.lastIndexOf('/') + 1);
      if (root === null || folder.length < root.length) root = folder;
    });
    if (root === null) throw new Error('there is no game here (no .ist or .qv file)');
    return files.filter(function(file) { return file.path.startsWith(root); })
        .map(function(file) { return {path: file.path.slice(root.length), data: file.data}; });
  }

  // The frame size and the instance name in the game's instance file (.ist, code page 932 text).
  function readInstanceFile(files) {
    var instance = files.find(function(file) { return /^[^/]*\.ist$/i.test(file.path); });
    if (!instance) return;
    var text = new TextDecoder('shift_jis').decode(instance.data);
    var name = /InstanceName\s*=\s*"([^"\r\n]*)/i.exec(text);
    if (name && name[1]) instanceName = name[1];
    var width = /WindowWidth\s*=\s*"?(\d+)/i.exec(text);
    var height = /WindowHeight\s*=\s*"?(\d+)/i.exec(text);
    if (width && height && +width[1] > 0 && +height[1] > 0) {
      frameWidth = +width[1];
      frameHeight = +height[1];
    }
  }

  async function readFile(file) { return new Uint8Array(await file.arrayBuffer()); }

  // `files`: one .zip, or a folder's files (their webkitRelativePath, or qvPath from a drop).
  async function openFiles(files) {
    files = Array.from(files);
    var name;
    var entries;
    if (files.length === 1 && /\.zip$/i.test(files[0].name)) {
      name = files[0].name.replace(/\.zip$/i, '');
      entries = await QvZip.read(await files[0].arrayBuffer());
    } else {
      entries = [];
      for (var i = 0; i < files.length; ++i) {
        var path = files[i].qvPath || files[i].webkitRelativePath || files[i].name;
        entries.push({path: path, data: await readFile(files[i])});
      }
      name = entries.length ? entries[0].path.split('/')[0] : '';
    }
    var game = gameFiles(entries);
    await keepChosenGame({name: name, files: game});
    setTimeout(function() { location.reload(); }, 0);
  }

  async function openSample() {
    await forgetChosenGame();
    location.reload();
  }

  // ---- Saves. The program says where the running game's saves are (Module.qvSaveFolder); the
  // page remembers it per game for the time before the game runs again.
  function saveFolderKey() { return 'qvplay-save-folder:' + instanceName; }
  function saveFolder() {
    return (window.Module && Module.qvSaveFolder) || localStorage.getItem(saveFolderKey());
  }

  function listFolder(fs, folder, prefix, out) {
    fs.readdir(folder).forEach(function(entry) {
      if (entry === '.' || entry === '..') return;
      var path = folder + '/' + entry;
      if (fs.isDir(fs.stat(path).mode)) {
        listFolder(fs, path, prefix + entry + '/', out);
      } else {
        out.push({path: prefix + entry, data: fs.readFile(path)});
      }
    });
    return out;
  }

  async function exportSaves() {
    var folder = saveFolder();
    var files = [];
    if (folder && runtimeReady && Module.qvFS.analyzePath(folder).exists) {
      files = listFolder(Module.qvFS, folder, '', []);
    }
    return QvZip.write(files);
  }

  function checkSavedGame(data) {
    var at = Module._malloc(Math.max(1, data.length));
    Module.HEAPU8.set(data, at);
    var folder = Module._malloc(8);
    Module.HEAPU8.set([47, 103, 97, 109, 101, 0], folder);  // "/game"
    var answer = Module._qv_check_saved_game(folder, at, data.length);
    Module._free(at);
    Module._free(folder);
    var text = Module.UTF8ToString(answer);
    Module._free(answer);
    return text;
  }

  async function importSaves(file) {
    try {
      var folder = saveFolder();
      if (!runtimeReady || !folder) {
        return {ok: false, message: 'Start this game once before importing its saves.'};
      }
      var entries = await QvZip.read(await file.arrayBuffer());
      var files = entries.map(function(entry) {
        return {name: entry.path.split('/').pop(), data: entry.data};
      }).filter(function(entry) { return entry.name !== ''; });
      if (!files.length) return {ok: false, message: 'The archive holds no saves.'};
      // Every saved game is checked before anything is replaced.
      for (var i = 0; i < files.length; ++i) {
        if (!/\.sav$/i.test(files[i].name)) continue;
        var problem = checkSavedGame(files[i].data);
        if (problem) {
          return {ok: false, message: files[i].name + ' is not a saved game of this engine (' +
                                      problem + '); nothing was imported.'};
        }
      }
      var fs = Module.qvFS;
      Module.qvMakeParents(folder + '/x');
      if (!fs.analyzePath(folder).exists) fs.mkdir(folder);
      files.forEach(function(entry) {
        var target = folder + '/' + entry.name;
        var temporary = target + '.import';
        fs.writeFile(temporary, entry.data);
        fs.rename(temporary, target);
      });
      await Module.qvSyncSaves();
      return {ok: true, message: files.length + ' file(s) imported.'};
    } catch (error) {
      return {ok: false, message: 'The saves could not be imported: ' + error.message};
    }
  }

  function download(blob, name) {
    var link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function() { URL.revokeObjectURL(link.href); }, 10000);
  }

  // ---- The canvas: its pixels are the frame times a whole scale; the page stretches it to the
  // stage keeping the aspect.
  function chooseScale() {
    var box = stage.getBoundingClientRect();
    return Math.max(1, Math.floor(Math.min(box.width / frameWidth, box.height / frameHeight)));
  }
  function fit() {
    var box = stage.getBoundingClientRect();
    if (!canvas.width || !canvas.height || !box.width || !box.height) return;
    var k = Math.min(box.width / canvas.width, box.height / canvas.height);
    canvas.style.width = Math.floor(canvas.width * k) + 'px';
    canvas.style.height = Math.floor(canvas.height * k) + 'px';
  }
  new ResizeObserver(fit).observe(stage);
  new MutationObserver(fit).observe(canvas, {attributes: true, attributeFilter: ['width', 'height']});

  // The current frame as RGBA bytes at the frame's own size.
  function frame() {
    var width = Math.floor(canvas.width / scale);
    var height = Math.floor(canvas.height / scale);
    var copy = document.createElement('canvas');
    copy.width = width;
    copy.height = height;
    var context = copy.getContext('2d');
    context.imageSmoothingEnabled = false;
    context.drawImage(canvas, 0, 0, width, height);
    return Promise.resolve(new Uint8Array(context.getImageData(0, 0, width, height).data.buffer));
  }

  // The right button opens the system menu, not the browser's menu.
  stage.addEventListener('contextmenu', function(event) { event.preventDefault(); });

  // Touch: a tap is a left click, a long press a right click. Taken before SDL's own touch
  // handling sees it, so a long press does not also advance the text.
  var touch = null;
  function sendMouse(type, button, x, y) {
    canvas.dispatchEvent(new MouseEvent(type, {bubbles: true, cancelable: true, clientX: x,
                                               clientY: y, button: button,
                                               buttons: type === 'mouseup' ? 0 : 1 << button}));
  }
  stage.addEventListener('touchstart', function(event) {
    if (event.target !== canvas || qv.state !== 'running') return;
    event.preventDefault();
    event.stopPropagation();
    var point = event.changedTouches[0];
    var current = touch = {x: point.clientX, y: point.clientY, long: false};
    sendMouse('mousemove', 0, current.x, current.y);
    current.timer = setTimeout(function() {
      current.long = true;
      sendMouse('mousedown', 2, current.x, current.y);
      sendMouse('mouseup', 2, current.x, current.y);
    }, kLongPressMs);
  }, {capture: true, passive: false});
  stage.addEventListener('touchmove', function(event) {
    if (!touch) return;
    event.preventDefault();
    event.stopPropagation();
    var point = event.changedTouches[0];
    if (Math.hypot(point.clientX - touch.x, point.clientY - touch.y) > 10) clearTimeout(touch.timer);
    touch.x = point.clientX;
    touch.y = point.clientY;
    sendMouse('mousemove', 0, touch.x, touch.y);
  }, {capture: true, passive: false});
  function endTouch(event) {
    if (!touch) return;
    event.preventDefault();
    event.stopPropagation();
    clearTimeout(touch.timer);
    if (!touch.long && event.type === 'touchend') {
      sendMouse('mousedown', 0, touch.x, touch.y);
      sendMouse('mouseup', 0, touch.x, touch.y);
    }
    touch = null;
  }
  stage.addEventListener('touchend', endTouch, {capture: true, passive: false});
  stage.addEventListener('touchcancel', endTouch, {capture: true, passive: false});

  // ---- Opening games: buttons and drag and drop.
  function guarded(work) {
    return function() {
      Promise.resolve().then(work).catch(function(error) { say('Error: ' + error.message); });
    };
  }
  // The bar's buttons take no focus from a click, so the keys the game reads (Enter, Space)
  // never press the last button clicked.
  document.querySelectorAll('#bar button').forEach(function(button) {
    button.addEventListener('mousedown', function(event) { event.preventDefault(); });
  });
  var zipInput = document.getElementById('zip-input');
  var folderInput = document.getElementById('folder-input');
  var importInput = document.getElementById('import-input');
  document.getElementById('open-zip').onclick = function() { zipInput.click(); };
  document.getElementById('open-folder').onclick = function() { folderInput.click(); };
  document.getElementById('import').onclick = function() { importInput.click(); };
  document.getElementById('sample').onclick = guarded(openSample);
  document.getElementById('export').onclick = guarded(async function() {
    download(await exportSaves(), (gameName || 'game') + '-saves.zip');
  });
  zipInput.onchange = guarded(function() { say('Opening…'); return openFiles(zipInput.files); });
  folderInput.onchange = guarded(function() { say('Opening…'); return openFiles(folderInput.files); });
  importInput.onchange = guarded(async function() {
    var result = await importSaves(importInput.files[0]);
    importInput.value = '';
    say(result.message);
  });

  // A dropped folder's files, each with its path below the drop in qvPath.
  async function entryFiles(entry, out) {
    if (entry.isFile) {
      var file = await new Promise(function(resolve, reject) { entry.file(resolve, reject); });
      file.qvPath = entry.fullPath.replace(/^\//, '');
      out.push(file);
    } else if (entry.isDirectory) {
      var reader = entry.createReader();
      for (;;) {
        var batch = await new Promise(function(resolve, reject) { reader.readEntries(resolve, reject); });
        if (!batch.length) break;
        for (var i = 0; i < batch.length; ++i) await entryFiles(batch[i], out);
      }
    }
    return out;
  }
  document.addEventListener('dragover', function(event) {
    event.preventDefault();
    document.body.classList.add('dragging');
  });
  document.addEventListener('dragleave', function(event) {
    if (!event.relatedTarget) document.body.classList.remove('dragging');
  });
  document.addEventListener('drop', function(event) {
    event.preventDefault();
    document.body.classList.remove('dragging');
    var entries = Array.from(event.dataTransfer.items)
        .map(function(item) { return item.webkitGetAsEntry && item.webkitGetAsEntry(); })
        .filter(Boolean);
    guarded(async function() {
      say('Opening…');
      var files = [];
      for (var i = 0; i < entries.length; ++i) await entryFiles(entries[i], files);
      if (!files.length) files = Array.from(event.dataTransfer.files);
      await openFiles(files);
    })();
  });

  // ---- Starting.
  function start() {
    if (qv.state !== 'ready') return;
    overlay.hidden = true;
    setState('running', gameName);
    canvas.focus();
    Module.callMain(['--scale', String(scale), '/game']);
  }
  startButton.onclick = start;

  async function fetchBytes(url) {
    var response = await fetch(url);
    if (!response.ok) throw new Error(url + ': ' + response.status);
    return new Uint8Array(await response.arrayBuffer());
  }

  async function load() {
    if (!(await isolate())) {
      fail('This page needs a browser with SharedArrayBuffer (cross-origin isolation); ' +
           'serve it over HTTPS or from localhost.');
      return;
    }
    say('Loading…');
    // The program downloads and compiles while the game and the fonts arrive; it waits for them
    // before main could run (web/page-pre.js).
    var site = readSite();
    window.Module = {
      canvas: canvas,
      noInitialRun: true,
      qvSite: site,
      print: function(text) { console.log(text); },
      printErr: function(text) { console.warn(text); },
      qvOnSaveFolder: function(folder) { localStorage.setItem(saveFolderKey(), folder); },
      onRuntimeInitialized: function() {
        runtimeReady = true;
        if (qv.state !== 'loading') return;
        startButton.textContent = 'Click to start';
        startButton.disabled = false;
        setState('ready', gameName);
      },
      onExit: function(code) {
        setState('exited', gameName + ': ended (' + code + ')');
        overlay.hidden = false;
        startButton.textContent = 'Play again';
        startButton.onclick = function() { location.reload(); };
      },
      onAbort: function(what) { fail('The program stopped: ' + what); },
    };
    var script = document.createElement('script');
    script.src = 'qvplay.js';
    script.onerror = function() { fail('qvplay.js could not be loaded'); };
    document.body.appendChild(script);
    site.catch(function(error) { fail('Error: ' + error.message); });
  }

  // The game (the one the player chose, else the sample) and the fonts, for the file system.
  async function readSite() {
    var fonts = Promise.all(['ipag.ttf', 'ipagp.ttf'].map(async function(name) {
      return {name: name, data: await fetchBytes('fonts/' + name)};
    }));
    var chosen = await loadChosenGame().catch(function() { return null; });
    var game;
    if (chosen) {
      gameName = chosen.name;
      game = chosen.files;
    } else {
      gameName = 'sample';
      game = gameFiles(await QvZip.read((await fetchBytes('sample.zip')).buffer));
    }
    instanceName = gameName;
    readInstanceFile(game);
    scale = chooseScale();
    // One tab at a time per game, as the engine's instance lock allows one process: two pages
    // would each copy their own view of the saves over the other's.
    if (navigator.locks) {
      var held = await new Promise(function(resolve) {
        navigator.locks.request('qvplay-game:' + instanceName, {ifAvailable: true}, function(lock) {
          resolve(!!lock);
          return lock ? new Promise(function() {}) : null;  // kept while the page lives
        });
      });
      if (!held) throw new Error('This game is already open in another tab or window; close it there first.');
    }
    return {game: game, fonts: await fonts, saveKey: instanceName};
  }

  startButton.disabled = true;
  load().catch(function(error) { fail('Error: ' + error.message); });
})();
