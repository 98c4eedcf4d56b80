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
        const auto samples = FliteSynthesizer::synthesize("welcome");
        QCOMPARE(samples.sampleRate, 16000);
        QVERIFY2(seconds(samples) > 0.3 && seconds(samples) < 1.5, qPrintable(QString::number(seconds(samples))));
        QVERIFY(peak(samples.pcm) > 3000);
    }

    // The voice's own lead-in of near silence would be heard as delay after each hover.
    void soundStartsAtOnce()
    {
        const auto samples = FliteSynthesizer::synthesize("welcome");
        const auto *pcm = reinterpret_cast<const qint16 *>(samples.pcm.constData());
        qsizetype first = 0;
        while (first < samples.pcm.size() / 2 && std::abs(int(pcm[first])) < 328)
            ++first;
        QVERIFY2(first <= samples.sampleRate / 50, qPrintable(QString::number(first)));
    }

    void textsFollowOneAnotherWithAPause()
    {
        const double one = seconds(FliteSynthesizer::synthesize("welcome"));
        const double two = seconds(FliteSynthesizer::synthesizeAll({"welcome", "welcome"}));
        QVERIFY2(two > 2 * one + 0.2, qPrintable(QString("%1 %2").arg(one).arg(two)));
        QVERIFY(FliteSynthesizer::synthesizeAll({}).pcm.isEmpty());
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

    // Prepared and repeated words are synthesised once and come out as a word of their own.
    void preparedWordsAreKept()
    {
        FliteSynthesizer synthesizer;
        QList<QByteArray> answers;
        connect(&synthesizer, &FliteSynthesizer::synthesized, this,
                [&](quint64, const QByteArray &pcm) { answers.append(pcm); });
        synthesizer.prepare({"tanker", "harbour"});
        synthesizer.prepare({"river", "tanker"});
        QTRY_COMPARE(synthesizer.wordsSynthesized(), 2);
        synthesizer.request(1, {"tanker"});
        QTRY_COMPARE(answers.size(), 1);
        synthesizer.request(2, {"tanker"});
        QTRY_COMPARE(answers.size(), 2);
        synthesizer.request(3, {"river"});
        QTRY_COMPARE(answers.size(), 3);
        QCOMPARE(synthesizer.wordsSynthesized(), 2);
        // The voice's noise excitation differs from one synthesis to the next, so the same
        // bytes twice show that the word was kept.
        QCOMPARE(answers.at(1), answers.at(0));
        QVERIFY(answers.at(2) != answers.at(0));
    }
};

QTEST_MAIN(tst_FliteSynthesizer)
#include "tst_FliteSynthesizer_posix.moc"
