#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <functional>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

// Records a sound server's source (a sink's monitor) and notes, on the sound server's own
// thread, when the first loud sample arrives. The span it measures ends when the samples
// reach this process, so it includes the capture path's few milliseconds; a baseline that
// plays ready-made samples through the same path shows how much that is.
class SinkRecorder
{
public:
    explicit SinkRecorder(const QString &source);
    ~SinkRecorder();

    // Why nothing can be recorded; empty when recording.
    QString problem() const { return problem_; }

    // Nanoseconds from calling trigger until a sample of at least 1 % of full scale arrives,
    // with the Qt event loop running meanwhile; -1 when nothing is heard within the timeout.
    qint64 timeToFirstSound(const std::function<void()> &trigger,
                            std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // Returns once nothing loud has arrived for `quiet`, so that the tail of one word is not
    // taken for the start of the next.
    void waitForSilence(std::chrono::milliseconds quiet = std::chrono::milliseconds(400),
                        std::chrono::milliseconds timeout = std::chrono::seconds(5));

private:
    static void onRead(pa_stream *stream, std::size_t bytes, void *self);
    static qint64 now();

    pa_threaded_mainloop *loop_ = nullptr;
    pa_context *context_ = nullptr;
    pa_stream *stream_ = nullptr;
    QString problem_;
    std::atomic<qint64> lastLoud_{0};
    std::atomic<qint64> armedAt_{0};
    std::atomic<qint64> firstLoud_{0};
};
