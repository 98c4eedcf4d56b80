// Meanings for the small words WordNet leaves out or knows only in another sense ("in" as
// inch, "can" as a tin), which nearly every word list has.
import { cellCount, MAX_MEANING_CELLS } from './meanings.mjs';

export const CLOSED_CLASSES = {
  'pron.': `i me my mine you your yours he him his she her hers it its we us our ours they them their theirs
    myself yourself himself herself itself ourselves themselves this that these those who whom whose which what
    everyone everybody someone somebody anyone anybody nobody everything something anything nothing another`,
  'prep.': `about above across after against along among around at before behind below beneath beside between
    beyond by despite during except for from in inside into near of off on onto outside over past since through
    throughout to toward towards under until upon with within without`,
  'conj.': 'and but or nor because although though if unless whereas whether than',
  'aux.': 'can could may might must shall should will would',
  'art.': 'a an the',
  'int.': 'hello hi goodbye bye oh wow ouch yes please thanks okay ok sorry yeah hey huh um',
  'num.': 'zero one two three four five six seven eight nine ten eleven twelve twenty hundred thousand million billion',
  'adv.': 'when where out away else sure',
};
for (const label of Object.keys(CLOSED_CLASSES)) CLOSED_CLASSES[label] = CLOSED_CLASSES[label].trim().split(/\s+/);

// The dictionary has no plain gloss for these.
const FIXED = {
  a: 'art.一个',
  an: 'art.一个',
  the: 'art.这；那',
  i: 'pron.我',
  me: 'pron.我',
  yes: 'int.是；是的',
  zero: 'num.零',
  hundred: 'num.百',
  billion: 'num.十亿',
  your: 'pron.你的；你们的',
  yours: 'pron.你的；你们的',
  hers: 'pron.她的',
  ours: 'pron.我们的',
  theirs: 'pron.他们的',
  themselves: 'pron.他们自己',
  whom: 'pron.谁',
  whose: 'pron.谁的',
  somebody: 'pron.某人',
  anybody: 'pron.任何人',
  nobody: 'pron.没有人',
  nothing: 'pron.没有什么',
  another: 'pron.另一个',
  against: 'prep.反对；靠着',
  beside: 'prep.在旁边',
  beyond: 'prep.超出；在那边',
  into: 'prep.进入；到里面',
  on: 'prep.在上面；关于',
  onto: 'prep.到上面',
  over: 'prep.在上方；超过',
  toward: 'prep.向；朝',
  upon: 'prep.在上面',
  without: 'prep.没有；无',
  nor: 'conj.也不',
  whereas: 'conj.然而；而',
  than: 'conj.比',
  could: 'aux.能；可以',
  would: 'aux.会；将',
  goodbye: 'int.再见',
  bye: 'int.再见',
  wow: 'int.哇',
  okay: 'int.好；行',
  ok: 'int.好；行',
  sorry: 'int.对不起 adj.抱歉的',
  yeah: 'int.是；对',
  when: 'adv.什么时候 conj.当时',
  where: 'adv.哪里；在哪里',
  out: 'adv.出；在外',
  away: 'adv.离开；在远处',
  else: 'adv.其他；别的',
  sure: 'adj.确信的 adv.当然',
};
// The segmenter's tags for each class.
const TAGS = { 'pron.': /^r/, 'prep.': /^p$/, 'conj.': /^c$/, 'aux.': /^v/, 'int.': /^[ey]$/, 'num.': /^m/, 'adv.': /^d/ };

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
