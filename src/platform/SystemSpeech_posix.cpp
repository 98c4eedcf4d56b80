#include "platform/FliteSpeech.h"
#include "platform/SpeechChooser.h"
#include "platform/SpeechDispatcherSpeech.h"
#include "platform/SystemSpeech.h"

// The desktop's speech service first, as the user may have chosen its voice; flite when the
// service does not answer, since it needs nothing but a sound server.
std::unique_ptr<SystemSpeech> makeSystemSpeech()
{
    std::vector<SpeechChooser::Factory> candidates{
        [] { return std::make_unique<SpeechDispatcherSpeech>(); },
        [] { return std::make_unique<FliteSpeech>(); },
    };
    return std::make_unique<SpeechChooser>(std::move(candidates));
}
