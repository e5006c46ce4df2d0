#include "support/SimulatorProcess.h"
#include "support/TestMain.h"

#include <QDataStream>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

// The built program's headless capture, started as a script would start it.
class TestCapture : public QObject
{
    Q_OBJECT

private slots:
    void capturesThePicturesAndExits_data();
    void capturesThePicturesAndExits();
    void unreachableCameraExitsWithOne();

private:
    int run(const QStringList& arguments, QString* errors);

    QTemporaryDir home;
};

int TestCapture::run(const QStringList& arguments, QString* errors)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("TMPDIR"), home.path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KESTRANE_CLIENT_PATH), arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished(5000);
        return -1;
    }
    *errors = QString::fromLocal8Bit(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void TestCapture::capturesThePicturesAndExits_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("modeWord");

    QTest::addRow("distance") << 1 << "distance";
    QTest::addRow("amplitude") << 2 << "amplitude";
    QTest::addRow("DCS + grayscale") << 8 << "DCS + Grayscale";
}

namespace {

// The signed 16-bit big-endian word `index` of a sample file.
int wordAt(const QByteArray& bytes, int index)
{
    return qint16(quint16(quint8(bytes[2 * index]) << 8 | quint8(bytes[2 * index + 1])));
}

struct Roi
{
    int x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

Roi roiOfReport(const QString& report)
{
    auto number = [&](const char* label) {
        const QRegularExpression line(QLatin1String(label) + QStringLiteral(" +(\\d+)"));
        return line.match(report).captured(1).toInt();
    };
    return {number("Top left X:"), number("Bottom right X:"), number("Top left Y:"),
            number("Bottom right Y:")};
}

} // namespace

void TestCapture::capturesThePicturesAndExits()
{
    QFETCH(int, mode);
    QFETCH(QString, modeWord);

    SimulatorProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    QTemporaryDir out;
    QString errors;
    const int code =
        run({"--ip", "127.0.0.1", "--port", QString::number(sim.port()), "--load-default", "--view-mode",
             QString::number(mode), "--capture", "3", "--log-path", out.path(), "--log-name", "cap"},
            &errors);
    QVERIFY2(code == 0, qPrintable(errors));

    const QStringList reports = QDir(out.path()).entryList({QStringLiteral("cap_*.txt")});
    QCOMPARE(reports.size(), 1);
    const QString stem = out.filePath(reports.first().chopped(4));
    QFile report(stem + QStringLiteral(".txt"));
    QVERIFY(report.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(report.readAll());
    QVERIFY(text.startsWith(QStringLiteral("Number of samples:       3\n")));
    QVERIFY(text.contains(QStringLiteral("Mode:                    ") + modeWord + QLatin1Char('\n')));

    if (mode == 8) {
        // Five sample blocks per picture and nothing else; the last picture's blocks are the
        // frame the simulator served last (bad pixels aside, which the view replaces).
        QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 2);
        QFile bin(stem + QStringLiteral(".bin"));
        QVERIFY(bin.open(QIODevice::ReadOnly));
        const QByteArray bytes = bin.readAll();
        const Roi roi = roiOfReport(text);
        const int width = roi.x2 - roi.x1 + 1;
        const int height = roi.y2 - roi.y1 + 1;
        const int block = width * height;
        QCOMPARE(bytes.size(), 3 * 5 * 2 * block);
        // The frame report's images: the samples in use, the grayscale image, then the zero level.
        QByteArray report = sim.exchange("sim.lastFrame");
        QDataStream stream(report);
        stream.setByteOrder(QDataStream::LittleEndian);
        qint32 images = 0, columns = 0, rows = 0;
        stream >> images >> columns >> rows;
        QCOMPARE(images, 5);
        int differing = 0;
        for (int part = 0; part < 5; ++part) {
            for (int y = roi.y1; y <= roi.y2; ++y) {
                for (int x = roi.x1; x <= roi.x2; ++x) {
                    const int offset = 12 + 4 * ((part * rows + y) * columns + x);
                    const qint32 truth = qFromLittleEndian<qint32>(report.constData() + offset);
                    const int word = wordAt(bytes, (10 + part) * block + (y - roi.y1) * width + (x - roi.x1));
                    if (word != qint16(truth))
                        ++differing;
                }
            }
        }
        QVERIFY2(differing <= 5 * 16, qPrintable(QString::number(differing)));
        return;
    }

    for (const char* picture : {"_001.png", "_002.png", "_003.png"})
        QVERIFY2(!QImage(stem + QLatin1String(picture)).isNull(), picture);
    QVERIFY(!QFile::exists(stem + QStringLiteral("_004.png")));

    // Three pictures of the ROI's rows, every line as wide as the ROI.
    const QRegularExpression size(QStringLiteral("Size: +(\\d+) x (\\d+)"));
    const auto match = size.match(text);
    QVERIFY(match.hasMatch());
    const int width = match.captured(1).toInt();
    const int height = match.captured(2).toInt();
    QFile csv(stem + QStringLiteral(".csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    const int blocks = text.count(QStringLiteral("distance unfiltered\n")) +
                       text.count(QStringLiteral("\namplitude\n")) +
                       text.count(QStringLiteral("distance filtered\n"));
    QCOMPARE(lines.size() - 1, 3 * (mode == 1 ? blocks : 1) * height);
    QCOMPARE(lines.first().count(',') + 1, width);
}

void TestCapture::unreachableCameraExitsWithOne()
{
    // A port nobody listens on: a simulator that has just stopped.
    quint16 port = 0;
    {
        SimulatorProcess sim;
        port = sim.port();
    }
    QTemporaryDir out;
    QString errors;
    QCOMPARE(run({"--ip", "127.0.0.1", "--port", QString::number(port), "--capture", "2", "--log-path",
                  out.path()},
                 &errors),
             1);
    QVERIFY2(errors.contains(QStringLiteral("cannot reach the camera")), qPrintable(errors));
    QVERIFY(QDir(out.path()).entryList(QDir::Files).isEmpty());
}

KESTRANE_TEST_MAIN(TestCapture)
#include "tst_capture.moc"
