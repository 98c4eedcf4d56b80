// The word tables file read by the program (wordlist/WordTables.cpp), little-endian:
//
//   header   8 bytes magic "DWTABLE1", then u32 entryCount, u32 relationCount,
//            u32 textSize, u32 commonRank
//   entries  entryCount x 20 bytes, sorted by key bytes:
//            u32 key, u32 display, u32 meaning (offsets into text),
//            u32 first relation, u8 key length (display has the same),
//            u8 meaning length, u8 relation count, u8 flags (1: common word)
//   relations relationCount x u32 entry index, each entry's strongest first
//   text     code page 936 bytes of the keys, spellings and meanings
//
// Common words are the commonRank most frequent; a ring shows other words only from the list.
export const MAGIC = 'DWTABLE1';
export const HEADER_SIZE = 24;
export const ENTRY_SIZE = 20;
export const MAX_RELATIONS = 40;

// words: [{key, display, meaning, rank, related: [key]}] (any order); encode(text) -> GBK bytes.
export function encodeTables(words, commonRank, encode) {
  const sorted = [...words].sort((x, y) => Buffer.compare(Buffer.from(x.key), Buffer.from(y.key)));
  const indexOf = new Map(sorted.map((w, i) => [w.key, i]));
  const texts = [];
  let textSize = 0;
  const place = (text) => {
    const bytes = encode(text);
    texts.push(bytes);
    textSize += bytes.length;
    return { offset: textSize - bytes.length, length: bytes.length };
  };
  const relationCount = sorted.reduce((n, w) => n + w.related.length, 0);
  const entries = Buffer.alloc(sorted.length * ENTRY_SIZE);
  const relations = Buffer.alloc(relationCount * 4);
  let relation = 0;
  sorted.forEach((w, i) => {
    const key = place(w.key);
    const display = w.display === w.key ? key : place(w.display);
    const meaning = place(w.meaning);
    if (key.length > 255 || display.length !== key.length || meaning.length > 255 || w.related.length > 255) {
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
    for (const r of w.related) relations.writeUInt32LE(indexOf.get(r), 4 * relation++);
  });
  const header = Buffer.alloc(HEADER_SIZE);
  header.write(MAGIC, 0, 'latin1');
  header.writeUInt32LE(sorted.length, 8);
  header.writeUInt32LE(relationCount, 12);
  header.writeUInt32LE(textSize, 16);
  header.writeUInt32LE(commonRank, 20);
  return Buffer.concat([header, entries, relations, ...texts]);
}
