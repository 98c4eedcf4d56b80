// Chinese word frequencies and part-of-speech tags from the segmenter's
// dictionary ("word count tag" per line, GBK). Used only to rank candidates.
import fs from 'node:fs';
import iconv from 'iconv-lite';

export function loadFrequencies(file) {
  const table = new Map();
  for (const line of iconv.decode(fs.readFileSync(file), 'gbk').split('\n')) {
    const [word, count, tag] = line.trim().split(' ');
    if (!word || !count) continue;
    const n = Number(count);
    const seen = table.get(word);
    if (!seen || seen.count < n) table.set(word, { count: n, tag: tag ?? '' });
  }
  return table;
}

// Which WordNet part of speech a segmenter tag stands for, if any.
export function tagPos(tag) {
  if (/^(n|vn|an|ng)$/.test(tag)) return tag === 'vn' ? 'nv' : 'n';
  if (/^(v|vd|vg|vi|vq)$/.test(tag)) return 'v';
  if (/^(a|ag|b|z)$/.test(tag)) return 'a';
  if (/^(d|ad|dg)$/.test(tag)) return tag === 'ad' ? 'ar' : 'r';
  return null;
}

// Names, which no learner's gloss should be.
export function isNameTag(tag) {
  return /^(nr|nrt|nrfg|ns|nt|nz|x|eng)$/.test(tag);
}

// Pronouns, numerals, classifiers and particles: words of another class than
// any WordNet part of speech.
export function isFunctionTag(tag) {
  return /^(r|rr|rz|m|mq|q|p|c|u|uj|ul|ud|ug|uv|uz|y|e|o|f|zg)$/.test(tag);
}

// How often each English word is heard (SUBTLEX-US counts: [{word, count}]), all its
// capitalisations together: Map lower-case word -> count.
export function spokenCounts(list) {
  const counts = new Map();
  for (const { word, count } of list) {
    const key = word.toLowerCase();
    counts.set(key, (counts.get(key) ?? 0) + count);
  }
  return counts;
}
