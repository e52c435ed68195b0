// The player's controls: the keyboard keys and gamepad buttons of each
// handset key, the touch keys' size and side, and sticky arrows, set in the
// "Keys" panel and kept in local storage. Its state is the one record
// `HandsetControls`; web_library.js's Handset asks it which handset key a
// keyboard key gives, and reads the gamepad's buttons from it. Sticky arrows
// reach the program's input rules through one export. "Save my data"
// (web_backup.js) carries the three parts through backupParts and readBackupParts.

mergeInto(LibraryManager.library, {
  $HandsetControls__deps: ['$Handset', '$HandsetFiles'],
  $HandsetControls: {
    // One storage key for each part, so that a damaged one costs only itself.
    storageKeys: { keys: 'fingulp:controls:keys', touch: 'fingulp:controls:touch', sticky: 'fingulp:controls:sticky' },
    // The handset keys as the page reports them (web_library.js's press).
    handsetKeys: [['up', 'Up', 38], ['down', 'Down', 40], ['left', 'Left', 37], ['right', 'Right', 39],
                  ['action', 'Action key', 13], ['left-soft', 'Left soft key', 'left'], ['right-soft', 'Right soft key', 'right']],
    // Today's keys (KeyboardEvent.code) and standard-mapping buttons; the
    // left stick always steers.
    todaysKeys: { up: ['ArrowUp'], down: ['ArrowDown'], left: ['ArrowLeft'], right: ['ArrowRight'],
                  action: ['Enter', 'NumpadEnter'], 'left-soft': ['F1', 'Escape', 'Backspace'], 'right-soft': ['F2'] },
    todaysButtons: { up: [12], down: [13], left: [14], right: [15], action: [0], 'left-soft': [1, 8], 'right-soft': [9] },
    // Keys the page and the browser keep: Tab moves between the page's
    // controls; keys held with Ctrl, Alt or the system key are the browser's
    // shortcuts (the page never reads them); F5, F11 and F12 reload, go full
    // screen and open the developer tools.
    pageKeys: { Tab: 'Tab moves between the page\'s controls', F5: 'F5 reloads the page',
                F11: 'F11 is the browser\'s full screen', F12: 'F12 is the browser\'s developer tools' },
    buttonCount: 16,           // 16, the Home button, is the system's
    buttonNames: ['A', 'B', 'X', 'Y', 'LB', 'RB', 'LT', 'RT', 'Back', 'Start', 'Left stick', 'Right stick',
                  'D-pad up', 'D-pad down', 'D-pad left', 'D-pad right'],
    sizes: ['small', 'medium', 'large'],
    hands: ['right', 'left'],
    bindings: null,            // { keys: name -> [codes], buttons: name -> [buttons] }
    capturing: null,           // the handset key waiting for its new key, or null
    padsHeld: null,            // buttons held as a capture began: they do not count

    byId: function(id) { return document.getElementById(id); },
    copy: function(value) { return JSON.parse(JSON.stringify(value)); },
    todays: function() { return { keys: HandsetControls.copy(HandsetControls.todaysKeys), buttons: HandsetControls.copy(HandsetControls.todaysButtons) }; },
    nameOf: function(name) {
      return HandsetControls.handsetKeys.filter(function(k) { return k[0] === name; })[0][1];
    },
    // A key by its label on a US keyboard, as the browser's code names it.
    keyName: function(code) {
      var m = /^Key([A-Z])$/.exec(code) || /^Digit([0-9])$/.exec(code);
      if (m) return m[1];
      m = /^Arrow(Up|Down|Left|Right)$/.exec(code);
      if (m) return m[1] + ' arrow';
      return code.replace(/^Numpad/, 'Keypad ').replace(/([a-z])([A-Z0-9])/g, '$1 $2');
    },
    buttonName: function(button) { return 'Gamepad ' + HandsetControls.buttonNames[button]; },
    // Why `code` cannot be bound, or ''.
    keptKey: function(code) {
      if (code in HandsetControls.pageKeys) return HandsetControls.pageKeys[code] + ': it cannot be bound.';
      if (/^(Control|Alt|Meta|OS)(Left|Right)?$/.test(code)) return HandsetControls.keyName(code) + ' makes the browser\'s shortcuts: it cannot be bound.';
      return '';
    },

    // --- Kept bindings -----------------------------------------------------------
    // A stored record, checked whole: any fault (not JSON, an unknown name, a
    // key that is no key, one the page keeps, one bound twice, a handset key
    // without a keyboard key) throws its reason.
    readBindings: function(text) { return HandsetControls.checkBindings(JSON.parse(text)); },
    checkBindings: function(data) {
      var out = { keys: {}, buttons: {} }, seen = {};
      if (!data || typeof data !== 'object' || data.version !== 1) throw new Error('not a record of keys');
      ['keys', 'buttons'].forEach(function(part) {
        var given = data[part];
        if (!given || typeof given !== 'object' || Array.isArray(given)) throw new Error('no ' + part);
        Object.keys(given).forEach(function(name) {
          if (!Object.prototype.hasOwnProperty.call(HandsetControls.todaysKeys, name)) throw new Error('an unknown handset key');
        });
        HandsetControls.handsetKeys.forEach(function(k) {
          var list = given[k[0]];
          if (!Array.isArray(list) || list.length > 8) throw new Error('a damaged list for ' + k[0]);
          list.forEach(function(item) {
            var fine = part === 'keys' ? typeof item === 'string' && /^[A-Za-z0-9]{1,24}$/.test(item) && !HandsetControls.keptKey(item)
                                       : Number.isInteger(item) && item >= 0 && item < HandsetControls.buttonCount;
            if (!fine) throw new Error('a key that cannot be bound');
            if (seen[part + item]) throw new Error('a key bound twice');
            seen[part + item] = true;
          });
          if (part === 'keys' && !list.length) throw new Error(k[0] + ' without a key');
          out[part][k[0]] = list.slice();
        });
      });
      return out;
    },
    loadBindings: function() {
      var text = null;
      try { text = localStorage.getItem(HandsetControls.storageKeys.keys); } catch (e) {}
      HandsetControls.bindings = HandsetControls.todays();
      if (text === null) return '';
      try {
        HandsetControls.bindings = HandsetControls.readBindings(text);
        return '';
      } catch (e) {
        // Kept as it is (nothing is lost) until the player sets a key.
        console.warn('FINGULP: the kept keys are damaged (' + e.message + '): using today\'s keys');
        return 'The keys kept in this browser were damaged: today\'s keys are in use.';
      }
    },
    keep: function(part, value) {
      try {
        localStorage.setItem(HandsetControls.storageKeys[part], value);
      } catch (e) {
        HandsetControls.say('This browser refused to keep this (' + e.name + '): it lasts until the page closes.');
      }
    },
    record: function(b) { return { version: 1, keys: b.keys, buttons: b.buttons }; },
    keepBindings: function() {
      HandsetControls.keep('keys', JSON.stringify(HandsetControls.record(HandsetControls.bindings)));
      HandsetControls.apply();
    },
    // The gamepad's buttons for Handset.pollPads.
    apply: function() {
      var pad = {};
      HandsetControls.handsetKeys.forEach(function(k) {
        HandsetControls.bindings.buttons[k[0]].forEach(function(b) { pad[b] = k[2]; });
      });
      Handset.padButtons = pad;
    },

    // --- What a key gives (web_library.js's keyOf) ----------------------------------
    // The handset key `code` is bound to; null for one of today's keys the
    // player took away; undefined for any other key (today's meaning: digits, letters).
    keyOf: function(code) {
      var b = HandsetControls.bindings, found;
      if (!b) return undefined;
      HandsetControls.handsetKeys.forEach(function(k) {
        if (found === undefined && b.keys[k[0]].indexOf(code) >= 0) found = k[2];
      });
      if (found !== undefined) return found;
      for (var name in HandsetControls.todaysKeys) if (HandsetControls.todaysKeys[name].indexOf(code) >= 0) return null;
      return undefined;
    },

    // --- The panel ------------------------------------------------------------------
    say: function(text) { HandsetControls.byId('keys-message').textContent = text; },
    showBindings: function() {
      var list = HandsetControls.byId('keys-list'), b = HandsetControls.bindings;
      list.replaceChildren.apply(list, HandsetControls.handsetKeys.map(function(k) {
        var row = document.createElement('div'), label = document.createElement('span');
        row.className = 'keys-row';
        row.setAttribute('role', 'group');
        label.id = 'keys-name-' + k[0];
        label.textContent = k[1];
        row.setAttribute('aria-labelledby', label.id);
        row.appendChild(label);
        var button = function(text, aria, action, cls) {
          var el = document.createElement('button');
          el.type = 'button';
          el.textContent = text;
          el.className = cls;
          el.setAttribute('aria-label', aria);
          el.addEventListener('click', action);
          row.appendChild(el);
        };
        b.keys[k[0]].forEach(function(code) {
          var name = HandsetControls.keyName(code);
          button(name + ' \u00d7', 'Remove ' + name + ' from ' + k[1], function() { HandsetControls.unbind(k[0], 'keys', code); }, 'keys-chip');
        });
        b.buttons[k[0]].forEach(function(pad) {
          var name = HandsetControls.buttonName(pad);
          button(name + ' \u00d7', 'Remove ' + name + ' from ' + k[1], function() { HandsetControls.unbind(k[0], 'buttons', pad); }, 'keys-chip');
        });
        button('Add\u2026', 'Add a key or gamepad button for ' + k[1], function() { HandsetControls.capture(k[0]); }, 'keys-add');
        return row;
      }));
    },
    unbind: function(name, part, item) {
      var list = HandsetControls.bindings[part][name];
      if (part === 'keys' && list.length === 1) {
        HandsetControls.say(HandsetControls.nameOf(name) + ' keeps at least one keyboard key: add another first.');
        return;
      }
      list.splice(list.indexOf(item), 1);
      HandsetControls.keepBindings();
      HandsetControls.showBindings();
      HandsetControls.say((part === 'keys' ? HandsetControls.keyName(item) : HandsetControls.buttonName(item)) +
                          ' no longer gives ' + HandsetControls.nameOf(name) + '.');
      HandsetControls.focusAdd(name);
    },
    // The list is drawn anew: the focus goes back to the handset key's "Add…".
    focusAdd: function(name) {
      HandsetControls.byId('keys-list').querySelector('[aria-labelledby="keys-name-' + name + '"] .keys-add').focus();
    },
    // "Press a key for Up…": the next key or gamepad button is Up's, unless
    // it is refused; Escape (or closing the panel) gives up.
    capture: function(name) {
      HandsetControls.capturing = name;
      HandsetControls.padsHeld = HandsetControls.padButtonsDown();
      HandsetControls.say('Press a key for ' + HandsetControls.nameOf(name) + '\u2026 (or a gamepad button; Escape: none)');
      requestAnimationFrame(HandsetControls.pollCapture);
    },
    stopCapture: function(text) {
      HandsetControls.capturing = null;
      if (text !== undefined) HandsetControls.say(text);
    },
    // Binds `item` (a code or a button) to the handset key being captured, or says why not.
    take: function(part, item) {
      var name = HandsetControls.capturing, b = HandsetControls.bindings;
      var label = part === 'keys' ? HandsetControls.keyName(item) : HandsetControls.buttonName(item);
      var kept = part === 'keys' ? HandsetControls.keptKey(item) : '';
      if (kept) return HandsetControls.stopCapture(kept + ' Nothing changed.');
      var owner = HandsetControls.handsetKeys.filter(function(k) { return b[part][k[0]].indexOf(item) >= 0; })[0];
      if (owner) {
        return HandsetControls.stopCapture(label + (owner[0] === name ? ' is already ' : ' is bound already, to ') + owner[1] +
                                           (owner[0] === name ? '\'s.' : ': remove it there first.') + ' Nothing changed.');
      }
      b[part][name].push(item);
      HandsetControls.keepBindings();
      HandsetControls.showBindings();
      HandsetControls.stopCapture(label + ' now gives ' + HandsetControls.nameOf(name) + '.');
      HandsetControls.focusAdd(name);
    },
    onCaptureKey: function(event) {
      if (!HandsetControls.capturing) return;
      event.preventDefault();
      event.stopPropagation();
      if (event.repeat) return;
      if (event.code === 'Escape') HandsetControls.stopCapture('Nothing changed.');
      else if (event.code) HandsetControls.take('keys', event.code);
    },
    padButtonsDown: function() {
      var down = new Set();
      Array.prototype.forEach.call(navigator.getGamepads ? navigator.getGamepads() : [], function(pad) {
        if (!pad || !pad.connected || pad.mapping !== 'standard') return;
        for (var b = 0; b < HandsetControls.buttonCount; ++b) if (pad.buttons[b] && pad.buttons[b].pressed) down.add(b);
      });
      return down;
    },
    pollCapture: function() {
      if (!HandsetControls.capturing) return;
      var now = HandsetControls.padButtonsDown(), pressed = null;
      now.forEach(function(b) { if (pressed === null && !HandsetControls.padsHeld.has(b)) pressed = b; });
      HandsetControls.padsHeld = now;
      if (pressed !== null) HandsetControls.take('buttons', pressed);
      else requestAnimationFrame(HandsetControls.pollCapture);
    },
    reset: function() {
      HandsetControls.bindings = HandsetControls.todays();
      HandsetControls.keepBindings();
      HandsetControls.showBindings();
      HandsetControls.stopCapture('Today\'s keys are back.');
    },

    // --- Touch keys and sticky arrows ---------------------------------------------
    // index.html reads the touch keys' fit before the first paint (body
    // classes keys-SIZE and hand-HAND) and lays the page out again at a resize.
    touchFit: function() {
      var body = document.body, fit = { size: 'medium', hand: 'right' };
      HandsetControls.sizes.forEach(function(s) { if (body.classList.contains('keys-' + s)) fit.size = s; });
      if (body.classList.contains('hand-left')) fit.hand = 'left';
      return fit;
    },
    setTouchFit: function(size, hand) {
      var body = document.body;
      HandsetControls.sizes.forEach(function(s) { body.classList.toggle('keys-' + s, s === size); });
      HandsetControls.hands.forEach(function(h) { body.classList.toggle('hand-' + h, h === hand); });
      HandsetControls.keep('touch', size + ' ' + hand);
      dispatchEvent(new Event('resize'));  // laid out again around the keys
    },
    stickyArrows: function() {
      try { return localStorage.getItem(HandsetControls.storageKeys.sticky) === 'on'; } catch (e) { return false; }
    },
    setSticky: function(on) {
      Module['_fingulp_set_sticky_arrows'](on ? 1 : 0);
      HandsetControls.keep('sticky', on ? 'on' : 'off');
    },

    // --- The controls in a backup (web_backup.js) ----------------------------------
    // Each part kept now and sound, as a backup holds it: the keys as their
    // record, the touch keys' fit and sticky arrows as their stored words. A
    // damaged part stays out: a backup never carries it to another browser.
    backupParts: function() {
      var parts = {};
      Object.keys(HandsetControls.storageKeys).forEach(function(part) {
        try {
          var text = localStorage.getItem(HandsetControls.storageKeys[part]);
          if (text === null) return;
          var value = part === 'keys' ? HandsetControls.record(HandsetControls.readBindings(text)) : text;
          HandsetControls.readPart(part, value);
          parts[part] = value;
        } catch (e) {}
      });
      return parts;
    },
    // A backup's parts, checked whole (throws the reason): { values: storage
    // key -> what to keep there, words: each part in plain words }.
    readBackupParts: function(parts) {
      if (!parts || typeof parts !== 'object' || Array.isArray(parts)) throw new Error('its keys and touch keys are damaged');
      var out = { values: {}, words: [] };
      Object.keys(parts).forEach(function(part) {
        if (!Object.prototype.hasOwnProperty.call(HandsetControls.storageKeys, part)) {
          throw new Error('it holds a control this page does not know (' + part.slice(0, 40) + ')');
        }
      });
      Object.keys(HandsetControls.storageKeys).forEach(function(part) {
        if (!Object.prototype.hasOwnProperty.call(parts, part)) return;
        var read = HandsetControls.readPart(part, parts[part]);
        out.values[HandsetControls.storageKeys[part]] = read.kept;
        out.words.push(read.words);
      });
      return out;
    },
    readPart: function(part, value) {
      if (part === 'keys') {
        var b;
        try { b = HandsetControls.checkBindings(value); } catch (e) { throw new Error('its keys are damaged (' + e.message + ')'); }
        return { kept: JSON.stringify(HandsetControls.record(b)), words: 'your keys and gamepad buttons' };
      }
      if (part === 'touch') {
        var fit = typeof value === 'string' ? value.split(' ') : [];
        if (fit.length !== 2 || HandsetControls.sizes.indexOf(fit[0]) < 0 || HandsetControls.hands.indexOf(fit[1]) < 0) {
          throw new Error('its touch keys\' size and side are damaged');
        }
        return { kept: value, words: fit[0] + ' ' + fit[1] + '-handed touch keys' };
      }
      if (value !== 'on' && value !== 'off') throw new Error('its arrows that need not be held are damaged');
      return { kept: value, words: 'arrows that need not be held: ' + value };
    },

    hook: function() {
      var damaged = HandsetControls.loadBindings();
      HandsetControls.apply();
      Module['_fingulp_set_sticky_arrows'](HandsetControls.stickyArrows() ? 1 : 0);
      var dialog = HandsetControls.byId('keys-dialog'), sticky = HandsetControls.byId('sticky-arrows');
      HandsetControls.byId('keys-button').addEventListener('click', function() {
        var fit = HandsetControls.touchFit();
        HandsetControls.showBindings();
        HandsetControls.say(damaged);
        damaged = '';
        document.querySelectorAll('#keys-dialog input[name=touch-size], #keys-dialog input[name=touch-hand]').forEach(function(input) {
          input.checked = input.value === fit.size || input.value === fit.hand;
        });
        sticky.checked = HandsetControls.stickyArrows();
        HandsetFiles.openDialog(dialog);
      });
      HandsetControls.byId('keys-close').addEventListener('click', function() { dialog.close(); });
      HandsetControls.byId('keys-reset').addEventListener('click', HandsetControls.reset);
      dialog.addEventListener('close', function() { HandsetControls.stopCapture(); });
      // Escape while a key is awaited gives up the capture, not the panel.
      dialog.addEventListener('cancel', function(event) {
        if (HandsetControls.capturing) { event.preventDefault(); HandsetControls.stopCapture('Nothing changed.'); }
      });
      window.addEventListener('keydown', HandsetControls.onCaptureKey, true);
      dialog.addEventListener('change', function(event) {
        var input = event.target;
        if (input === sticky) return HandsetControls.setSticky(input.checked);
        var fit = HandsetControls.touchFit();
        if (input.name === 'touch-size') HandsetControls.setTouchFit(input.value, fit.hand);
        if (input.name === 'touch-hand') HandsetControls.setTouchFit(fit.size, input.value);
      });
    },
  },
});
