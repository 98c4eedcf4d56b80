#include "platform/speech/SpeechChooser.h"
#include "platform/speech/SystemSpeech.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QLibrary>

namespace {

using MakeBackend = SpeechBackend *(*)(const char *engine);

// The engines' module: beside the executable (a portable folder, the build), or in the
// system layout's library folder. Looked for once; when it is missing, speech is silent.
MakeBackend engineMaker(const QString &moduleFolder)
{
    static const MakeBackend maker = [&moduleFolder]() -> MakeBackend {
        const QDir executable(QCoreApplication::applicationDirPath());
        QStringList tried;
        for (const QString &folder :
             {moduleFolder, executable.path(), executable.filePath(QStringLiteral(DORRIT_SPEECH_MODULE_FROM_BIN))}) {
            if (folder.isEmpty())
                continue;
            QLibrary module(QDir(folder).filePath(QStringLiteral("libdorrit_speech.so")));
            if (const auto make = reinterpret_cast<MakeBackend>(module.resolve("dorritMakeSpeechBackend")))
                return make;
            tried << module.errorString();
        }
        qWarning().noquote() << "Speech engines not found:" << tried.join(QLatin1String("; "));
        return nullptr;
    }();
    return maker;
}

} // namespace

// The desktop's speech service first, as the user may have chosen its voice; flite when the
// service does not answer, since it needs nothing but a sound server.
std::unique_ptr<SystemSpeech> makeSystemSpeech(const QString &moduleFolder)
{
    std::vector<SpeechChooser::Factory> candidates;
    for (const char *engine : {"speech-dispatcher", "flite"}) {
        candidates.emplace_back([engine, moduleFolder]() -> std::unique_ptr<SpeechBackend> {
            const MakeBackend make = engineMaker(moduleFolder);
            return std::unique_ptr<SpeechBackend>(make ? make(engine) : nullptr);
        });
    }
    return std::make_unique<SpeechChooser>(std::move(candidates));
}
