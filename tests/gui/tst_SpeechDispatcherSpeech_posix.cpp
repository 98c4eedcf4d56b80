#include "platform/SpeechDispatcherSpeech.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Answers the protocol as the service does and keeps every line it was sent. Replies can be
// held back to see what the client does while it waits.
class FakeSpeechService : public QObject
{
public:
    explicit FakeSpeechService(const QString &path)
    {
        server.listen(path);
        connect(&server, &QLocalServer::newConnection, this, [this] {
            client = server.nextPendingConnection();
            connect(client, &QLocalSocket::readyRead, this, [this] { read(); });
        });
    }
    void release()
    {
        hold = false;
        client->write(std::exchange(held, {}));
    }
    void hangUp() { client->disconnectFromServer(); }

    QLocalServer server;
    QLocalSocket *client = nullptr;
    QStringList lines;
    QString refuse;
    bool hold = false;

private:
    void read()
    {
        buffer += client->readAll();
        for (qsizetype end; (end = buffer.indexOf("\r\n")) >= 0; buffer.remove(0, end + 2)) {
            const QString line = QString::fromUtf8(buffer.left(end));
            lines.append(line);
            answer(line);
        }
    }
    void answer(const QString &line)
    {
        if (inText) {
            if (line == ".") {
                inText = false;
                send("225-7\r\n225 OK MESSAGE QUEUED\r\n");
            }
        } else if (line == refuse) {
            send("411 ERR PARAMETER INVALID\r\n");
        } else if (line == "SPEAK") {
            inText = true;
            send("230 OK RECEIVING DATA\r\n");
        } else if (line.startsWith("SET self ")) {
            send("202 OK SET\r\n");
        } else if (line == "CANCEL self") {
            send("213 OK CANCELED\r\n");
        } else {
            send("500 ERR INVALID COMMAND\r\n");
        }
    }
    void send(const QByteArray &reply)
    {
        if (hold)
            held += reply;
        else
            client->write(reply);
    }

    QByteArray buffer;
    QByteArray held;
    bool inText = false;
};

SpeechDispatcherSpeech::Address socketAt(const QString &path)
{
    SpeechDispatcherSpeech::Address address;
    address.socketPath = path;
    return address;
}

const QStringList handshake{"SET self PRIORITY text", "SET self LANGUAGE en"};

} // namespace

class tst_SpeechDispatcherSpeech : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString socketPath() const { return dir.filePath("speechd.sock"); }

private slots:
    void addressFor_data()
    {
        QTest::addColumn<QString>("speechdAddress");
        QTest::addColumn<QString>("socketPath");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        const QString standard = "/run/u/speech-dispatcher/speechd.sock";
        QTest::newRow("unset: the per-user socket") << "" << standard << "" << 0;
        QTest::newRow("unix socket, default path") << "unix_socket" << standard << "" << 0;
        QTest::newRow("unix socket with path") << "unix_socket:/tmp/s.sock"
                                               << "/tmp/s.sock"
                                               << "" << 0;
        QTest::newRow("inet, default host and port") << "inet_socket"
                                                     << ""
                                                     << "127.0.0.1" << 6560;
        QTest::newRow("inet with host") << "inet_socket:speech.lan"
                                        << ""
                                        << "speech.lan" << 6560;
        QTest::newRow("inet with host and port") << "inet_socket:10.0.0.2:7000"
                                                 << ""
                                                 << "10.0.0.2" << 7000;
        QTest::newRow("inet, bad port") << "inet_socket:h:70000"
                                        << ""
                                        << "" << 0;
        QTest::newRow("unknown method") << "serial:/dev/ttyS0"
                                        << ""
                                        << "" << 0;
    }
    void addressFor()
    {
        QFETCH(QString, speechdAddress);
        QFETCH(QString, socketPath);
        QFETCH(QString, host);
        QFETCH(int, port);
        const auto address = SpeechDispatcherSpeech::addressFor(speechdAddress, "/run/u");
        QCOMPARE(address.socketPath, socketPath);
        QCOMPARE(address.host, host);
        QCOMPARE(int(address.port), port);
        QCOMPARE(address.problem.isEmpty(), !socketPath.isEmpty() || !host.isEmpty());
    }

    void speakBody_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("word") << "welcome" << QByteArray("welcome\r\n.\r\n");
        QTest::newRow("leading dot doubled") << ".net" << QByteArray("..net\r\n.\r\n");
        QTest::newRow("lone dot cannot end the text") << "a\n." << QByteArray("a\r\n..\r\n.\r\n");
        QTest::newRow("line ends made CR LF") << "a\r\nb\rc" << QByteArray("a\r\nb\r\nc\r\n.\r\n");
        QTest::newRow("UTF-8") << "café" << QByteArray("caf\xc3\xa9\r\n.\r\n");
    }
    void speakBody()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, body);
        QCOMPARE(SpeechDispatcherSpeech::speakBody(text), body);
    }

    void speaksAndCutsOffThePreviousWord()
    {
        FakeSpeechService service(socketPath());
        SpeechDispatcherSpeech speech(socketAt(socketPath()), QString());
        QSignalSpy ready(&speech, &SpeechBackend::ready);
        QSignalSpy unavailable(&speech, &SpeechBackend::unavailable);
        speech.open();
        QTRY_COMPARE(ready.size(), 1);
        QVERIFY(service.lines.value(0).startsWith("SET self CLIENT_NAME "));
        QVERIFY(service.lines.value(0).endsWith(":dorrit:main"));
        QCOMPARE(service.lines.mid(1), handshake);

        service.lines.clear();
        speech.say({"welcome"});
        QTRY_COMPARE(service.lines.size(), 4);
        speech.say({"one", "two"});
        QTRY_COMPARE(service.lines.size(), 11);
        QCOMPARE(service.lines, (QStringList{"CANCEL self", "SPEAK", "welcome", ".", "CANCEL self", "SPEAK", "one", ".",
                                             "SPEAK", "two", "."}));
        QVERIFY(unavailable.isEmpty());
    }

    // Words asked for while the service has not answered yet are never sent: only the latest.
    void wordsOvertakenWhileWaitingAreDropped()
    {
        FakeSpeechService service(socketPath());
        SpeechDispatcherSpeech speech(socketAt(socketPath()), QString());
        QSignalSpy ready(&speech, &SpeechBackend::ready);
        speech.open();
        QTRY_COMPARE(ready.size(), 1);
        service.lines.clear();
        service.hold = true;
        speech.say({"one"});
        QTRY_COMPARE(service.lines, QStringList{"CANCEL self"});
        speech.say({"two"});
        speech.say({"three"});
        service.release();
        QTRY_COMPARE(service.lines.size(), 5);
        QCOMPARE(service.lines, (QStringList{"CANCEL self", "CANCEL self", "SPEAK", "three", "."}));
    }

    void failures_data()
    {
        QTest::addColumn<QString>("listen"); // "" nothing listens, else the command refused
        QTest::addColumn<QString>("spawn");  // the autospawn program: "" none, "script" a script
        QTest::addColumn<QString>("script"); // its body
        QTest::addColumn<QString>("reason");
        QTest::newRow("handshake refused") << "SET self LANGUAGE en"
                                           << ""
                                           << ""
                                           << "it refused \"SET self LANGUAGE en\" (411 ERR PARAMETER INVALID)";
        QTest::newRow("not running, not installed") << ""
                                                    << ""
                                                    << ""
                                                    << "not running (nothing answers at %1) and not installed";
        QTest::newRow("autospawn disabled")
            << ""
            << "script"
            << "echo '[Mon Dec  7 03:43:01 2026 : 132405] speechd: Speech Dispatcher 0.11.4 starting' >&2\n"
               "echo '[Mon Dec  7 03:43:01 2026 : 133090] speechd: Autospawn requested but disabled in configuration' "
               ">&2\n"
               "exit 1"
            << "not running, and starting it failed: Autospawn requested but disabled in configuration";
        QTest::newRow("autospawn fails silently") << ""
                                                  << "script"
                                                  << "exit 3"
                                                  << "not running, and starting it failed: exit code 3";
        QTest::newRow("started but still not listening")
            << ""
            << "script"
            << "test \"$1 $2 $3 $4\" = \"--spawn --communication-method unix_socket --socket-path\""
            << "started, but nothing answers at %1 (";
        QTest::newRow("program missing") << ""
                                         << "/nonexistent/speech-dispatcher"
                                         << ""
                                         << "not running, and /nonexistent/speech-dispatcher cannot be run";
    }
    void failures()
    {
        QFETCH(QString, listen);
        QFETCH(QString, spawn);
        QFETCH(QString, script);
        QFETCH(QString, reason);
        std::unique_ptr<FakeSpeechService> service;
        if (!listen.isEmpty()) {
            service = std::make_unique<FakeSpeechService>(socketPath());
            service->refuse = listen;
        }
        if (spawn == "script") {
            spawn = dir.filePath("spawn.sh");
            QFile file(spawn);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n" + script.toUtf8() + "\n");
            file.close();
            file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        SpeechDispatcherSpeech speech(socketAt(socketPath()), spawn);
        QSignalSpy ready(&speech, &SpeechBackend::ready);
        QSignalSpy unavailable(&speech, &SpeechBackend::unavailable);
        speech.open();
        QTRY_COMPARE(unavailable.size(), 1);
        const QString why = unavailable.at(0).at(0).toString();
        QVERIFY2(why.startsWith(reason.replace("%1", socketPath())), qPrintable(why));
        QVERIFY(ready.isEmpty());
        QTest::qWait(50);
        QCOMPARE(unavailable.size(), 1);
    }

    void serviceGoingAwayIsReported()
    {
        FakeSpeechService service(socketPath());
        SpeechDispatcherSpeech speech(socketAt(socketPath()), QString());
        QSignalSpy ready(&speech, &SpeechBackend::ready);
        QSignalSpy unavailable(&speech, &SpeechBackend::unavailable);
        speech.open();
        QTRY_COMPARE(ready.size(), 1);
        service.hangUp();
        QTRY_COMPARE(unavailable.size(), 1);
        speech.say({"word"});
        QTest::qWait(50);
        QCOMPARE(unavailable.size(), 1);
    }
};

QTEST_MAIN(tst_SpeechDispatcherSpeech)
#include "tst_SpeechDispatcherSpeech_posix.moc"
