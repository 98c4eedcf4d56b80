#include "platform/speech/SpeechDispatcherSpeech.h"

#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpSocket>

namespace {

constexpr quint16 kDefaultPort = 6560;

// Where the service's own clients look when XDG_RUNTIME_DIR is unset (glib's fallback).
QString runtimeDir()
{
    for (const char *name : {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME"}) {
        const QString dir = qEnvironmentVariable(name);
        if (!dir.isEmpty())
            return dir;
    }
    return QDir::homePath() + QLatin1String("/.cache");
}

// The reason a failed autospawn gives, without the service's time stamp.
QString spawnFailure(QProcess &process)
{
    const QStringList lines =
        QString::fromLocal8Bit(process.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return QStringLiteral("exit code %1").arg(process.exitCode());
    const QString last = lines.last().trimmed();
    const int tag = last.indexOf(QLatin1String("speechd: "));
    return tag < 0 ? last : last.mid(tag + 9);
}

} // namespace

SpeechDispatcherSpeech::Address SpeechDispatcherSpeech::addressFor(const QString &speechdAddress,
                                                                   const QString &runtimeDir)
{
    Address address;
    const QString defaultSocket = runtimeDir + QLatin1String("/speech-dispatcher/speechd.sock");
    const QString method = speechdAddress.section(QLatin1Char(':'), 0, 0);
    const QString rest = speechdAddress.section(QLatin1Char(':'), 1);
    if (speechdAddress.isEmpty() || method == QLatin1String("unix_socket")) {
        address.socketPath = rest.isEmpty() ? defaultSocket : rest;
        return address;
    }
    if (method == QLatin1String("inet_socket")) {
        const QString host = rest.section(QLatin1Char(':'), 0, 0);
        const QString port = rest.section(QLatin1Char(':'), 1);
        bool ok = true;
        const quint16 number = port.isEmpty() ? kDefaultPort : port.toUShort(&ok);
        if (ok && number != 0) {
            address.host = host.isEmpty() ? QStringLiteral("127.0.0.1") : host;
            address.port = number;
            return address;
        }
    }
    address.problem = QStringLiteral("SPEECHD_ADDRESS \"%1\" is not an address it understands").arg(speechdAddress);
    return address;
}

SpeechDispatcherSpeech::Address SpeechDispatcherSpeech::systemAddress()
{
    return addressFor(qEnvironmentVariable("SPEECHD_ADDRESS"), runtimeDir());
}

SpeechDispatcherSpeech::SpeechDispatcherSpeech(Address address, QString spawnProgram, QObject *parent)
    : SpeechBackend(parent)
    , address_(std::move(address))
    , spawnProgram_(std::move(spawnProgram))
{}

SpeechDispatcherSpeech::SpeechDispatcherSpeech(QObject *parent)
    : SpeechDispatcherSpeech(systemAddress(), QStandardPaths::findExecutable(QStringLiteral("speech-dispatcher")),
                             parent)
{}

SpeechDispatcherSpeech::~SpeechDispatcherSpeech()
{
    if (socket_)
        socket_->disconnect(this);
}

QByteArray SpeechDispatcherSpeech::speakBody(const QString &text)
{
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QByteArray body;
    for (const QString &line : plain.split(QLatin1Char('\n'))) {
        // A line of one dot ends the text, so a leading dot is doubled.
        if (line.startsWith(QLatin1Char('.')))
            body += '.';
        body += line.toUtf8() + "\r\n";
    }
    return body + ".\r\n";
}

QString SpeechDispatcherSpeech::where() const
{
    return address_.socketPath.isEmpty() ? QStringLiteral("%1:%2").arg(address_.host).arg(address_.port)
                                         : address_.socketPath;
}

void SpeechDispatcherSpeech::open()
{
    if (!address_.problem.isEmpty())
        giveUp(address_.problem);
    else
        connectToService();
}

template <typename Socket> void SpeechDispatcherSpeech::watch(Socket *socket)
{
    socket_ = socket;
    connect(socket, &Socket::connected, this, &SpeechDispatcherSpeech::onConnected);
    connect(socket, &Socket::errorOccurred, this, [this, socket] {
        if (connected_)
            giveUp(QStringLiteral("the connection was lost (%1)").arg(socket->errorString()));
        else
            onConnectFailed(socket->errorString());
    });
    connect(socket, &Socket::disconnected, this, [this] {
        if (connected_)
            giveUp(QStringLiteral("the connection was closed"));
    });
    connect(socket, &Socket::readyRead, this, &SpeechDispatcherSpeech::onReadyRead);
}

void SpeechDispatcherSpeech::connectToService()
{
    if (socket_) {
        socket_->disconnect(this);
        socket_->deleteLater();
        socket_ = nullptr;
    }
    connected_ = false;
    if (!address_.socketPath.isEmpty()) {
        auto *local = new QLocalSocket(this);
        watch(local);
        local->connectToServer(address_.socketPath);
    } else {
        auto *tcp = new QTcpSocket(this);
        watch(tcp);
        tcp->connectToHost(address_.host, address_.port);
    }
}

void SpeechDispatcherSpeech::onConnected()
{
    connected_ = true;
    QByteArray user = qgetenv("USER");
    user.replace(':', '_').replace(' ', '_');
    if (user.isEmpty())
        user = "user";
    requests_ = {Request{"SET self CLIENT_NAME " + user + ":dorrit:main", {}}, Request{"SET self PRIORITY text", {}},
                 Request{"SET self LANGUAGE en", {}}};
    handshakeLeft_ = int(requests_.size());
    sendNext();
}

void SpeechDispatcherSpeech::onConnectFailed(const QString &error)
{
    if (spawned_)
        giveUp(QStringLiteral("started, but nothing answers at %1 (%2)").arg(where(), error));
    else if (address_.socketPath.isEmpty())
        giveUp(QStringLiteral("nothing answers at %1 (%2)").arg(where(), error));
    else if (spawnProgram_.isEmpty())
        giveUp(QStringLiteral("not running (nothing answers at %1) and not installed").arg(where()));
    else
        spawnService();
}

// As the service's own client library does: "--spawn" starts it unless its configuration
// says DisableAutoSpawn, and returns once it listens.
void SpeechDispatcherSpeech::spawnService()
{
    spawned_ = true;
    spawn_ = new QProcess(this);
    spawn_->setStandardOutputFile(QProcess::nullDevice());
    connect(spawn_, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        if (status == QProcess::NormalExit && exitCode == 0)
            connectToService();
        else
            giveUp(QStringLiteral("not running, and starting it failed: %1").arg(spawnFailure(*spawn_)));
    });
    connect(spawn_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            giveUp(QStringLiteral("not running, and %1 cannot be run (%2)").arg(spawnProgram_, spawn_->errorString()));
    });
    spawn_->start(spawnProgram_, {QStringLiteral("--spawn"), QStringLiteral("--communication-method"),
                                  QStringLiteral("unix_socket"), QStringLiteral("--socket-path"), address_.socketPath});
}

void SpeechDispatcherSpeech::say(const QStringList &texts)
{
    if (!ready_ || gaveUp_)
        return;
    // Words not yet sent are stale: only the one on the wire stays.
    while (requests_.size() > (awaitingReply_ ? 1 : 0))
        requests_.pop_back();
    requests_.push_back({"CANCEL self", {}});
    for (const QString &text : texts)
        requests_.push_back({"SPEAK", speakBody(text)});
    sendNext();
}

void SpeechDispatcherSpeech::sendNext()
{
    if (awaitingReply_ || requests_.empty() || !socket_)
        return;
    awaitingReply_ = true;
    bodySent_ = false;
    socket_->write(requests_.front().command + "\r\n");
}

void SpeechDispatcherSpeech::onReadyRead()
{
    received_ += socket_->readAll();
    qsizetype end;
    while (!gaveUp_ && (end = received_.indexOf("\r\n")) >= 0) {
        const QByteArray line = received_.left(end);
        received_.remove(0, end + 2);
        // "NNN-..." continues a reply, "NNN ..." ends it.
        if (line.size() >= 4 && line.at(3) == '-')
            continue;
        bool ok = false;
        const int code = line.left(3).toInt(&ok);
        onReply(ok ? code : 0, line);
    }
}

void SpeechDispatcherSpeech::onReply(int code, const QByteArray &line)
{
    if (!awaitingReply_ || requests_.empty())
        return; // nothing was asked: an event the service sends on its own
    const Request &request = requests_.front();
    if (code == 230 && !request.body.isEmpty() && !bodySent_) {
        bodySent_ = true;
        socket_->write(request.body);
        return;
    }
    const QByteArray command = request.command;
    requests_.pop_front();
    awaitingReply_ = false;
    if (code < 200 || code >= 300) {
        if (!ready_) {
            giveUp(QStringLiteral("it refused \"%1\" (%2)")
                       .arg(QString::fromUtf8(command), QString::fromUtf8(line).trimmed()));
            return;
        }
        if (!warnedRefusal_)
            qWarning().noquote() << "speech-dispatcher refused" << command << ':' << line;
        warnedRefusal_ = true;
    } else if (!ready_ && --handshakeLeft_ == 0) {
        ready_ = true;
        emit ready();
    }
    sendNext();
}

void SpeechDispatcherSpeech::giveUp(const QString &why)
{
    if (gaveUp_)
        return;
    gaveUp_ = true;
    requests_.clear();
    if (socket_)
        socket_->disconnect(this);
    emit unavailable(why);
}
