// call_soon.js -- a call into the game as soon as the browser has had its
// turn, on a message channel of the game's own instance. A zero timer is held
// back to 4 ms once timers nest, and emscripten's stand-in for setImmediate
// listens on the window, where the instance of every run the page has started
// would hear it, ended ones too.
mergeInto(LibraryManager.library, {
  $soonChannel: null,
  drumhold_call_soon__deps: ['$callUserCallback', '$soonChannel'],
  drumhold_call_soon: function(func, arg) {
    if (!soonChannel) {
      soonChannel = new MessageChannel();
      soonChannel.calls = [];
      soonChannel.port1.onmessage = () => {
        const [f, a] = soonChannel.calls.shift();
        callUserCallback(() => {{{ makeDynCall('vi', 'f') }}}(a));
      };
    }
    soonChannel.calls.push([func, arg]);
    soonChannel.port2.postMessage(0);
  },
});
