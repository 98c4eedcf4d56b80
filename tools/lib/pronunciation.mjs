// American pronunciations in IPA from the pronouncing dictionary's ARPAbet: stress marks
// before the stressed syllable, syllables split by the longest onset English allows.

const VOWELS = {
  AA: 'ɑ',
  AE: 'æ',
  AO: 'ɔ',
  AW: 'aʊ',
  AY: 'aɪ',
  EH: 'ɛ',
  EY: 'eɪ',
  IH: 'ɪ',
  IY: 'i',
  OW: 'oʊ',
  OY: 'ɔɪ',
  UH: 'ʊ',
  UW: 'u',
};
const CONSONANTS = {
  B: 'b',
  CH: 'tʃ',
  D: 'd',
  DH: 'ð',
  F: 'f',
  G: 'ɡ',
  HH: 'h',
  JH: 'dʒ',
  K: 'k',
  L: 'l',
  M: 'm',
  N: 'n',
  NG: 'ŋ',
  P: 'p',
  R: 'r',
  S: 's',
  SH: 'ʃ',
  T: 't',
  TH: 'θ',
  V: 'v',
  W: 'w',
  Y: 'j',
  Z: 'z',
  ZH: 'ʒ',
};

// Onsets of more than one consonant that begin English syllables.
const ONSETS = new Set(
  `P R|P L|P Y|B R|B L|B Y|T R|T W|D R|D W|K R|K L|K W|K Y|G R|G L|G W|F R|F L|F Y|V Y|TH R|TH W|SH R|HH Y|M Y|
   S P|S T|S K|S M|S N|S L|S W|S F|S P R|S P L|S P Y|S T R|S K R|S K W|S K Y`
    .split('|')
    .map((s) => s.trim()),
);

function vowelOf(phone) {
  const m = /^([A-Z]+)([012])$/.exec(phone);
  if (!m) return null;
  const [, base, stress] = m;
  if (base === 'AH') return { ipa: stress === '0' ? 'ə' : 'ʌ', stress };
  if (base === 'ER') return { ipa: stress === '0' ? 'ɚ' : 'ɝ', stress };
  return VOWELS[base] ? { ipa: VOWELS[base], stress } : null;
}

// "K AH0 M P Y UW1 T ER0" -> "kəmˈpjutɚ"; null when a phone is unknown. A word of one
// syllable carries no mark, as dictionaries print it. breaks: indices of phones that begin a
// part of a compound, where no syllable reaches back ("ice-cream" is aɪs|krim, not aɪ|skrim).
export function arpabetToIpa(arpabet, breaks = new Set()) {
  const phones = arpabet.trim().split(/\s+/);
  const vowels = [];
  for (let i = 0; i < phones.length; i++) {
    const v = vowelOf(phones[i]);
    if (v) vowels.push({ at: i, ...v });
    else if (!CONSONANTS[phones[i]]) return null;
  }
  if (!vowels.length) return null;
  // Where each syllable starts: the longest onset the consonants before its vowel allow.
  const starts = vowels.map((v, k) => {
    if (k === 0) return 0;
    const previous = vowels[k - 1].at;
    let start = v.at;
    const onset = (from) => (from === v.at - 1 ? phones[from] !== 'NG' : ONSETS.has(phones.slice(from, v.at).join(' ')));
    while (start - 1 > previous && !breaks.has(start) && onset(start - 1)) start--;
    return start;
  });
  let ipa = '';
  vowels.forEach((v, k) => {
    const end = k + 1 < vowels.length ? starts[k + 1] : phones.length;
    if (vowels.length > 1 && v.stress !== '0') ipa += v.stress === '1' ? 'ˈ' : 'ˌ';
    for (let i = starts[k]; i < end; i++) ipa += i === v.at ? v.ipa : CONSONANTS[phones[i]];
  });
  return ipa;
}

// dictionary: { word: "ARPABET # comment", "word(2)": ... }. Returns Map word -> ARPAbet
// of its first pronunciation.
export function loadPronunciations(dictionary) {
  const table = new Map();
  for (const [entry, arpabet] of Object.entries(dictionary)) {
    if (!/\(\d+\)$/.test(entry)) table.set(entry, arpabet.replace(/#.*/, '').trim());
  }
  return table;
}

// The IPA of a key: its own or its hyphenated spelling's, split where its hyphenated parts meet when their sounds add up
// to it; else its words' or parts' in turn; null when any part is unknown.
export function pronounce(key, table) {
  // The dictionary writes some phrases hyphenated ("ice-cream").
  if (!table.has(key) && table.has(key.replace(/ /g, '-'))) key = key.replace(/ /g, '-');
  const parts = key.split(/[ -]/).filter(Boolean);
  const known = parts.length > 1 && parts.every((p) => table.has(p));
  if (table.has(key)) {
    const breaks = new Set();
    if (known) {
      const lengths = parts.map((p) => table.get(p).split(' ').length);
      if (lengths.reduce((a, b) => a + b) === table.get(key).split(' ').length) {
        lengths.slice(0, -1).reduce((at, n) => (breaks.add(at + n), at + n), 0);
      }
    }
    return arpabetToIpa(table.get(key), breaks);
  }
  if (!known) return null;
  const sounds = parts.map((p) => arpabetToIpa(table.get(p)));
  return sounds.every(Boolean) ? sounds.join(' ') : null;
}
