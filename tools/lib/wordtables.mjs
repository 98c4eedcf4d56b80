// The word tables file read by the program (wordlist/WordTables.cpp), little-endian:
//
//   header   8 bytes magic "DWTABLE2", then u32 entryCount, u32 relationCount,
//            u32 formCount, u32 textSize, u32 commonRank
//   entries  entryCount x 24 bytes, sorted by key bytes:
//            u32 key, u32 display, u32 meaning (offsets into text),
//            u32 first relation, u8 key length (display has the same),
//            u8 meaning length, u8 relation count, u8 flags (1: common word),
//            u8 pronunciation length, 3 bytes zero
//   forms    formCount x 12 bytes, sorted by key bytes: other forms of an entry's word
//            ("went", "tried"): u32 key (offset into text), u32 entry,
//            u8 key length, u8 pronunciation length, 2 bytes zero
//   relations relationCount x u32 entry index, each entry's strongest first
//   text     the keys, spellings and meanings in code page 936; a key's American
//            pronunciation in IPA (UTF-8) right after it
//
// Common words are the commonRank most frequent; a ring shows other words only from the list.
export const MAGIC = 'DWTABLE2';
export const HEADER_SIZE = 28;
export const ENTRY_SIZE = 24;
export const FORM_SIZE = 12;
export const MAX_RELATIONS = 40;

const byKey = (x, y) => Buffer.compare(Buffer.from(x.key), Buffer.from(y.key));

// words: [{key, display, meaning, rank, related: [key], ipa}] (any order);
// forms: [{key, base, ipa}] with base an entry's key; encode(text) -> GBK bytes.
export function encodeTables(words, forms, commonRank, encode) {
  const sorted = [...words].sort(byKey);
  const indexOf = new Map(sorted.map((w, i) => [w.key, i]));
  const texts = [];
  const placed = new Map();
  let textSize = 0;
  const append = (bytes) => {
    texts.push(bytes);
    textSize += bytes.length;
    return textSize - bytes.length;
  };
  // Spellings and meanings are shared; a key is placed with its pronunciation after it.
  const place = (text) => {
    const bytes = encode(text);
    if (!placed.has(text)) placed.set(text, append(bytes));
    return { offset: placed.get(text), length: bytes.length };
  };
  const placeKey = (key, ipa) => {
    const bytes = encode(key);
    const sound = Buffer.from(ipa ?? '', 'utf8');
    if (bytes.length > 255 || sound.length > 255) throw new Error(`key cannot be stored: ${key}`);
    return { offset: append(Buffer.concat([bytes, sound])), length: bytes.length, sound: sound.length };
  };
  const relationCount = sorted.reduce((n, w) => n + w.related.length, 0);
  const entries = Buffer.alloc(sorted.length * ENTRY_SIZE);
  const relations = Buffer.alloc(relationCount * 4);
  let relation = 0;
  sorted.forEach((w, i) => {
    const key = placeKey(w.key, w.ipa);
    const display = w.display === w.key ? key : place(w.display);
    const meaning = place(w.meaning);
    if (display.length !== key.length || meaning.length > 255 || w.related.length > 255) {
      throw new Error(`entry cannot be stored: ${w.key}`);
    }
    const at = i * ENTRY_SIZE;
    entries.writeUInt32LE(key.offset, at);
    entries.writeUInt32LE(display.offset, at + 4);
    entries.writeUInt32LE(meaning.offset, at + 8);
    entries.writeUInt32LE(relation, at + 12);
    entries.writeUInt8(key.length, at + 16);
    entries.writeUInt8(meaning.length, at + 17);
    entries.writeUInt8(w.related.length, at + 18);
    entries.writeUInt8(w.rank < commonRank ? 1 : 0, at + 19);
    entries.writeUInt8(key.sound, at + 20);
    for (const r of w.related) relations.writeUInt32LE(indexOf.get(r), 4 * relation++);
  });
  const sortedForms = [...forms].sort(byKey);
  const formTable = Buffer.alloc(sortedForms.length * FORM_SIZE);
  sortedForms.forEach((f, i) => {
    if (indexOf.has(f.key) || !indexOf.has(f.base)) throw new Error(`form cannot be stored: ${f.key}`);
    const key = placeKey(f.key, f.ipa);
    const at = i * FORM_SIZE;
    formTable.writeUInt32LE(key.offset, at);
    formTable.writeUInt32LE(indexOf.get(f.base), at + 4);
    formTable.writeUInt8(key.length, at + 8);
    formTable.writeUInt8(key.sound, at + 9);
  });
  const header = Buffer.alloc(HEADER_SIZE);
  header.write(MAGIC, 0, 'latin1');
  header.writeUInt32LE(sorted.length, 8);
  header.writeUInt32LE(relationCount, 12);
  header.writeUInt32LE(sortedForms.length, 16);
  header.writeUInt32LE(textSize, 20);
  header.writeUInt32LE(commonRank, 24);
  return Buffer.concat([header, entries, formTable, relations, ...texts]);
}
