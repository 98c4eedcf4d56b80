// Background pictures: reading the shipped 1024 x 768 picture through PictureFile (size check
// first, then decode) against a plain QImage load of the same file; refusing a header that
// claims 60000 x 60000 pixels; and seeding the six defaults with verified copies against
// plain QFile::copy moves of the same files.
#include "platform/pictures/PictureFile.h"
#include "startup/BackgroundPictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QString kShipped = QStringLiteral(DORRIT_SOURCE_DIR "/resources/programfolder");
const QStringList kDefaults = {"011.jpg", "vorn1.jpg", "012.jpg", "vorn2.jpg", "013.jpg", "vorn3.jpg"};

QString hugeHeaderFile(const QTemporaryDir &dir)
{
    QFile in(kShipped + "/013.jpg");
    in.open(QIODevice::ReadOnly);
    QByteArray bytes = in.readAll();
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    for (int i = 5; i < 9; i += 2)
        bytes[sof + i] = char(0xEA), bytes[sof + i + 1] = char(0x60);
    const QString path = dir.filePath("huge.jpg");
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(bytes);
    return path;
}

void BM_QImageLoad_Baseline(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(QImage(kShipped + "/013.jpg"));
}

void BM_PictureFileLoad(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(PictureFile::load(kShipped + "/013.jpg"));
}

void BM_PictureFileRefuseHuge(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = hugeHeaderFile(dir);
    for (auto _ : state) {
        if (PictureFile::load(path).failure != LoadedPicture::Failure::TooLarge)
            state.SkipWithError("not refused");
    }
}

void seedBench(benchmark::State &state, bool verified)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        for (const QString &name : kDefaults)
            QFile::copy(kShipped + "/" + name, dir.filePath(name));
        state.ResumeTiming();
        if (verified) {
            BackgroundPictures::seed(dir.path());
        } else {
            // Baseline: the same moves without the temporary file or the comparison.
            for (int row = 0; row < 3; ++row) {
                const QString folder = BackgroundPictures::folder(dir.path(), row + 1);
                QDir().mkpath(folder);
                for (int i = 0; i < 2; ++i) {
                    const QString source = dir.filePath(kDefaults[row * 2 + i]);
                    QFile::copy(source, QDir(folder).filePath(i == 0 ? "01.jpg" : "vorn.jpg"));
                    QFile::remove(source);
                }
            }
        }
        state.PauseTiming();
        dir.remove();
        state.ResumeTiming();
    }
}

void BM_Seed_PlainCopy_Baseline(benchmark::State &state)
{
    seedBench(state, false);
}

void BM_Seed_VerifiedCopy(benchmark::State &state)
{
    seedBench(state, true);
}

} // namespace

BENCHMARK(BM_QImageLoad_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureFileLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureFileRefuseHuge)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Seed_PlainCopy_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Seed_VerifiedCopy)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
