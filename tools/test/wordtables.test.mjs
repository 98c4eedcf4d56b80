import { test } from 'node:test';
import assert from 'node:assert/strict';
import { arpabetToIpa, pronounce } from '../lib/pronunciation.mjs';
import { baseOf, MORE_ENDINGS } from '../lib/forms.mjs';

test('ARPAbet to IPA', async (t) => {
  const rows = [
    ['one syllable, no mark', 'B ER1 D', 'bɝd'],
    ['unstressed schwa and r-coloured schwa', 'K AH0 M P Y UW1 T ER0', 'kəmˈpjutɚ'],
    ['secondary before primary', 'AH2 N D ER0 S T AE1 N D', 'ˌʌndɚˈstænd'],
    ['longest legal onset', 'EH1 K S T R AH0', 'ˈɛkstrə'],
    ['illegal cluster split', 'AE1 TH L IY2 T', 'ˈæθˌlit'],
    ['ng never starts a syllable', 'IH0 NG G L IY1 SH', 'ɪŋˈɡliʃ'],
    ['affricates', 'CH IH1 L D R AH0 N', 'ˈtʃɪldrən'],
    ['unknown phone', 'K QQ1 T', null],
  ];
  for (const [name, arpabet, ipa] of rows) await t.test(name, () => assert.equal(arpabetToIpa(arpabet), ipa));
});

test('phrases and forms', () => {
  const table = new Map([['ice', 'AY1 S'], ['cream', 'K R IY1 M'], ['ice-cream', 'AY1 S K R IY2 M']]);
  assert.equal(pronounce('ice cream', table), 'ˈaɪsˌkrim');
  assert.equal(pronounce('cream ice', table), 'krim aɪs');
  assert.equal(pronounce('ice-cream', table), 'ˈaɪsˌkrim');
  assert.equal(pronounce('ice lolly', table), null);
  const has = (key) => ['try', 'stop', 'woman', 'box'].includes(key);
  assert.deepEqual(['tried', 'stopped', 'boxes', 'women', 'tryst'].map((w) => baseOf(w, has, MORE_ENDINGS)), [
    'try',
    'stop',
    'box',
    'woman',
    null,
  ]);
  assert.equal(baseOf('women', has), null);
});
