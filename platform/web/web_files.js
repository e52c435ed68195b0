// The page's files and dialogs around the program: kept games saved as .fgr
// files and opened from them (a picker, or dropped on the page), kept games
// deleted, the share dialog, the confirm and the passing notice that the
// backup (web_backup.js) uses too, and asking the browser to keep the page's
// storage. Its state is the one record `HandsetFiles`; web_library.js's
// Handset calls it. Nothing here reaches the program but its replay check and
// the focus a dialog takes (the game pauses as on the desktop).

mergeInto(LibraryManager.library, {
  $HandsetFiles__deps: ['$Handset', '$stringToNewUTF8', 'free'],
  $HandsetFiles: {
    // The longest replay text a link or a file may hold: a ten-minute game's
    // is some 5,000 to 13,000 characters (docs/web.md). Longer is refused at
    // once, before the program reads it.
    linkLimit: 131072,
    persistKey: 'fingulp:storage:persisted',  // the browser's answer: "granted" or "refused"
    folder: '/fingulp',
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
      on('replay-file', 'change', function(event) {
        var input = event.target, file = input.files[0];
        input.value = '';
        HandsetFiles.openReplayFile(file);
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
