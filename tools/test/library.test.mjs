import { test } from 'node:test';
import assert from 'node:assert/strict';
import iconv from 'iconv-lite';
import { buildIndex, glossKey } from '../lib/cedict.mjs';
import { adjectiveForm, meaningFor, MAX_MEANING_CELLS, cellCount } from '../lib/meanings.mjs';
import { associationLibraryText, characterLevel, checkLibrary, wordLibraryText } from '../lib/libraryfile.mjs';
import { contentProblems } from '../check-library.mjs';

const gbk = (text) => iconv.encode(text, 'gbk');

test('gloss keys', async (t) => {
  const rows = [
    ['verb', 'to run', { key: 'run', verb: true }],
    ['leading qualifier dropped', '(of an animal) to paw', { key: 'paw', verb: true }],
    ['article dropped', 'a dog', { key: 'dog', verb: false }],
    ['phrase kept whole', 'oil tanker', { key: 'oil tanker', verb: false }],
    ['register label', '(archaic) fine', null],
    ['regional label', '(Tw) percent', null],
    ['classifier with comma', 'classifier for flat objects, sheet', null],
    ['reference with pinyin', 'see 跑步[pao3 bu4]', null],
  ];
  for (const [name, gloss, expected] of rows) {
    await t.test(name, () => assert.deepEqual(glossKey(gloss), expected));
  }
});

test('dictionary index skips what a learner should not see', async (t) => {
  const entries = [
    ['高興', '高兴', 'gao1 xing4', ['happy', 'glad'], [], []],
    ['張', '张', 'Zhang1', 'surname Zhang', [], []],
    ['倫敦', '伦敦', 'Lun2 dun1', 'London', [], []],
    ['㐅', '㐅', 'wu3', 'old variant of 五[wu3]', [], []],
    ['陰間', '阴间', 'yin1 jian1', ['the nether world', '(slang) disturbing', 'awful'], [], []],
    ['3D打印', '3D打印', 'san1 D da3 yin4', 'to 3D print', [], []],
  ];
  const index = buildIndex(entries, () => true);
  const rows = [
    ['plain gloss', 'happy', ['高兴']],
    ['second gloss', 'glad', ['高兴']],
    ['surname entry', 'Zhang', []],
    ['proper name', 'London', []],
    ['variant entry', 'wu', []],
    ['gloss after a slang label', 'awful', []],
    ['gloss before the label', 'nether world', ['阴间']],
    ['latin letters in the headword', '3D print', []],
  ];
  for (const [name, key, expected] of rows) {
    await t.test(name, () => assert.deepEqual((index.get(key) ?? []).map((c) => c.chinese), expected));
  }
});

test('meanings', async (t) => {
  const senses = new Map([
    ['light', [{ pos: 'n', tagCount: 30, rank: 1 }, { pos: 'a', tagCount: 20, rank: 1 }]],
    ['lamp', [{ pos: 'n', tagCount: 5, rank: 1 }]],
    ['easy', [{ pos: 'a', tagCount: 5, rank: 1 }]],
    ['another', [{ pos: 'a', tagCount: 10, rank: 1 }]],
    ['long', [{ pos: 'a', tagCount: 10, rank: 1 }]],
  ]);
  const candidate = (chinese, position, coGlosses = []) => ({ chinese, verb: false, position, definitionCount: 3, coGlosses });
  const index = new Map([
    ['light', [candidate('灯', 1, ['lamp']), candidate('轻', 0, ['easy'])]],
    ['another', [candidate('他', 4), candidate('另一', 0)]],
    ['long', ['长', '长久', '长远', '长期', '悠长', '漫长'].map((c) => candidate(c, 0))],
  ]);
  const frequencies = new Map([
    ['灯', { count: 3000, tag: 'n' }],
    ['轻', { count: 7000, tag: 'a' }],
    ['他', { count: 200000, tag: 'r' }],
    ['另一', { count: 500, tag: 'a' }],
    ['长', { count: 9000, tag: 'a' }],
    ...['长久', '长远', '长期', '悠长', '漫长'].map((c) => [c, { count: 900, tag: 'a' }]),
  ]);
  const context = { senses, index, frequencies, characterLevel };
  const rows = [
    ['noun and adjective told apart', 'light', (m) => assert.equal(m, 'n.灯 adj.轻的')],
    ['pronoun loses to the first sense', 'another', (m) => assert.ok(m.startsWith('adj.另一的'), m)],
    ['at most three glosses for one part of speech', 'long', (m) => assert.equal(m.split('；').length, 3)],
    ['no meaning without candidates', 'lamp', (m) => assert.equal(m, null)],
  ];
  for (const [name, lemma, check] of rows) {
    await t.test(name, () => {
      const m = meaningFor(lemma, context);
      check(m);
      if (m) assert.ok(cellCount(m) <= MAX_MEANING_CELLS);
    });
  }
  await t.test('adjective form', () => {
    assert.deepEqual(['快乐', '红', '快乐的', '十五', '空荡荡'].map(adjectiveForm), ['快乐的', '红的', '快乐的', '十五', '空荡荡']);
  });
});

test('writer refuses values the file cannot hold', async (t) => {
  const rows = [
    ['double quote', 'say "hi"'],
    ['line break', 'n.油\r\n船'],
    ['not in GBK', 'n.😀'],
  ];
  for (const [name, meaning] of rows) {
    await t.test(name, () => assert.throws(() => wordLibraryText([{ word: 'x', meaning }])));
  }
});

test('written files read back', () => {
  const words = [{ word: 'tanker', meaning: 'n.油船；空中加油飞机' }, { word: 'run', meaning: 'v.跑,奔跑' }];
  const groups = [[{ word: 'ship', meaning: 'n.船' }], []];
  const qd = wordLibraryText(words);
  assert.match(qd, /^2\r\n"tanker","n\.油船；空中加油飞机"\r\n/);
  const read = checkLibrary(gbk(qd), gbk(associationLibraryText(groups)));
  assert.deepEqual(read, { words, groups, problems: [] });
});

test('checker finds broken files', async (t) => {
  const qd = '2\r\n"a","n.甲"\r\n"b","n.乙"\r\n';
  const rows = [
    ['group larger than maxAssoc', qd, '1\r\n2\r\n"b","n.乙"\r\n"c","n.丙"\r\n0\r\n', 'more than 1'],
    ['fewer groups than words', qd, '1\r\n1\r\n"b","n.乙"\r\n', 'ends before'],
    ['surplus group', qd, '0\r\n0\r\n0\r\n0\r\n', 'after the last group'],
    ['quote inside a value', qd.replace('n.甲', 'n."甲'), '0\r\n0\r\n0\r\n', 'stray text'],
    ['unquoted text', qd.replace('"a"', 'a'), '0\r\n0\r\n0\r\n', 'unquoted'],
    ['bare LF', qd.replace(/\r\n/g, '\n'), '0\r\n0\r\n0\r\n', 'bare LF'],
    ['count out of range', '40000\r\n', '0\r\n', 'bad count'],
    ['maxAssoc above every group', qd, '5\r\n0\r\n0\r\n', 'not the largest'],
  ];
  for (const [name, words, assoc, expected] of rows) {
    await t.test(name, () => {
      const { problems } = checkLibrary(gbk(words), gbk(assoc));
      assert.ok(problems.some((p) => p.includes(expected)), problems.join('; ') || 'no problem found');
    });
  }
  await t.test('bytes that are not GBK', () => {
    const bytes = Buffer.concat([gbk('1\r\n"a","n.'), Buffer.from([0x81, 0x20]), gbk('"\r\n')]);
    assert.ok(checkLibrary(bytes, gbk('0\r\n0\r\n')).problems.some((p) => p.includes('not clean GBK')));
  });
});

test('content rules', async (t) => {
  const word = (w, m = 'n.词') => ({ word: w, meaning: m });
  const rows = [
    ['capital headword', [word('Paris')], [[]], 'lowercase'],
    ['duplicate headword', [word('a'), word('a')], [[], []], 'duplicate'],
    ['meaning without part of speech', [word('a', '词')], [[]], 'form'],
    ['meaning with pinyin', [word('a', 'n.ci2')], [[]], 'form'],
    ['self association', [word('a')], [[word('a')]], 'itself'],
    ['association meaning differs', [word('a'), word('b')], [[word('b', 'n.别')], []], 'two meanings'],
    ['missing group sizes', [word('a')], [[]], 'no group with 8'],
  ];
  for (const [name, words, groups, expected] of rows) {
    await t.test(name, () => {
      const problems = contentProblems({ words, groups });
      assert.ok(problems.some((p) => p.includes(expected)), problems.join('; '));
    });
  }
});
