#include "sim/CommandProcessor.h"
#include "support/TestMain.h"

#include <QObject>

#include <cmath>

namespace {
constexpr double pi = 3.14159265358979323846;

SimConfig quietConfig(const char* chip = "zc320")
{
    SimConfig c;
    c.chip = ChipModel::byName(QString::fromLatin1(chip));
    c.noise = false;
    return c;
}

// Sensor-coordinate values of image `image` of the last frame.
qint32 at(CommandProcessor& sim, int image, int column, int row)
{
    return sim.lastFrame().value(image, column, row);
}

void send(CommandProcessor& sim, const QByteArray& line)
{
    QCOMPARE(sim.process(line).bytes, QByteArray("\0\0", 2));
}

// A wall pixel far from the box, the floor, the stripes and the sphere.
constexpr int wallColumn = 300;
constexpr int wallRow = 30;
} // namespace

class TestSimPhysics final : public QObject
{
    Q_OBJECT

private slots:
    void distanceWordsFollowTheUnambiguousRange_data()
    {
        QTest::addColumn<QByteArray>("setup");
        QTest::addColumn<double>("rangeM");
        QTest::addColumn<int>("offset");
        QTest::addRow("10 MHz: 15 m") << QByteArray("setModulationFrequency 1") << 15.0 << 0;
        QTest::addRow("20 MHz: 7.5 m") << QByteArray("setModulationFrequency 0") << 7.5 << 0;
        QTest::addRow("30 MHz: 5 m, the wall wraps") << QByteArray("setModulationFrequency 6") << 5.0 << 0;
        QTest::addRow("half the speed of light: 7.5 m at 10 MHz")
            << QByteArray("setSpeedOfLight 150000000") << 7.5 << 0;
        QTest::addRow("manual offset") << QByteArray("enableDefaultOffset 0") << 15.0 << 250;
    }

    void distanceWordsFollowTheUnambiguousRange()
    {
        QFETCH(QByteArray, setup);
        QFETCH(double, rangeM);
        QFETCH(int, offset);
        CommandProcessor sim(quietConfig());
        send(sim, "setOffset 250");
        send(sim, setup);
        QCOMPARE(sim.process("sim.frame 3").bytes, QByteArray("OK\n"));
        sim.process("getDistanceAndAmplitudeSorted");
        QVector<float> distance(328 * 252);
        QVector<float> reflectance(328 * 252);
        QVector<float> irradiance(328 * 252);
        sim.renderer().scene().render(3, distance.data(), reflectance.data(), irradiance.data());
        int checked = 0;
        for (int row = 10; row < 240; row += 23) {
            for (int column = 10; column < 320; column += 31) {
                const float r = distance[row * 328 + column];
                const double expected = std::fmod(30000.0 * std::fmod(r, rangeM) / rangeM + offset, 30000.0);
                const qint32 word = at(sim, 0, column, row);
                if (word >= 65300)
                    continue;
                QVERIFY2(
                    std::abs(word - expected) <= 2 || std::abs(std::abs(word - expected) - 30000) <= 2,
                    qPrintable(
                        QStringLiteral("(%1, %2): %3 vs %4").arg(column).arg(row).arg(word).arg(expected)));
                ++checked;
            }
        }
        QVERIFY(checked > 50);
    }

    void flatWallIsFlatInCartesianCoordinates()
    {
        CommandProcessor sim(quietConfig());
        sim.process("getDistanceAndAmplitudeSorted");
        // The point cloud's conversion: 108 degrees over the ROI width 320, angles from the
        // ROI centre.
        const double step = 108.0 * pi / 360.0 / 160.0;
        const double range = 15.0;
        for (int row = 10; row < 60; row += 7) {
            for (int column = 230; column < 320; column += 9) {
                const qint32 word = at(sim, 0, column, row);
                QVERIFY(word < 30000);
                const double r = word * range / 30000.0;
                const double theta = step * ((row - 6) - 120);
                const double phi = step * ((column - 4) - 160);
                const double z = r * std::cos(theta) * std::cos(phi);
                QVERIFY2(std::abs(z - 4.0) < 0.005, qPrintable(QString::number(z)));
            }
        }
    }

    void nearerIsBrighter()
    {
        CommandProcessor sim(quietConfig());
        sim.process("sim.frame 0");
        sim.process("getAmplitudeSorted");
        const SceneModel& scene = sim.renderer().scene();
        double x = 0, y = 0, z = 0;
        scene.sphereAt(0, &x, &y, &z);
        // The pixel looking at the sphere's centre sees it at about 1.85 m; the wall behind
        // the sphere is more than twice as far.
        const double step = scene.angularStep();
        const int column = 164 + static_cast<int>(std::lround(std::atan2(x, z) / step));
        const int row =
            126 + static_cast<int>(std::lround(std::asin(y / std::sqrt(x * x + y * y + z * z)) / step));
        const qint32 sphere = at(sim, 0, column, row);
        const qint32 wall = at(sim, 0, wallColumn, wallRow);
        QVERIFY2(sphere > 3 * wall, qPrintable(QStringLiteral("%1 vs %2").arg(sphere).arg(wall)));

        // The same surface: amplitude times distance squared over reflectance is constant.
        for (int cell : {wallRow * 328 + wallColumn, 200 * 328 + 200, 150 * 328 + 60}) {
            const double r = scene.staticDistance(cell);
            const double k = at(sim, 0, cell % 328, cell / 328) * r * r / scene.staticReflectance(cell);
            QVERIFY2(std::abs(k / (FrameRenderer::amplitudeScale * 700) - 1) < 0.02,
                     qPrintable(QString::number(k)));
        }
    }

    // The built-in default configuration measures 40 to 80 cm: part of the view, not all of
    // it, lies there, lit but not saturated at that configuration's integration time.
    void nearObjectFillsTheDefaultRange_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addRow("zc320") << QStringLiteral("zc320");
        QTest::addRow("zc310") << QStringLiteral("zc310");
    }

    void nearObjectFillsTheDefaultRange()
    {
        QFETCH(QString, chip);
        CommandProcessor sim(quietConfig(qPrintable(chip)));
        const SceneModel& scene = sim.renderer().scene();
        const ChipModel model = ChipModel::byName(chip);
        int near = 0;
        for (int cell = 0; cell < model.cellCount(); ++cell)
            near += scene.staticDistance(cell) >= 0.4f && scene.staticDistance(cell) <= 0.8f;
        const double share = double(near) / model.cellCount();
        QVERIFY2(share > 0.03 && share < 0.3, qPrintable(QString::number(share)));

        send(sim, "setIntegrationTime3D 1800");
        sim.process("getAmplitudeSorted");
        const double x = 0.3, y = 0.1, z = 0.45; // the block's front face, near its middle
        const double step = scene.angularStep();
        const int column = model.columns / 2 + static_cast<int>(std::lround(std::atan2(x, z) / step));
        const int row = model.rows / 2 +
                        static_cast<int>(std::lround(std::asin(y / std::sqrt(x * x + y * y + z * z)) / step));
        const qint32 amplitude = at(sim, 0, column, row);
        QVERIFY2(amplitude > 200 && amplitude < 2047, qPrintable(QString::number(amplitude)));
    }

    void amplitudeScalesWithIntegrationTime()
    {
        CommandProcessor sim(quietConfig());
        sim.process("getAmplitudeSorted");
        const qint32 shortTime = at(sim, 0, wallColumn, wallRow);
        send(sim, "setIntegrationTime3D 1400");
        sim.process("getAmplitudeSorted");
        QVERIFY(std::abs(at(sim, 0, wallColumn, wallRow) - 2 * shortTime) <= 2);
    }

    void statusCodes()
    {
        CommandProcessor sim(quietConfig());
        send(sim, "setMinAmplitude 4000");
        sim.process("getDistanceAndAmplitudeSorted");
        QCOMPARE(at(sim, 0, wallColumn, wallRow), 65300);
        QVERIFY(at(sim, 1, wallColumn, wallRow) < 4000); // the amplitude itself is still shown

        send(sim, "setMinAmplitude 20");
        send(sim, "setIntegrationTime3D 60000");
        sim.process("getDistanceAndAmplitudeSorted");
        QVERIFY(at(sim, 0, wallColumn, wallRow) < 30000); // saturated but not marked
        send(sim, "enableSaturation 1");
        sim.process("getDistanceAndAmplitudeSorted");
        QCOMPARE(at(sim, 0, wallColumn, wallRow), 65400);
        QCOMPARE(at(sim, 1, wallColumn, wallRow), 65400);
        send(sim, "enableAdcOverflow 1");
        sim.process("getDistanceAndAmplitudeSorted");
        QCOMPARE(at(sim, 0, wallColumn, wallRow), 65500);
        sim.process("getDCSSorted");
        QCOMPARE(at(sim, 0, wallColumn, wallRow), 65500);
    }

    void noiseGrowsAsAmplitudeFalls()
    {
        SimConfig c = quietConfig();
        c.noise = true;
        CommandProcessor sim(c);
        auto spread = [&](int integration) {
            send(sim, "setIntegrationTime3D " + QByteArray::number(integration));
            double sum = 0, sum2 = 0;
            const int n = 40;
            for (int i = 0; i < n; ++i) {
                sim.process("getDistanceAndAmplitudeSorted");
                const double v = at(sim, 0, wallColumn, wallRow);
                sum += v;
                sum2 += v * v;
            }
            return std::sqrt(sum2 / n - (sum / n) * (sum / n));
        };
        const double bright = spread(1500);
        const double dim = spread(300);
        QVERIFY2(dim > 3 * bright, qPrintable(QStringLiteral("%1 vs %2").arg(dim).arg(bright)));
    }

    void imageAveragingSmoothsAndHysteresisHolds()
    {
        SimConfig c = quietConfig();
        c.noise = true;
        CommandProcessor sim(c);
        auto spread = [&](int frames) {
            double sum = 0, sum2 = 0;
            for (int i = 0; i < frames; ++i) {
                sim.process("getDistanceAndAmplitudeSorted");
                const double v = at(sim, 0, wallColumn, wallRow);
                if (i < 10)
                    continue; // let the average settle
                sum += v;
                sum2 += v * v;
            }
            const int n = frames - 10;
            return std::sqrt(sum2 / n - (sum / n) * (sum / n));
        };
        send(sim, "setImageAveraging 0");
        const double plain = spread(50);
        send(sim, "setImageAveraging 16");
        const double averaged = spread(50);
        QVERIFY2(averaged < plain / 2, qPrintable(QStringLiteral("%1 vs %2").arg(averaged).arg(plain)));

        // A pixel whose amplitude hovers around the minimum flickers; with a hysteresis as
        // large as the amplitude, once it is out it stays out.
        send(sim, "setImageAveraging 0");
        sim.process("getAmplitudeSorted");
        const int amplitude = at(sim, 0, wallColumn, wallRow);
        send(sim, "setMinAmplitude " + QByteArray::number(amplitude));
        auto validFrames = [&](int frames, bool* returned) {
            int valid = 0;
            bool seenInvalid = false;
            *returned = false;
            for (int i = 0; i < frames; ++i) {
                sim.process("getDistanceAndAmplitudeSorted");
                const bool ok = at(sim, 0, wallColumn, wallRow) != 65300;
                valid += ok;
                *returned = *returned || (seenInvalid && ok);
                seenInvalid = seenInvalid || !ok;
            }
            return valid;
        };
        bool returned = false;
        const int flicker = validFrames(40, &returned);
        QVERIFY(flicker > 5 && flicker < 35);
        QVERIFY(returned);
        send(sim, "setHysteresis " + QByteArray::number(amplitude));
        validFrames(40, &returned);
        QVERIFY(!returned);
    }

    void correlationSamplesReproduceTheDistance()
    {
        CommandProcessor sim(quietConfig());
        send(sim, "enablePiDelay 1");
        sim.process("sim.frame 5");
        sim.process("getDistanceAndAmplitudeSorted");
        const SimFrameReport distance = sim.lastFrame();
        sim.process("sim.frame 5");
        QCOMPARE(sim.process("getDCSSorted").bytes.size(), 4 * 2 * 320 * 240);
        const SimFrameReport dcs = sim.lastFrame();
        int checked = 0;
        for (int row = 8; row < 244; row += 11) {
            for (int column = 6; column < 322; column += 13) {
                const int d = distance.value(0, column, row);
                const int a = distance.value(1, column, row);
                if (d >= 30000 || a < 50 || a > 2000)
                    continue;
                const double d0 = dcs.value(0, column, row), d1 = dcs.value(1, column, row);
                const double d2 = dcs.value(2, column, row), d3 = dcs.value(3, column, row);
                QVERIFY(d0 >= 0 && d0 <= 4095);
                double phase = std::atan2(d3 - d1, d0 - d2);
                if (phase < 0)
                    phase += 2 * pi;
                const double lsb = 30000.0 * phase / (2 * pi);
                double error = std::abs(lsb - d);
                error = std::min(error, 30000 - error);
                QVERIFY2(
                    error < 60,
                    qPrintable(QStringLiteral("(%1, %2): %3 vs %4").arg(column).arg(row).arg(lsb).arg(d)));
                const double amplitude = std::hypot(d2 - d0, d3 - d1) / 2.0;
                QVERIFY2(std::abs(amplitude - a) < 0.03 * a + 2, qPrintable(QString::number(amplitude)));
                ++checked;
            }
        }
        QVERIFY(checked > 100);
    }

    void grayscaleScalesWithItsIntegrationTime()
    {
        CommandProcessor sim(quietConfig());
        send(sim, "setIntegrationTime2D 5000");
        sim.process("getBWSorted");
        const double low = at(sim, 0, wallColumn, wallRow) - 2048;
        send(sim, "setIntegrationTime2D 10000");
        sim.process("getBWSorted");
        const double high = at(sim, 0, wallColumn, wallRow) - 2048;
        QVERIFY(low > 50);
        QVERIFY(std::abs(high / low - 2.0) < 0.05);
    }

    void badPixelsAreVisiblyBad()
    {
        CommandProcessor sim(quietConfig());
        const QVector<QPoint> bad = sim.renderer().badPixels();
        QCOMPARE(bad.size(), 16);
        sim.process("getBWSorted");
        const SimFrameReport gray = sim.lastFrame();
        sim.process("getDistanceAndAmplitudeSorted");
        const SimFrameReport tof = sim.lastFrame();
        send(sim, "enablePiDelay 1");
        sim.process("getDCSSorted");
        const SimFrameReport dcs = sim.lastFrame();
        int dead = 0, hot = 0;
        for (const QPoint& p : bad) {
            const qint32 g = gray.value(0, p.x(), p.y());
            if (g == 2048) {
                QCOMPARE(tof.value(0, p.x(), p.y()), 65300);
                QCOMPARE(tof.value(1, p.x(), p.y()), 0);
                for (int k = 0; k < 4; ++k)
                    QCOMPARE(dcs.value(k, p.x(), p.y()), 0);
                ++dead;
            } else {
                QCOMPARE(g, 4095);
                QVERIFY(tof.value(1, p.x(), p.y()) >= 2895);
                for (int k = 0; k < 4; ++k)
                    QCOMPARE(dcs.value(k, p.x(), p.y()), 4095);
                ++hot;
            }
        }
        QVERIFY(dead > 0 && hot > 0);
    }

    void framesAreDeterministicAndTheSceneMoves()
    {
        SimConfig c = quietConfig();
        c.noise = true;
        c.seed = 9;
        CommandProcessor a(c);
        CommandProcessor b(c);
        const QByteArray first = a.process("getDistanceAndAmplitudeSorted").bytes;
        QCOMPARE(b.process("getDistanceAndAmplitudeSorted").bytes, first);
        c.seed = 10;
        CommandProcessor other(c);
        QVERIFY(other.process("getDistanceAndAmplitudeSorted").bytes != first);

        CommandProcessor quiet(quietConfig());
        quiet.process("sim.frame 0");
        const QByteArray still = quiet.process("getDistanceAndAmplitudeSorted").bytes;
        quiet.process("sim.frame 40");
        const QByteArray later = quiet.process("getDistanceAndAmplitudeSorted").bytes;
        int moved = 0;
        for (int i = 0; i < still.size(); i += 2)
            moved += still.mid(i, 2) != later.mid(i, 2);
        QVERIFY2(moved > 500, qPrintable(QString::number(moved)));
    }

    void flimGatesFollowTheDistance()
    {
        CommandProcessor sim(quietConfig("zc210"));
        QCOMPARE(sim.process("getDCSSorted").bytes.size(), 2 * 2 * 320 * 240);
        const SimFrameReport gates = sim.lastFrame();
        // The wall at about 4.5 m (119 steps of round trip) falls into the second gate.
        QVERIFY(gates.value(1, 120, 60) > gates.value(0, 120, 60) + 100);
        send(sim, "FLIMSetT3 400");
        sim.process("getDCSSorted");
        // A gate that catches no light reads (about) nothing: gates count from 0, 2047 at most.
        QVERIFY(sim.lastFrame().value(1, 120, 60) < 3);
    }
};

KESTRANE_TEST_MAIN(TestSimPhysics)
#include "tst_physics.moc"
