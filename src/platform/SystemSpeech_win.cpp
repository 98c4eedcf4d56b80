#include "platform/QtSpeech.h"
#include "platform/SystemSpeech.h"

// Windows' own engine through Qt TextToSpeech.
std::unique_ptr<SystemSpeech> makeSystemSpeech(const QString &)
{
    return std::make_unique<QtSpeech>();
}
