#include "sim/CommandProcessor.h"
#include "support/TestMain.h"

#include <QObject>

namespace {
// The word placement a client decoder applies, written out from the readout description of
// the protocol: an oracle for the simulator's own readout plan.
struct Oracle
{
    int columns = 328;
    int rows = 252;
    bool centreSplit = true;
    int x1 = 4, x2 = 323, y1 = 6;
    int rowReduction = 1;
    bool hb = false, vb = false, dm = false;
    int mode = 1;

    QVector<qint32> decode(const QByteArray& payload) const
    {
        QVector<qint32> field(columns * rows, -1);
        const int n = payload.size();
        const int width = x2 - x1 + 1;
        const int c = rows / 2;
        const int s = dm ? 2 * rowReduction : rowReduction;
        int fw = 1, fh = 1, step = s;
        const bool tofMode = mode >= 1 && mode <= 4;
        if (dm && !hb && tofMode) {
            fh = 2;
        } else if (hb && (vb || dm)) {
            fw = 2;
            fh = 2;
        } else if (hb) {
            fw = 2;
        } else if (vb) {
            fh = 2;
        } else if (dm) {
            step = 1;
        }
        auto word = [&](int i) {
            const auto* b = reinterpret_cast<const uchar*>(payload.constData());
            return static_cast<qint32>(b[2 * i] | (b[2 * i + 1] << 8));
        };
        auto g = [&](int i) { return fw == 2 ? (2 * i) % width : i % width; };
        auto r = [&](int i) { return fw == 2 ? i / (width / 2) : i / width; };
        auto put = [&](int column, int row, int sx, int sy, qint32 v) {
            for (int dy = 0; dy < fh; ++dy)
                for (int dx = 0; dx < fw; ++dx) {
                    const int cc = column + sx * dx;
                    const int rr = row + sy * dy;
                    if (cc >= 0 && cc < columns && rr >= 0 && rr < rows)
                        field[rr * columns + cc] = v;
                }
        };
        if (!centreSplit) {
            for (int i = 0; i < n / 2; ++i)
                put(x1 + g(i), y1 + step * r(i), 1, 1, word(i));
            return field;
        }
        const int h = n / 4;
        for (int i = 0; i < h; ++i) {
            put(x1 + width - 1 - g(i), c - 1 - step * r(i), -1, -1, word(h - 1 - i));
            put(x1 + g(i), c + step * r(i), 1, 1, word(h + i));
        }
        return field;
    }
};

QByteArray slice(const QByteArray& payload, int index, int count)
{
    const int size = payload.size() / count;
    return payload.mid(index * size, size);
}
} // namespace

class TestSimFrames final : public QObject
{
    Q_OBJECT

private:
    static SimConfig config(const char* chip)
    {
        SimConfig c;
        c.chip = ChipModel::byName(QString::fromLatin1(chip));
        c.noise = false;
        return c;
    }
    static void send(CommandProcessor& sim, const QByteArray& line)
    {
        const SimReply reply = sim.process(line);
        QCOMPARE(reply.bytes, QByteArray("\0\0", 2));
    }

private slots:
    void placementMatchesTheReadoutOrder_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addColumn<QByteArray>("roi");
        QTest::addColumn<bool>("hb");
        QTest::addColumn<bool>("vb");
        QTest::addColumn<bool>("dm");
        QTest::addColumn<int>("rowReduction");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<int>("images");
        QTest::addColumn<int>("imageBytes");

        const QByteArray full = "setROI 4 323 6 125";
        const QByteArray da = "getDistanceAndAmplitudeSorted";
        QTest::addRow("320x240, plain")
            << "zc320" << full << false << false << false << 0 << da << 2 << 2 * 320 * 240;
        QTest::addRow("320x240, horizontal binning")
            << "zc320" << full << true << false << false << 0 << da << 2 << 2 * 160 * 240;
        QTest::addRow("320x240, half rows")
            << "zc320" << full << false << false << false << 1 << da << 2 << 2 * 320 * 120;
        QTest::addRow("320x240, one eighth")
            << "zc320" << full << false << false << false << 3 << da << 2 << 2 * 320 * 30;
        QTest::addRow("320x240, vertical binning, half")
            << "zc320" << full << false << true << false << 1 << da << 2 << 2 * 320 * 120;
        QTest::addRow("320x240, vertical binning, full rows: overlapping pairs")
            << "zc320" << full << false << true << false << 0 << da << 2 << 2 * 320 * 238;
        QTest::addRow("320x240, 2x2 binning, half")
            << "zc320" << full << true << true << false << 1 << da << 2 << 2 * 160 * 120;
        QTest::addRow("320x240, dual MGX distance")
            << "zc320" << full << false << false << true << 0 << da << 2 << 2 * 320 * 120;
        QTest::addRow("320x240, dual MGX quarter rows")
            << "zc320" << full << false << false << true << 2 << da << 2 << 2 * 320 * 30;
        QTest::addRow("320x240, dual MGX grayscale") << "zc320" << full << false << false << true << 2
                                                     << QByteArray("getBWSorted") << 1 << 2 * 320 * 240;
        QTest::addRow("320x240, dual MGX DCS rows step 1")
            << "zc320" << full << false << false << true << 1 << QByteArray("getDCSSorted") << 1
            << 2 * 320 * 240;
        QTest::addRow("320x240, dual MGX horizontal binning")
            << "zc320" << full << true << false << true << 0 << da << 2 << 2 * 160 * 120;
        QTest::addRow("small ROI away from the centre")
            << "zc320" << QByteArray("setROI 40 99 100 125") << false << false << false << 0 << da << 2
            << 2 * 60 * 52;
        QTest::addRow("odd half height, half rows") << "zc320" << QByteArray("setROI 4 323 7 125") << false
                                                    << false << false << 1 << da << 2 << 2 * 320 * 120;
        QTest::addRow("bottom output: the top row mirrors into the upper half")
            << "zc320" << QByteArray("setROI 4 323 126 125") << false << false << false << 0 << da << 2
            << 2 * 320 * 2;
        QTest::addRow("emulated small sensor") << "zc320" << QByteArray("setROI 84 243 96 125") << false
                                               << false << false << 0 << da << 2 << 2 * 160 * 60;
        QTest::addRow("zc210 grayscale") << "zc210" << full << false << false << false << 0
                                         << QByteArray("getBWSorted") << 1 << 2 * 320 * 240;
        const QByteArray small = "setROI 4 163 6 65";
        QTest::addRow("zc310 160x60")
            << "zc310" << small << false << false << false << 0 << da << 2 << 2 * 160 * 60;
        QTest::addRow("zc310 horizontal binning")
            << "zc310" << small << true << false << false << 0 << da << 2 << 2 * 80 * 60;
        QTest::addRow("zc310 half rows")
            << "zc310" << small << false << false << false << 1 << da << 2 << 2 * 160 * 30;
        QTest::addRow("zc310 2x2, quarter")
            << "zc310" << small << true << true << false << 2 << da << 2 << 2 * 80 * 15;
        QTest::addRow("zc310 dual MGX distance")
            << "zc310" << small << false << false << true << 0 << da << 2 << 2 * 160 * 30;
        QTest::addRow("zc220 dual MGX DCS") << "zc220" << small << false << false << true << 0
                                            << QByteArray("getDCSSorted") << 2 << 2 * 160 * 60;
        QTest::addRow("zc310 full array") << "zc310" << QByteArray("setROI 0 167 0 71") << false << false
                                          << false << 0 << da << 2 << 2 * 168 * 72;
    }

    void placementMatchesTheReadoutOrder()
    {
        QFETCH(QString, chip);
        QFETCH(QByteArray, roi);
        QFETCH(bool, hb);
        QFETCH(bool, vb);
        QFETCH(bool, dm);
        QFETCH(int, rowReduction);
        QFETCH(QByteArray, command);
        QFETCH(int, images);
        QFETCH(int, imageBytes);

        CommandProcessor sim(config(qPrintable(chip)));
        send(sim, roi);
        send(sim, hb ? "enableHorizontalBinning 1" : "enableHorizontalBinning 0");
        send(sim, vb ? "enableVerticalBinning 1" : "enableVerticalBinning 0");
        send(sim, dm ? "enableDualMGX 1" : "enableDualMGX 0");
        send(sim, "setRowReduction " + QByteArray::number(rowReduction));
        const QByteArray payload = sim.process(command).bytes;
        QCOMPARE(payload.size(), images * imageBytes);

        const SimFrameReport report = sim.lastFrame();
        QCOMPARE(report.images, images);
        Oracle oracle;
        const CameraState& state = sim.state();
        oracle.columns = state.chip.columns;
        oracle.rows = state.chip.rows;
        oracle.centreSplit = state.chip.centreSplit();
        oracle.x1 = state.roiX1;
        oracle.x2 = state.roiX2;
        oracle.y1 = state.roiY1;
        oracle.rowReduction = state.rowReductionFactor();
        oracle.hb = hb;
        oracle.vb = vb;
        oracle.dm = dm;
        oracle.mode = command == "getBWSorted" ? 0 : (command == "getDCSSorted" ? 6 : 1);
        for (int image = 0; image < images; ++image) {
            const QVector<qint32> decoded = oracle.decode(slice(payload, image, images));
            const QVector<qint32> truth =
                report.values.mid(image * report.columns * report.rows, report.columns * report.rows);
            for (int cell = 0; cell < decoded.size(); ++cell) {
                if (decoded[cell] != truth[cell])
                    QFAIL(qPrintable(QStringLiteral("image %1 column %2 row %3: decoded %4, simulator %5")
                                         .arg(image)
                                         .arg(cell % report.columns)
                                         .arg(cell / report.columns)
                                         .arg(decoded[cell])
                                         .arg(truth[cell])));
            }
        }
    }

    void fullRoiLandsOnItsRectangle()
    {
        CommandProcessor sim(config("zc320"));
        const QByteArray payload = sim.process("getDistanceAndAmplitudeSorted").bytes;
        QCOMPARE(payload.size(), 2 * 2 * 320 * 240);
        const SimFrameReport report = sim.lastFrame();
        int delivered = 0;
        for (int row = 0; row < 252; ++row) {
            for (int column = 0; column < 328; ++column) {
                const bool inside = column >= 4 && column <= 323 && row >= 6 && row <= 245;
                const bool has = report.value(0, column, row) >= 0;
                QCOMPARE(has, inside);
                delivered += has;
            }
        }
        QCOMPARE(delivered, 320 * 240);
        // Word 0 is the top left, the last word of the first half the centre row's right end,
        // the first word of the second half the left end of the centre row.
        auto word = [&](int i) {
            const auto* b = reinterpret_cast<const uchar*>(payload.constData());
            return static_cast<qint32>(b[2 * i] | (b[2 * i + 1] << 8));
        };
        const int h = 320 * 120;
        QCOMPARE(report.value(0, 4, 6), word(0));
        QCOMPARE(report.value(0, 323, 125), word(h - 1));
        QCOMPARE(report.value(0, 4, 126), word(h));
        QCOMPARE(report.value(1, 4, 6), word(2 * h));
    }

    void sampleImagesFollowTheSamplingCase_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addColumn<bool>("piDelay");
        QTest::addColumn<bool>("dualMGX");
        QTest::addColumn<int>("dcsImages");
        QTest::addColumn<int>("grayscaleSlice");

        QTest::addRow("pi delay: four samples") << "zc320" << true << false << 4 << 4;
        QTest::addRow("plain: two samples") << "zc320" << false << false << 2 << 2;
        QTest::addRow("dual MGX: one sample") << "zc320" << false << true << 1 << 1;
        QTest::addRow("dual MGX and pi delay: two") << "zc320" << true << true << 2 << 2;
        QTest::addRow("FLIM, pi delay: two gates") << "zc210" << true << false << 2 << 4;
        QTest::addRow("FLIM, dual MGX: two gates") << "zc220" << false << true << 2 << 1;
    }

    void sampleImagesFollowTheSamplingCase()
    {
        QFETCH(QString, chip);
        QFETCH(bool, piDelay);
        QFETCH(bool, dualMGX);
        QFETCH(int, dcsImages);
        QFETCH(int, grayscaleSlice);

        CommandProcessor sim(config(qPrintable(chip)));
        send(sim, piDelay ? "enablePiDelay 1" : "enablePiDelay 0");
        send(sim, dualMGX ? "enableDualMGX 1" : "enableDualMGX 0");
        const int imageBytes = sim.state().chip.centreSplit() ? 2 * 320 * 240 : 2 * 160 * 60;
        QCOMPARE(sim.process("getDCSSorted").bytes.size(), dcsImages * imageBytes);

        // The DCS + grayscale reply is always five images; the grayscale image follows the
        // samples in use.
        const QByteArray both = sim.process("getDCSTOFAndGrayscaleSorted").bytes;
        QCOMPARE(both.size(), 5 * imageBytes);
        const QByteArray gray = sim.process("getBWSorted").bytes;
        const QByteArray graySlice = slice(both, grayscaleSlice, 5);
        // Noise is off: grayscale words agree with the grayscale frame except where a hot or
        // dead pixel or the moving sphere differ between the two frames.
        int equal = 0;
        for (int i = 0; i < gray.size(); i += 2)
            equal += gray.mid(i, 2) == graySlice.mid(i, 2);
        QVERIFY2(equal > gray.size() / 2 * 9 / 10, qPrintable(QString::number(equal)));
    }

    void hdrAlternatesTheIntegrationTimeByReadoutRow_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addRow("centre split") << "zc320";
        QTest::addRow("single block") << "zc310";
    }

    void hdrAlternatesTheIntegrationTimeByReadoutRow()
    {
        QFETCH(QString, chip);
        CommandProcessor sim(config(qPrintable(chip)));
        send(sim, "setIntegrationTime3D 800");
        send(sim, "setIntegrationTime3DHDR 200");
        send(sim, "enableHDR 1");
        const QByteArray payload = sim.process("getDistanceAndAmplitudeSorted").bytes;
        const CameraState& state = sim.state();
        const int width = state.roiX2 - state.roiX1 + 1;
        const int rowBytes = 2 * width;
        const QByteArray amplitude = payload.mid(payload.size() / 2);
        const int payloadRows = amplitude.size() / rowBytes;
        // Rows the client's HDR split gives to the first integration time (its "HDR 0").
        auto firstTime = [&](int i) {
            if (!state.chip.centreSplit())
                return i % 2 == 1;
            const int half = payloadRows / 2;
            return i < half ? i % 2 == 1 : i % 2 == 0;
        };
        auto rowMean = [&](int i) {
            double sum = 0;
            const auto* b = reinterpret_cast<const uchar*>(amplitude.constData()) + i * rowBytes;
            for (int k = 0; k < width; ++k)
                sum += b[2 * k] | (b[2 * k + 1] << 8);
            return sum / width;
        };
        int checked = 0;
        for (int i = 2; i + 3 < payloadRows / 2; i += 7) {
            const double a = rowMean(i);
            const double b = rowMean(i + 1);
            const double ratio = firstTime(i) ? a / b : b / a;
            QVERIFY2(ratio > 3.0 && ratio < 5.0,
                     qPrintable(QStringLiteral("row %1 ratio %2").arg(i).arg(ratio)));
            ++checked;
        }
        QVERIFY(checked > 2);
    }

    void lastFrameReportOverTheControlCommand()
    {
        CommandProcessor sim(config("zc310"));
        QCOMPARE(sim.process("sim.lastFrame").bytes.size(), 12);
        sim.process("getAmplitudeSorted");
        const QByteArray report = sim.process("sim.lastFrame").bytes;
        QCOMPARE(report.size(), 12 + 4 * 168 * 72);
        const auto* b = reinterpret_cast<const uchar*>(report.constData());
        auto int32 = [&](int i) {
            return static_cast<qint32>(b[4 * i] | (b[4 * i + 1] << 8) | (b[4 * i + 2] << 16) |
                                       (static_cast<quint32>(b[4 * i + 3]) << 24));
        };
        QCOMPARE(int32(0), 1);
        QCOMPARE(int32(1), 168);
        QCOMPARE(int32(2), 72);
        QCOMPARE(int32(3), -1); // (0, 0) is outside the ROI
        QCOMPARE(int32(3 + 6 * 168 + 4), sim.lastFrame().value(0, 4, 6));
        QVERIFY(int32(3 + 6 * 168 + 4) >= 0);
    }

    void frozenFrameIsServedUnchanged()
    {
        SimConfig c = config("zc320");
        c.noise = true;
        CommandProcessor sim(c);
        QVERIFY(sim.process("getDistanceAndAmplitudeSorted").bytes !=
                sim.process("getDistanceAndAmplitudeSorted").bytes);
        QCOMPARE(sim.process("sim.freeze 1").bytes, QByteArray("OK\n"));
        const QByteArray first = sim.process("getDistanceAndAmplitudeSorted").bytes;
        QCOMPARE(sim.process("getDistanceAndAmplitudeSorted").bytes, first);
        send(sim, "setRowReduction 1");
        QCOMPARE(sim.process("getDistanceAndAmplitudeSorted").bytes.size(), first.size() / 2);
    }
};

KESTRANE_TEST_MAIN(TestSimFrames)
#include "tst_frames.moc"
