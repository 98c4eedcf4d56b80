// Writes and re-reads the word library (.qd) and association library (.the)
// text files: code page 936, CR LF line ends, text values in double quotes.
import iconv from 'iconv-lite';

const CRLF = '\r\n';
const MAX_COUNT = 32767;

export function encodesInGbk(text) {
  return iconv.decode(iconv.encode(text, 'gbk'), 'gbk') === text;
}

// 1 for the 3755 most common characters (GB2312 level 1), 2 for GB2312 level 2,
// 3 for characters outside GB2312, 0 for single-byte characters.
export function characterLevel(ch) {
  const bytes = iconv.encode(ch, 'gbk');
  if (bytes.length === 1) return 0;
  const [lead, trail] = bytes;
  if (trail < 0xa1 || lead < 0xb0 || lead > 0xf7) return 3;
  return lead <= 0xd7 ? 1 : 2;
}

function quoted(value) {
  if (value.includes('"') || /[\r\n]/.test(value)) throw new Error(`value cannot be written: ${JSON.stringify(value)}`);
  if (!encodesInGbk(value)) throw new Error(`value not encodable in GBK: ${JSON.stringify(value)}`);
  return `"${value}"`;
}

// words: [{word, meaning}]
export function wordLibraryText(words) {
  const lines = [String(words.length)];
  for (const { word, meaning } of words) lines.push(`${quoted(word)},${quoted(meaning)}`);
  return lines.join(CRLF) + CRLF;
}

// groups: one array of {word, meaning} per word, in word order.
export function associationLibraryText(groups) {
  const maxAssoc = groups.reduce((m, g) => Math.max(m, g.length), 0);
  const lines = [String(maxAssoc)];
  for (const group of groups) {
    lines.push(String(group.length));
    for (const { word, meaning } of group) lines.push(`${quoted(word)},${quoted(meaning)}`);
  }
  return lines.join(CRLF) + CRLF;
}

export function encode(text) {
  return iconv.encode(text, 'gbk');
}

// Splits decoded text into values the way the program reads them, and also
// reports problems that the program would tolerate but the sample must not have.
export function tokenize(text) {
  const values = [];
  const problems = [];
  let i = 0;
  let line = 1;
  while (i < text.length) {
    while (text[i] === ' ') i++;
    let value;
    let isQuoted = false;
    if (text[i] === '"') {
      const close = text.indexOf('"', i + 1);
      if (close < 0) {
        problems.push(`line ${line}: unterminated quote`);
        break;
      }
      value = text.slice(i + 1, close);
      isQuoted = true;
      i = close + 1;
    } else {
      const m = /[,\r\n]/.exec(text.slice(i));
      const end = m ? i + m.index : text.length;
      value = text.slice(i, end);
      i = end;
    }
    if (/[\r\n]/.test(value)) problems.push(`line ${line}: line break inside a value`);
    values.push({ value, isQuoted, line });
    if (text.startsWith(CRLF, i)) {
      i += 2;
      line++;
    } else if (text[i] === ',') {
      i++;
    } else if (i < text.length) {
      problems.push(`line ${line}: stray text after a value`);
      const next = text.indexOf(CRLF, i);
      i = next < 0 ? text.length : next + 2;
      line++;
    }
  }
  if (/[^\r]\n|^\n/.test(text)) problems.push('bare LF line end');
  return { values, problems };
}

function decodeStrict(bytes, name, problems) {
  const text = iconv.decode(bytes, 'gbk');
  if (!iconv.encode(text, 'gbk').equals(bytes)) problems.push(`${name}: not clean GBK (bytes do not round-trip)`);
  return text;
}

// Reads a value stream back; returns the parsed library and every problem found.
export function checkLibrary(qdBytes, theBytes) {
  const problems = [];
  const words = [];
  const groups = [];
  const qd = tokenize(decodeStrict(qdBytes, 'word library', problems));
  const the = tokenize(decodeStrict(theBytes, 'association library', problems));
  problems.push(...qd.problems.map((p) => `word library ${p}`), ...the.problems.map((p) => `association library ${p}`));

  const reader = (stream, name) => {
    let pos = 0;
    return {
      count() {
        const v = stream.values[pos++];
        if (!v) throw new Error(`${name}: ends before all values are read`);
        if (v.isQuoted || !/^\d+$/.test(v.value) || Number(v.value) > MAX_COUNT) {
          throw new Error(`${name} line ${v.line}: bad count ${JSON.stringify(v.value)}`);
        }
        return Number(v.value);
      },
      text() {
        const v = stream.values[pos++];
        if (!v) throw new Error(`${name}: ends before all values are read`);
        if (!v.isQuoted) problems.push(`${name} line ${v.line}: unquoted text ${JSON.stringify(v.value)}`);
        if (v.value === '') problems.push(`${name} line ${v.line}: empty text`);
        return v.value;
      },
      rest: () => stream.values.length - pos,
    };
  };

  try {
    const q = reader(qd, 'word library');
    const wordCount = q.count();
    if (wordCount >= MAX_COUNT) problems.push(`word count ${wordCount} too large`);
    for (let i = 0; i < wordCount; i++) words.push({ word: q.text(), meaning: q.text() });
    if (q.rest() !== 0) problems.push(`word library: ${q.rest()} values after the last record`);

    const t = reader(the, 'association library');
    const maxAssoc = t.count();
    for (let i = 0; i < wordCount; i++) {
      const n = t.count();
      if (n > maxAssoc) problems.push(`group ${i + 1} has ${n} associations, more than ${maxAssoc}`);
      const group = [];
      for (let k = 0; k < n; k++) group.push({ word: t.text(), meaning: t.text() });
      groups.push(group);
    }
    if (t.rest() !== 0) problems.push(`association library: ${t.rest()} values after the last group`);
    if (maxAssoc !== groups.reduce((m, g) => Math.max(m, g.length), 0)) {
      problems.push(`maxAssoc ${maxAssoc} is not the largest group`);
    }
  } catch (e) {
    problems.push(e.message);
  }
  return { words, groups, problems };
}
