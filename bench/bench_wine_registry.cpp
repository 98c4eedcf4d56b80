// Finding the companion's key in a Wine prefix's system.reg of typical size (about 1.7 MB,
// 9000 keys), compared with the least any reader must do: split the same bytes into lines.
#include "platform/registry/WineRegistryFile.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <cstring>

namespace {

const QString kKey = QString::fromUtf8("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Tesmar单词Graxo.exe");

QByteArray makeSystemReg()
{
    QByteArray text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";
    for (int k = 0; k < 9000; ++k) {
        text += "[Software\\\\Classes\\\\CLSID\\\\{" + QByteArray::number(k * 7919, 16) +
                "-0000-0000-c000-000000000046}\\\\InProcServer32] 1796596375\n#time=1dd85d1bcda4646\n"
                "@=\"C:\\\\windows\\\\system32\\\\ole32.dll\"\n"
                "\"ThreadingModel\"=\"Both\"\n\"Flags\"=dword:00000010\n"
                "\"Data\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\n"
                "  16,17,18,19,1a\n\n";
    }
    text += "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\Tesmar\\x5355\\x8bcdGraxo.exe] 1\n"
            "@=\"C:\\\\Program Files\\\\Graxo\\\\Tesmar\\x5355\\x8bcdGraxo.exe\"\n";
    return text;
}

const QByteArray &systemReg()
{
    static const QByteArray text = makeSystemReg();
    return text;
}

void BM_FindCompanionKey(benchmark::State &state)
{
    const QByteArray &text = systemReg();
    for (auto _ : state) {
        auto value = WineRegistryFile::firstValue(text, kKey);
        benchmark::DoNotOptimize(value);
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_BaselineSplitLines(benchmark::State &state)
{
    const QByteArray &text = systemReg();
    for (auto _ : state) {
        const char *p = text.constData();
        const char *end = p + text.size();
        int lines = 0;
        while (p < end) {
            const void *nl = std::memchr(p, '\n', size_t(end - p));
            p = nl ? static_cast<const char *>(nl) + 1 : end;
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

} // namespace

BENCHMARK(BM_FindCompanionKey);
BENCHMARK(BM_BaselineSplitLines);
BENCHMARK_MAIN();
