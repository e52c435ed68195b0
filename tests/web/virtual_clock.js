// The test page's clock: it stands still until the test moves it, so the
// page's program sees exactly the times the headless handset's script gives
// (Module.testClock.advance), and a test can read the program's state line.
mergeInto(LibraryManager.library, {
  $HandsetClock__postset: 'HandsetClock.expose();',
  $HandsetClock: {
    time: 0,
    pending: null,  // { deadline, ring } of the suspended program
    now: function() { return HandsetClock.time; },
    alarm: function(deadline, ring) {
      var entry = { deadline: deadline, ring: ring };
      HandsetClock.pending = entry;
      return function() { if (HandsetClock.pending === entry) HandsetClock.pending = null; };
    },
    expose: function() {
      Module['testClock'] = {
        now: function() { return HandsetClock.time; },
        // Moves the clock `ms` on, waking the program at each deadline it
        // meets on the way, in order.
        advance: function(ms) {
          var target = HandsetClock.time + ms;
          while (HandsetClock.pending && HandsetClock.pending.deadline <= target) {
            var entry = HandsetClock.pending;
            HandsetClock.pending = null;
            HandsetClock.time = Math.max(HandsetClock.time, entry.deadline);
            entry.ring();
          }
          HandsetClock.time = target;
        },
        // Whether the program waits for input (not in a sleep or a sound).
        readingInput: function() { return Handset.readingInput; },
        // Whether it awaits the browser's answer (the lock, another tab),
        // which comes in real time, whatever this clock says.
        asking: function() { return Handset.asking; },
        // The deadline the program waits for (-1: input only or not waiting).
        deadline: function() { return HandsetClock.pending ? HandsetClock.pending.deadline : -1; },
        state: function() { return UTF8ToString(Module['_fingulp_test_state']()); },
      };
    },
  },
});
