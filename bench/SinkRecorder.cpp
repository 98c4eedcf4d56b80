#include "SinkRecorder.h"

#include <QCoreApplication>
#include <QThread>

#include <pulse/pulseaudio.h>

#include <cstdlib>

namespace {

constexpr int kRate = 16000;
constexpr int kLoud = 328; // 1 % of full scale

// Waits, with the loop locked, until the state function says ready or failed.
template <typename Ready, typename Failed> bool waitFor(pa_threaded_mainloop *loop, Ready ready, Failed failed)
{
    for (int i = 0; i < 500; ++i) {
        if (ready())
            return true;
        if (failed())
            return false;
        pa_threaded_mainloop_unlock(loop);
        QThread::msleep(10);
        pa_threaded_mainloop_lock(loop);
    }
    return false;
}

} // namespace

qint64 SinkRecorder::now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

SinkRecorder::SinkRecorder(const QString &source)
{
    loop_ = pa_threaded_mainloop_new();
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "bench recorder");
    // The server named by PULSE_SERVER.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
        pa_threaded_mainloop_start(loop_) < 0) {
        problem_ = QStringLiteral("cannot connect to the sound server");
        return;
    }
    pa_threaded_mainloop_lock(loop_);
    const bool connected = waitFor(
        loop_, [this] { return pa_context_get_state(context_) == PA_CONTEXT_READY; },
        [this] { return !PA_CONTEXT_IS_GOOD(pa_context_get_state(context_)); });
    if (connected) {
        const pa_sample_spec spec{PA_SAMPLE_S16LE, kRate, 1};
        stream_ = pa_stream_new(context_, "monitor", &spec, nullptr);
        pa_stream_set_read_callback(stream_, &SinkRecorder::onRead, this);
        pa_buffer_attr attributes{};
        attributes.maxlength = std::uint32_t(-1);
        attributes.fragsize = kRate * 2 * 5 / 1000; // 5 ms
        pa_stream_connect_record(stream_, source.toUtf8().constData(), &attributes, PA_STREAM_ADJUST_LATENCY);
        if (!waitFor(
                loop_, [this] { return pa_stream_get_state(stream_) == PA_STREAM_READY; },
                [this] { return !PA_STREAM_IS_GOOD(pa_stream_get_state(stream_)); }))
            problem_ = QStringLiteral("cannot record ") + source;
    } else {
        problem_ = QStringLiteral("cannot connect to the sound server");
    }
    pa_threaded_mainloop_unlock(loop_);
}

SinkRecorder::~SinkRecorder()
{
    if (loop_)
        pa_threaded_mainloop_stop(loop_);
    if (stream_) {
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
    }
    if (context_) {
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
    if (loop_)
        pa_threaded_mainloop_free(loop_);
}

void SinkRecorder::onRead(pa_stream *stream, std::size_t, void *self)
{
    auto *recorder = static_cast<SinkRecorder *>(self);
    const void *data = nullptr;
    std::size_t bytes = 0;
    while (pa_stream_readable_size(stream) > 0 && pa_stream_peek(stream, &data, &bytes) == 0) {
        if (!bytes)
            break;
        if (data) {
            const auto *samples = static_cast<const qint16 *>(data);
            for (std::size_t i = 0; i < bytes / 2; ++i) {
                if (std::abs(int(samples[i])) >= kLoud) {
                    const qint64 at = now();
                    recorder->lastLoud_ = at;
                    qint64 none = 0;
                    if (recorder->armedAt_ != 0)
                        recorder->firstLoud_.compare_exchange_strong(none, at);
                    break;
                }
            }
        }
        pa_stream_drop(stream);
    }
}

qint64 SinkRecorder::timeToFirstSound(const std::function<void()> &trigger, std::chrono::milliseconds timeout)
{
    firstLoud_ = 0;
    const qint64 start = now();
    armedAt_ = start;
    trigger();
    const qint64 deadline = start + std::chrono::nanoseconds(timeout).count();
    while (firstLoud_ == 0 && now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    armedAt_ = 0;
    const qint64 heard = firstLoud_;
    return heard ? heard - start : -1;
}

void SinkRecorder::waitForSilence(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout)
{
    const qint64 quietNs = std::chrono::nanoseconds(quiet).count();
    const qint64 deadline = now() + std::chrono::nanoseconds(timeout).count();
    while (now() - lastLoud_ < quietNs && now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}
