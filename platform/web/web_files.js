// The page's files and dialogs around the program: kept games saved as .fgr
// files and opened from them (a picker, or dropped on the page), kept games
// deleted, the player's data saved as one backup file and restored from one,
// the share dialog, the passing notice, and asking the browser to keep the
// page's storage. Its state is the one record `HandsetFiles`; web_library.js's
// Handset calls it. Nothing here reaches the program but its replay check and
// the focus a dialog takes (the game pauses as on the desktop).

mergeInto(LibraryManager.library, {
  $HandsetFiles__deps: ['$Handset', '$FS', '$stringToNewUTF8', 'free'],
  $HandsetFiles: {
    // The longest replay text a link or a file may hold: a ten-minute game's
    // is some 5,000 to 13,000 characters (docs/web.md). Longer is refused at
    // once, before the program reads it.
    linkLimit: 131072,
    backupLimit: 1048576,      // bytes of a backup file
    configLimit: 65536,        // bytes of a config.ini in one
    backupFormat: 'FINGULP backup',
    backupVersion: 1,
    persistKey: 'fingulp:storage:persisted',  // the browser's answer: "granted" or "refused"
    folder: '/fingulp',
    restoring: false,          // a backup is being put back: nothing else may write
    storageWanted: false,      // something was saved: ask to keep storage at the next input
    toastTimer: null,
    toastMs: 4000,

    byId: function(id) { return document.getElementById(id); },

    // --- Replays as bytes and text (base64url without padding) ----------------------
    bytesToText: function(bytes) {
      var binary = '';
      for (var i = 0; i < bytes.length; i += 0x8000) binary += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
      return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
    },
    textToBytes: function(text) {
      var binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
      var bytes = new Uint8Array(binary.length);
      for (var i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
      return bytes;
    },
    // Empty when the program plays `text`, else its one-line reason.
    replayProblem: function(text) {
      if (typeof text !== 'string' || !text) return 'it holds no replay';
      if (text.length > HandsetFiles.linkLimit) return 'it is longer than any game\'s replay';
      var copy = stringToNewUTF8(text);
      var why = UTF8ToString(Module['_fingulp_replay_problem'](copy));
      _free(copy);
      return why;
    },
    // A link's replay longer than any game's: refused before the program
    // reads it, and taken out of the address so that nothing reads it again.
    refuseLongLink: function() {
      Handset.replayStatus('This replay cannot be played: the link is longer than any game\'s (over ' +
                           HandsetFiles.linkLimit + ' characters).');
      history.replaceState(null, '', location.pathname + location.search);
    },

    // --- The passing notice and dialogs ------------------------------------------------
    toast: function(text) {
      var toast = HandsetFiles.byId('toast');
      toast.textContent = text;
      clearTimeout(HandsetFiles.toastTimer);
      HandsetFiles.toastTimer = setTimeout(function() { toast.textContent = ''; }, HandsetFiles.toastMs);
    },
    dialogOpen: function() { return !!document.querySelector('dialog[open]'); },
    // A dialog takes the focus from the game (a game pauses, as when the
    // desktop window loses it) and gives it back when the last one closes.
    openDialog: function(dialog) {
      if (dialog.open) return;
      var first = !HandsetFiles.dialogOpen();
      dialog.showModal();
      if (first) HandsetFiles.gameFocus(false);
    },
    gameFocus: function(on) {
      if (!Handset.started || Handset.ended || document.hidden) return;
      Module['_fingulp_feed_focus'](on ? 1 : 0);
      Handset.wake();
    },
    confirm: function(title, items, text, yes, action) {
      var list = HandsetFiles.byId('confirm-list');
      HandsetFiles.byId('confirm-title').textContent = title;
      list.replaceChildren.apply(list, items.map(function(item) {
        var li = document.createElement('li');
        li.textContent = item;
        return li;
      }));
      HandsetFiles.byId('confirm-text').textContent = text;
      HandsetFiles.byId('confirm-yes').textContent = yes;
      HandsetFiles.confirmed = action;
      HandsetFiles.openDialog(HandsetFiles.byId('confirm-dialog'));
    },
    confirmed: null,
    download: function(bytes, type, name) {
      var url = URL.createObjectURL(new Blob([bytes], { type: type }));
      var a = document.createElement('a');
      a.href = url;
      a.download = name;
      document.body.appendChild(a);
      a.click();
      a.remove();
      setTimeout(function() { URL.revokeObjectURL(url); }, 10000);
    },
    today: function() { return new Date().toISOString().slice(0, 10); },
    // Says why a file changed nothing: in the open dialog, or as a notice.
    refuse: function(text) {
      if (HandsetFiles.byId('files-dialog').open) HandsetFiles.byId('files-message').textContent = text;
      else HandsetFiles.toast(text);
    },

    // --- Sharing --------------------------------------------------------------------
    // The share sheet where there is one, else the clipboard; when neither
    // works (or the sheet is cancelled), a dialog with the link to copy.
    share: function(link) {
      var dialog = function() { HandsetFiles.shareDialog(link); };
      if (navigator.share) {
        navigator.share({ title: 'A game of FINGULP', url: link }).catch(dialog);
      } else if (navigator.clipboard && navigator.clipboard.writeText) {
        navigator.clipboard.writeText(link).then(function() { HandsetFiles.toast('Link copied.'); }, dialog);
      } else {
        dialog();
      }
    },
    shareDialog: function(link) {
      var field = HandsetFiles.byId('share-link');
      field.value = link;
      HandsetFiles.byId('share-sheet').hidden = !navigator.share;
      HandsetFiles.openDialog(HandsetFiles.byId('share-dialog'));
      field.focus();
      field.select();
    },
    copyLink: function() {
      var field = HandsetFiles.byId('share-link'), dialog = HandsetFiles.byId('share-dialog');
      var copied = function() { dialog.close(); HandsetFiles.toast('Link copied.'); };
      var byHand = function() {
        field.focus();
        field.select();
        var ok = false;
        try { ok = document.execCommand('copy'); } catch (e) {}
        if (ok) copied();
        else HandsetFiles.toast('Select the link and copy it.');
      };
      if (navigator.clipboard && navigator.clipboard.writeText) navigator.clipboard.writeText(field.value).then(copied, byHand);
      else byHand();
    },

    // --- Kept games --------------------------------------------------------------------
    keptGames: function() {
      var games = [];
      var watched = Handset.watchedText !== null ? Handset.watchedText.slice(Handset.linkPrefix.length) : null;
      if (watched) games.push({ which: 'replay', name: 'This replay', text: watched });
      var best = Handset.storedReplay('best'), last = Handset.storedReplay('last');
      if (best) {
        var fish = Number(localStorage.getItem(Handset.replayKeys.bestFish)) || 0;
        games.push({ which: 'best', name: 'Best game, ' + fish + ' fish', text: best });
      }
      if (last) games.push({ which: 'last', name: 'Last game', text: last });
      return games;
    },
    showKeptGames: function() {
      var box = HandsetFiles.byId('kept-games');
      var games = HandsetFiles.keptGames();
      var rows = games.map(function(game) {
        var row = document.createElement('p'), name = document.createElement('span');
        name.textContent = game.name;
        row.appendChild(name);
        var button = function(text, label, action) {
          var b = document.createElement('button');
          b.type = 'button';
          b.textContent = text;
          b.setAttribute('aria-label', text + ': ' + label);
          b.addEventListener('click', action);
          row.appendChild(b);
        };
        button('Save as file', game.name, function() {
          HandsetFiles.download(HandsetFiles.textToBytes(game.text), 'application/x-fingulp-replay',
                                'fingulp-' + game.which + '-' + HandsetFiles.today() + '.fgr');
        });
        if (game.which !== 'replay') button('Delete', game.name, function() { HandsetFiles.askDelete(game); });
        return row;
      });
      if (!rows.length) {
        rows.push(document.createElement('p'));
        rows[0].textContent = 'No games kept yet.';
      }
      box.replaceChildren.apply(box, rows);
    },
    askDelete: function(game) {
      HandsetFiles.confirm('Delete this game?', [game.name], 'Its replay is removed from this browser.', 'Delete', function() {
        var keys = Handset.replayKeys;
        try {
          (game.which === 'best' ? [keys.best, keys.bestFish, keys.bestDate] : [keys.last, keys.lastFish, keys.lastDate])
            .forEach(function(key) { localStorage.removeItem(key); });
        } catch (e) {}
        HandsetWatch.showKept();
        HandsetFiles.showKeptGames();
      });
    },
    // A .fgr file (or any file): watched when the program plays it.
    openReplayFile: function(file) {
      if (!file) return;
      if (file.size > HandsetFiles.linkLimit * 3 / 4) {
        HandsetFiles.refuse('This file cannot be played: it is larger than any game\'s replay. Nothing changed.');
        return;
      }
      file.arrayBuffer().then(function(buffer) {
        var text = HandsetFiles.bytesToText(new Uint8Array(buffer));
        var why = HandsetFiles.replayProblem(text);
        if (why) {
          HandsetFiles.refuse('This file cannot be played: ' + why + '. Nothing changed.');
          return;
        }
        HandsetWatch.open(text);
      }, function(e) { HandsetFiles.refuse('This file cannot be read: ' + e.message); });
    },

    // --- The player's data: one backup file ------------------------------------------------
    backup: function() {
      var files = {};
      Handset.keptFiles.forEach(function(name) {
        try { files[name] = btoa(HandsetFiles.binary(FS.readFile(HandsetFiles.folder + '/' + name))); } catch (e) {}
      });
      var games = {};
      ['best', 'last'].forEach(function(which) {
        var game = HandsetWatch.kept(which);
        if (!game) return;
        games[which] = { replay: game.text, fish: game.fish || 0 };
        if (game.date) games[which].date = game.date;
      });
      var text = JSON.stringify({ format: HandsetFiles.backupFormat, version: HandsetFiles.backupVersion,
                                  saved: new Date().toISOString(), files: files, games: games }, null, 1);
      HandsetFiles.download(new TextEncoder().encode(text), 'application/json', 'fingulp-data-' + HandsetFiles.today() + '.json');
    },
    binary: function(bytes) {
      var s = '';
      for (var i = 0; i < bytes.length; i += 0x8000) s += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
      return s;
    },
    // A backup's contents, checked whole; throws the reason it is refused.
    readBackup: function(text) {
      var data;
      try { data = JSON.parse(text); } catch (e) { throw new Error('it is damaged (not readable as a backup)'); }
      if (!data || typeof data !== 'object' || data.format !== HandsetFiles.backupFormat) throw new Error('it is not a FINGULP backup');
      if (data.version !== HandsetFiles.backupVersion) throw new Error('it is a backup of another kind (version ' + String(data.version).slice(0, 20) + ')');
      var files = data.files || {}, games = data.games || {}, out = { saved: data.saved, files: {}, games: {} };
      if (typeof files !== 'object' || typeof games !== 'object') throw new Error('it is damaged');
      Object.keys(files).forEach(function(name) {
        if (Handset.keptFiles.indexOf(name) < 0) throw new Error('it holds a file this page never keeps (' + name.slice(0, 40) + ')');
        var bytes;
        try { bytes = atob(files[name]); } catch (e) { throw new Error('its ' + name + ' is damaged'); }
        if (bytes.length > HandsetFiles.configLimit) throw new Error('its ' + name + ' is larger than any the program writes');
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
      if (!Object.keys(out.files).length && !Object.keys(out.games).length) throw new Error('it holds nothing to restore');
      return out;
    },
    restoreFile: function(file) {
      if (!file) return;
      if (file.size > HandsetFiles.backupLimit) {
        HandsetFiles.refuse('This file cannot be restored: it is larger than any backup. Nothing changed.');
        return;
      }
      file.text().then(function(text) {
        var backup;
        try { backup = HandsetFiles.readBackup(text); } catch (e) {
          HandsetFiles.refuse('This file cannot be restored: ' + e.message + '. Nothing changed.');
          return;
        }
        var items = [], saved = new Date(backup.saved);
        if (backup.files['config.ini']) items.push('Settings and best scores (config.ini, ' + atob(backup.files['config.ini']).length + ' bytes)');
        if (backup.files['config.ini.bak']) items.push('The copy of a damaged config.ini (config.ini.bak)');
        if (backup.games.best) items.push('Best game, ' + backup.games.best.fish + ' fish');
        if (backup.games.last) items.push('Last game' + (backup.games.last.fish === null ? '' : ', ' + backup.games.last.fish + ' fish'));
        HandsetFiles.confirm('Restore this backup?', items,
          (isNaN(saved) ? '' : 'Saved ' + saved.toLocaleString() + '. ') +
          'It replaces what this browser keeps of the same kind, and the page starts again.', 'Restore',
          function() { HandsetFiles.applyBackup(backup); });
      });
    },
    applyBackup: function(backup) {
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
      HandsetFiles.restoring = true;
      location.replace(location.pathname + location.search);
    },

    // --- Storage that lasts -----------------------------------------------------------------
    // Once something worth keeping is saved (a game kept, or a file that
    // differs from the one the program wrote as it started), the next key or
    // touch asks the browser to keep the page's storage (some browsers ask the
    // player: never unprompted by them). The answer is kept under persistKey,
    // never asked again, and shown in "Files".
    startFiles: {},            // path -> what the program first wrote this visit
    saved: function(path, text) {
      if (path !== undefined && !(path in HandsetFiles.startFiles)) HandsetFiles.startFiles[path] = text;
      else if (path === undefined || HandsetFiles.startFiles[path] !== text) HandsetFiles.storageWanted = true;
    },
    keepStorage: function() {
      if (!HandsetFiles.storageWanted) return;
      HandsetFiles.storageWanted = false;
      var storage = navigator.storage;
      try { if (!storage || !storage.persist || localStorage.getItem(HandsetFiles.persistKey)) return; } catch (e) { return; }
      storage.persisted().then(function(kept) { return kept || storage.persist(); }).then(function(kept) {
        try { localStorage.setItem(HandsetFiles.persistKey, kept ? 'granted' : 'refused'); } catch (e) {}
      }, function() {});
    },
    showPersistence: function() {
      var answer = null;
      try { answer = localStorage.getItem(HandsetFiles.persistKey); } catch (e) {}
      HandsetFiles.byId('persistence').textContent = answer === 'granted' ? 'This browser keeps your data until you clear it.' :
        answer === 'refused' ? 'This browser may clear your data after a while without a visit: "Save my data" keeps a copy.' : '';
    },

    hook: function(folder) {
      HandsetFiles.folder = folder;
      var on = function(id, type, action) { HandsetFiles.byId(id).addEventListener(type, action); };
      var files = HandsetFiles.byId('files-dialog');
      on('files', 'click', function() {
        HandsetFiles.byId('files-message').textContent = '';
        HandsetFiles.showKeptGames();
        HandsetFiles.showPersistence();
        HandsetFiles.openDialog(files);
      });
      on('files-close', 'click', function() { files.close(); });
      on('open-replay', 'click', function() { HandsetFiles.byId('replay-file').click(); });
      on('backup-save', 'click', HandsetFiles.backup);
      on('backup-restore', 'click', function() { HandsetFiles.byId('backup-file').click(); });
      ['replay-file', 'backup-file'].forEach(function(id) {
        on(id, 'change', function(event) {
          var input = event.target, file = input.files[0];
          input.value = '';
          (id === 'replay-file' ? HandsetFiles.openReplayFile : HandsetFiles.restoreFile)(file);
        });
      });
      on('confirm-yes', 'click', function() {
        HandsetFiles.byId('confirm-dialog').close();
        var action = HandsetFiles.confirmed;
        HandsetFiles.confirmed = null;
        if (action) action();
      });
      on('confirm-no', 'click', function() { HandsetFiles.byId('confirm-dialog').close(); });
      on('share-copy', 'click', HandsetFiles.copyLink);
      on('share-close', 'click', function() { HandsetFiles.byId('share-dialog').close(); });
      on('share-sheet', 'click', function() {
        // Cancelled, the dialog stays as it was.
        navigator.share({ title: 'A game of FINGULP', url: HandsetFiles.byId('share-link').value })
          .then(function() { HandsetFiles.byId('share-dialog').close(); }, function() {});
      });
      document.querySelectorAll('dialog').forEach(function(dialog) {
        dialog.addEventListener('close', function() { if (!HandsetFiles.dialogOpen()) HandsetFiles.gameFocus(true); });
      });
      // A replay file dropped anywhere on the page.
      window.addEventListener('dragover', function(event) {
        if (event.dataTransfer && Array.prototype.indexOf.call(event.dataTransfer.types, 'Files') >= 0) event.preventDefault();
      });
      window.addEventListener('drop', function(event) {
        if (!event.dataTransfer || !event.dataTransfer.files.length) return;
        event.preventDefault();
        HandsetFiles.openReplayFile(event.dataTransfer.files[0]);
      });
    },
  },
});
