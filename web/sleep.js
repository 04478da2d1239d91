// sleep.js -- emscripten_sleep for the game's page. Browsers hold a timer
// that is set from a timer's callback to at least 4 ms; the game yields with
// a zero sleep at every buffer swap, which would then cost 4 ms a frame. A zero
// sleep is therefore a message to ourselves, which returns at once after the
// browser has had its turn; longer sleeps stay timers.
mergeInto(LibraryManager.library, {
  emscripten_sleep__deps: ['$safeSetTimeout'],
  emscripten_sleep: function(ms) {
    Asyncify.handleSleep((wakeUp) => {
      if (ms > 0) {
        safeSetTimeout(wakeUp, ms);
        return;
      }
      const channel = new MessageChannel();
      channel.port1.onmessage = () => {
        channel.port1.close();
        wakeUp();
      };
      channel.port2.postMessage(0);
    });
  },
});
