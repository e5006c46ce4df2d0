#include "sim/CommandProcessor.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QObject>
#include <QRandomGenerator>
#include <QTcpSocket>

#include <cstring>

namespace {
qint16 int16At(const QByteArray& reply, int index)
{
    if (reply.size() < 2 * (index + 1))
        return 0;
    const auto* b = reinterpret_cast<const uchar*>(reply.constData());
    return static_cast<qint16>(b[2 * index] | (b[2 * index + 1] << 8));
}

qint32 int32At(const QByteArray& reply, int index)
{
    const auto* b = reinterpret_cast<const uchar*>(reply.constData()) + 4 * index;
    return static_cast<qint32>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<quint32>(b[3]) << 24));
}

double doubleAt(const QByteArray& reply)
{
    double value = 0;
    if (reply.size() >= 8)
        std::memcpy(&value, reply.constData(), 8);
    return value;
}

QByteArray stateValue(const QByteArray& report, const QByteArray& key)
{
    for (const QByteArray& line : report.split('\n')) {
        if (line.startsWith(key + '='))
            return line.mid(key.size() + 1);
    }
    return QByteArray();
}
} // namespace

class TestSimCommands final : public QObject
{
    Q_OBJECT

private slots:
    void replyLayouts_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("firstInt16");

        QTest::addRow("version") << QByteArray("version") << 2 << 21205;
        QTest::addRow("IC version") << QByteArray("getIcVersion") << 2 << 3;
        QTest::addRow("part version above 5") << QByteArray("getPartVersion") << 2 << 7;
        QTest::addRow("chip type register") << QByteArray("r 12") << 2 << 2;
        QTest::addRow("register write") << QByteArray("w 11 FA") << 2 << 0;
        QTest::addRow("eight frequencies") << QByteArray("getModulationFrequencies") << 32 << 20000;
        QTest::addRow("calibration type, ordinary") << QByteArray("getCalibrationTypeForFreqIdx 1") << 2 << 1;
        QTest::addRow("calibration type, faceID without")
            << QByteArray("getCalibrationTypeForFreqIdx 6") << 2 << 0;
        QTest::addRow("calibration type, faceID with")
            << QByteArray("getCalibrationTypeForFreqIdx 7") << 2 << 2;
        QTest::addRow("calibration type, no such index")
            << QByteArray("getCalibrationTypeForFreqIdx 8") << 2 << -1;
        QTest::addRow("offset") << QByteArray("getOffset") << 2 << 0;
        QTest::addRow("FLIM step on a TOF chip") << QByteArray("FLIMGetStep") << 2 << -1;
        QTest::addRow("chip information") << QByteArray("getChipInfo") << 16 << 328;
        QTest::addRow("register dump") << QByteArray("dumpAllRegisters") << 512 << 11;
        QTest::addRow("speed of light") << QByteArray("getSpeedOfLight") << 8 << 0;
        QTest::addRow("bad pixels") << QByteArray("getBadPixels") << 64 << -999;
        QTest::addRow("DRNU table") << QByteArray("showDRNU") << 200 << -999;
        QTest::addRow("DRNU available") << QByteArray("isDRNUAvailable") << 1 << -999;
        QTest::addRow("settings command status") << QByteArray("setIntegrationTime3D 500") << 2 << 0;
        QTest::addRow("unknown command") << QByteArray("getEverything") << 2 << -1;
        QTest::addRow("empty line") << QByteArray("") << 2 << -1;
        QTest::addRow("keyword with a trailing blank") << QByteArray("version ") << 2 << -1;
        QTest::addRow("missing argument") << QByteArray("setIntegrationTime3D") << 2 << -1;
        QTest::addRow("double blank") << QByteArray("setIntegrationTime3D  5") << 2 << -1;
        QTest::addRow("not a number") << QByteArray("setMinAmplitude ten") << 2 << -1;
        QTest::addRow("row reduction out of range") << QByteArray("setRowReduction 4") << 2 << -1;
        QTest::addRow("ROI right of left") << QByteArray("setROI 10 5 6 125") << 2 << -1;
        QTest::addRow("ROI top in the lower half") << QByteArray("setROI 4 323 130 125") << 2 << 0;
        QTest::addRow("ROI below the sensor") << QByteArray("setROI 4 323 6 252") << 2 << -1;
        QTest::addRow("ROI right of the sensor") << QByteArray("setROI 4 328 6 125") << 2 << -1;
        QTest::addRow("DRNU switch on is 2") << QByteArray("correctDRNU 1") << 2 << -1;
        QTest::addRow("Kalman gain") << QByteArray("setKalmanK 0.2500") << 2 << 0;
        QTest::addRow("negative offset") << QByteArray("setOffset -20") << 2 << 0;
    }

    void replyLayouts()
    {
        QFETCH(QByteArray, command);
        QFETCH(int, size);
        QFETCH(int, firstInt16);
        CommandProcessor sim{SimConfig()};
        const QByteArray reply = sim.process(command).bytes;
        QCOMPARE(reply.size(), size);
        if (firstInt16 != -999 && size != 8)
            QCOMPARE(int16At(reply, 0), static_cast<qint16>(firstInt16));
    }

    void listContents()
    {
        CommandProcessor sim{SimConfig()};
        const QByteArray frequencies = sim.process("getModulationFrequencies").bytes;
        const QVector<int> expected = {20000, 10000, 5000, 2500, 1250, 625, 30000, 15000};
        for (int i = 0; i < 8; ++i)
            QCOMPARE(int32At(frequencies, i), expected[i]);
        QCOMPARE(doubleAt(sim.process("getSpeedOfLight").bytes), 150000000.0);

        const QByteArray info = sim.process("getChipInfo").bytes;
        QCOMPARE(int16At(info, 5), qint16(2)); // part type = chip type
        QCOMPARE(int16At(info, 6), qint16(7)); // part version
        const QByteArray dump = sim.process("dumpAllRegisters").bytes;
        QCOMPARE(int16At(dump, 0x12), qint16(2));

        const QByteArray temperatures = sim.process("getTemperature").bytes;
        QCOMPARE(temperatures.size(), 12);
        for (int i = 0; i < 6; ++i) {
            const qint16 t = int16At(temperatures, i);
            QVERIFY2(t > 300 && t < 600, qPrintable(QString::number(t))); // tenths of a degree
        }

        const QByteArray bad = sim.process("getBadPixels").bytes;
        for (int i = 0; i < bad.size() / 4; ++i) {
            const int x = int16At(bad, 2 * i);
            const int y = int16At(bad, 2 * i + 1);
            QVERIFY(x >= 4 && x <= 323 && y >= 6 && y <= 245);
        }
        const QByteArray drnu = sim.process("showDRNU").bytes;
        for (int i = 50; i < 100; ++i)
            QVERIFY(int16At(drnu, i) > 300 && int16At(drnu, i) < 600);
    }

    void temperaturesDriftWithOperation()
    {
        CommandProcessor sim{SimConfig()};
        const QByteArray before = sim.process("getTemperature").bytes;
        for (int i = 0; i < 300; ++i)
            sim.process("getBWSorted");
        const QByteArray after = sim.process("getTemperature").bytes;
        QVERIFY(int16At(after, 0) > int16At(before, 0));
        QVERIFY(int16At(after, 0) - int16At(before, 0) < 100); // slowly: under 10 degrees
    }

    void speedOfLightIsHalvedOnSet()
    {
        CommandProcessor sim{SimConfig()};
        QCOMPARE(int16At(sim.process("setSpeedOfLight 300000000").bytes, 0), qint16(0));
        QCOMPARE(doubleAt(sim.process("getSpeedOfLight").bytes), 150000000.0);
        QCOMPARE(int16At(sim.process("setSpeedOfLight 299792458").bytes, 0), qint16(0));
        QCOMPARE(doubleAt(sim.process("getSpeedOfLight").bytes), 149896229.0);
        QCOMPARE(int16At(sim.process("setSpeedOfLight -5").bytes, 0), qint16(-1));
        QCOMPARE(doubleAt(sim.process("getSpeedOfLight").bytes), 149896229.0);
    }

    void chipModels_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addColumn<int>("chipType");
        QTest::addColumn<bool>("flim");
        QTest::addColumn<int>("frameBytes");
        QTest::addRow("zc320") << "zc320" << 2 << false << 2 * 320 * 240;
        QTest::addRow("zc310") << "zc310" << 4 << false << 2 * 160 * 60;
        QTest::addRow("zc210") << "zc210" << 3 << true << 2 * 320 * 240;
        QTest::addRow("zc220") << "zc220" << 5 << true << 2 * 160 * 60;
    }

    void chipModels()
    {
        QFETCH(QString, chip);
        QFETCH(int, chipType);
        QFETCH(bool, flim);
        QFETCH(int, frameBytes);
        SimConfig config;
        config.chip = ChipModel::byName(chip);
        CommandProcessor sim(config);
        QCOMPARE(int16At(sim.process("r 12").bytes, 0), static_cast<qint16>(chipType));
        QCOMPARE(int16At(sim.process("getChipInfo").bytes, 5), static_cast<qint16>(chipType));
        QCOMPARE(sim.process("isFlimCorrectionAvailable").bytes, QByteArray(1, flim ? '\1' : '\0'));
        QCOMPARE(int16At(sim.process("FLIMGetStep").bytes, 0) > 0, flim);
        QCOMPARE(sim.process("getBWSorted").bytes.size(), frameBytes);
        // The chip-type register cannot be overwritten.
        sim.process("w 12 07");
        QCOMPARE(int16At(sim.process("r 12").bytes, 0), static_cast<qint16>(chipType));
    }

    void neverCrashesOnAnyInput()
    {
        CommandProcessor sim{SimConfig()};
        QRandomGenerator random(42);
        const QList<QByteArray> keywords = {"setROI",
                                            "w",
                                            "r",
                                            "setOffset",
                                            "selectPolynomial",
                                            "setKalmanK",
                                            "sim.fault",
                                            "sim.frame",
                                            "getCalibrationTypeForFreqIdx",
                                            "setModulationFrequency",
                                            "setSpeedOfLight"};
        for (int i = 0; i < 3000; ++i) {
            QByteArray line = keywords.at(random.bounded(keywords.size()));
            const int args = random.bounded(6);
            for (int a = 0; a < args; ++a) {
                line += ' ';
                const int kind = random.bounded(4);
                if (kind == 0)
                    line += QByteArray::number(random.bounded(-70000, 70000));
                else if (kind == 1)
                    line += QByteArray::number(random.generateDouble() * 1e9, 'g', 12);
                else
                    for (int c = random.bounded(8); c > 0; --c)
                        line += static_cast<char>(random.bounded(256));
            }
            sim.process(line);
            if (i % 50 == 0)
                sim.process("getDistanceAndAmplitudeSorted");
        }
        sim.process("sim.fault none");
        QCOMPARE(int16At(sim.process("version").bytes, 0), qint16(21205));
        QVERIFY(sim.process("getDCSTOFAndGrayscaleSorted").bytes.size() > 0);
    }

    void settingsPersistBetweenConnections()
    {
        SimulatorProcess sim;
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
        QCOMPARE(int16At(sim.exchange("setIntegrationTime3D 450"), 0), qint16(0));
        QCOMPARE(int16At(sim.exchange("setROI 44 283 46 125"), 0), qint16(0));
        QCOMPARE(int16At(sim.exchange("enableHorizontalBinning 1"), 0), qint16(0));
        QCOMPARE(int16At(sim.exchange("setModulationFrequency 0"), 0), qint16(0));
        const QByteArray state = sim.exchange("sim.state");
        QCOMPARE(stateValue(state, "integrationTime3D"), QByteArray("450"));
        QCOMPARE(stateValue(state, "roiX1"), QByteArray("44"));
        QCOMPARE(stateValue(state, "roiY2"), QByteArray("125"));
        QCOMPARE(stateValue(state, "horizontalBinning"), QByteArray("1"));
        QCOMPARE(stateValue(state, "frequencyIndex"), QByteArray("0"));
        // 240 columns binned to 120 words, 160 rows, two images.
        QCOMPARE(sim.exchange("getDistanceAndAmplitudeSorted").size(), 2 * 2 * 120 * 160);
    }

    void serverVersionOption_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addRow("too old") << "-1";
        QTest::addRow("2.11.3") << "21103";
        QTest::addRow("2.12.99") << "21299";
    }

    void serverVersionOption()
    {
        QFETCH(QString, version);
        SimulatorProcess sim({QStringLiteral("--server-version"), version, QStringLiteral("--part-version"),
                              QStringLiteral("5")});
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
        QCOMPARE(int16At(sim.exchange("version"), 0), static_cast<qint16>(version.toInt()));
        QCOMPARE(int16At(sim.exchange("getPartVersion"), 0), qint16(5));
    }

    void longOperationsTakeTheirTime_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<int>("size");
        QTest::addRow("bad-pixel search") << QByteArray("searchBadPixels") << 2;
        QTest::addRow("DRNU calibration") << QByteArray("calibrateDRNU") << 2;
        QTest::addRow("factory calibration") << QByteArray("factoryCalibration") << 2;
        QTest::addRow("renewed DRNU table") << QByteArray("renewDRNU") << 200;
    }

    void longOperationsTakeTheirTime()
    {
        QFETCH(QByteArray, command);
        QFETCH(int, size);
        SimulatorProcess sim({QStringLiteral("--long-op-ms"), QStringLiteral("400")});
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
        QElapsedTimer clock;
        clock.start();
        bool completed = false;
        const QByteArray reply = sim.exchange(command, 5000, &completed);
        QVERIFY(completed);
        QVERIFY(clock.elapsed() >= 380);
        QCOMPARE(reply.size(), size);
        if (size == 2)
            QCOMPARE(int16At(reply, 0), qint16(0));
        // Other exchanges go on meanwhile.
        QCOMPARE(int16At(sim.exchange("version"), 0), qint16(21205));
    }

    void realtimeFramesTakeTheSensorsTime()
    {
        SimulatorProcess sim({QStringLiteral("--realtime")});
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
        QCOMPARE(int16At(sim.exchange("setIntegrationTime3D 25000"), 0), qint16(0));
        QElapsedTimer clock;
        clock.start();
        bool completed = false;
        // Four correlation sub-frames of 25 ms each, plus their readouts.
        QCOMPARE(sim.exchange("getDistanceAndAmplitudeSorted", 5000, &completed).size(), 2 * 2 * 320 * 240);
        QVERIFY(completed);
        QVERIFY2(clock.elapsed() >= 100, qPrintable(QString::number(clock.elapsed())));
        // Settings commands answer at once.
        clock.restart();
        QCOMPARE(int16At(sim.exchange("enableDualMGX 1"), 0), qint16(0));
        clock.restart();
        sim.exchange("getDistanceAndAmplitudeSorted");
        QVERIFY2(clock.elapsed() >= 50, qPrintable(QString::number(clock.elapsed())));
    }

    void connectionHandling()
    {
        SimulatorProcess sim;
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));

        // Connect and close without sending anything.
        for (int i = 0; i < 5; ++i) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, sim.port());
            QVERIFY(socket.waitForConnected(2000));
            socket.abort();
        }

        // Silence: closed after about 2 s without a reply.
        {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, sim.port());
            QVERIFY(socket.waitForConnected(2000));
            QElapsedTimer clock;
            clock.start();
            socket.write("vers"); // no line feed
            QTRY_COMPARE_WITH_TIMEOUT(socket.state(), QAbstractSocket::UnconnectedState, 5000);
            QVERIFY(clock.elapsed() >= 1800);
            QCOMPARE(socket.readAll(), QByteArray());
        }

        // A line over 4 KiB is closed without a reply.
        bool completed = false;
        const QByteArray reply = sim.exchange(QByteArray(5000, 'a'), 5000, &completed);
        QVERIFY(completed);
        QCOMPARE(reply, QByteArray());

        // The command ends at the line feed; a carriage return before it is tolerated.
        QCOMPARE(int16At(sim.exchange("version\r"), 0), qint16(21205));

        // Random bytes as commands: answered or closed, never a crash.
        QRandomGenerator random(7);
        for (int i = 0; i < 30; ++i) {
            QByteArray line;
            for (int c = random.bounded(1, 300); c > 0; --c)
                line += static_cast<char>(random.bounded(1, 256));
            line.replace('\n', ' ');
            sim.exchange(line, 3000);
        }
        QVERIFY(sim.isRunning());
        QCOMPARE(int16At(sim.exchange("version"), 0), qint16(21205));
    }

    // The client's start-up sequence, as a scripted client, against each chip model (with
    // generous time-outs: speed is the benchmarks' business).
    void startupSequence_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addColumn<int>("chipType");
        QTest::addColumn<bool>("flim");
        QTest::addRow("zc320") << "zc320" << 2 << false;
        QTest::addRow("zc310") << "zc310" << 4 << false;
        QTest::addRow("zc210") << "zc210" << 3 << true;
        QTest::addRow("zc220") << "zc220" << 5 << true;
    }

    void startupSequence()
    {
        QFETCH(QString, chip);
        QFETCH(int, chipType);
        QFETCH(bool, flim);
        SimulatorProcess sim({QStringLiteral("--chip"), chip});
        QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
        bool ok = false;
        auto step = [&](const QByteArray& command, int timeoutMs) {
            const QByteArray reply = sim.exchange(command, timeoutMs, &ok);
            return reply;
        };
        const auto version = static_cast<quint16>(int16At(step("version", 2000), 0));
        QVERIFY(ok);
        QVERIFY(version >= 20000 && version <= 29999 && (version / 100) % 100 == 12);
        step("getIcVersion", 2000);
        QVERIFY(ok);
        const QByteArray frequencies = step("getModulationFrequencies", 2000);
        QVERIFY(ok);
        int kept = 0;
        for (int i = 0; 4 * i + 4 <= frequencies.size(); ++i) {
            const int type = int16At(step("getCalibrationTypeForFreqIdx " + QByteArray::number(i), 2000), 0);
            QVERIFY(ok);
            QVERIFY(int32At(frequencies, i) > 0);
            kept += i < 6 || type > 0;
        }
        QCOMPARE(kept, 7);
        step("w 11 FA", 2000);
        QVERIFY(ok);
        QCOMPARE(int16At(step("r 12", 2000), 0), static_cast<qint16>(chipType));
        QVERIFY(ok);
        const int partVersion = int16At(step("getPartVersion", 5000), 0);
        QVERIFY(ok);
        QVERIFY(chipType >= 4 || partVersion > 5);
        if (flim) {
            QVERIFY(int16At(step("FLIMGetStep", 2000), 0) > 0);
            QVERIFY(ok);
        }
        step("getOffset", 2000);
        QVERIFY(ok);
        step("setImageAveraging 0", 2000);
        QVERIFY(ok);
        QVERIFY(!step("getDistanceAndAmplitudeSorted", 2000).isEmpty());
    }
};

KESTRANE_TEST_MAIN(TestSimCommands)
#include "tst_commands.moc"
