#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A PulseAudio server of this process's own whose only output is a null sink, so that what
// is played can be recorded from the sink's monitor and nothing reaches a loudspeaker. The
// constructor points this process's sound and speech clients at it through the environment
// (PULSE_SERVER, a fresh XDG_RUNTIME_DIR and configuration home); a speech-dispatcher
// started from here lives in that runtime folder and is stopped with the server.
class PrivateSoundServer
{
public:
    PrivateSoundServer();
    ~PrivateSoundServer();

    // Why the server is not usable; empty when it is.
    QString problem() const { return problem_; }
    QString monitorSource() const;
    // For a user configuration of speech-dispatcher (e.g. DisableAutoSpawn).
    QString configHome() const;
    void stopSpeechService();

private:
    QTemporaryDir dir_;
    QProcess server_;
    QString problem_;
};
