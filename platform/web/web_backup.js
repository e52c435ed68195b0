// The player's data as one backup file: "Save my data" writes the program's
// files, the kept games and the player's controls into one JSON file;
// "Restore" checks such a file whole, lists what it holds and writes it all
// or nothing, then starts the page again. Its state is the one record
// `HandsetBackup`; web_files.js's dialogs show it, web_controls.js reads and
// checks the controls.

mergeInto(LibraryManager.library, {
  $HandsetBackup__deps: ['$Handset', '$HandsetFiles', '$HandsetWatch', '$HandsetControls', '$FS'],
  $HandsetBackup: {
    limit: 1048576,            // bytes of a backup file
    configLimit: 65536,        // bytes of a config.ini in one
    format: 'FINGULP backup',
    // Kept at 1: `controls` is a member the previous page ignores.
    version: 1,
    restoring: false,          // a backup is being put back: nothing else may write

    save: function() {
      var files = {};
      Handset.keptFiles.forEach(function(name) {
        try { files[name] = btoa(HandsetBackup.binary(FS.readFile(HandsetFiles.folder + '/' + name))); } catch (e) {}
      });
      var games = {};
      ['best', 'last'].forEach(function(which) {
        var game = HandsetWatch.kept(which);
        if (!game) return;
        games[which] = { replay: game.text, fish: game.fish || 0 };
        if (game.date) games[which].date = game.date;
      });
      var data = { format: HandsetBackup.format, version: HandsetBackup.version,
                   saved: new Date().toISOString(), files: files, games: games };
      var controls = HandsetControls.backupParts();
      if (Object.keys(controls).length) data.controls = controls;
      HandsetFiles.download(new TextEncoder().encode(JSON.stringify(data, null, 1)), 'application/json',
                            'fingulp-data-' + HandsetFiles.today() + '.json');
    },
    binary: function(bytes) {
      var s = '';
      for (var i = 0; i < bytes.length; i += 0x8000) s += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
      return s;
    },
    // A backup's contents, checked whole; throws the reason it is refused.
    read: function(text) {
      var data;
      try { data = JSON.parse(text); } catch (e) { throw new Error('it is damaged (not readable as a backup)'); }
      if (!data || typeof data !== 'object' || data.format !== HandsetBackup.format) throw new Error('it is not a FINGULP backup');
      if (data.version !== HandsetBackup.version) throw new Error('it is a backup of another kind (version ' + String(data.version).slice(0, 20) + ')');
      var files = data.files || {}, games = data.games || {}, out = { saved: data.saved, files: {}, games: {} };
      if (typeof files !== 'object' || typeof games !== 'object') throw new Error('it is damaged');
      Object.keys(files).forEach(function(name) {
        if (Handset.keptFiles.indexOf(name) < 0) throw new Error('it holds a file this page never keeps (' + name.slice(0, 40) + ')');
        var bytes;
        try { bytes = atob(files[name]); } catch (e) { throw new Error('its ' + name + ' is damaged'); }
        if (bytes.length > HandsetBackup.configLimit) throw new Error('its ' + name + ' is larger than any the program writes');
        out.files[name] = files[name];
      });
      ['best', 'last'].forEach(function(which) {
        var game = games[which];
        if (game === undefined) return;
        var why = game && typeof game === 'object' ? HandsetFiles.replayProblem(game.replay) : 'it is missing';
        if (why) throw new Error('its ' + which + ' game is damaged: ' + why);
        var fish = which === 'best' || game.fish !== undefined ? game.fish : null;
        if (fish !== null && (!Number.isInteger(fish) || fish < 0 || fish > 0x7FFFFFFF)) throw new Error('its ' + which + ' game\'s fish count is damaged');
        var date = game.date === undefined ? null : game.date;
        if (date !== null && (typeof date !== 'string' || date.length > 40 || isNaN(new Date(date)))) throw new Error('its ' + which + ' game\'s date is damaged');
        out.games[which] = { replay: game.replay, fish: fish, date: date };
      });
      // A backup saved before it carried the controls has none: the player's stay.
      out.controls = data.controls === undefined ? { values: {}, words: [] } : HandsetControls.readBackupParts(data.controls);
      if (!Object.keys(out.files).length && !Object.keys(out.games).length && !out.controls.words.length) {
        throw new Error('it holds nothing to restore');
      }
      return out;
    },
    restoreFile: function(file) {
      if (!file) return;
      if (file.size > HandsetBackup.limit) {
        HandsetFiles.refuse('This file cannot be restored: it is larger than any backup. Nothing changed.');
        return;
      }
      file.text().then(function(text) {
        var backup;
        try { backup = HandsetBackup.read(text); } catch (e) {
          HandsetFiles.refuse('This file cannot be restored: ' + e.message + '. Nothing changed.');
          return;
        }
        var items = [], saved = new Date(backup.saved);
        if (backup.files['config.ini']) items.push('Settings and best scores (config.ini, ' + atob(backup.files['config.ini']).length + ' bytes)');
        if (backup.files['config.ini.bak']) items.push('The copy of a damaged config.ini (config.ini.bak)');
        if (backup.games.best) items.push('Best game, ' + backup.games.best.fish + ' fish');
        if (backup.games.last) items.push('Last game' + (backup.games.last.fish === null ? '' : ', ' + backup.games.last.fish + ' fish'));
        if (backup.controls.words.length) items.push('Keys and touch keys: ' + backup.controls.words.join('; '));
        HandsetFiles.confirm('Restore this backup?', items,
          (isNaN(saved) ? '' : 'Saved ' + saved.toLocaleString() + '. ') +
          'It replaces what this browser keeps of the same kind, and the page starts again.', 'Restore',
          function() { HandsetBackup.apply(backup); });
      });
    },
    // Writes the backup in one step: a storage refusal half way puts back
    // every key as it was.
    apply: function(backup) {
      var keys = Handset.replayKeys, values = {};
      Object.keys(backup.files).forEach(function(name) { values[Handset.storagePrefix + HandsetFiles.folder + '/' + name] = backup.files[name]; });
      // A game's fish and date go with it: null removes the ones of the game it replaces.
      [['best', keys.best, keys.bestFish, keys.bestDate], ['last', keys.last, keys.lastFish, keys.lastDate]].forEach(function(k) {
        var game = backup.games[k[0]];
        if (!game) return;
        values[k[1]] = game.replay;
        values[k[2]] = game.fish === null ? null : String(game.fish);
        values[k[3]] = game.date;
      });
      Object.keys(backup.controls.values).forEach(function(key) { values[key] = backup.controls.values[key]; });
      var before = {};
      try {
        Object.keys(values).forEach(function(key) {
          before[key] = localStorage.getItem(key);
          if (values[key] === null) localStorage.removeItem(key);
          else localStorage.setItem(key, values[key]);
        });
      } catch (e) {
        Object.keys(before).forEach(function(key) {
          try { if (before[key] === null) localStorage.removeItem(key); else localStorage.setItem(key, before[key]); } catch (e2) {}
        });
        HandsetFiles.refuse('This browser refused to keep the backup (' + e.name + '). Nothing changed.');
        return;
      }
      // From here on the page writes nothing (a closing game would save over it).
      HandsetBackup.restoring = true;
      location.replace(location.pathname + location.search);
    },

    hook: function() {
      var byId = HandsetFiles.byId;
      byId('backup-save').addEventListener('click', HandsetBackup.save);
      byId('backup-restore').addEventListener('click', function() { byId('backup-file').click(); });
      byId('backup-file').addEventListener('change', function(event) {
        var input = event.target, file = input.files[0];
        input.value = '';
        HandsetBackup.restoreFile(file);
      });
    },
  },
});
