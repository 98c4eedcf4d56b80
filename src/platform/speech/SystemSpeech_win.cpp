#include "platform/speech/SapiSpeech.h"
#include "platform/speech/SpeechChooser.h"
#include "platform/speech/SystemSpeech.h"

// Windows' own engine; the chooser logs once whether it speaks, and why not.
std::unique_ptr<SystemSpeech> makeSystemSpeech(const QString &)
{
    std::vector<SpeechChooser::Factory> candidates;
    candidates.emplace_back([] { return std::make_unique<SapiSpeech>(); });
    return std::make_unique<SpeechChooser>(std::move(candidates));
}
