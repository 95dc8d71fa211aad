// Starts an engine program in this page: the canvas it draws into, the
// messages a visitor sees when something stands in the way, and full screen
// on a click or tap. A page sets window.GlimmerProgram to the program's
// script name before loading this file.
(function () {
  'use strict';

  var canvas = document.getElementById('canvas');
  var message = document.getElementById('message');
  var lastError = '';
  var started = false;
  var loading = false;

  function say(text) {
    message.textContent = text;
    message.hidden = false;
  }

  function failed(what) {
    say(what + ' Reload the page to try again.');
  }

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    say('This browser cannot show the card: it does not run WebAssembly. ' +
        'Any current version of Firefox, Chrome, Edge or Safari can.');
    return;
  }

  window.addEventListener('error', function (event) {
    failed('The card could not start' + (event.message ? ' (' + event.message + ').' : '.'));
  });

  // Clicking the canvas would otherwise also give it the keyboard.
  canvas.addEventListener('contextmenu', function (event) { event.preventDefault(); });
  canvas.addEventListener('click', function () {
    var element = document.documentElement;
    if (document.fullscreenElement || !element.requestFullscreen) return;
    element.requestFullscreen().catch(function () {});
  });

  window.Module = {
    canvas: canvas,
    print: function (text) { console.log(text); },
    printErr: function (text) {
      lastError = text;
      console.warn(text);
    },
    monitorRunDependencies: function (left) {
      if (left !== 0) return;
      started = true;
      if (loading) message.hidden = true;
    },
    onAbort: function (what) {
      failed('The card could not start: a file did not load' + (what ? ' (' + what + ').' : '.'));
    },
    onExit: function (status) {
      if (status !== 0) failed('The card stopped' + (lastError ? ': ' + lastError : '.'));
    },
    locateFile: function (name) { return name; }
  };

  var script = document.createElement('script');
  script.src = window.GlimmerProgram;
  script.async = true;
  script.onerror = function () {
    failed('The card could not start: ' + window.GlimmerProgram + ' did not load.');
  };
  document.body.appendChild(script);

  // A page still without its program after a while says so instead of staying dark.
  setTimeout(function () {
    if (started || !message.hidden) return;
    loading = true;
    say('The card is still loading…');
  }, 8000);
})();
