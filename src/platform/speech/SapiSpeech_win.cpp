#include "platform/speech/SapiSpeech.h"

#include <windows.h>

#include <sapi.h>

namespace {

QString failure(const char *call, HRESULT result)
{
    return QStringLiteral("%1 failed (0x%2)").arg(QLatin1String(call)).arg(quint32(result), 8, 16, QLatin1Char('0'));
}

} // namespace

SapiSpeech::SapiSpeech(QObject *parent)
    : SpeechBackend(parent)
{}

SapiSpeech::~SapiSpeech()
{
    if (voice_) {
        // Cuts off a word still being spoken before the engine goes.
        voice_->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
        voice_->Release();
    }
    if (comInitialized_)
        CoUninitialize();
}

void SapiSpeech::open()
{
    // The window system has usually set up COM on this thread already; a different mode is
    // no obstacle to using the voice from here.
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comInitialized_ = SUCCEEDED(init);
    HRESULT result =
        CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice, reinterpret_cast<void **>(&voice_));
    if (FAILED(result) || !voice_) {
        voice_ = nullptr;
        emit unavailable(failure("creating the voice object", result));
        return;
    }
    // A system without any voice creates the object but can never speak.
    ISpObjectToken *token = nullptr;
    result = voice_->GetVoice(&token);
    if (FAILED(result) || !token) {
        emit unavailable(QStringLiteral("no voice installed: ") + failure("GetVoice", result));
        return;
    }
    token->Release();
    // Speaking nothing tells whether this engine can speak at all (an engine without a working
    // voice or audio output refuses it), before the first word is lost to it.
    result = voice_->Speak(L"", SPF_IS_NOT_XML, nullptr);
    if (FAILED(result)) {
        emit unavailable(failure("Speak", result));
        return;
    }
    emit ready();
}

void SapiSpeech::say(const QStringList &texts)
{
    if (!voice_)
        return;
    DWORD flags = SPF_ASYNC | SPF_IS_NOT_XML | SPF_PURGEBEFORESPEAK;
    for (const QString &text : texts) {
        const HRESULT result = voice_->Speak(reinterpret_cast<LPCWSTR>(text.utf16()), flags, nullptr);
        if (FAILED(result)) {
            emit unavailable(failure("Speak", result));
            return;
        }
        flags &= ~DWORD(SPF_PURGEBEFORESPEAK);
    }
}
