// Inverts the Chinese-English dictionary into an English -> Chinese index of
// short, plain glosses that a learner can read.

// Register or regional labels whose gloss a learner should not be given.
const REJECT_LABELS =
  /\b(archaic|literary|dialect|old|obsolete|classical|Tw|Taiwan|HK|Hong Kong|Cantonese|Wu|Hokkien|Macau|slang|Internet|vulgar|derog|derogatory|euphemism|euph|onom|onomatopoeia|abbr|name|surname|polite|humble|honorific|formal|bound form|erhua|coll|colloquial|old-fashioned|dated|rare|Buddhism|Buddhist|Taoism|Daoism|TCM|Chinese medicine|pejorative|poetic|military|Beijing|northern|southern|Japanese|Korean|Manchu|Mongolian|Tibetan|Sanskrit|Pali|neologism|jocular|figuratively|fig|sports|basketball|soccer|football|volleyball|tennis|badminton|golf|baseball|chess|Go|weiqi|mahjong|card games|bridge|poker)\b/i;

// Entries with one of these are character readings or names rather than words.
const REJECT_ENTRY = /\b(variant of|surname|used in|abbr\. for|radical|Kangxi|place name|county|dynasty)\b/i;

// A meaning may contain only characters that read as plain Chinese words.
const CHINESE_ONLY = /^[\u4e00-\u9fff]+$/u;

export function definitionsOf(entry) {
  return Array.isArray(entry[3]) ? entry[3] : [entry[3]];
}

// Turns one gloss into the key it is indexed under, or null when it carries a
// label that rules it out. "to run" -> {key: "run", verb: true}.
export function hasRejectedLabel(gloss) {
  return [...gloss.matchAll(/\(([^()]*)\)/g)].some((m) => REJECT_LABELS.test(m[1]));
}

export function glossKey(gloss) {
  if (hasRejectedLabel(gloss)) return null;
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

// Builds Map key -> [{chinese, verb, position, definitionCount, coGlosses}].
export function buildIndex(entries, isUsableChinese) {
  const index = new Map();
  for (const entry of entries) {
    const [, simplified, pinyin] = entry;
    if (!CHINESE_ONLY.test(simplified) || simplified.length > 4) continue;
    // Capitalised pinyin marks proper names.
    if (/^[A-Z]/.test(pinyin)) continue;
    if (!isUsableChinese(simplified)) continue;
    const definitions = definitionsOf(entry);
    if (definitions.some((d) => REJECT_ENTRY.test(d))) continue;
    const glosses = [];
    definitions.forEach((d, position) => {
      for (const part of d.split(/;\s*/)) glosses.push({ part, position });
    });
    const keys = glosses.map(({ part }) => glossKey(part));
    // A register label usually covers the glosses that follow it as well.
    const firstRejected = glosses.findIndex(({ part }) => hasRejectedLabel(part));
    if (firstRejected >= 0) keys.fill(null, firstRejected);
    keys.forEach((k, n) => {
      if (!k) return;
      const coGlosses = keys.filter((other, m) => other && m !== n).map((other) => other.key);
      if (!index.has(k.key)) index.set(k.key, []);
      index.get(k.key).push({
        chinese: simplified,
        verb: k.verb,
        position: glosses[n].position,
        definitionCount: definitions.length,
        coGlosses,
      });
    });
  }
  return index;
}
