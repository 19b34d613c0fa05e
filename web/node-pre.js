// qvplay for Node: the fonts are the ones shipped beside this script, and the process's own
// environment reaches the program (the time zone, where the instance lock and the saves go).
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  for (var name in process.env) ENV[name] = process.env[name];
  ENV['QV_FONT_DIR'] = require('path').join(__dirname, 'fonts');
});
