// The base form the program finds for a regular form of a word, by the same endings in the
// same order as wordlist/LibraryMaker.cpp: "tried" -> "try", "stopped" -> "stop". Each ending
// also names the parts of speech (WordNet's n, v, a) whose words take it.
const ENDINGS = [
  ['ies', 'y', 'nv'], ['ves', 'f', 'n'], ['ves', 'fe', 'n'], ['es', '', 'nv'], ['s', '', 'nv'],
  ['ied', 'y', 'v'], ['ed', 'e', 'v'], ['ed', '', 'v'], ['ing', 'e', 'v'], ['ing', '', 'v'],
  ['ier', 'y', 'a'], ['iest', 'y', 'a'], ['er', 'e', 'a'], ['er', '', 'a'], ['est', 'e', 'a'],
  ['est', '', 'a'], ['ily', 'y', 'a'], ['ly', '', 'a'],
];

// The program's endings and those WordNet adds ("women"), for forms the tables list.
export const MORE_ENDINGS = [...ENDINGS, ['men', 'man', 'n']];

// has(key, pos) tells whether the tables have an entry that may take an ending of those
// parts of speech; null when no ending leads to one.
export function baseOf(key, has, endings = ENDINGS) {
  for (const [suffix, base, pos] of endings) {
    if (key.length <= suffix.length + 1 || !key.endsWith(suffix) || (suffix === 's' && key.endsWith('ss'))) continue;
    const stem = key.slice(0, -suffix.length);
    if (has(stem + base, pos)) return stem + base;
    const n = stem.length;
    if (!base && n >= 3 && stem[n - 1] === stem[n - 2] && !'aeiou'.includes(stem[n - 1]) && has(stem.slice(0, -1), pos)) {
      return stem.slice(0, -1);
    }
  }
  return null;
}
