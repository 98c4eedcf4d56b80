#include "common/TestMain.h"
#include "platform/FliteSynthesizer.h"

#include <QTest>

#include <cstdlib>

namespace {

double seconds(const FliteSynthesizer::Samples &samples)
{
    return samples.sampleRate ? double(samples.pcm.size()) / 2 / samples.sampleRate : 0;
}

int peak(const QByteArray &pcm)
{
    int loudest = 0;
    for (qsizetype i = 0; i + 1 < pcm.size(); i += 2)
        loudest = std::max(loudest, std::abs(int(*reinterpret_cast<const qint16 *>(pcm.constData() + i))));
    return loudest;
}

} // namespace

class tst_FliteSynthesizer : public QObject
{
    Q_OBJECT
private slots:
    // A single word is a fraction of a second of real sound, not silence.
    void singleWordIsAudible()
    {
        const auto samples = FliteSynthesizer::synthesize({"welcome"});
        QCOMPARE(samples.sampleRate, 16000);
        QVERIFY2(seconds(samples) > 0.3 && seconds(samples) < 1.5, qPrintable(QString::number(seconds(samples))));
        QVERIFY(peak(samples.pcm) > 3000);
    }

    void textsFollowOneAnotherWithAPause()
    {
        const double one = seconds(FliteSynthesizer::synthesize({"welcome"}));
        const double two = seconds(FliteSynthesizer::synthesize({"welcome", "welcome"}));
        QVERIFY2(two > 2 * one + 0.2, qPrintable(QString("%1 %2").arg(one).arg(two)));
        QVERIFY(FliteSynthesizer::synthesize({}).pcm.isEmpty());
    }

    // Requests overtaken before their turn are skipped; the latest one is always answered.
    void latestRequestWins()
    {
        FliteSynthesizer synthesizer;
        QList<quint64> answered;
        connect(&synthesizer, &FliteSynthesizer::synthesized, this, [&](quint64 id) { answered.append(id); });
        for (quint64 id = 1; id <= 5; ++id)
            synthesizer.request(id, {"word"});
        QTRY_COMPARE(answered, QList<quint64>{5});
    }
};

DORRIT_TEST_CLASS(tst_FliteSynthesizer)
#include "tst_FliteSynthesizer_posix.moc"
