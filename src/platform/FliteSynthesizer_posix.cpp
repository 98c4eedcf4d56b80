#include "platform/FliteSynthesizer.h"

extern "C" {
#include <flite/flite.h>
cst_voice *register_cmu_us_slt(const char *voxdir);
}

namespace {

// Between texts said in one go, so that they do not run together.
constexpr int kPauseMs = 250;

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

void FliteSynthesizer::work(quint64 id, const QStringList &texts)
{
    if (id != latest_)
        return;
    const Samples samples = synthesize(texts);
    if (id == latest_)
        emit synthesized(id, samples.pcm, samples.sampleRate);
}

FliteSynthesizer::Samples FliteSynthesizer::synthesize(const QStringList &texts)
{
    Samples out;
    for (const QString &text : texts) {
        cst_wave *wave = flite_text_to_wave(text.toUtf8().constData(), voice());
        if (!wave)
            continue;
        if (wave->num_channels == 1 && wave->num_samples > 0 &&
            (out.sampleRate == 0 || out.sampleRate == wave->sample_rate)) {
            if (!out.pcm.isEmpty())
                out.pcm.append(QByteArray(qsizetype(wave->sample_rate) * kPauseMs / 1000 * 2, '\0'));
            out.sampleRate = wave->sample_rate;
            out.pcm.append(reinterpret_cast<const char *>(wave->samples), qsizetype(wave->num_samples) * 2);
        }
        delete_wave(wave);
    }
    return out;
}
