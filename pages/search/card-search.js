// Quillmark's page search: the rows marked data-card are searched, filtered
// and sorted in the browser, with the Cards of the quillmark-cards data block
// (row i is Card i). The search follows the program's filter bar: words,
// "phrases", field:word, letter case and accents ignored. Plain script, no
// network: a page opened from disk searches itself. Without scripts, or when
// the rows and the data disagree, the page stays as it was written.
(function () {
  'use strict';
  var doc = document;
  var root = doc.documentElement;
  // Run where the placeholder stands; where that is above the rows, once the
  // whole page has been read.
  function start(late) {
    var started = performance.now();
    var data = doc.getElementById('quillmark-cards');
    if (!data || doc.getElementById('quillmark-search'))
      return;
    var cards;
    try {
      cards = JSON.parse(data.textContent);
    } catch (e) {
      return;
    }
    var rows = doc.querySelectorAll('[data-card]');
    var count = rows.length;
    if (!Array.isArray(cards) || count === 0 || cards.length !== count) {
      if (!late && doc.readyState === 'loading')
        doc.addEventListener('DOMContentLoaded', function () { start(true); });
      return;
    }

    // Card fields in the program's order; the filter names a field by its
    // column heading or its file key.
    var KEYS = ['name', 'series', 'condition', 'year', 'price', 'quantity', 'picture', 'description', 'game',
                'setcode', 'number', 'finish', 'language', 'location', 'tags', 'trade', 'want', 'print', 'market',
                'marketdate', 'source'];
    var FIELD_NAMES = Object.create(null);
    [['name'], ['series'], ['condition'], ['year'], ['price'], ['qty', 'quantity'], ['url'], ['description'],
     ['game'], ['set', 'setcode'], ['number'], ['finish'], ['language'], ['location'], ['tags'], ['trade'],
     ['want'], ['print'], ['market'], ['marketdate'], ['source']].forEach(function (names, field) {
      names.forEach(function (name) { FIELD_NAMES[name] = field; });
    });
    var SETCODE = 9, NUMBER = 10, NAME = 0, QUANTITY = 5, TRADE = 15, WANT = 16;

    function value(card, field) {
      var text = card[KEYS[field]];
      return typeof text === 'string' ? text : '';
    }

    // As the filter bar folds: canonical decomposition without its combining
    // marks, in lower case, a line break as a space. ASCII, most text, takes
    // the short way.
    var ASCII = /^[\x00-\x7f]*$/;
    var MARKS;
    try {
      MARKS = new RegExp('\\p{Mn}', 'gu');
    } catch (e) {
      MARKS = /[\u0300-\u036f]/g;
    }
    // Lower case differs from case folding in a few letters.
    var FOLDS = {'\u03c2': '\u03c3', '\u017f': 's', '\u00b5': '\u03bc', '\u1e9e': '\u00df'};
    function foldLetters(text) {
      if (ASCII.test(text))
        return text.toLowerCase();
      return text.normalize('NFD').replace(MARKS, '').toLowerCase()
        .replace(/[\u03c2\u017f\u00b5\u1e9e]/g, function (c) { return FOLDS[c]; });
    }
    function fold(text) {
      return foldLetters(text).replace(/\n/g, ' ');
    }

    // The folded text of all Cards, fields apart by a \x01 and Cards by a
    // NUL, with where each Card starts: a word is looked for once through
    // the whole text, not once per Card. A word holds neither, so no match
    // spans two fields.
    function Index(texts) {
      var starts = new Int32Array(count + 1);
      var at = 0;
      for (var i = 0; i < count; ++i) {
        starts[i] = at;
        at += texts[i].length + 1;
      }
      starts[count] = at;
      this.text = texts.join('\0');
      this.starts = starts;
    }
    // Climbs each Card at mark - 1 to mark when it holds the word.
    Index.prototype.mark = function (word, marks, mark) {
      var text = this.text, starts = this.starts, card = 0, length = word.length;
      for (var at = text.indexOf(word); at >= 0; at = text.indexOf(word, at)) {
        while (starts[card + 1] <= at)
          ++card;
        if (at + length < starts[card + 1] && marks[card] === mark - 1)
          marks[card] = mark;
        at = starts[card + 1];
      }
    };

    var BEYOND_ASCII = /[^\x00-\x7f]/;
    // One field of every Card, or all of each Card's fields (in any order:
    // a word is looked for in each alike).
    function buildIndex(field) {
      var texts = new Array(count), i;
      if (field >= 0) {
        var key = KEYS[field];
        for (i = 0; i < count; ++i) {
          var text = cards[i][key];
          texts[i] = typeof text === 'string' ? text : '';
        }
      } else {
        for (i = 0; i < count; ++i)
          texts[i] = Object.values(cards[i]).join('\x01');
      }
      for (i = 0; i < count; ++i) {
        if (texts[i].indexOf('\0') >= 0)
          texts[i] = texts[i].replace(/\0/g, ' ');
      }
      var index = new Index(texts);
      if (!BEYOND_ASCII.test(index.text)) {
        // ASCII keeps its length in lower case, and so where each Card starts.
        index.text = index.text.toLowerCase().replace(/\n/g, ' ');
        return index;
      }
      // Folded whole, in one go; where each Card starts is then found again
      // by its separator, which no value holds.
      var folded = foldLetters(index.text).replace(/\n/g, ' ');
      var starts = index.starts, at = 0;
      for (i = 0; i < count; ++i) {
        starts[i] = at;
        var end = folded.indexOf('\0', at);
        at = (end < 0 ? folded.length : end) + 1;
      }
      starts[count] = at;
      index.text = folded;
      return index;
    }

    var anyIndex = buildIndex(-1);
    var fieldIndexes = [];
    function indexOf(field) {
      if (field < 0)
        return anyIndex;
      if (!fieldIndexes[field])
        fieldIndexes[field] = buildIndex(field);
      return fieldIndexes[field];
    }

    // Whole numbers as the program reads a Quantity: blank is one copy.
    function copies(text) {
      text = text.replace(/[\s,.'\u00a0]/g, '');
      if (text === '')
        return 1;
      return /^\d+$/.test(text) ? Number(text) : 0;
    }
    function wanted(text) {
      text = text.replace(/[\s,.'\u00a0]/g, '');
      return /^\d+$/.test(text) ? Number(text) : 0;
    }
    var have = new Uint8Array(count), want = new Uint8Array(count), trade = new Uint8Array(count);
    for (var c = 0; c < count; ++c) {
      have[c] = copies(value(cards[c], QUANTITY)) > 0 ? 1 : 0;
      want[c] = wanted(value(cards[c], WANT)) > 0 ? 1 : 0;
      trade[c] = wanted(value(cards[c], TRADE)) > 0 ? 1 : 0;
    }
    var SHOWS = {have: have, want: want, trade: trade};

    // The filter bar's words: white space apart, double quotes making a
    // phrase (an open quote runs to the end), a field's name and a colon
    // before any quote naming the field; an empty word asks for nothing.
    var SPACE = /[\t\n\v\f\r \x85\xa0\u1680\u2000-\u200a\u2028\u2029\u202f\u205f\u3000]/;
    function parse(query) {
      var words = [], at = 0, length = query.length;
      while (at < length) {
        if (SPACE.test(query[at])) {
          ++at;
          continue;
        }
        var word = '', quoted = false, quoteSeen = false, colon = -1;
        for (; at < length && (quoted || !SPACE.test(query[at])); ++at) {
          var ch = query[at];
          if (ch === '"') {
            quoted = !quoted;
            quoteSeen = true;
          } else {
            if (ch === ':' && colon < 0 && !quoteSeen)
              colon = word.length;
            word += ch;
          }
        }
        var field = -1;
        if (colon >= 0) {
          var named = FIELD_NAMES[word.slice(0, colon).toLowerCase()];
          if (named !== undefined) {
            field = named;
            word = word.slice(colon + 1);
          }
        }
        var folded = fold(word).replace(/[\0\x01]/g, '');
        if (folded)
          words.push({text: folded, field: field});
      }
      return words;
    }

    // What is asked, and what the rows show.
    var state = {query: '', show: {have: false, want: false, trade: false}, sort: null, descending: false};
    var shown = new Uint8Array(count).fill(1);
    var shownCount = count;
    var marks = new Uint8Array(count);

    function matchAndShow() {
      // A mark a byte: more words than it counts are not looked for.
      var words = parse(state.query).slice(0, 255);
      var filters = [];
      for (var name in SHOWS) {
        if (state.show[name])
          filters.push(SHOWS[name]);
      }
      // Every Card climbs one mark per word it holds, in turn: those at the
      // last mark hold them all. A Card passed over by one word stays behind.
      var i;
      if (words.length > 0) {
        marks.fill(0);
        for (var w = 0; w < words.length; ++w)
          indexOf(words[w].field).mark(words[w].text, marks, w + 1);
      }
      var last = words.length;
      var total = 0;
      for (i = 0; i < count; ++i) {
        var match = words.length === 0 || marks[i] === last;
        for (var f = 0; match && f < filters.length; ++f)
          match = filters[f][i] === 1;
        if (match)
          ++total;
        if ((match ? 1 : 0) !== shown[i]) {
          shown[i] = match ? 1 : 0;
          rows[i].hidden = !match;
        }
      }
      shownCount = total;
      showCount();
    }

    // "12 of 3,400 Cards", as the window counts.
    function grouped(number) {
      return String(number).replace(/\B(?=(\d{3})+(?!\d))/g, ',');
    }
    var countOut;
    function showCount() {
      countOut.textContent = grouped(shownCount) + ' of ' + grouped(count) + (count === 1 ? ' Card' : ' Cards');
    }

    // Sorting by a column: numbers (prices, years, quantities) as numbers,
    // whatever their currency or separators, other text as the reader's
    // language orders it; blanks last.
    var collator = typeof Intl !== 'undefined'
      ? new Intl.Collator(undefined, {numeric: true, sensitivity: 'base'}) : null;
    // A number, a price with its currency sign or code before or after, or
    // NaN for any other text.
    var AMOUNT = /^[^\w\s]?\s*(?:[A-Za-z]{3}\s*)?(-?\d[\d.,'\s]*)\s*(?:[A-Za-z]{3}|[^\w\s]|,-)?$/;
    function number(text) {
      var found = AMOUNT.exec(text.replace(/\u00a0/g, ' ').trim());
      if (!found)
        return NaN;
      var digits = found[1].replace(/[\s']/g, '');
      var mark = Math.max(digits.lastIndexOf('.'), digits.lastIndexOf(','));
      if (mark >= 0) {
        var separator = digits[mark];
        var other = separator === '.' ? ',' : '.';
        // A single mark before exactly three digits separates thousands,
        // unless the other mark stands before it as the thousands'.
        var decimal = digits.indexOf(separator) === mark
                      && (digits.length - mark - 1 !== 3 || digits.indexOf(other) >= 0);
        digits = decimal ? digits.slice(0, mark).replace(/[.,]/g, '') + '.' + digits.slice(mark + 1)
                         : digits.replace(/[.,]/g, '');
      }
      var parsed = parseFloat(digits);
      return isFinite(parsed) ? parsed : NaN;
    }
    function compareText(a, b) {
      return collator ? collator.compare(a, b) : a.localeCompare(b);
    }

    var order = null;
    function fieldOfHeading(cell) {
      var named = (cell.getAttribute('data-sort') || cell.textContent).trim().toLowerCase();
      if (named === 'card' || named === 'picture')
        return named === 'card' ? NAME : 6;
      var field = FIELD_NAMES[named];
      return field === undefined ? -1 : field;
    }
    // The sort key of a heading: the Card field it names, or else the text of
    // its column in each row.
    function sortTexts(key) {
      var texts = new Array(count), i;
      if (typeof key === 'number') {
        for (i = 0; i < count; ++i)
          texts[i] = value(cards[i], key);
      } else {
        for (i = 0; i < count; ++i) {
          var cell = rows[i].children[key.column];
          texts[i] = cell ? cell.textContent.trim() : '';
        }
      }
      return texts;
    }
    function sortRows() {
      if (!sortable)
        return;
      var sorted = new Array(count), i;
      for (i = 0; i < count; ++i)
        sorted[i] = i;
      if (state.sort !== null) {
        var texts = sortTexts(state.sort.key);
        var numbers = new Float64Array(count);
        for (i = 0; i < count; ++i)
          numbers[i] = texts[i] === '' ? NaN : number(texts[i]);
        var sign = state.descending ? -1 : 1;
        // Numbers before other text, blanks last whichever way.
        sorted.sort(function (a, b) {
          var blankA = texts[a] === '', blankB = texts[b] === '';
          if (blankA || blankB)
            return blankA === blankB ? a - b : (blankA ? 1 : -1);
          var na = numbers[a], nb = numbers[b], result;
          if (na === na && nb === nb)
            result = na - nb || compareText(texts[a], texts[b]);
          else if (na === na || nb === nb)
            result = na === na ? -1 : 1;
          else
            result = compareText(texts[a], texts[b]);
          return result * sign || a - b;
        });
      }
      if (order && sorted.every(function (card, at) { return order[at] === card; }))
        return;
      order = sorted;
      var fragment = doc.createDocumentFragment();
      for (i = 0; i < count; ++i)
        fragment.appendChild(rows[sorted[i]]);
      rowParent.insertBefore(fragment, rowAnchor);
      markHeadings();
    }

    // The rows can be put in another order only where they stand together.
    var rowParent = rows[0].parentNode;
    var sortable = true;
    for (var r = 0; r < count; ++r) {
      if (rows[r].parentNode !== rowParent) {
        sortable = false;
        break;
      }
    }
    var rowAnchor = rows[count - 1].nextSibling;
    var table = rows[0].closest ? rows[0].closest('table') : null;
    var headings = [];
    if (table && sortable) {
      var heads = table.querySelectorAll('thead th, thead td');
      if (heads.length === 0) {
        var first = table.rows && table.rows[0];
        if (first && !first.hasAttribute('data-card'))
          heads = first.querySelectorAll('th');
      }
      Array.prototype.forEach.call(heads, function (cell) {
        if (!cell.textContent.trim() && !cell.hasAttribute('data-sort'))
          return;
        var field = fieldOfHeading(cell);
        var column = 0;
        for (var sibling = cell.previousElementSibling; sibling; sibling = sibling.previousElementSibling)
          column += sibling.colSpan || 1;
        var name = field >= 0 ? KEYS[field] : 'column' + (column + 1);
        var heading = {cell: cell, name: name, key: field >= 0 ? field : {column: column}};
        headings.push(heading);
        cell.classList.add('quillmark-sortable');
        cell.tabIndex = 0;
        var choose = function () {
          var same = state.sort !== null && state.sort.name === heading.name;
          state.descending = same ? !state.descending : false;
          state.sort = heading;
          sortRows();
          writeFragment();
        };
        cell.addEventListener('click', choose);
        cell.addEventListener('keydown', function (event) {
          if (event.key === 'Enter' || event.key === ' ') {
            event.preventDefault();
            choose();
          }
        });
      });
    }
    function markHeadings() {
      headings.forEach(function (heading) {
        if (state.sort !== null && state.sort.name === heading.name)
          heading.cell.setAttribute('aria-sort', state.descending ? 'descending' : 'ascending');
        else
          heading.cell.removeAttribute('aria-sort');
      });
    }
    function headingNamed(name) {
      for (var i = 0; i < headings.length; ++i) {
        if (headings[i].name === name)
          return headings[i];
      }
      // A field without a column of its own sorts all the same.
      var field = KEYS.indexOf(name);
      return field >= 0 ? {cell: null, name: name, key: field} : null;
    }

    // The controls, above the table; the page without scripts has none.
    var controls = doc.createElement('div');
    controls.id = 'quillmark-controls';
    var search = doc.createElement('input');
    search.type = 'search';
    search.id = 'quillmark-search';
    search.placeholder = 'Search: words, "a phrase", series:name';
    search.setAttribute('aria-label', 'Search the Cards');
    search.autocomplete = 'off';
    search.spellcheck = false;
    controls.appendChild(search);
    var toggles = doc.createElement('span');
    toggles.className = 'quillmark-toggles';
    var toggleButtons = {};
    [['have', 'Have'], ['want', 'Want'], ['trade', 'For trade']].forEach(function (pair) {
      var button = doc.createElement('button');
      button.type = 'button';
      button.textContent = pair[1];
      button.setAttribute('aria-pressed', 'false');
      button.setAttribute('data-show', pair[0]);
      button.addEventListener('click', function () {
        state.show[pair[0]] = !state.show[pair[0]];
        showToggles();
        matchAndShow();
        writeFragment();
      });
      toggleButtons[pair[0]] = button;
      toggles.appendChild(button);
    });
    controls.appendChild(toggles);
    countOut = doc.createElement('output');
    countOut.id = 'quillmark-count';
    countOut.setAttribute('aria-live', 'polite');
    controls.appendChild(countOut);
    function showToggles() {
      for (var name in toggleButtons)
        toggleButtons[name].setAttribute('aria-pressed', state.show[name] ? 'true' : 'false');
    }

    // Per set: how many different numbers are held of those the page lists.
    var sets = Object.create(null), setNames = [];
    for (var s = 0; s < count; ++s) {
      var code = value(cards[s], SETCODE).trim();
      if (!code)
        continue;
      var set = sets[code];
      if (!set) {
        set = sets[code] = {listed: Object.create(null), held: Object.create(null), listedCount: 0, heldCount: 0};
        setNames.push(code);
      }
      var numberKey = value(cards[s], NUMBER).trim() || '\0' + value(cards[s], NAME).trim();
      if (!set.listed[numberKey]) {
        set.listed[numberKey] = true;
        ++set.listedCount;
      }
      if (have[s] && !set.held[numberKey]) {
        set.held[numberKey] = true;
        ++set.heldCount;
      }
    }
    if (setNames.length > 0) {
      setNames.sort(compareText);
      var details = doc.createElement('details');
      details.id = 'quillmark-sets';
      var summary = doc.createElement('summary');
      summary.textContent = 'Sets (' + setNames.length + ')';
      details.appendChild(summary);
      setNames.forEach(function (code) {
        var button = doc.createElement('button');
        button.type = 'button';
        button.setAttribute('data-set', code);
        var info = sets[code];
        button.textContent = code + ' ' + info.heldCount + '/' + info.listedCount;
        button.title = info.heldCount + ' of the ' + info.listedCount + ' numbers listed are held';
        button.addEventListener('click', function () {
          search.value = 'set:' + (/[\s"]/.test(code) ? '"' + code.replace(/"/g, '') + '"' : code);
          state.query = search.value;
          matchAndShow();
          writeFragment();
        });
        details.appendChild(button);
      });
      controls.appendChild(details);
    }

    var place = table || rows[0].parentNode;
    while (place.parentNode && place.parentNode.tagName === 'DIV' && place.parentNode.children.length === 1)
      place = place.parentNode;
    place.parentNode.insertBefore(controls, place);

    // The search lives in the address: #q=...&show=have,trade&sort=-price.
    function readFragment() {
      var next = {query: '', show: {have: false, want: false, trade: false}, sort: null, descending: false};
      location.hash.replace(/^#/, '').split('&').forEach(function (part) {
        var equals = part.indexOf('=');
        if (equals < 0)
          return;
        var name = part.slice(0, equals), text;
        try {
          text = decodeURIComponent(part.slice(equals + 1).replace(/\+/g, ' '));
        } catch (e) {
          return;
        }
        if (name === 'q') {
          next.query = text;
        } else if (name === 'show') {
          text.split(',').forEach(function (shown) {
            if (shown in next.show)
              next.show[shown] = true;
          });
        } else if (name === 'sort') {
          next.descending = text.charAt(0) === '-';
          next.sort = headingNamed(text.replace(/^-/, '').toLowerCase());
        }
      });
      return next;
    }
    function fragmentOf(current) {
      var parts = [];
      if (current.query)
        parts.push('q=' + encodeURIComponent(current.query));
      var shows = Object.keys(current.show).filter(function (name) { return current.show[name]; });
      if (shows.length)
        parts.push('show=' + shows.join(','));
      if (current.sort)
        parts.push('sort=' + (current.descending ? '-' : '') + current.sort.name);
      return parts.join('&');
    }
    var written = null;
    function writeFragment() {
      var fragment = fragmentOf(state);
      if (fragment === written)
        return;
      written = fragment;
      try {
        history.replaceState(history.state, '', fragment ? '#' + fragment : location.pathname + location.search);
      } catch (e) {
        // Some browsers refuse it for pages opened from disk; the search works all the same.
      }
    }
    function applyFragment() {
      var next = readFragment();
      var fragment = fragmentOf(next);
      if (fragment === written)
        return;
      var sortChanged = (next.sort && next.sort.name) !== (state.sort && state.sort.name)
                        || next.descending !== state.descending;
      state = next;
      written = fragment;
      search.value = state.query;
      showToggles();
      matchAndShow();
      if (sortChanged)
        sortRows();
    }

    // Each keystroke is answered at once: the work is done per keystroke, in
    // a few milliseconds, rather than waited for.
    search.addEventListener('input', function () {
      state.query = search.value;
      matchAndShow();
      writeFragment();
    });
    window.addEventListener('hashchange', applyFragment);
    showCount();
    written = '';
    applyFragment();

    // For whoever measures or drives the page: the same steps as the controls.
    window.quillmarkSearch = {
      search: function (query) {
        search.value = query;
        state.query = query;
        matchAndShow();
        writeFragment();
        return shownCount;
      },
      shown: function () { return shownCount; }
    };
    root.setAttribute('data-search-start-ms', started.toFixed(1));
    root.setAttribute('data-search-ready-ms', performance.now().toFixed(1));
  }
  start(false);
})();
