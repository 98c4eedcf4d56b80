#include "worddata/PopulatedBuffer.h"

#include <QTest>
#include <cstring>

class tst_PopulatedBuffer : public QObject
{
    Q_OBJECT

private slots:
    void copyHoldsTheBytes_data();
    void copyHoldsTheBytes();
    void growsInPlaceAndGivesBack();
};

namespace {

QByteArray pattern(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 4096);
    return bytes;
}

} // namespace

void tst_PopulatedBuffer::copyHoldsTheBytes_data()
{
    QTest::addColumn<qsizetype>("size");
    QTest::newRow("empty") << qsizetype(0);
    QTest::newRow("heap") << PopulatedBuffer::heapLimit - 1;
    QTest::newRow("smallest mapped") << PopulatedBuffer::heapLimit;
    QTest::newRow("huge pages and a tail") << (qsizetype(5) << 20) + 123;
}

void tst_PopulatedBuffer::copyHoldsTheBytes()
{
    QFETCH(qsizetype, size);
    const QByteArray bytes = pattern(size);
    const PopulatedBuffer buffer = PopulatedBuffer::copyOf(bytes);
    QVERIFY(buffer.usable() >= size);
    QCOMPARE(QByteArrayView(buffer.data(), size), QByteArrayView(bytes));
    // Whole pages at most, never a rounding up to huge pages.
    QVERIFY2(buffer.heldBytes() < size + 4096 * 4, qPrintable(QString::number(buffer.heldBytes())));
}

void tst_PopulatedBuffer::growsInPlaceAndGivesBack()
{
    const qsizetype mib = qsizetype(1) << 20;
    // Address space for a whole gigabyte costs nothing until it is made usable.
    PopulatedBuffer buffer(1024 * mib);
    QCOMPARE(buffer.heldBytes(), qsizetype(0));

    QVERIFY(buffer.ensure(3 * mib));
    char *const start = buffer.data();
    const QByteArray first = pattern(3 * mib);
    std::memcpy(start, first.constData(), size_t(first.size()));

    QVERIFY(buffer.ensure(7 * mib + 1));
    QVERIFY(!buffer.ensure(1025 * mib));
    QCOMPARE(buffer.data(), start);
    QVERIFY(buffer.usable() >= 7 * mib + 1);
    QCOMPARE(QByteArrayView(start, first.size()), QByteArrayView(first));
    QVERIFY(QByteArrayView(start + 3 * mib, 4 * mib + 1) == QByteArray(4 * mib + 1, '\0'));

    buffer.shrink(100);
    QVERIFY2(buffer.heldBytes() <= 4096 * 4, qPrintable(QString::number(buffer.heldBytes())));
    QCOMPARE(QByteArrayView(buffer.data(), 100), QByteArrayView(first).first(100));

    PopulatedBuffer moved = std::move(buffer);
    QCOMPARE(moved.data(), start);
    QCOMPARE(buffer.data(), nullptr);
    QCOMPARE(buffer.heldBytes(), qsizetype(0));
}

QTEST_GUILESS_MAIN(tst_PopulatedBuffer)
#include "tst_PopulatedBuffer.moc"
