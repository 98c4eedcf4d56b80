// Picks Chinese meanings for English lemmas from the inverted dictionary,
// guided by the lemma's parts of speech in WordNet.
import { posWeights } from './wordnet.mjs';
import { isFunctionTag, isNameTag, tagPos } from './frequency.mjs';

export const POS_LABEL = { n: 'n.', v: 'v.', a: 'adj.', r: 'adv.' };
const SEPARATOR = '；';
// Two lines of a ring meaning box at the narrowest layout.
export const MAX_MEANING_CELLS = 36;
// Candidates below these scores are obscure or a minor sense of their word.
const MIN_SCORE = 5;
const MIN_SECOND_POS_SCORE = 6;

export function cellCount(text) {
  let n = 0;
  for (const ch of text) n += ch.codePointAt(0) < 0x80 ? 1 : 2;
  return n;
}

// Higher is better: common in running text, tagged with the wanted part of
// speech, listed early in its entry, short. Counts are capped so that very
// common single characters do not win with a minor sense.
export function scoreCandidate(c, pos, { frequencies, characterLevel }) {
  const known = frequencies.get(c.chinese);
  let score = 1.5 * Math.min(Math.log10(1 + (known?.count ?? 0)), 4.5);
  score += [1.5, 1, 0.5, 0.2][c.position] ?? -0.5;
  const tagged = known ? tagPos(known.tag) : null;
  // The segmenter tags many ordinary words as names too, so only a lone
  // character tagged as a name is surely one.
  if (known && isNameTag(known.tag)) score -= c.chinese.length === 1 ? 3 : 1;
  else if (known && isFunctionTag(known.tag)) score -= 1.5;
  else if (tagged) score += tagged.includes(pos) ? 1 : -1;
  score += { 1: 0, 2: 0.5, 3: 0, 4: -1 }[c.chinese.length] ?? -2;
  if ([...c.chinese].every((ch) => characterLevel(ch) === 1)) score += 0.5;
  return score;
}

// Parts of speech a gloss word can have in WordNet.
function posSetOf(senses, word) {
  return new Set((senses.get(word) ?? []).map((s) => s.pos));
}

// A plain gloss such as "light" may be a noun or an adjective: the Chinese
// word's own tag decides, else the other glosses of the same entry ("lamp",
// "lantern" or "easy", "gentle").
function classify(candidate, choices, senses, frequencies, fallback) {
  const tagged = tagPos(frequencies.get(candidate.chinese)?.tag ?? '');
  const byTag = choices.filter((p) => tagged?.includes(p));
  if (byTag.length === 1) return byTag[0];
  const votes = Object.fromEntries(choices.map((p) => [p, 0]));
  for (const g of candidate.coGlosses) {
    const set = posSetOf(senses, g);
    const hits = choices.filter((p) => set.has(p));
    if (hits.length === 1) votes[hits[0]]++;
  }
  // An adverb reading needs evidence; plain glosses default to the other class.
  let best = fallback === 'r' ? (choices.find((p) => p !== 'r') ?? fallback) : fallback;
  for (const p of choices) if (votes[p] > votes[best]) best = p;
  return best;
}

const NUMERAL = /^[零一二三四五六七八九十百千万亿两]+$/u;
// Formal numerals used on cheques, not in ordinary text.
const FORMAL_NUMERAL = /[壹贰叁肆伍陆柒捌玖拾佰仟]/u;

export function adjectiveForm(chinese) {
  return chinese.length <= 2 && !chinese.endsWith('的') && !NUMERAL.test(chinese) ? `${chinese}的` : chinese;
}

// A lone character is a word of its own only when it is tagged as one of the
// wanted class and the sense is among its first.
function acceptable(c, pos, frequencies) {
  if (FORMAL_NUMERAL.test(c.chinese)) return false;
  if (c.chinese.length > 1) return true;
  const tagged = tagPos(frequencies.get(c.chinese)?.tag ?? '');
  return c.position <= 2 && tagged !== null && tagged.includes(pos);
}

// Returns the meaning text, e.g. "v.跑；奔跑 n.跑步", or null when nothing fits.
export function meaningFor(lemma, { senses, index, frequencies, characterLevel }) {
  const senseList = senses.get(lemma);
  if (!senseList) return null;
  const weights = posWeights(senseList);
  const ranked = Object.keys(weights).sort((x, y) => weights[y] - weights[x] || x.localeCompare(y));
  const kept = ranked.filter((p) => weights[p] >= 0.15 * weights[ranked[0]]);
  const nonVerb = kept.filter((p) => p !== 'v');

  const byPos = Object.fromEntries(kept.map((p) => [p, new Map()]));
  for (const c of index.get(lemma) ?? []) {
    let pos;
    if (c.verb) pos = kept.includes('v') ? 'v' : null;
    else if (nonVerb.length === 0) pos = null;
    else pos = nonVerb.length === 1 ? nonVerb[0] : classify(c, nonVerb, senses, frequencies, nonVerb[0]);
    if (!pos || !acceptable(c, pos, frequencies)) continue;
    const score = scoreCandidate(c, pos, { frequencies, characterLevel });
    const seen = byPos[pos].get(c.chinese);
    if (seen === undefined || score > seen) byPos[pos].set(c.chinese, score);
  }

  const parts = [];
  const used = new Set();
  let total = 0;
  for (const pos of kept) {
    const limit = parts.length === 0 ? 3 : 2;
    const floor = parts.length === 0 ? MIN_SCORE : MIN_SECOND_POS_SCORE;
    const best = [...byPos[pos].entries()]
      .sort((x, y) => y[1] - x[1] || x[0].localeCompare(y[0]))
      .filter(([, score], i, all) => score >= Math.max(floor, all[0][1] - 2));
    const glosses = [];
    for (const [chinese] of best) {
      const shown = pos === 'a' ? adjectiveForm(chinese) : chinese;
      if (used.has(shown) || glosses.length >= limit || total >= 4) continue;
      used.add(shown);
      glosses.push(shown);
      total++;
    }
    if (!glosses.length) continue;
    const label = pos === 'a' && glosses.every((g) => NUMERAL.test(g)) ? 'num.' : POS_LABEL[pos];
    parts.push({ label, glosses });
  }
  if (!parts.length) return null;

  const render = () => parts.map((p) => p.label + p.glosses.join(SEPARATOR)).join(' ');
  while (cellCount(render()) > MAX_MEANING_CELLS) {
    const last = parts[parts.length - 1];
    if (last.glosses.length > 1) last.glosses.pop();
    else if (parts.length > 1) parts.pop();
    else break;
  }
  return render();
}

// Labels for what the segmenter tags a word that WordNet does not know.
const FUNCTION_LABEL = { r: 'pron.', rr: 'pron.', rz: 'pron.', p: 'prep.', c: 'conj.', e: 'int.', y: 'int.', o: 'int.', m: 'num.' };

// The best few glosses of a word that meaningFor leaves without one: any candidate of the
// lenient index, a labelled gloss or rare characters only when nothing else is there. The
// part of speech is the gloss's ("to ..."), else WordNet's, else the Chinese word's tag.
export function plainMeaningFor(word, { senses, index, frequencies, characterLevel }) {
  const senseList = senses.get(word);
  const weights = senseList ? posWeights(senseList) : {};
  const nouns = Object.keys(weights)
    .filter((p) => p !== 'v')
    .sort((x, y) => weights[y] - weights[x] || x.localeCompare(y));
  const scored = new Map();
  for (const c of index.get(word) ?? []) {
    // Only a word of cheque numerals alone: 陆 and 伍 are also in 大陆 and 队伍.
    if (/^[壹贰叁肆伍陆柒捌玖拾佰仟]+$/u.test(c.chinese)) continue;
    // A rare lone character is a word of its own when that is all it means (镱 ytterbium) or
    // its first meaning, and it is not also a radical or a variant (疒).
    const rare = c.chinese.length === 1 && characterLevel(c.chinese) !== 1;
    if (rare && c.definitionCount > 1 && (c.position > 0 || c.reference)) continue;
    const tag = frequencies.get(c.chinese)?.tag ?? '';
    let label;
    if (c.verb) label = 'v';
    else if (nouns.length) label = nouns.length === 1 ? nouns[0] : classify(c, nouns, senses, frequencies, nouns[0]);
    else label = FUNCTION_LABEL[tag] ?? (tagPos(tag) ?? 'n').replace('v', 'n')[0];
    let score = scoreCandidate(c, POS_LABEL[label] ? label : 'n', { frequencies, characterLevel });
    if (c.labelled) score -= 4;
    if ([...c.chinese].some((ch) => characterLevel(ch) === 3)) score -= 3;
    if (c.chinese.length === 1 && c.position > 2) score -= 2;
    const shown = label === 'a' ? adjectiveForm(c.chinese) : c.chinese;
    const key = `${label}\t${shown}`;
    if (score > (scored.get(key) ?? -Infinity)) scored.set(key, score);
  }
  const best = [...scored.entries()].sort((x, y) => y[1] - x[1] || x[0].localeCompare(y[0]));
  if (!best.length) return null;
  const parts = new Map();
  for (const [key, score] of best.filter(([, s]) => s >= best[0][1] - 1.5).slice(0, 3)) {
    const [label, shown] = key.split('\t');
    if (!parts.has(label)) parts.set(label, []);
    parts.get(label).push(shown);
  }
  const labelOf = (label, glosses) =>
    label === 'a' && glosses.every((g) => NUMERAL.test(g)) ? 'num.' : (POS_LABEL[label] ?? label);
  const render = () => [...parts.entries()].map(([label, glosses]) => labelOf(label, glosses) + glosses.join(SEPARATOR)).join(' ');
  while (cellCount(render()) > MAX_MEANING_CELLS && [...parts.values()].flat().length > 1) {
    const last = [...parts.keys()].pop();
    if (parts.get(last).length > 1) parts.get(last).pop();
    else parts.delete(last);
  }
  return render();
}
