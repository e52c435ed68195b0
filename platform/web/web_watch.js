// The page's replays: the kept games under the screen (each with its fish,
// its date and a Share), and the watch screen that takes the keys' place
// while a replay from the link plays: play/pause, the speed, a seek bar with
// the time, "Watch again", "Close", and the keys that drive them. Its state
// is the one record `HandsetWatch`; web_library.js's Handset calls it.
// Leaving and returning go through the browser's history, so Back leaves a
// watched replay and Forward returns to it.

mergeInto(LibraryManager.library, {
  $HandsetWatch__deps: ['$Handset', '$HandsetClock', '$HandsetFiles'],
  $HandsetWatch: {
    speeds: [1, 8],            // the slowest and the fastest pace
    seekStepMs: 5000,          // Left and Right
    // What the program last said (fingulp_watch_shown), and when (the real
    // clock): elapsed, total and departure are null until it sends them.
    shown: { state: 0, paused: false, speed: 1, elapsed: null, total: null, departure: -1, at: 0 },
    dragging: false,           // the seek bar is being moved: its value is the player's
    ticker: null,
    pageHash: '',              // the fragment this page was loaded for

    byId: function(id) { return document.getElementById(id); },
    watching: function() { return Handset.watchedText !== null; },
    clock: function(ms) {
      var s = Math.max(0, Math.floor(ms / 1000));
      return Math.floor(s / 60) + ':' + String(s % 60).padStart(2, '0');
    },

    // --- The kept games ------------------------------------------------------------
    // { text, fish, date } of the best or the last game, or null.
    kept: function(which) {
      var keys = Handset.replayKeys, text = Handset.storedReplay(which);
      if (!text) return null;
      var get = function(key) { try { return localStorage.getItem(key); } catch (e) { return null; } };
      var fish = get(which === 'best' ? keys.bestFish : keys.lastFish);
      return { text: text, fish: fish === null ? null : Number(fish), date: get(which === 'best' ? keys.bestDate : keys.lastDate) };
    },
    describe: function(game) {
      var parts = [];
      if (game.fish !== null) parts.push(game.fish + ' fish');
      var date = game.date ? new Date(game.date) : null;
      if (date && !isNaN(date)) {
        var thisYear = date.getFullYear() === new Date().getFullYear();
        parts.push(date.toLocaleDateString(undefined, thisYear ? { day: 'numeric', month: 'short' } : { day: 'numeric', month: 'short', year: 'numeric' }));
      }
      return parts.join(', ');
    },
    showKept: function() {
      var best = HandsetWatch.kept('best'), last = HandsetWatch.kept('last');
      var same = best && last && best.text === last.text;
      var show = function(which, game, title, also) {
        HandsetWatch.byId(which + '-game').hidden = !game;
        if (!game) return;
        var button = HandsetWatch.byId('watch-' + which), about = [also, HandsetWatch.describe(game)].filter(Boolean).join(', ');
        var small = document.createElement('small');
        small.textContent = about;
        button.replaceChildren(title, small);
        button.setAttribute('aria-label', title + (about ? ': ' + about : ''));
        HandsetWatch.byId('share-' + which).setAttribute('aria-label', 'Share the ' + which + ' game' + (about ? ', ' + about : ''));
      };
      show('best', best, 'Watch best game', same ? 'the last too' : '');
      show('last', same ? null : last, 'Watch last game');
    },
    // Watching opens the page on the game's link, as a new history entry;
    // a game in progress is thrown away, so the player is asked first.
    watchKept: function(which) {
      var game = HandsetWatch.kept(which);
      if (!game) return;
      var inGame = Handset.started && !Handset.ended && Module['_fingulp_game_in_progress']();
      if (!inGame) { HandsetWatch.open(game.text); return; }
      var about = HandsetWatch.describe(game);
      HandsetFiles.confirm('Watch this game?', [(which === 'best' ? 'Best game' : 'Last game') + (about ? ', ' + about : '')],
        'The game you are playing ends here and is not kept.', 'Watch', function() { HandsetWatch.open(game.text); });
    },
    open: function(text) {
      history.pushState({ fingulpWatch: true }, '', '#' + Handset.linkPrefix + text);
      location.reload();
    },
    // Close: back through the entry watching came from, or, for a link
    // opened as it is, to the page without it.
    close: function() {
      if (history.state && history.state.fingulpWatch) history.back();
      else location.replace(location.pathname + location.search);
    },
    // Another fragment (Back, Forward, an edited address): the page starts
    // again on it.
    followHistory: function() {
      if (location.hash !== HandsetWatch.pageHash) location.reload();
    },

    // --- The watch screen ------------------------------------------------------------
    // A link the program refused: no watch screen and nothing of it to share.
    refused: function() {
      Handset.watchedText = null;
      var body = document.body, files = HandsetWatch.byId('files');
      if (!body.classList.contains('watching')) return;
      body.classList.remove('watching');
      HandsetWatch.byId('touch-keys').insertBefore(files, HandsetWatch.byId('keys-button'));  // back in its place
      dispatchEvent(new Event('resize'));  // laid out again without the transport
    },
    show: function(state, paused, speed, elapsed, total, departure) {
      var s = HandsetWatch.shown, known = typeof total === 'number' && total >= 0;
      s.state = state; s.paused = !!paused; s.speed = speed;
      s.elapsed = known ? elapsed : null; s.total = known ? total : null;
      s.departure = typeof departure === 'number' ? departure : -1;
      s.at = HandsetClock.now();
      var ended = state === 3, text = ended ? 'The replay has ended.' :
                  paused ? 'Replay paused.' : 'Replay playing at ' + speed + 'x.';
      if (s.departure >= 0) text += ' This replay departs from this version of the game at ' + HandsetWatch.clock(s.departure) + '.';
      HandsetWatch.byId('watch-status').textContent = text;
      document.title = 'FINGULP replay';
      var pause = HandsetWatch.byId('watch-pause');
      pause.setAttribute('aria-pressed', s.paused ? 'true' : 'false');
      pause.disabled = ended;
      HandsetWatch.byId('watch-speed').textContent = speed + 'x';
      HandsetWatch.byId('watch-slower').disabled = speed <= HandsetWatch.speeds[0];
      HandsetWatch.byId('watch-faster').disabled = speed >= HandsetWatch.speeds[1];
      HandsetWatch.byId('watch-again').classList.toggle('later', !ended);
      var seek = HandsetWatch.byId('watch-seek');
      seek.disabled = !known || !HandsetWatch.canSeek();
      if (known) seek.max = String(total);
      HandsetWatch.byId('watch-total').textContent = known ? HandsetWatch.clock(total) : '-:--';
      HandsetWatch.tick();
      var running = known && state === 2 && !s.paused;
      if (running && !HandsetWatch.ticker) HandsetWatch.ticker = setInterval(HandsetWatch.tick, 250);
      if (!running && HandsetWatch.ticker) { clearInterval(HandsetWatch.ticker); HandsetWatch.ticker = null; }
    },
    // The time now: the last one the program gave, moved on at its pace.
    elapsed: function() {
      var s = HandsetWatch.shown;
      if (s.elapsed === null) return null;
      var moved = s.state === 2 && !s.paused ? (HandsetClock.now() - s.at) * s.speed : 0;
      return Math.min(s.total, s.elapsed + moved);
    },
    tick: function() {
      var at = HandsetWatch.elapsed(), seek = HandsetWatch.byId('watch-seek');
      if (at === null || HandsetWatch.dragging) return;
      seek.value = String(at);
      HandsetWatch.byId('watch-elapsed').textContent = HandsetWatch.clock(at);
      seek.setAttribute('aria-valuetext', HandsetWatch.clock(at) + ' of ' + HandsetWatch.clock(HandsetWatch.shown.total));
    },
    canSeek: function() { return typeof Module['_fingulp_watch_seek'] === 'function'; },

    // --- What the controls and keys do ---------------------------------------------------
    pace: function(change) {
      if (HandsetWatch.shown.state === 3 && change === 0) return;
      Module['_fingulp_watch_control'](change);
      Handset.wake();
    },
    seek: function(ms) {
      var s = HandsetWatch.shown;
      if (!HandsetWatch.canSeek() || s.total === null) return;
      ms = Math.max(0, Math.min(s.total, Math.round(ms)));
      s.elapsed = ms;
      s.at = HandsetClock.now();
      Module['_fingulp_watch_seek'](ms);
      Handset.wake();
      HandsetWatch.tick();
    },
    again: function() {
      if (HandsetWatch.canSeek()) HandsetWatch.seek(0);
      else location.reload();
    },
    // A key while watching: true when it drove the watch screen. A focused
    // button keeps Enter and Space (it is pressed), and the seek bar its own
    // keys but for the seeking ones, which seek by whole steps.
    key: function(event) {
      var target = event.target, tag = target && target.tagName;
      if ((tag === 'BUTTON' || tag === 'A') && (event.key === 'Enter' || event.key === ' ')) return false;
      if (tag === 'INPUT' && target.type !== 'range') return false;
      var at = HandsetWatch.elapsed(), s = HandsetWatch.shown;
      var actions = {
        ' ': function() { HandsetWatch.pace(0); },
        '+': function() { HandsetWatch.pace(1); }, '=': function() { HandsetWatch.pace(1); },
        '-': function() { HandsetWatch.pace(2); }, '_': function() { HandsetWatch.pace(2); },
        ArrowLeft: function() { if (at !== null) HandsetWatch.seek(at - HandsetWatch.seekStepMs); },
        ArrowRight: function() { if (at !== null) HandsetWatch.seek(at + HandsetWatch.seekStepMs); },
        Home: function() { HandsetWatch.seek(0); },
        End: function() { if (s.total !== null) HandsetWatch.seek(s.total); },
        Escape: HandsetWatch.close,
      };
      var action = actions[event.key];
      if (!action || event.ctrlKey || event.metaKey || event.altKey) return false;
      event.preventDefault();
      if (!event.repeat || event.key.indexOf('Arrow') === 0) action();
      return true;
    },

    hook: function() {
      var on = function(id, type, action) { HandsetWatch.byId(id).addEventListener(type, action); };
      var share = function(text) { HandsetFiles.share(Handset.linkTo(text)); };
      on('watch-best', 'click', function() { HandsetWatch.watchKept('best'); });
      on('watch-last', 'click', function() { HandsetWatch.watchKept('last'); });
      on('share-best', 'click', function() { var g = HandsetWatch.kept('best'); if (g) share(g.text); });
      on('share-last', 'click', function() { var g = HandsetWatch.kept('last'); if (g) share(g.text); });
      on('watch-pause', 'click', function() { HandsetWatch.pace(0); });
      on('watch-faster', 'click', function() { HandsetWatch.pace(1); });
      on('watch-slower', 'click', function() { HandsetWatch.pace(2); });
      on('watch-again', 'click', HandsetWatch.again);
      on('watch-close', 'click', HandsetWatch.close);
      on('watch-share', 'click', function() {
        if (HandsetWatch.watching()) share(Handset.watchedText.slice(Handset.linkPrefix.length));
      });
      // A finger, a mouse or the keyboard's own keys on the bar: the time
      // follows while it moves, the program seeks once it is let go.
      on('watch-seek', 'input', function(event) {
        HandsetWatch.dragging = true;
        HandsetWatch.byId('watch-elapsed').textContent = HandsetWatch.clock(Number(event.target.value));
      });
      on('watch-seek', 'change', function(event) {
        HandsetWatch.dragging = false;
        HandsetWatch.seek(Number(event.target.value));
      });
      HandsetWatch.pageHash = location.hash;
      window.addEventListener('popstate', HandsetWatch.followHistory);
      window.addEventListener('hashchange', HandsetWatch.followHistory);
      HandsetWatch.showKept();
    },
  },
});
