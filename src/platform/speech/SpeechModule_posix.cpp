#include "platform/speech/FliteSpeech.h"
#include "platform/speech/SpeechDispatcherSpeech.h"

#include <QtGlobal>

// The speech engines as a module of their own: the program loads it only when it first has
// something to say, after its first frame, so that starting never waits for the sound,
// network and voice libraries behind them. Nothing here is exported but this maker.
extern "C" Q_DECL_EXPORT SpeechBackend *dorritMakeSpeechBackend(const char *engine)
{
    if (qstrcmp(engine, "speech-dispatcher") == 0)
        return new SpeechDispatcherSpeech;
    if (qstrcmp(engine, "flite") == 0)
        return new FliteSpeech;
    return nullptr;
}
