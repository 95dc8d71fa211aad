// Makes a card's link from the form and shows the card it opens, live.
(function () {
  'use strict';

  var form = document.getElementById('form');
  var lines = document.getElementById('lines');
  var from = document.getElementById('from');
  var year = document.getElementById('year');
  var snow = document.getElementById('snow');
  var snowShown = document.getElementById('snowShown');
  var link = document.getElementById('link');
  var open = document.getElementById('open');
  var copied = document.getElementById('copied');
  var preview = document.getElementById('preview');

  var thisYear = new Date().getFullYear();
  for (var y = thisYear; y <= thisYear + 5; ++y) {
    var option = document.createElement('option');
    option.value = String(y);
    option.textContent = 'New Year ' + y;
    year.appendChild(option);
  }

  function field(key, value) {
    return key + '=' + encodeURIComponent(value);
  }

  // Only what differs from the shipped card goes into the link.
  function fragment() {
    var parts = [];
    var name = from.value.trim();
    if (name) parts.push(field('from', name));
    lines.value.split(/\r?\n/).forEach(function (line) {
      if (line.trim()) parts.push(field('line', line.trim()));
    });
    if (year.value !== 'nearest') parts.push(field('year', year.value));
    if (snow.value !== '10') parts.push(field('snow', snow.value));
    return parts.join('&');
  }

  function cardAddress() {
    var page = new URL('index.html', window.location.href);
    page.hash = fragment();
    return page.href;
  }

  var pending = 0;
  function update() {
    snowShown.textContent = snow.value;
    var address = cardAddress();
    link.value = address;
    open.href = address;
    copied.textContent = '';
    // The card reads its link when it starts: the preview starts it anew,
    // once the typing pauses.
    clearTimeout(pending);
    pending = setTimeout(function () {
      preview.src = 'about:blank';
      setTimeout(function () { preview.src = address; }, 0);
    }, 700);
  }

  form.addEventListener('input', update);
  form.addEventListener('submit', function (event) { event.preventDefault(); });

  document.getElementById('copy').addEventListener('click', function () {
    function done() { copied.textContent = 'The link is copied: paste it into a message.'; }
    if (navigator.clipboard && navigator.clipboard.writeText) {
      navigator.clipboard.writeText(link.value).then(done, function () {
        link.select();
        copied.textContent = 'Select the link above and copy it.';
      });
    } else {
      link.select();
      document.execCommand('copy');
      done();
    }
  });

  update();
})();
