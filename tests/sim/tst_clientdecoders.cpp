// The simulator's readout encoder against the client's frame decoders: both are written from
// the description of the sensor's readout, independently, so each checks the other. Every
// delivered sensor pixel must decode to the word the simulator reports for it, and every
// pixel the simulator did not deliver must decode to no data.
#include "frames/DataCorrelationSamples.h"
#include "frames/DataInformationSample.h"
#include "frames/DataPixelfield.h"
#include "settings/Settings.h"
#include "settings/SettingsBinningAndReduction.h"
#include "settings/SettingsDistanceCalculation.h"
#include "settings/SettingsFLIM.h"
#include "settings/SettingsROI.h"
#include "sim/CommandProcessor.h"
#include "support/TestMain.h"

#include <QObject>

namespace {
struct Case
{
    const char* chip;
    int x1, x2, y1;
    bool hb, vb, dm, piDelay;
    int rowReduction;
};

QString compare(const DataPixelfield& field, const SimFrameReport& truth, int image)
{
    for (int row = 0; row < truth.rows; ++row) {
        for (int column = 0; column < truth.columns; ++column) {
            const int expected = truth.value(image, column, row);
            const int decoded = field.value(column, row);
            if (decoded != expected)
                return QStringLiteral("image %1 (%2, %3): client %4, simulator %5")
                    .arg(image)
                    .arg(column)
                    .arg(row)
                    .arg(decoded)
                    .arg(expected);
        }
    }
    return QString();
}
} // namespace

Q_DECLARE_METATYPE(Case)

class TestSimClientDecoders final : public QObject
{
    Q_OBJECT

private:
    // The hub as the client holds it after sending the same settings to the camera.
    static void configure(Settings& settings, CommandProcessor& sim, const Case& c, int modeIndex)
    {
        const ChipModel& chip = sim.state().chip;
        settings.setChipType(chip.chipType);
        settings.roi()->setChipType(chip.chipType);
        settings.flim()->setFlimChip(chip.flim);
        const int y2 = chip.centreSplit() ? chip.rows - 1 - c.y1 : (c.y1 == 0 ? chip.rows - 1 : 65);
        settings.roi()->setRoi(c.x1, c.x2, c.y1, y2);
        settings.binningAndReduction()->setHorizontalBinning(c.hb);
        settings.binningAndReduction()->setVerticalBinning(c.vb);
        settings.binningAndReduction()->setRowReductionIndex(c.rowReduction);
        settings.binningAndReduction()->setRowFactor(1 << c.rowReduction);
        settings.distanceCalculation()->setDualMGX(c.dm);
        settings.distanceCalculation()->setPiDelay(c.piDelay);
        settings.setModeIndex(modeIndex);

        auto send = [&sim](const QByteArray& line) {
            QCOMPARE(sim.process(line).bytes, QByteArray("\0\0", 2));
        };
        send("setROI " + QByteArray::number(c.x1) + ' ' + QByteArray::number(c.x2) + ' ' +
             QByteArray::number(c.y1) + ' ' + QByteArray::number(chip.centreSplit() ? 125 : y2));
        send(c.hb ? "enableHorizontalBinning 1" : "enableHorizontalBinning 0");
        send(c.vb ? "enableVerticalBinning 1" : "enableVerticalBinning 0");
        send("setRowReduction " + QByteArray::number(c.rowReduction));
        send(c.dm ? "enableDualMGX 1" : "enableDualMGX 0");
        send(c.piDelay ? "enablePiDelay 1" : "enablePiDelay 0");
    }

    static void addCases()
    {
        QTest::addColumn<Case>("c");
        QTest::addRow("zc320 320x240") << Case{"zc320", 4, 323, 6, false, false, false, false, 0};
        QTest::addRow("zc320 horizontal binning") << Case{"zc320", 4, 323, 6, true, false, false, false, 0};
        QTest::addRow("zc320 half rows") << Case{"zc320", 4, 323, 6, false, false, false, false, 1};
        QTest::addRow("zc320 vertical binning, quarter")
            << Case{"zc320", 4, 323, 6, false, true, false, false, 2};
        QTest::addRow("zc320 vertical binning, full rows")
            << Case{"zc320", 4, 323, 6, false, true, false, false, 0};
        QTest::addRow("zc310 vertical binning, full rows")
            << Case{"zc310", 4, 163, 6, false, true, false, false, 0};
        QTest::addRow("zc320 2x2, half") << Case{"zc320", 4, 323, 6, true, true, false, false, 1};
        QTest::addRow("zc320 dual MGX") << Case{"zc320", 4, 323, 6, false, false, true, false, 0};
        QTest::addRow("zc320 dual MGX, pi delay, half")
            << Case{"zc320", 4, 323, 6, false, false, true, true, 1};
        QTest::addRow("zc320 dual MGX, binning") << Case{"zc320", 4, 323, 6, true, false, true, false, 0};
        QTest::addRow("zc320 pi delay") << Case{"zc320", 4, 323, 6, false, false, false, true, 0};
        QTest::addRow("zc320 small centred ROI") << Case{"zc320", 84, 243, 96, false, false, false, false, 0};
        QTest::addRow("zc210 2x2") << Case{"zc210", 4, 323, 6, true, true, false, true, 1};
        QTest::addRow("zc310 160x60") << Case{"zc310", 4, 163, 6, false, false, false, false, 0};
        QTest::addRow("zc310 binning, half") << Case{"zc310", 4, 163, 6, true, true, false, false, 1};
        QTest::addRow("zc310 dual MGX") << Case{"zc310", 4, 163, 6, false, false, true, true, 0};
        QTest::addRow("zc310 full array, eighth") << Case{"zc310", 0, 167, 0, false, false, false, true, 3};
        QTest::addRow("zc220 pi delay") << Case{"zc220", 4, 163, 6, false, false, false, true, 0};
    }

    static SimConfig configFor(const char* chip)
    {
        SimConfig config;
        config.chip = ChipModel::byName(QString::fromLatin1(chip));
        return config;
    }

private slots:
    void distanceAndAmplitude_data() { addCases(); }

    void distanceAndAmplitude()
    {
        QFETCH(Case, c);
        CommandProcessor sim(configFor(c.chip));
        Settings settings;
        configure(settings, sim, c, 1);
        DataInformationSample decoder(&settings);
        QByteArray payload = sim.process("getDistanceAndAmplitudeSorted").bytes;
        decoder.updateData(payload);
        const SimFrameReport truth = sim.lastFrame();
        QString mismatch = compare(*decoder.distanceField(true), truth, 0);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        mismatch = compare(*decoder.amplitudeField(true), truth, 1);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }

    void grayscale_data() { addCases(); }

    void grayscale()
    {
        QFETCH(Case, c);
        CommandProcessor sim(configFor(c.chip));
        Settings settings;
        configure(settings, sim, c, 0);
        DataPixelfield decoder(&settings);
        QByteArray payload = sim.process("getBWSorted").bytes;
        decoder.updateData(payload);
        const QString mismatch = compare(decoder, sim.lastFrame(), 0);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }

    void correlationSamples_data() { addCases(); }

    void correlationSamples()
    {
        QFETCH(Case, c);
        CommandProcessor sim(configFor(c.chip));
        Settings settings;
        configure(settings, sim, c, 6);
        DataCorrelationSamples decoder(&settings);
        QByteArray payload = sim.process("getDCSSorted").bytes;
        decoder.updateData(payload);
        const SimFrameReport truth = sim.lastFrame();
        for (int image = 0; image < truth.images; ++image) {
            const QString mismatch = compare(*decoder.partField(image), truth, image);
            QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        }
    }

    void samplesAndGrayscale_data() { addCases(); }

    void samplesAndGrayscale()
    {
        QFETCH(Case, c);
        CommandProcessor sim(configFor(c.chip));
        Settings settings;
        configure(settings, sim, c, 8);
        DataCorrelationSamples decoder(&settings);
        QByteArray payload = sim.process("getDCSTOFAndGrayscaleSorted").bytes;
        decoder.updateData(payload);
        const SimFrameReport truth = sim.lastFrame();
        QCOMPARE(truth.images, 5);
        for (int image = 0; image < 5; ++image) {
            const QString mismatch = compare(*decoder.partField(image), truth, image);
            QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        }
    }
};

KESTRANE_TEST_MAIN(TestSimClientDecoders)
#include "tst_clientdecoders.moc"
