// qvplay's page side inside the program's script: before main runs, the game and the fonts the
// page fetches (Module.qvSite, a promise) go into the in-memory file system and the game's
// IndexedDB mount for its saves is loaded; afterwards the program asks for the mount to be
// copied back after every write.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  addRunDependency('qv-site');
  Module['qvSite'].then(function(site) {
    qvInstallSite(site);
    removeRunDependency('qv-site');
  });
});

function qvInstallSite(site) {
  function makeParents(path) {
    var parts = path.split('/');
    for (var i = 2; i < parts.length; ++i) {
      var dir = parts.slice(0, i).join('/');
      if (!FS.analyzePath(dir).exists) FS.mkdir(dir);
    }
  }
  ENV['QV_FONT_DIR'] = '/fonts';
  FS.mkdir('/fonts');
  site.fonts.forEach(function(font) { FS.writeFile('/fonts/' + font.name, font.data); });
  FS.mkdir('/game');
  site.game.forEach(function(file) {
    makeParents('/game/' + file.path);
    FS.writeFile('/game/' + file.path, file.data);
  });
  // The game's own database: syncfs copies a whole mount, so a page playing another game
  // never writes over this one's saves.
  var saves = '/saves/' + encodeURIComponent(site.saveKey);
  makeParents(saves + '/x');
  ENV['XDG_DATA_HOME'] = saves;
  FS.mount(IDBFS, {}, saves);
  addRunDependency('qv-saves');
  FS.syncfs(true, function(error) {
    if (error) console.warn('qvplay: the saved games could not be read back:', error);
    removeRunDependency('qv-saves');
  });

  // One copy at a time: a request during a copy asks for one more after it, and every caller
  // waiting then is answered by that next copy.
  var running = false;
  var waiting = [];
  function copy() {
    running = true;
    var answering = waiting;
    waiting = [];
    FS.syncfs(false, function(error) {
      if (error) console.warn('qvplay: the saved games could not be stored:', error);
      answering.forEach(function(done) { done(error); });
      running = false;
      if (waiting.length) copy();
    });
  }
  Module['qvSyncSaves'] = function() {
    return new Promise(function(resolve, reject) {
      waiting.push(function(error) { error ? reject(error) : resolve(); });
      if (!running) copy();
    });
  };
  Module['qvRequestSaveSync'] = function() { Module['qvSyncSaves']().catch(function() {}); };
  Module['qvFS'] = FS;
  Module['qvMakeParents'] = makeParents;
}
