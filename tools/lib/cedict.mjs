// Inverts the Chinese-English dictionary into an English -> Chinese index of
// short, plain glosses that a learner can read.

// Register or regional labels whose gloss a learner should not be given.
const REJECT_LABELS =
  /\b(archaic|literary|dialect|old|obsolete|classical|Tw|Taiwan|HK|Hong Kong|Cantonese|Wu|Hokkien|Macau|slang|Internet|vulgar|derog|derogatory|euphemism|euph|onom|onomatopoeia|abbr|name|surname|polite|humble|honorific|formal|bound form|erhua|coll|colloquial|old-fashioned|dated|rare|Buddhism|Buddhist|Taoism|Daoism|TCM|Chinese medicine|pejorative|poetic|military|Beijing|northern|southern|Japanese|Korean|Manchu|Mongolian|Tibetan|Sanskrit|Pali|neologism|jocular|figuratively|fig|sports|basketball|soccer|football|volleyball|tennis|badminton|golf|baseball|chess|Go|weiqi|mahjong|card games|bridge|poker)\b/i;

// Labels that rule a gloss out even when a word would otherwise get no meaning: another
// time, place or register than a learner's.
const HARSH_LABELS =
  /\b(archaic|literary|dialect|old|obsolete|classical|Cantonese|Wu|Hokkien|slang|Internet|vulgar|derog|derogatory|euphemism|euph|onom|onomatopoeia|abbr|name|surname|polite|humble|honorific|erhua|old-fashioned|dated|rare|pejorative|poetic|neologism|jocular)\b/i;

// The glosses of a lenient entry that are references rather than meanings.
const REFERENCE = /\b(variant of|used in|abbr\. for|surname|Kang ?xi)\b/i;

// Entries with one of these are character readings or names rather than words.
const REJECT_ENTRY = /\b(variant of|surname|used in|abbr\. for|radical|Kangxi|place name|county|dynasty)\b/i;

// A meaning may contain only characters that read as plain Chinese words.
const CHINESE_ONLY = /^[\u4e00-\u9fff]+$/u;

export function definitionsOf(entry) {
  return Array.isArray(entry[3]) ? entry[3] : [entry[3]];
}

// Turns one gloss into the key it is indexed under, or null when it carries a
// label that rules it out. "to run" -> {key: "run", verb: true}.
export function hasRejectedLabel(gloss, labels = REJECT_LABELS) {
  return [...gloss.matchAll(/\(([^()]*)\)/g)].some((m) => labels.test(m[1]));
}

export function glossKey(gloss, labelled = false) {
  if (!labelled && hasRejectedLabel(gloss)) return null;
  let text = gloss
    .replace(/\([^()]*\)/g, ' ')
    .replace(/\[[^\]]*\]/g, ' ')
    .replace(/\s+/g, ' ')
    .trim();
  if (/[^A-Za-z' -]/.test(text) || text === '') return null;
  let verb = false;
  if (text.startsWith('to ')) {
    verb = true;
    text = text.slice(3);
  } else {
    text = text.replace(/^(a|an|the) /, '');
  }
  return { key: text, verb };
}

// Builds Map key -> [{chinese, verb, position, definitionCount, coGlosses, labelled, reference}].
// lenient: for words that would otherwise get no meaning at all, longer headwords and
// entries with a variant or surname note keep their other glosses, and labelled glosses
// are kept with labelled set; reference tells that the entry also refers to another.
export function buildIndex(entries, isUsableChinese, { lenient = false } = {}) {
  const index = new Map();
  for (const entry of entries) {
    const [, simplified, pinyin] = entry;
    if (!CHINESE_ONLY.test(simplified) || simplified.length > (lenient ? 8 : 4)) continue;
    // Capitalised pinyin marks proper names.
    if (/^[A-Z]/.test(pinyin)) continue;
    if (!isUsableChinese(simplified)) continue;
    const definitions = definitionsOf(entry);
    if (!lenient && definitions.some((d) => REJECT_ENTRY.test(d))) continue;
    const glosses = [];
    definitions.forEach((d, position) => {
      if (lenient && REFERENCE.test(d)) return;
      for (const part of d.split(/;\s*/)) glosses.push({ part, position });
    });
    const keys = glosses.map(({ part }) => glossKey(part) ?? (lenient ? glossKey(part, true) : null));
    // A register label usually covers the glosses that follow it as well.
    const firstRejected = glosses.findIndex(({ part }) => hasRejectedLabel(part));
    const labelled = (n) => firstRejected >= 0 && n >= firstRejected;
    if (firstRejected >= 0 && !lenient) keys.fill(null, firstRejected);
    const firstHarsh = glosses.findIndex(({ part }) => hasRejectedLabel(part, HARSH_LABELS));
    if (firstHarsh >= 0 && lenient) keys.fill(null, firstHarsh);
    keys.forEach((k, n) => {
      if (!k) return;
      const coGlosses = keys.filter((other, m) => other && m !== n).map((other) => other.key);
      if (!index.has(k.key)) index.set(k.key, []);
      const candidate = {
        chinese: simplified,
        verb: k.verb,
        position: glosses[n].position,
        definitionCount: definitions.length,
        coGlosses,
      };
      if (lenient) Object.assign(candidate, { labelled: labelled(n), reference: definitions.some((d) => REFERENCE.test(d)) });
      index.get(k.key).push(candidate);
    });
  }
  return index;
}
