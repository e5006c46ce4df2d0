#include "link/Replies.h"
#include "support/TestMain.h"

#include <QtEndian>
#include <QtTest>

namespace {
QByteArray int16Bytes(std::initializer_list<qint16> values)
{
    QByteArray bytes;
    for (qint16 value : values) {
        char le[2];
        qToLittleEndian(value, le);
        bytes.append(le, 2);
    }
    return bytes;
}

QByteArray int32Bytes(std::initializer_list<qint32> values)
{
    QByteArray bytes;
    for (qint32 value : values) {
        char le[4];
        qToLittleEndian(value, le);
        bytes.append(le, 4);
    }
    return bytes;
}

QVector<qint16> padded(QVector<qint16> values, int count)
{
    values.resize(count);
    return values;
}
} // namespace

class TestReplies : public QObject
{
    Q_OBJECT

private slots:
    void fixedCountListsPadWithZeros_data();
    void fixedCountListsPadWithZeros();
    void listsUntilExhaustedDropAPartialValue_data();
    void listsUntilExhaustedDropAPartialValue();
    void pointListReadsColumnRowPairs();
    void drnuTableNeedsAHundredBytes_data();
    void drnuTableNeedsAHundredBytes();
    void flagByte_data();
    void flagByte();
    void scalarReaders();
    void consoleFailureIsAnyMinusOne_data();
    void consoleFailureIsAnyMinusOne();
};

void TestReplies::fixedCountListsPadWithZeros_data()
{
    QTest::addColumn<QVector<qint16>>("values");
    QTest::addColumn<QVector<qint16>>("expected");
    QTest::addRow("chip info of 6 bytes")
        << Replies::chipInfo(int16Bytes({1, 2, 3})) << QVector<qint16>{1, 2, 3, 0, 0, 0, 0, 0};
    QTest::addRow("chip info of 7 bytes: the odd byte is no value")
        << Replies::chipInfo(int16Bytes({1, 2, 3}) + QByteArray("\x09", 1))
        << QVector<qint16>{1, 2, 3, 0, 0, 0, 0, 0};
    QTest::addRow("chip info with a tail") << Replies::chipInfo(int16Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9}))
                                           << QVector<qint16>{1, 2, 3, 4, 5, 6, 7, 8};
    QTest::addRow("chip info empty") << Replies::chipInfo(QByteArray()) << QVector<qint16>(8, 0);
    QTest::addRow("registers of 4 bytes")
        << Replies::registers(int16Bytes({0x00FA, -1})) << padded({0x00FA, -1}, 256);
    QTest::addRow("negative values") << Replies::int16List(int16Bytes({-32768, -20, 32767}), 4)
                                     << QVector<qint16>{-32768, -20, 32767, 0};
    QTest::addRow("count 0") << Replies::int16List(int16Bytes({5}), 0) << QVector<qint16>();

    qint16 temperatures[Replies::temperatureCount] = {9, 9, 9, 9, 9, 9};
    Replies::temperatures(int16Bytes({250, 251}) + QByteArray("\x01", 1), temperatures);
    QTest::addRow("temperatures of 5 bytes")
        << QVector<qint16>(std::begin(temperatures), std::end(temperatures))
        << QVector<qint16>{250, 251, 0, 0, 0, 0};
}

void TestReplies::fixedCountListsPadWithZeros()
{
    QFETCH(QVector<qint16>, values);
    QFETCH(QVector<qint16>, expected);
    QCOMPARE(values, expected);
}

void TestReplies::listsUntilExhaustedDropAPartialValue_data()
{
    QTest::addColumn<QVector<qint32>>("values");
    QTest::addColumn<QVector<qint32>>("expected");
    auto widen = [](const QVector<qint16>& v) { return QVector<qint32>(v.begin(), v.end()); };
    QTest::addRow("frequencies of 6 bytes")
        << Replies::modulationFrequencies(int32Bytes({20000}) + "\x10\x27") << QVector<qint32>{20000};
    QTest::addRow("eight frequencies")
        << Replies::modulationFrequencies(int32Bytes({20000, 10000, 5000, 2500, 1250, 625, 24000, 12000}))
        << QVector<qint32>{20000, 10000, 5000, 2500, 1250, 625, 24000, 12000};
    QTest::addRow("frequencies of 3 bytes")
        << Replies::int32List(QByteArray("\x01\x02\x03")) << QVector<qint32>();
    QTest::addRow("negative int32") << Replies::int32List(int32Bytes({-1, -70000}))
                                    << QVector<qint32>{-1, -70000};
    QTest::addRow("int16 console reply, odd length")
        << widen(Replies::int16List(int16Bytes({0, -1}) + QByteArray("\xff", 1))) << QVector<qint32>{0, -1};
    QTest::addRow("int16 console reply, empty")
        << widen(Replies::int16List(QByteArray())) << QVector<qint32>();
}

void TestReplies::listsUntilExhaustedDropAPartialValue()
{
    QFETCH(QVector<qint32>, values);
    QFETCH(QVector<qint32>, expected);
    QCOMPARE(values, expected);
}

void TestReplies::pointListReadsColumnRowPairs()
{
    QCOMPARE(Replies::badPixels(int16Bytes({4, 6, 327, 251})),
             (QVector<QPoint>{QPoint(4, 6), QPoint(327, 251)}));
    // 6 bytes: one complete pair, the half pair is ignored.
    QCOMPARE(Replies::badPixels(int16Bytes({10, 20, 30})), QVector<QPoint>{QPoint(10, 20)});
    QCOMPARE(Replies::pointList(int16Bytes({-1, -2})), QVector<QPoint>{QPoint(-1, -2)});
    QVERIFY(Replies::pointList(QByteArray("\x01\x00\x02")).isEmpty());
}

void TestReplies::drnuTableNeedsAHundredBytes_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<bool>("read");
    QTest::addColumn<int>("valuesFromReply");
    QTest::addRow("99 bytes are ignored") << 99 << false << 0;
    QTest::addRow("100 bytes give 50 values") << 100 << true << 50;
    QTest::addRow("150 bytes give 75 values") << 150 << true << 75;
    QTest::addRow("201 bytes give 100 values") << 201 << true << 100;
}

void TestReplies::drnuTableNeedsAHundredBytes()
{
    QFETCH(int, bytes);
    QFETCH(bool, read);
    QFETCH(int, valuesFromReply);
    QByteArray reply;
    for (int i = 0; reply.size() < bytes; ++i)
        reply += int16Bytes({static_cast<qint16>(i - 40)});
    reply.truncate(bytes);

    int16_t table[Replies::drnuTableCount];
    std::fill(std::begin(table), std::end(table), int16_t(77));
    QCOMPARE(Replies::drnuTable(reply, table), read);
    for (int i = 0; i < Replies::drnuTableCount; ++i) {
        const int expected = !read ? 77 : i < valuesFromReply ? i - 40 : 0;
        QCOMPARE(int(table[i]), expected);
    }
}

void TestReplies::flagByte_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("flag");
    QTest::addRow("empty is not available") << QByteArray() << false;
    QTest::addRow("zero") << QByteArray("\x00", 1) << false;
    QTest::addRow("one") << QByteArray("\x01", 1) << true;
    QTest::addRow("any non-zero") << QByteArray("\x80", 1) << true;
    QTest::addRow("only the first byte counts") << QByteArray("\x00\x01", 2) << false;
}

void TestReplies::flagByte()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, flag);
    QCOMPARE(Replies::flag(reply), flag);
}

void TestReplies::scalarReaders()
{
    QCOMPARE(Replies::int16(int16Bytes({21200})), qint16(21200));
    QCOMPARE(Replies::int16(QByteArray("\xff", 1)), qint16(0));
    QCOMPARE(Replies::icVersion(int16Bytes({0x1234})), 0x34);
    QCOMPARE(Replies::icVersion(int16Bytes({-1})), 0xFF);
    char le[8];
    qToLittleEndian(299792458.0 / 2, le);
    QCOMPARE(Replies::doubleValue(QByteArray(le, 8)), 149896229.0);
    QCOMPARE(Replies::doubleValue(QByteArray(le, 7)), 0.0);
}

void TestReplies::consoleFailureIsAnyMinusOne_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("failure");
    QTest::addRow("success") << int16Bytes({0}) << false;
    QTest::addRow("failure first") << int16Bytes({-1, 0}) << true;
    QTest::addRow("failure later") << int16Bytes({0, 3, -1}) << true;
    QTest::addRow("empty") << QByteArray() << false;
    QTest::addRow("odd byte 0xff is no value") << QByteArray("\x00\x00\xff", 3) << false;
}

void TestReplies::consoleFailureIsAnyMinusOne()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, failure);
    QCOMPARE(Replies::reportsFailure(reply), failure);
}

KESTRANE_TEST_MAIN(TestReplies)
#include "tst_replies.moc"
