// The base form the program finds for a regular form of a word, by the same endings in the
// same order as wordlist/LibraryMaker.cpp: "tried" -> "try", "stopped" -> "stop".
const ENDINGS = [
  ['ies', 'y'], ['ves', 'f'], ['ves', 'fe'], ['es', ''], ['s', ''], ['ied', 'y'],
  ['ed', 'e'], ['ed', ''], ['ing', 'e'], ['ing', ''], ['ier', 'y'], ['iest', 'y'],
  ['er', 'e'], ['er', ''], ['est', 'e'], ['est', ''], ['ily', 'y'], ['ly', ''],
];

// The program's endings and those WordNet adds ("women"), for forms the tables list.
export const MORE_ENDINGS = [...ENDINGS, ['men', 'man']];

// has(key) tells whether the tables have an entry; null when no ending leads to one.
export function baseOf(key, has, endings = ENDINGS) {
  for (const [suffix, base] of endings) {
    if (key.length <= suffix.length + 1 || !key.endsWith(suffix) || (suffix === 's' && key.endsWith('ss'))) continue;
    const stem = key.slice(0, -suffix.length);
    if (has(stem + base)) return stem + base;
    const n = stem.length;
    if (!base && n >= 3 && stem[n - 1] === stem[n - 2] && !'aeiou'.includes(stem[n - 1]) && has(stem.slice(0, -1))) {
      return stem.slice(0, -1);
    }
  }
  return null;
}
