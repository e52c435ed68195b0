// The web handset's JavaScript half: the page's keys, touch keys, gamepads,
// canvas, sound, vibrator, saved files and the one-copy rule, and the one
// suspension point of the program (see web.h). Its state is the one record
// `Handset`.
//
// DOM handlers report their input to the program first (web_backend.cpp's
// exports, which hand it to the handset layer's input rules) and only then
// wake a suspended wait: nothing may rewind while compiled code is on the stack.

mergeInto(LibraryManager.library, {
  // The clock and its alarms. Test builds replace this record with a
  // virtual clock driven by the test.
  $HandsetClock: {
    now: function() { return Math.floor(performance.now()); },
    // Calls `ring` once the clock reaches `deadline`; returns the cancel.
    alarm: function(deadline, ring) {
      var id = setTimeout(ring, Math.max(0, deadline - HandsetClock.now()));
      return function() { clearTimeout(id); };
    },
  },

  $Handset__deps: ['$HandsetClock', '$FS'],
  $Handset: {
    started: false,
    ended: false,
    screen: null,          // the canvas's 2D context, once the program shows a frame
    // The suspended program: how to wake it, whether it reads input (a
    // closing page can then save) or awaits an answer from the browser, and
    // the pending deadline's cancel.
    wakeUp: null,
    readingInput: false,
    asking: false,
    cancelAlarm: null,
    sources: null,         // Map: key source ("k:ArrowLeft", "p:3") -> its number for the program
    answer: -1,            // the last question's answer, -1 while pending
    lock: { state: 'none', release: null },
    channel: null,         // BroadcastChannel between tabs
    windowKey: null,       // "class\ttitle" once the window is published
    askingFor: null,       // the window key a second copy is looking for
    vibrating: false,
    // buffers: Map samples -> AudioBuffer; idle: the pending suspension;
    // refused: a sound was not allowed yet.
    audio: { context: null, buffers: null, playing: null, idle: null, refused: false },
    storagePrefix: 'fingulp:file:',
    saveWhenFree: false,   // hidden during a blocking wait: save once it ends

    // --- The suspension ---------------------------------------------------
    wake: function() {
      var wakeUp = Handset.wakeUp;
      if (!wakeUp) return;
      Handset.wakeUp = null;
      Handset.readingInput = Handset.asking = false;
      if (Handset.cancelAlarm) Handset.cancelAlarm();
      Handset.cancelAlarm = null;
      wakeUp();
    },

    // --- Saving while hidden -------------------------------------------------
    // Phones kill hidden pages without an unload: a page hidden while the
    // program reads input saves as the close button does and goes on; one
    // hidden during a blocking wait saves when the wait ends, if still hidden.
    // `reading`: whether the program reads input now. True when it fed the save.
    saveIfHidden: function(reading) {
      Handset.saveWhenFree = document.hidden && !reading;
      if (!document.hidden || !reading) return false;
      Module['_fingulp_feed_save']();
      return true;
    },

    // --- Keys ---------------------------------------------------------------
    // Keyboard keys by KeyboardEvent.code: a handset key code, or a soft key.
    // Escape and Backspace are the left soft key (BACK or MENU), as on the
    // desktop: the handset's own Back key is left to the shell, so no key gives it.
    keyOf: function(code) {
      var chosen = HandsetControls.keyOf(code);  // the player's own keys (web_controls.js)
      if (chosen !== undefined) return chosen;
      var named = { ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40,
                    Enter: 13, NumpadEnter: 13, Escape: 'left', Backspace: 'left',
                    F1: 'left', F2: 'right', Space: 0x20 };
      if (code in named) return named[code];
      var m = /^(?:Digit|Numpad)([0-9])$/.exec(code);
      if (m) return 0x30 + Number(m[1]);
      m = /^Key([A-Z])$/.exec(code);
      if (m) return m[1].charCodeAt(0);
      return null;
    },
    // The program knows key sources by number: keyboard keys get theirs when
    // first pressed, pointers theirs from their id.
    sourceOf: function(source) {
      if (source.charAt(0) === 'p') return 0x10000 + (Number(source.substring(2)) & 0xFFFF);
      if (!Handset.sources.has(source)) Handset.sources.set(source, Handset.sources.size + 1);
      return Handset.sources.get(source);
    },
    // A handset key or soft key went down at `source` (`repeat`: the
    // keyboard's auto-repeat); the handset layer decides what reaches the
    // program.
    press: function(source, key, repeat) {
      if (!Handset.started || Handset.ended || HandsetFiles.dialogOpen()) return;
      Handset.unlockAudio();
      HandsetFiles.keepStorage();
      if (key === 'left' || key === 'right') {
        Module['_fingulp_soft_key'](key === 'left' ? 1 : 0, repeat ? 1 : 0);
      } else {
        Module['_fingulp_key_down'](Handset.sourceOf(source), key, repeat ? 1 : 0);
      }
      Handset.wake();
    },
    release: function(source) {
      if (Handset.started && !Handset.ended) Module['_fingulp_key_up'](Handset.sourceOf(source));
    },
    releaseAll: function() {
      if (Handset.started && !Handset.ended) Module['_fingulp_release_keys']();
    },
    // A click or tap on the screen, at the handset's pixel under it: on the
    // caption band it is a soft key.
    tapScreen: function(event) {
      if (!Handset.started || Handset.ended) return;
      var canvas = event.currentTarget, box = canvas.getBoundingClientRect();
      var x = Math.floor((event.clientX - box.left) * canvas.width / box.width);
      var y = Math.floor((event.clientY - box.top) * canvas.height / box.height);
      if (!Module['_fingulp_tap'](x, y)) return;
      event.preventDefault();
      Handset.unlockAudio();
      Handset.wake();
    },

    // --- Gamepads -------------------------------------------------------------
    // As on the desktop: the d-pad and the left stick are the arrows, A the
    // action key, B and Back the left soft key, Start the right one. The
    // browser has no gamepad events but for plugging, so pads are read each
    // animation frame while one is connected and the page shows.
    pads: { polling: false, down: null },  // down: Set of sources pressed
    // Today's buttons; web_controls.js puts the player's in their place.
    padButtons: { 12: 38, 13: 40, 14: 37, 15: 39, 0: 13, 1: 'left', 8: 'left', 9: 'right' },
    // The stick counts as pushed beyond the first value and let go below the second.
    padStick: { pushed: 0.49, centred: 0.31 },
    pollPads: function() {
      var pads = Handset.pads, now = new Set(), connected = false;
      Array.prototype.forEach.call(navigator.getGamepads ? navigator.getGamepads() : [], function(pad) {
        if (!pad || !pad.connected || pad.mapping !== 'standard') return;
        connected = true;
        var tag = 'g:' + pad.index + ':';
        Object.keys(Handset.padButtons).forEach(function(b) {
          if (pad.buttons[b] && pad.buttons[b].pressed) now.add(tag + b);
        });
        [[0, -1, 37], [0, 1, 39], [1, -1, 38], [1, 1, 40]].forEach(function(d) {
          var value = (pad.axes[d[0]] || 0) * d[1], source = tag + 'a' + d[2];
          if (value >= Handset.padStick.pushed || (pads.down.has(source) && value >= Handset.padStick.centred)) now.add(source);
        });
      });
      pads.down.forEach(function(source) { if (!now.has(source)) Handset.release(source); });
      now.forEach(function(source) {
        if (pads.down.has(source)) return;
        var which = source.split(':')[2];
        Handset.press(source, which[0] === 'a' ? Number(which.substring(1)) : Handset.padButtons[which], false);
      });
      pads.down = now;
      pads.polling = connected && !document.hidden && !Handset.ended;
      if (pads.polling) requestAnimationFrame(Handset.pollPads);
    },
    watchPads: function() {
      Handset.pads.down = new Set();
      var start = function() {
        if (Handset.pads.polling) return;
        Handset.pads.polling = true;
        requestAnimationFrame(Handset.pollPads);
      };
      window.addEventListener('gamepadconnected', start);
      document.addEventListener('visibilitychange', function() { if (!document.hidden) start(); });
    },

    // --- Sound ----------------------------------------------------------------
    // No sound device runs while nothing plays: the audio context is made at
    // the first sound the program plays (never while Sound is off), once the
    // browser allows sound (after a key or a touch; until then sounds are
    // skipped), and it is suspended when a sound has ended and no other
    // followed for a moment (resuming costs a little delay, so not at once).
    audioLingerMs: 1000,
    // The context, resumed if suspended; null while sound is not allowed.
    audioContext: function() {
      var a = Handset.audio, Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) return null;
      if (!a.context) {
        if (navigator.userActivation && !navigator.userActivation.hasBeenActive) { a.refused = true; return null; }
        a.context = new Context();
      }
      if (a.idle) clearTimeout(a.idle);
      a.idle = null;
      if (a.context.state !== 'running') {  // suspended, or interrupted by the phone
        a.context.resume().catch(function() { a.refused = true; });
      }
      return a.context;
    },
    // Some browsers start sound only within a key's or touch's handler: a
    // sound refused before is allowed on the next one.
    unlockAudio: function() {
      var a = Handset.audio;
      if (!a.refused) return;
      a.refused = false;
      if (Handset.audioContext()) Handset.audioIdle();
    },
    audioIdle: function() {
      var a = Handset.audio;
      if (!a.context || a.idle) return;
      a.idle = setTimeout(function() {
        a.idle = null;
        if (!a.playing && a.context.state === 'running') a.context.suspend();
      }, Handset.audioLingerMs);
    },
    // Interleaved PCM samples (8-bit unsigned or 16-bit little-endian, as the
    // program read them from the wave) as an AudioBuffer.
    pcmBuffer: function(bytes, channels, rate, bits) {
      var view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
      var step = bits / 8 * channels, frames = bytes.length / step;
      var buffer = Handset.audio.context.createBuffer(channels, frames, rate);
      for (var ch = 0; ch < channels; ++ch) {
        var out = buffer.getChannelData(ch);
        for (var i = 0; i < frames; ++i) {
          var p = i * step + ch * bits / 8;
          out[i] = bits === 8 ? (bytes[p] - 128) / 128 : view.getInt16(p, true) / 32768;
        }
      }
      return buffer;
    },
    // A phone that suspended the page (another app) may have stopped the
    // context: it runs again when the page shows.
    resumeAudio: function() {
      var a = Handset.audio;
      if (!a.context || a.context.state === 'running' || a.context.state === 'closed') return;
      a.context.resume().then(Handset.audioIdle, function() { a.refused = true; });
    },
    stopSound: function() {
      var a = Handset.audio;
      if (a.playing) {
        try { a.playing.stop(); } catch (e) {}
        a.playing = null;
      }
      Handset.audioIdle();
    },

    vibrate: function(on) {
      if (!navigator.vibrate || on === Handset.vibrating) return;
      if (on && navigator.userActivation && !navigator.userActivation.hasBeenActive) return;
      Handset.vibrating = on;
      navigator.vibrate(on ? 10000 : 0);
    },

    // --- Saved files --------------------------------------------------------------
    // Files the program writes are kept whole in local storage (base64), so
    // they outlive the page; they are put back before the program starts.
    // Only the program's own files are read back: config.ini and the copy of
    // a damaged one kept beside it, nothing else under the prefix.
    keptFiles: ['config.ini', 'config.ini.bak'],
    mirrorFile: function(path) {
      if (HandsetBackup.restoring) return;
      try {
        var bytes = FS.readFile(path), text = '';
        for (var i = 0; i < bytes.length; i += 0x8000) {
          text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
        }
        text = btoa(text);
        localStorage.setItem(Handset.storagePrefix + path, text);
        HandsetFiles.saved(path, text);
      } catch (e) {
        Handset.storageRefused('could not keep ' + path + ': ' + e);
      }
    },
    restoreFiles: function(folder) {
      FS.mkdirTree(folder);
      Handset.keptFiles.forEach(function(name) {
        var path = folder + '/' + name, text;
        try {
          text = localStorage.getItem(Handset.storagePrefix + path);
        } catch (e) {
          Handset.storageRefused('has no storage: ' + e);  // blocked: a first start every time
          return;
        }
        if (text === null) return;
        try {
          text = atob(text);
          var bytes = new Uint8Array(text.length);
          for (var j = 0; j < text.length; ++j) bytes[j] = text.charCodeAt(j);
          FS.writeFile(path, bytes);
        } catch (e) {
          console.warn('FINGULP could not read back ' + path + ': ' + e);
        }
      });
    },
    // Storage the browser refuses (blocked, full): the game plays on and the
    // player is told once, on the line under the screen.
    storageRefused: function(why) {
      console.warn('FINGULP ' + why);
      var notice = document.getElementById('storage-notice'), keysLine = document.getElementById('keys-line');
      if (!notice || !notice.hidden) return;
      notice.hidden = false;
      if (keysLine) keysLine.hidden = true;
    },

    // --- One running copy ------------------------------------------------------------
    // The marker is a Web Lock held while the page lives; the window is found
    // through a BroadcastChannel where the first copy answers.
    askMarker: function(name) {
      if (!navigator.locks) { Handset.answer = 0; return; }  // no locks: nothing to share
      Handset.lock.state = 'asking';
      navigator.locks.request('fingulp.' + name, { ifAvailable: true }, function(lock) {
        if (!lock) {
          Handset.lock.state = 'taken';
          Handset.answer = 1;
          Handset.wake();
          return undefined;
        }
        Handset.lock.state = 'held';
        Handset.answer = 0;
        Handset.wake();
        return new Promise(function(release) { Handset.lock.release = release; });
      }).catch(function() {
        Handset.answer = 2;
        Handset.wake();
      });
    },
    openChannel: function() {
      if (Handset.channel || typeof BroadcastChannel === 'undefined') return Handset.channel;
      Handset.channel = new BroadcastChannel('fingulp');
      Handset.channel.onmessage = function(event) {
        var m = event.data || {};
        if (m.find !== undefined && Handset.windowKey !== null && m.find === Handset.windowKey && !Handset.ended) {
          Handset.channel.postMessage({ found: m.find });
        } else if (m.found !== undefined && m.found === Handset.askingFor) {
          Handset.askingFor = null;
          Handset.answer = 1;
          Handset.wake();
        } else if (m.raise && Handset.windowKey !== null) {
          window.focus();
        }
      };
      return Handset.channel;
    },
    askWindow: function(key) {
      var channel = Handset.openChannel();
      if (!channel) { Handset.answer = 0; return; }
      Handset.askingFor = key;
      channel.postMessage({ find: key });
    },

    // --- Replays ----------------------------------------------------------------------------
    // The best and the last game, as the text of a link's fragment (after
    // the program's prefix), kept in local storage with their fish and date
    // (web_watch.js shows them and the watch screen).
    replayKeys: { best: 'fingulp:replay:best', bestFish: 'fingulp:replay:best-fish', bestDate: 'fingulp:replay:best-date',
                  last: 'fingulp:replay:last', lastFish: 'fingulp:replay:last-fish', lastDate: 'fingulp:replay:last-date' },
    watchedText: null,     // the replay from the link, while one is watched
    linkPrefix: '',        // what comes before the text in a link: the program says
    storedReplay: function(which) {
      try { return localStorage.getItem(Handset.replayKeys[which]); } catch (e) { return null; }
    },
    linkTo: function(text) { return location.origin + location.pathname + '#' + Handset.linkPrefix + text; },
    replayStatus: function(text) {
      var status = document.getElementById('replay-status');
      if (status) status.textContent = text;
    },

    // --- The page -------------------------------------------------------------------------
    // The end and second-tab notices: a dialog that takes the focus (its
    // button, so that Enter starts again) and is announced.
    notice: function(text, offerRestart) {
      var box = document.getElementById('notice');
      if (!box) return;
      document.getElementById('notice-text').textContent = text;
      var restart = document.getElementById('restart');
      restart.hidden = !offerRestart;
      box.hidden = false;
      (offerRestart ? restart : box).focus();
    },
    // Keys the focused control takes: a page button its Enter and Space, a
    // field every key. The touch keys are the game's own.
    aimedElsewhere: function(event) {
      var target = event.target, tag = target && target.tagName;
      if (tag === 'INPUT' || tag === 'TEXTAREA' || tag === 'SELECT') return true;
      return (tag === 'BUTTON' || tag === 'A') && !target.hasAttribute('data-key') &&
             (event.code === 'Enter' || event.code === 'NumpadEnter' || event.code === 'Space');
    },
    hookTouchKeys: function() {
      document.querySelectorAll('[data-key]').forEach(function(button) {
        var key = button.getAttribute('data-key');
        key = key === 'left' || key === 'right' ? key : Number(key);
        button.addEventListener('pointerdown', function(event) {
          event.preventDefault();
          try { button.setPointerCapture(event.pointerId); } catch (e) {}
          button.classList.add('down');
          Handset.press('p:' + event.pointerId, key, false);
        });
        var lift = function(event) {
          button.classList.remove('down');
          Handset.release('p:' + event.pointerId);
        };
        ['pointerup', 'pointercancel', 'lostpointercapture'].forEach(function(type) {
          button.addEventListener(type, lift);
        });
        button.addEventListener('contextmenu', function(event) { event.preventDefault(); });
      });
    },
    hookPage: function() {
      var canvas = document.getElementById('screen');
      if (canvas) canvas.addEventListener('pointerdown', Handset.tapScreen);
      window.addEventListener('keydown', function(event) {
        // Once the program has ended the keys are the page's (Enter on "Start again").
        // An open dialog keeps its keys; a watched replay takes its own.
        if (Handset.ended || HandsetFiles.dialogOpen()) return;
        if (HandsetWatch.watching()) { HandsetWatch.key(event); return; }
        var key = Handset.keyOf(event.code);
        if (key === null || event.ctrlKey || event.metaKey || event.altKey || Handset.aimedElsewhere(event)) return;
        event.preventDefault();
        Handset.press('k:' + event.code, key, event.repeat);
      });
      window.addEventListener('keyup', function(event) { Handset.release('k:' + event.code); });
      // Key-ups never come while another window has the keyboard.
      window.addEventListener('blur', Handset.releaseAll);
      document.addEventListener('visibilitychange', function() {
        Handset.releaseAll();
        if (!document.hidden) Handset.resumeAudio();
        if (!Handset.started || Handset.ended) return;
        Module['_fingulp_feed_focus'](document.hidden ? 0 : 1);
        Handset.saveIfHidden(Handset.readingInput);
        Handset.wake();
      });
      // A page closed while the program reads input saves, as the desktop's
      // close button does; during a blocking wait it cannot.
      window.addEventListener('pagehide', function() {
        if (!Handset.started || Handset.ended || !Handset.readingInput) return;
        Module['_fingulp_feed_close']();
        Handset.wake();
      });
      // Back from the back/forward cache: a fresh start.
      window.addEventListener('pageshow', function(event) {
        if (event.persisted) location.reload();
        else Handset.resumeAudio();
      });
      var restart = document.getElementById('restart');
      if (restart) restart.addEventListener('click', function() { location.reload(); });
      // (The page lays itself out before the program starts: index.html.)
      Handset.hookTouchKeys();
      Handset.watchPads();
      HandsetWatch.hook();
    },
  },

  fingulp_now__deps: ['$HandsetClock'],
  fingulp_now: function() { return HandsetClock.now(); },

  fingulp_suspend__deps: ['$Handset', '$HandsetClock'],
  fingulp_suspend: function(deadline, why) {
    // A save owed since the page hid: fed instead of suspending, so the
    // program handles it at once.
    if (why === 1 && Handset.saveWhenFree && !Handset.ended && Handset.saveIfHidden(true)) return;
    Asyncify.handleSleep(function(wakeUp) {
      Handset.wakeUp = wakeUp;
      Handset.readingInput = why === 1;  // kFingulpReadingInput (web.h)
      Handset.asking = why === 2;        // kFingulpAsking
      if (deadline >= 0) Handset.cancelAlarm = HandsetClock.alarm(deadline, Handset.wake);
    });
  },

  fingulp_page_start__deps: ['$Handset', '$HandsetFiles', '$HandsetWatch', '$HandsetControls', '$HandsetBackup'],
  fingulp_page_start: function(folder) {
    // (The record above is written out as text: live objects are made here.)
    Handset.sources = new Map();
    Handset.audio.buffers = new Map();
    Handset.restoreFiles(UTF8ToString(folder));
    Handset.hookPage();
    HandsetFiles.hook(UTF8ToString(folder));
    HandsetControls.hook();
    HandsetBackup.hook();
    Handset.started = true;
  },

  fingulp_page_end__deps: ['$Handset'],
  fingulp_page_end: function() {
    Handset.ended = true;
    Handset.stopSound();
    Handset.vibrate(false);
    if (Handset.lock.release) Handset.lock.release();
    if (Handset.lock.state === 'taken') {
      Handset.notice('FINGULP is already open in another tab.', true);
    } else {
      Handset.notice('FINGULP has ended.', true);
    }
  },

  fingulp_present__deps: ['$Handset'],
  fingulp_present: function(rgba, width, height) {
    if (!Handset.screen) {
      var canvas = document.getElementById('screen');
      if (!canvas) return;
      Handset.screen = canvas.getContext('2d');
    }
    var image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width, height);
    Handset.screen.putImageData(image, 0, 0);
  },

  fingulp_play_sound__deps: ['$Handset'],
  fingulp_play_sound: function(samples, bytes, channels, rate, bits) {
    var a = Handset.audio;
    Handset.stopSound();
    if (!samples || !Handset.audioContext()) return;  // stopped, or not yet allowed: skipped
    var buffer = a.buffers.get(samples);
    if (buffer === undefined) {
      buffer = Handset.pcmBuffer(HEAPU8.slice(samples, samples + bytes), channels, rate, bits);
      a.buffers.set(samples, buffer);
    }
    var source = a.context.createBufferSource();
    source.buffer = buffer;
    source.connect(a.context.destination);
    source.onended = function() {
      if (a.playing !== source) return;
      a.playing = null;
      Handset.audioIdle();
    };
    source.start();
    a.playing = source;
  },

  fingulp_stop_sound__deps: ['$Handset'],
  fingulp_stop_sound: function() { Handset.stopSound(); },

  // The handset vibrates until it is told to stop; browsers cap one call at
  // 10 s and refuse it (with a console error) before the first tap or key.
  fingulp_vibrate__deps: ['$Handset'],
  fingulp_vibrate: function(on) { Handset.vibrate(on !== 0); },

  fingulp_message__deps: ['$Handset'],
  fingulp_message: function(text, caption) {
    alert(UTF8ToString(caption) + '\n\n' + UTF8ToString(text));
  },

  fingulp_file_written__deps: ['$Handset', '$HandsetBackup'],
  fingulp_file_written: function(path) { Handset.mirrorFile(UTF8ToString(path)); },

  fingulp_ask_marker__deps: ['$Handset'],
  fingulp_ask_marker: function(name) {
    Handset.answer = -1;
    Handset.askMarker(UTF8ToString(name));
  },

  fingulp_ask_window__deps: ['$Handset'],
  fingulp_ask_window: function(key) {
    Handset.answer = -1;
    Handset.askWindow(UTF8ToString(key));
  },

  fingulp_answer__deps: ['$Handset'],
  fingulp_answer: function() { return Handset.answer; },

  fingulp_publish_window__deps: ['$Handset'],
  fingulp_publish_window: function(key) {
    Handset.windowKey = UTF8ToString(key);
    Handset.openChannel();
    // A page opened in the background starts unfocused.
    if (document.hidden) {
      Module['_fingulp_feed_focus'](0);
    }
  },

  fingulp_bring_to_front__deps: ['$Handset'],
  fingulp_bring_to_front: function() {
    if (Handset.channel) Handset.channel.postMessage({ raise: true });
  },

  // The link's fragment never reaches a server: the replay travels in it.
  fingulp_replay_fragment__deps: ['$Handset', '$HandsetFiles', '$HandsetWatch', '$stringToNewUTF8'],
  fingulp_replay_fragment: function(prefix) {
    Handset.linkPrefix = UTF8ToString(prefix);
    var fragment = location.hash.slice(1);
    if (fragment.indexOf(Handset.linkPrefix) !== 0) return 0;
    if (fragment.length > Handset.linkPrefix.length + HandsetFiles.linkLimit) {
      HandsetFiles.refuseLongLink();
      HandsetWatch.pageHash = location.hash;
      HandsetWatch.refused();
      return 0;
    }
    Handset.watchedText = fragment;
    return stringToNewUTF8(fragment);
  },

  fingulp_keep_replay__deps: ['$Handset', '$HandsetFiles', '$HandsetWatch', '$HandsetBackup'],
  fingulp_keep_replay: function(text, fish) {
    var keys = Handset.replayKeys;
    if (HandsetBackup.restoring) return;
    text = UTF8ToString(text);
    try {
      var date = new Date().toISOString();
      localStorage.setItem(keys.last, text);
      localStorage.setItem(keys.lastFish, String(fish));
      localStorage.setItem(keys.lastDate, date);
      var best = Number(localStorage.getItem(keys.bestFish));
      if (!localStorage.getItem(keys.best) || !(fish <= best)) {
        localStorage.setItem(keys.best, text);
        localStorage.setItem(keys.bestFish, String(fish));
        localStorage.setItem(keys.bestDate, date);
      }
      HandsetFiles.saved();
    } catch (e) {
      console.warn('FINGULP: this game\'s replay is not kept: ' + e);
    }
    HandsetWatch.showKept();
  },

  fingulp_replay_refused__deps: ['$Handset', '$HandsetWatch'],
  fingulp_replay_refused: function(why) {
    why = UTF8ToString(why);
    console.warn('FINGULP: ' + why);
    HandsetWatch.refused();
    Handset.replayStatus(why);
  },

  // state: 1 waiting, 2 playing, 3 ended (plat::replay::Watch); the times in
  // the program's ms from the game's start, the departure -1 for none.
  fingulp_watch_shown__deps: ['$HandsetWatch'],
  fingulp_watch_shown: function(state, paused, speed, elapsedMs, totalMs, departureMs) {
    HandsetWatch.show(state, paused, speed, elapsedMs, totalMs, departureMs);
  },
});
