// The page around the game: archive, profile, canvas size, sound, messages, dropped levels.
// Runs before the module's own code (--pre-js); the C++ side calls Module.kxPage.
(function () {
  'use strict';
  // Marks of the way to the first picture, for benchmarks/web/page_figures.js.
  function mark(name) { if (performance.mark) performance.mark('kx-' + name); }
  mark('script');
  var kProfileKey = 'krawlix.profile';
  var canvas = document.getElementById('canvas');
  var context = canvas.getContext('2d', { alpha: false });
  var messageBox = document.getElementById('message');
  var params = new URLSearchParams(location.search);
  var audio = null;
  var sounds = [];
  var soundBytes = [];
  var voice = null;
  var muted = false;
  var firstPictureAt = 0;

  function readProfile() {
    try {
      var text = localStorage.getItem(kProfileKey);
      return typeof text === 'string' ? text : '';
    } catch (e) {
      return ''; // storage refused (private mode, blocked cookies): an empty profile
    }
  }

  // The largest whole-number zoom of device pixels that fits the window, never smoothed.
  function fitCanvas() {
    var ratio = window.devicePixelRatio || 1;
    var room = Math.min(window.innerWidth, window.innerHeight - 48) * ratio;
    var zoom = Math.max(1, Math.floor(room / canvas.width));
    var css = canvas.width * zoom / ratio + 'px';
    canvas.style.width = css;
    canvas.style.height = css;
  }

  function unlockAudio() {
    // Browsers start sound only after a gesture: the first key or touch makes the context.
    if (!audio) {
      var Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) return;
      audio = new Context();
      soundBytes.forEach(function (bytes, slot) { decode(slot, bytes); });
    }
    if (audio.state === 'suspended') audio.resume();
  }

  function decode(slot, bytes) {
    audio.decodeAudioData(bytes.buffer.slice(0)).then(function (buffer) {
      sounds[slot] = buffer;
    }, function () { /* a sound the browser cannot read stays silent */ });
  }

  function showMessage(text) {
    messageBox.textContent = text;
    messageBox.hidden = false;
  }

  function hideMessage() { messageBox.hidden = true; }

  // Strings go to the module through its heap, not its small stack, which a long one (a
  // huge stored profile, a long address) would overrun.
  var encoder = new TextEncoder();
  function call(name, args) {
    var held = [];
    var values = (args || []).map(function (value) {
      if (typeof value !== 'string') return value;
      var bytes = encoder.encode(value);
      var pointer = Module._malloc(bytes.length + 1);
      Module.HEAPU8.set(bytes, pointer);
      Module.HEAPU8[pointer + bytes.length] = 0;
      held.push(pointer);
      return pointer;
    });
    try {
      return Module['_' + name].apply(null, values);
    } finally {
      held.forEach(function (pointer) { Module._free(pointer); });
    }
  }

  function putFile(path, bytes) {
    var pointer = Module._malloc(Math.max(bytes.length, 1));
    Module.HEAPU8.set(bytes, pointer);
    var ok = call('kx_web_put_file', [path, pointer, bytes.length]);
    Module._free(pointer);
    return ok === 1;
  }

  // The archive goes into the module's files as it came, not copied through its memory.
  function putArchive(buffer) {
    try { Module.FS.mkdir('/krawlix'); } catch (e) { /* there already */ }
    Module.FS.writeFile('/krawlix/Krawlix.bfres', new Uint8Array(buffer), { canOwn: true });
  }

  // A chosen or dropped file is played as the desktop's /level: plays it.
  function playLevelFile(file) {
    if (!file) return;
    file.arrayBuffer().then(function (buffer) {
      hideMessage();
      var name = '/drop/' + file.name.replace(/[^A-Za-z0-9._ -]/g, '_');
      if (!putFile(name, new Uint8Array(buffer))) {
        showMessage('Die Datei lässt sich nicht lesen: ' + file.name);
        return;
      }
      call('kx_web_start', [readProfile(), '', name]);
    });
  }

  Module.kxPage = {
    setTitle: function (text) { document.title = text; },
    showMessage: showMessage,
    open: function (address) { window.open(address, '_blank', 'noopener'); },
    storeProfile: function (text) {
      try { localStorage.setItem(kProfileKey, text); } catch (e) { /* kept for this visit only */ }
    },
    addSound: function (slot, bytes) {
      soundBytes[slot] = bytes;
      if (audio) decode(slot, bytes);
    },
    playSound: function (slot) {
      // One voice, the latest wins, as on the desktop.
      if (!audio || muted || !sounds[slot]) return;
      if (voice) { try { voice.stop(); } catch (e) { } }
      voice = audio.createBufferSource();
      voice.buffer = sounds[slot];
      voice.connect(audio.destination);
      voice.start();
    },
    setMuted: function (value) {
      muted = value;
      if (muted && voice) { try { voice.stop(); } catch (e) { } }
    },
    ended: function () { showMessage('Das Spiel ist beendet. Neu laden, um wieder zu spielen.'); },
    paint: function (pixels, width, height, x, y, w, h) {
      // pixels views the module's memory; the canvas copies the changed rectangle of them,
      // so no copy of our own.
      context.putImageData(new ImageData(pixels, width, height), 0, 0, x, y, w, h);
    },
    firstPicture: function () {
      if (!firstPictureAt) {
        mark('first-picture');
        firstPictureAt = performance.now();
        window.kxFirstPictureMs = firstPictureAt;
        // The frame that shows it: the one whose animation callbacks come next.
        requestAnimationFrame(function () { setTimeout(function () { mark('first-frame'); }); });
      }
    },
  };

  // index.html has asked for both files already; a page without it asks here.
  var early = window.kxEarly || {};
  var archive = (early.archive || fetch('Krawlix.bfres')).then(function (response) {
    return response.ok ? response.arrayBuffer() : null;
  }).catch(function () { return null; });
  if (early.module) {
    Module.instantiateWasm = function (imports, receive) {
      early.module.then(function (module) {
        mark('compiled');
        return WebAssembly.instantiate(module, imports).then(function (instance) {
          mark('instantiated');
          receive(instance, module);
        });
      }).catch(function (e) {
        showMessage('Das Spiel lässt sich nicht laden: ' + e);
      });
      return {}; // the exports come later, through receive
    };
  }

  Module.onRuntimeInitialized = function () {
    archive.then(function (buffer) {
      mark('archive');
      // Without the archive the game's own start-up says what is missing.
      if (buffer) putArchive(buffer);
      if (params.has('seed') || params.has('keys') || params.has('at')) {
        var at = params.has('at') ? Number(params.get('at')) : -1;
        call('kx_web_test',
             [Number(params.get('seed') || 1), params.get('keys') || '', isFinite(at) ? at : -1]);
      } else {
        call('kx_web_start', [readProfile(), params.get('level') || '', '']);
      }
      window.kxStarted = true;
    });
  };

  window.addEventListener('pagehide', function () {
    if (window.kxStarted) call('kx_web_save');
  });
  document.addEventListener('visibilitychange', function () {
    if (document.hidden && window.kxStarted) call('kx_web_save');
  });
  fitCanvas();
  window.addEventListener('resize', fitCanvas);
  // Browsers let sound start on a key, a click or the end of a touch, not on its start.
  ['keydown', 'pointerdown', 'pointerup', 'touchend'].forEach(function (type) {
    window.addEventListener(type, unlockAudio, true);
  });
  window.addEventListener('keydown', hideMessage, true);
  messageBox.addEventListener('click', hideMessage);
  document.addEventListener('dragover', function (e) { e.preventDefault(); });
  document.addEventListener('drop', function (e) {
    e.preventDefault();
    playLevelFile(e.dataTransfer && e.dataTransfer.files[0]);
  });
  document.getElementById('file').addEventListener('change', function (e) {
    playLevelFile(e.target.files[0]);
    e.target.value = '';
  });
})();
