#include "PrivateSoundServer.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace {
const QString kSink = QStringLiteral("dorrit_bench");
}

PrivateSoundServer::PrivateSoundServer()
{
    const QString root = dir_.path();
    for (const char *sub : {"pulse", "run", "home", "config"}) {
        QDir(root).mkpath(QString::fromLatin1(sub));
        QFile::setPermissions(root + '/' + sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QString socket = root + QLatin1String("/pulse/native");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QLatin1String("/pulse"));
    environment.insert(QStringLiteral("HOME"), root + QLatin1String("/pulse"));
    server_.setProcessEnvironment(environment);
    // Ends with this process however it ends (benchmark flags can exit() past destructors).
    server_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    server_.setStandardOutputFile(QProcess::nullDevice());
    server_.setStandardErrorFile(root + QLatin1String("/pulse.log"));
    server_.start(QStringLiteral("pulseaudio"),
                  {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--use-pid-file=no"),
                   QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--realtime=no"),
                   QStringLiteral("--high-priority=no"), QStringLiteral("--log-target=stderr"),
                   QStringLiteral("--load=module-null-sink sink_name=%1 rate=16000 channels=1").arg(kSink),
                   QStringLiteral("--load=module-native-protocol-unix socket=%1 auth-anonymous=1").arg(socket)});
    if (!server_.waitForStarted(5000)) {
        problem_ = QStringLiteral("pulseaudio cannot be run: ") + server_.errorString();
        return;
    }
    for (int i = 0; i < 100 && !QFile::exists(socket); ++i)
        QThread::msleep(50);
    if (!QFile::exists(socket)) {
        problem_ = QStringLiteral("pulseaudio did not open its socket; see ") + root + QLatin1String("/pulse.log");
        return;
    }
    QFile clientConfig(root + QLatin1String("/client.conf"));
    if (clientConfig.open(QIODevice::WriteOnly))
        clientConfig.write("autospawn = no\n");
    qputenv("PULSE_SERVER", ("unix:" + socket).toLocal8Bit());
    qputenv("PULSE_CLIENTCONFIG", clientConfig.fileName().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (root + QLatin1String("/run")).toLocal8Bit());
    qputenv("HOME", (root + QLatin1String("/home")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    qunsetenv("SPEECHD_ADDRESS");
}

PrivateSoundServer::~PrivateSoundServer()
{
    stopSpeechService();
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        server_.waitForFinished(5000);
    }
}

QString PrivateSoundServer::monitorSource() const
{
    return kSink + QLatin1String(".monitor");
}

QString PrivateSoundServer::configHome() const
{
    return dir_.path() + QLatin1String("/config");
}

void PrivateSoundServer::stopSpeechService()
{
    QFile pidFile(dir_.path() + QLatin1String("/run/speech-dispatcher/pid/speech-dispatcher.pid"));
    if (!pidFile.open(QIODevice::ReadOnly))
        return;
    const pid_t pid = pidFile.readAll().trimmed().toInt();
    if (pid <= 0 || kill(pid, SIGTERM) != 0)
        return;
    for (int i = 0; i < 100 && kill(pid, 0) == 0; ++i)
        QThread::msleep(20);
}
