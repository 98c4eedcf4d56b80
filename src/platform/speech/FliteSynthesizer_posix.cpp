#include "platform/speech/FliteSynthesizer.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

extern "C" {
#include <flite/flite.h>
cst_voice *register_cmu_us_slt(const char *voxdir);
}

namespace {

// Between texts said in one go, so that they do not run together.
constexpr int kPauseMs = 250;
// The voice starts a word with about 0.2 s of near silence (below 1 % of full scale), which a
// listener only hears as delay; it is cut to a short lead-in, and the tail likewise.
constexpr int kQuiet = 328;
constexpr int kLeadInMs = 10;
constexpr int kTailMs = 50;

// The samples of a wave from just before its first audible sample to just after its last.
std::pair<int, int> audibleSpan(const cst_wave *wave)
{
    const int count = wave->num_samples;
    int first = 0, last = count - 1;
    while (first < count && std::abs(int(wave->samples[first])) < kQuiet)
        ++first;
    while (last > first && std::abs(int(wave->samples[last])) < kQuiet)
        --last;
    if (first == count)
        return {0, 0};
    const int rate = wave->sample_rate;
    const int begin = std::max(0, first - rate * kLeadInMs / 1000);
    const int end = std::min(count, last + 1 + rate * kTailMs / 1000);
    return {begin, end - begin};
}

cst_voice *voice()
{
    static cst_voice *const loaded = [] {
        flite_init();
        return register_cmu_us_slt(nullptr);
    }();
    return loaded;
}

} // namespace

void FliteSynthesizer::request(quint64 id, const QStringList &texts)
{
    latest_ = id;
    QMetaObject::invokeMethod(
        this, [this, id, texts] { work(id, texts); }, Qt::QueuedConnection);
}

void FliteSynthesizer::prepare(const QStringList &texts)
{
    QMetaObject::invokeMethod(
        this,
        [this, texts] {
            const bool idle = toPrepare_.isEmpty();
            toPrepare_ = texts;
            if (idle)
                prepareNext();
        },
        Qt::QueuedConnection);
}

// One word per turn of the event loop, so that a request posted meanwhile waits for at most
// one word.
void FliteSynthesizer::prepareNext()
{
    if (toPrepare_.isEmpty())
        return;
    word(toPrepare_.takeFirst());
    if (!toPrepare_.isEmpty())
        QMetaObject::invokeMethod(this, &FliteSynthesizer::prepareNext, Qt::QueuedConnection);
}

const FliteSynthesizer::Samples &FliteSynthesizer::word(const QString &text)
{
    if (const Samples *known = recent_.object(text))
        return *known;
    auto *made = new Samples(synthesize(text));
    // Each word costs 1, so it is always kept; the reference lasts until the next insert.
    recent_.insert(text, made);
    return *made;
}

void FliteSynthesizer::work(quint64 id, const QStringList &texts)
{
    if (id != latest_)
        return;
    QList<Samples> words;
    for (const QString &text : texts)
        words.append(word(text));
    const Samples samples = join(words);
    if (id == latest_)
        emit synthesized(id, samples.pcm, samples.sampleRate);
}

FliteSynthesizer::Samples FliteSynthesizer::synthesize(const QString &text)
{
    Samples out;
    cst_wave *wave = flite_text_to_wave(text.toUtf8().constData(), voice());
    if (!wave)
        return out;
    const auto [begin, length] = audibleSpan(wave);
    if (wave->num_channels == 1 && length > 0) {
        out.sampleRate = wave->sample_rate;
        out.pcm = QByteArray(reinterpret_cast<const char *>(wave->samples + begin), qsizetype(length) * 2);
    }
    delete_wave(wave);
    return out;
}

FliteSynthesizer::Samples FliteSynthesizer::join(const QList<Samples> &words)
{
    Samples out;
    for (const Samples &word : words) {
        if (word.pcm.isEmpty() || (out.sampleRate != 0 && out.sampleRate != word.sampleRate))
            continue;
        if (!out.pcm.isEmpty())
            out.pcm.append(QByteArray(qsizetype(word.sampleRate) * kPauseMs / 1000 * 2, '\0'));
        out.sampleRate = word.sampleRate;
        out.pcm.append(word.pcm);
    }
    return out;
}
