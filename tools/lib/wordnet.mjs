// Reads the WordNet database files: synsets with their pointers, and how
// often each lemma was tagged in the sense-tagged corpus.
import fs from 'node:fs';
import path from 'node:path';

export const POS_FILES = { n: 'noun', v: 'verb', a: 'adj', r: 'adv' };

// index.sense keys carry the synset type as a digit; 5 (adjective satellite) counts as 'a'.
const SENSE_KEY_POS = { 1: 'n', 2: 'v', 3: 'a', 4: 'r', 5: 'a' };

// Relations used for associations, by pointer symbol.
export const RELATIONS = {
  '!': 'antonym',
  '+': 'derived',
  '&': 'similar',
  '^': 'alsoSee',
  '\\': 'pertainym',
  '<': 'participle',
  '=': 'attribute',
  '@': 'hypernym',
  '@i': 'hypernym',
  '~': 'hyponym',
};

function synsetKey(pos, offset) {
  return `${pos}${offset}`;
}

// Parses one data.* line. Word lex markers such as "(a)" or "(p)" are dropped.
export function parseDataLine(line) {
  if (!/^\d{8} /.test(line)) return null;
  const bar = line.indexOf(' | ');
  const fields = (bar >= 0 ? line.slice(0, bar) : line).trim().split(/\s+/);
  let i = 0;
  const offset = fields[i++];
  i++; // lexicographer file number
  let pos = fields[i++];
  if (pos === 's') pos = 'a';
  const wordCount = parseInt(fields[i++], 16);
  const words = [];
  for (let w = 0; w < wordCount; w++) {
    words.push(fields[i++].replace(/\(.*\)$/, ''));
    i++; // lex_id
  }
  const pointerCount = parseInt(fields[i++], 10);
  const pointers = [];
  for (let p = 0; p < pointerCount; p++) {
    const symbol = fields[i++];
    const target = fields[i++];
    let targetPos = fields[i++];
    if (targetPos === 's') targetPos = 'a';
    const sourceTarget = fields[i++];
    pointers.push({
      symbol,
      target: synsetKey(targetPos, target),
      source: parseInt(sourceTarget.slice(0, 2), 16),
      targetWord: parseInt(sourceTarget.slice(2), 16),
    });
  }
  return { key: synsetKey(pos, offset), pos, words, pointers };
}

// Returns { synsets: Map key -> synset, senses: Map lemma -> [{pos, key, rank, tagCount}],
// lemmaCase: Map lemma -> true when the lemma occurs in lower case in some synset }.
export function loadWordNet(dictDir) {
  const synsets = new Map();
  const lowerForms = new Set();
  for (const [pos, name] of Object.entries(POS_FILES)) {
    const text = fs.readFileSync(path.join(dictDir, `data.${name}`), 'utf8');
    for (const line of text.split('\n')) {
      const synset = parseDataLine(line);
      if (!synset) continue;
      synsets.set(synset.key, synset);
      for (const w of synset.words) if (w === w.toLowerCase()) lowerForms.add(w);
      if (synset.pos !== pos) throw new Error(`synset ${synset.key} found in data.${name}`);
    }
  }

  const senses = new Map();
  const text = fs.readFileSync(path.join(dictDir, 'index.sense'), 'utf8');
  for (const line of text.split('\n')) {
    const m = /^([^%]+)%(\d):\S* (\d{8}) (\d+) (\d+)$/.exec(line.trim());
    if (!m) continue;
    const [, lemma, type, offset, rank, tagCount] = m;
    const pos = SENSE_KEY_POS[type];
    if (!senses.has(lemma)) senses.set(lemma, []);
    senses.get(lemma).push({
      pos,
      key: synsetKey(pos, offset),
      rank: Number(rank),
      tagCount: Number(tagCount),
    });
  }
  for (const list of senses.values()) list.sort((x, y) => x.pos.localeCompare(y.pos) || x.rank - y.rank);
  return { synsets, senses, lowerForms };
}

// Tag counts of a lemma per part of speech; every sense counts at least a little so
// that untagged parts of speech still rank by their number of senses.
export function posWeights(senseList) {
  const weights = {};
  for (const s of senseList) weights[s.pos] = (weights[s.pos] ?? 0) + s.tagCount + 0.1;
  return weights;
}

// WordNet's lists of irregular forms (noun.exc, verb.exc, adj.exc, adv.exc): Map form ->
// [base], each base once, in the order the files give them.
export function loadExceptions(dir) {
  const bases = new Map();
  for (const name of Object.values(POS_FILES)) {
    for (const line of fs.readFileSync(path.join(dir, `${name}.exc`), 'utf8').split('\n')) {
      const [form, ...list] = line.trim().split(/\s+/);
      if (!form || !list.length) continue;
      const known = bases.get(form) ?? [];
      for (const base of list) if (!known.includes(base)) known.push(base);
      bases.set(form, known);
    }
  }
  return bases;
}
