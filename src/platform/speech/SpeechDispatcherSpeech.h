#pragma once

#include "platform/speech/SpeechBackend.h"

#include <QByteArray>

#include <deque>

class QIODevice;
class QProcess;

// Speech through the desktop's speech service (speech-dispatcher), spoken to in its own text
// protocol (SSIP) without blocking. When nothing listens at the service's local socket the
// service is started the way its own clients do (autospawn), which the user can switch off
// in the service's configuration.
class SpeechDispatcherSpeech : public SpeechBackend
{
    Q_OBJECT
public:
    // Where the service listens: a local socket, or a TCP host and port.
    struct Address
    {
        QString socketPath;
        QString host;
        quint16 port = 0;
        // Why the address cannot be used; the other fields are then empty.
        QString problem;
    };

    // The address named by SPEECHD_ADDRESS ("unix_socket[:path]" or "inet_socket[:host[:port]]"),
    // or the per-user socket under runtimeDir when that is empty.
    static Address addressFor(const QString &speechdAddress, const QString &runtimeDir);
    static Address systemAddress();

    // spawnProgram is run with --spawn when nothing listens at a local socket; empty: never.
    SpeechDispatcherSpeech(Address address, QString spawnProgram, QObject *parent = nullptr);
    // The system's address and the installed service.
    explicit SpeechDispatcherSpeech(QObject *parent = nullptr);
    ~SpeechDispatcherSpeech() override;

    QString name() const override { return QStringLiteral("speech-dispatcher"); }
    void open() override;
    void say(const QStringList &texts) override;

    // A text as the body of a SPEAK command, with its terminating line.
    static QByteArray speakBody(const QString &text);

private:
    struct Request
    {
        QByteArray command;
        QByteArray body; // sent once the service asks for it
    };

    template <typename Socket> void watch(Socket *socket);
    void connectToService();
    void onConnected();
    void spawnService();
    void onConnectFailed(const QString &error);
    void onReadyRead();
    void onReply(int code, const QByteArray &line);
    void sendNext();
    void giveUp(const QString &why);
    QString where() const;

    Address address_;
    QString spawnProgram_;
    QIODevice *socket_ = nullptr;
    QProcess *spawn_ = nullptr;
    bool spawned_ = false;
    bool connected_ = false;
    bool ready_ = false;
    bool gaveUp_ = false;
    bool warnedRefusal_ = false;
    int handshakeLeft_ = 0;
    std::deque<Request> requests_;
    bool awaitingReply_ = false;
    bool bodySent_ = false;
    QByteArray received_;
};
