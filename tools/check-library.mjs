// Re-reads a generated library pair and checks what the program and a learner
// rely on. Usage: node check-library.mjs [word-file association-file]
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { checkLibrary } from './lib/libraryfile.mjs';

const MEANING = /^(n|v|adj|adv|num)\.[\u4e00-\u9fff]+(；[\u4e00-\u9fff]+)*( (n|v|adj|adv|num)\.[\u4e00-\u9fff]+(；[\u4e00-\u9fff]+)*)*$/u;
const MIN_WORDS = 2000;
// Group sizes the board must be seen with: empty, partial page, full page,
// and lists of two, three and more pages.
const REQUIRED_SIZES = [
  ['0', (n) => n === 0],
  ['1-7', (n) => n >= 1 && n <= 7],
  ['8', (n) => n === 8],
  ['13', (n) => n === 13],
  ['16', (n) => n === 16],
  ['21+', (n) => n >= 21],
];

// Checks the content rules on top of the file syntax; returns the problem list.
export function contentProblems({ words, groups }) {
  const problems = [];
  const meaningOf = new Map();
  if (words.length < MIN_WORDS) problems.push(`only ${words.length} words, want ${MIN_WORDS}`);
  for (const { word, meaning } of words) {
    if (!/^[a-z]+$/.test(word)) problems.push(`headword not a lowercase ASCII word: ${word}`);
    if (meaningOf.has(word)) problems.push(`duplicate headword: ${word}`);
    if (!MEANING.test(meaning)) problems.push(`meaning of ${word} not in "pos.gloss；gloss" form: ${meaning}`);
    meaningOf.set(word, meaning);
  }
  groups.forEach((group, i) => {
    const seen = new Set();
    for (const { word, meaning } of group) {
      if (!/^[a-z]+$/.test(word)) problems.push(`association of ${words[i].word} not a lowercase word: ${word}`);
      if (word === words[i].word) problems.push(`${word} is associated with itself`);
      if (seen.has(word)) problems.push(`${word} twice in the group of ${words[i].word}`);
      seen.add(word);
      if (!MEANING.test(meaning)) problems.push(`meaning of association ${word} malformed: ${meaning}`);
      if (meaningOf.has(word) && meaningOf.get(word) !== meaning) problems.push(`${word} has two meanings`);
    }
  });
  for (const [name, test] of REQUIRED_SIZES) {
    if (!groups.some((g) => test(g.length))) problems.push(`no group with ${name} associations`);
  }
  return problems;
}

export function statistics({ words, groups }) {
  const headwords = new Set(words.map((w) => w.word));
  const pairs = groups.flat();
  const sizes = groups.map((g) => g.length);
  const histogram = {};
  for (const [name, test] of REQUIRED_SIZES) histogram[name] = sizes.filter(test).length;
  return {
    words: words.length,
    maxAssoc: Math.max(0, ...sizes),
    associations: pairs.length,
    meanAssociations: +(pairs.length / Math.max(1, groups.length)).toFixed(2),
    associationsThatAreHeadwords: +(pairs.filter((p) => headwords.has(p.word)).length / Math.max(1, pairs.length)).toFixed(3),
    groupSizes: histogram,
  };
}

export function runCheck(wordFile, assocFile) {
  const library = checkLibrary(fs.readFileSync(wordFile), fs.readFileSync(assocFile));
  const problems = [...library.problems, ...contentProblems(library)];
  const stats = statistics(library);
  stats.bytes = { [path.basename(wordFile)]: fs.statSync(wordFile).size, [path.basename(assocFile)]: fs.statSync(assocFile).size };
  console.log(JSON.stringify(stats, null, 2));
  for (const p of problems.slice(0, 50)) console.error(`problem: ${p}`);
  if (problems.length > 50) console.error(`... and ${problems.length - 50} more problems`);
  console.log(problems.length ? `check failed: ${problems.length} problems` : 'check passed');
  return problems.length === 0;
}

if (process.argv[1] && import.meta.url === pathToFileURL(process.argv[1]).href) {
  const here = path.dirname(fileURLToPath(import.meta.url));
  const programFolder = path.join(here, '..', 'resources', 'programfolder');
  const [wordFile, assocFile] =
    process.argv.length >= 4
      ? process.argv.slice(2, 4)
      : [path.join(programFolder, '词库', 'sample.qd'), path.join(programFolder, '联想词库', 'sample.the')];
  process.exitCode = runCheck(wordFile, assocFile) ? 0 : 1;
}
