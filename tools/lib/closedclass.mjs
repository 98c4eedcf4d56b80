// Meanings for the small words WordNet leaves out or knows only in another sense ("in" as
// inch, "can" as a tin), which nearly every word list has.
import { cellCount, MAX_MEANING_CELLS } from './meanings.mjs';

export const CLOSED_CLASSES = {
  'pron.': `i me my mine you your yours he him his she her hers it its we us our ours they them their theirs
    myself yourself himself herself itself ourselves themselves this that these those who whom whose which what
    everyone everybody someone somebody anyone anybody nobody everything something anything nothing`,
  'prep.': `about above across after against along among around at before behind below beneath beside between
    beyond by despite during except for from in inside into near of off on onto outside over past since through
    throughout to toward towards under until upon with within without`,
  'conj.': 'and but or nor because although though if unless whereas whether than',
  'aux.': 'can could may might must shall should will would',
  'art.': 'a an the',
  'int.': 'hello hi goodbye bye oh wow ouch yes please thanks okay ok sorry',
};
for (const label of Object.keys(CLOSED_CLASSES)) CLOSED_CLASSES[label] = CLOSED_CLASSES[label].trim().split(/\s+/);

// The dictionary has no plain gloss for these.
const FIXED = { a: 'art.一个', an: 'art.一个', the: 'art.这；那', i: 'pron.我', me: 'pron.我', yes: 'int.是；是的' };
// The segmenter's tags for each class.
const TAGS = { 'pron.': /^r/, 'prep.': /^p$/, 'conj.': /^c$/, 'aux.': /^v/, 'int.': /^[ey]$/ };

export function closedClassMeaning(word, label, { index, frequencies, characterLevel }) {
  if (FIXED[word]) return FIXED[word];
  const scores = new Map();
  for (const c of index.get(word) ?? []) {
    if (c.verb && label !== 'aux.') continue;
    if (![...c.chinese].every((ch) => characterLevel(ch) === 1)) continue;
    const known = frequencies.get(c.chinese);
    let score = 1.5 * Math.min(Math.log10(1 + (known?.count ?? 0)), 4.5);
    score += [1.5, 1, 0.5][c.position] ?? -0.5;
    score += known && TAGS[label].test(known.tag) ? 2 : -1;
    score += c.chinese.length <= 2 ? 0.5 : -0.5;
    if (score > (scores.get(c.chinese) ?? -Infinity)) scores.set(c.chinese, score);
  }
  const best = [...scores.entries()].sort((x, y) => y[1] - x[1] || x[0].localeCompare(y[0]));
  if (!best.length) return null;
  const kept = best.filter(([, s]) => s >= Math.max(5, best[0][1] - 2)).slice(0, 3).map(([c]) => c);
  while (kept.length > 1 && cellCount(label + kept.join('；')) > MAX_MEANING_CELLS) kept.pop();
  return kept.length ? label + kept.join('；') : null;
}
