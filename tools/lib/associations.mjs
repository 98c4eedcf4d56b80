// Collects related words of a lemma from WordNet: synonyms, antonyms,
// derived forms and nearby concepts, strongest relation first.

// Weight per relation; hypernyms and hyponyms only for the leading senses,
// where they still say something about the word itself.
const WEIGHTS = {
  synonym: 3,
  antonym: 4,
  derived: 2.5,
  pertainym: 2,
  participle: 2,
  attribute: 2,
  similar: 1.5,
  alsoSee: 1.5,
  hypernym: 1,
  hyponym: 0.7,
};
const SYMBOL_RELATION = {
  '!': 'antonym',
  '+': 'derived',
  '\\': 'pertainym',
  '<': 'participle',
  '=': 'attribute',
  '&': 'similar',
  '^': 'alsoSee',
  '@': 'hypernym',
  '@i': 'hypernym',
  '~': 'hyponym',
};
const MAX_SENSES = 6;

// Returns [{word, score}] sorted strongest first; accept(word) filters candidates.
export function relatedWords(lemma, { senses, synsets }, accept) {
  const scores = new Map();
  const add = (word, weight) => {
    if (word === lemma || !accept(word)) return;
    scores.set(word, (scores.get(word) ?? 0) + weight);
  };
  const ordered = [...(senses.get(lemma) ?? [])].sort((x, y) => y.tagCount - x.tagCount || x.rank - y.rank);
  ordered.slice(0, MAX_SENSES).forEach((sense, j) => {
    const synset = synsets.get(sense.key);
    if (!synset) return;
    const senseWeight = 1 / (1 + j);
    const self = synset.words.findIndex((w) => w.toLowerCase() === lemma) + 1;
    for (const w of synset.words) add(w, WEIGHTS.synonym * senseWeight);
    for (const p of synset.pointers) {
      const relation = SYMBOL_RELATION[p.symbol];
      if (!relation) continue;
      if (relation === 'hypernym' && j >= 2) continue;
      if (relation === 'hyponym' && j >= 1) continue;
      // Lexical pointers belong to one word of the synset; skip other words' links.
      if (p.source !== 0 && p.source !== self) continue;
      const target = synsets.get(p.target);
      if (!target) continue;
      const weight = WEIGHTS[relation] * senseWeight;
      if (p.targetWord !== 0) add(target.words[p.targetWord - 1], weight);
      else for (const w of target.words) add(w, weight);
    }
  });
  return [...scores.entries()].map(([word, score]) => ({ word, score }));
}
