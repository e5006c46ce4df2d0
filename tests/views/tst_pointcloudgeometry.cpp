#include "frames/DataPixelfield.h"
#include "recording/PlyWriter.h"
#include "render/DistanceLabeler.h"
#include "settings/Settings.h"
#include "support/TestMain.h"
#include "views/FunctionDistance.h"
#include "views/PointCloudGeometry.h"
#include "views/UserColor.h"

#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

// A 2-column, 2-row grid read from the sensor origin with both flips set (no mirroring):
// values a b in row 0, c d in row 1.
void fillSquare(PointCloudGeometry& geometry, Settings& settings, int a, int b, int c, int d)
{
    DataPixelfield distance(&settings);
    DataPixelfield amplitude(&settings);
    distance.setValue(0, 0, a);
    distance.setValue(1, 0, b);
    distance.setValue(0, 1, c);
    distance.setValue(1, 1, d);
    geometry.extract(distance, amplitude, 0, 0, 2, 2, true, true);
}

} // namespace

class TestPointCloudGeometry : public QObject
{
    Q_OBJECT

private slots:
    void angularStepAndCentre();
    void cartesianOffCentre();
    void roiIsMirroredIntoTheGrid_data();
    void roiIsMirroredIntoTheGrid();
    void triangles_data();
    void triangles();
    void functionStaysOnTheGrid();
    void userColorWalksTheTriangles();
    void plyRoundTrip();
};

void TestPointCloudGeometry::angularStepAndCentre()
{
    QVERIFY(std::abs(PointCloudGeometry::angularStep(108, 320) - 0.0058905) < 1e-7);
    Settings settings;
    DistanceLabeler labeler(&settings); // 20 MHz: 7.5 m range, 4 LSB per mm
    DataPixelfield distance(&settings);
    DataPixelfield amplitude(&settings);
    for (int row = 0; row < 240; ++row)
        distance.setValue(160, row, 8000); // 2000 mm
    PointCloudGeometry geometry;
    geometry.reserve(328, 252);
    geometry.extract(distance, amplitude, 0, 0, 320, 240, true, true);
    geometry.computeCartesian(108, labeler);
    const double step = PointCloudGeometry::angularStep(108, 320);
    for (int row : {0, 100, 120, 239}) {
        const Qwt3D::Triple p = geometry.cartesian(160, row);
        const double theta = step * (row - 120);
        QCOMPARE(p.x, 160.0);
        QVERIFY(std::abs(p.y - (120 + 200 * std::sin(theta))) < 1e-9);
        QVERIFY(std::abs(p.z - 200 * std::cos(theta)) < 1e-9);
    }
    // A pixel without a distance sits 0.1 cm behind the centre.
    const Qwt3D::Triple none = geometry.cartesian(159, 120);
    QVERIFY(none.z < 0 && none.z > -0.11);
}

void TestPointCloudGeometry::cartesianOffCentre()
{
    // fov 90 over 4 columns: pi / 8 per pixel. Column 0, row 0 of a 4 x 2 grid is two steps
    // left and one step up of the centre (2, 1).
    Settings settings;
    DistanceLabeler labeler(&settings);
    DataPixelfield distance(&settings);
    DataPixelfield amplitude(&settings);
    distance.setValue(0, 0, 4000); // 1000 mm = 100 cm
    PointCloudGeometry geometry;
    geometry.extract(distance, amplitude, 0, 0, 4, 2, true, true);
    geometry.computeCartesian(90, labeler);
    const double d = PointCloudGeometry::kPi / 8;
    const Qwt3D::Triple p = geometry.cartesian(0, 0);
    QVERIFY(std::abs(p.x - (2 + 100 * std::cos(-d) * std::sin(-2 * d))) < 1e-9);
    QVERIFY(std::abs(p.y - (1 + 100 * std::sin(-d))) < 1e-9);
    QVERIFY(std::abs(p.z - 100 * std::cos(-d) * std::cos(-2 * d)) < 1e-9);
    // x = 2 - 65.3 cm, y = 1 - 38.3 cm, z = 65.3 cm
    QVERIFY(std::abs(p.x - (2 - 65.3281)) < 1e-3);
}

void TestPointCloudGeometry::roiIsMirroredIntoTheGrid_data()
{
    QTest::addColumn<bool>("horizontalFlip");
    QTest::addColumn<bool>("verticalFlip");
    QTest::addColumn<int>("firstPoint");
    QTest::addColumn<int>("lastPoint");
    // Sensor value = column * 100 + row; ROI columns 5 ... 7, rows 2 ... 3.
    QTest::addRow("no flip: both directions mirrored") << false << false << 703 << 502;
    QTest::addRow("horizontal flip: rows mirrored") << true << false << 503 << 702;
    QTest::addRow("vertical flip: columns mirrored") << false << true << 702 << 503;
    QTest::addRow("both flips: as read") << true << true << 502 << 703;
}

void TestPointCloudGeometry::roiIsMirroredIntoTheGrid()
{
    QFETCH(bool, horizontalFlip);
    QFETCH(bool, verticalFlip);
    QFETCH(int, firstPoint);
    QFETCH(int, lastPoint);
    Settings settings;
    DataPixelfield distance(&settings);
    DataPixelfield amplitude(&settings);
    for (int column = 0; column < distance.width(); ++column)
        for (int row = 0; row < distance.height(); ++row)
            distance.setValue(column, row, column * 100 + row);
    PointCloudGeometry geometry;
    geometry.extract(distance, amplitude, 5, 2, 3, 2, horizontalFlip, verticalFlip);
    QCOMPARE(geometry.width(), 3);
    QCOMPARE(geometry.height(), 2);
    QCOMPARE(geometry.distance(0, 0), firstPoint);
    QCOMPARE(geometry.distance(2, 1), lastPoint);
    // A ROI reaching past the field reads no data there.
    geometry.extract(distance, amplitude, distance.width() - 1, 0, 2, 1, true, true);
    QCOMPARE(geometry.distance(1, 0), int(DataPixelfield::kNoData));
}

void TestPointCloudGeometry::triangles_data()
{
    QTest::addColumn<QVector<int>>("values"); // a b / c d
    QTest::addColumn<bool>("interconnect");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<int>("triangles");
    // The two triangles of a 2 x 2 grid: (a, b, c) and (b, d, c).
    QTest::addRow("close values, filter on") << QVector<int>{1000, 1050, 1020, 1080} << true << 100 << 2;
    QTest::addRow("1000, 1050, 1120: too far apart")
        << QVector<int>{1000, 1050, 1120, 1060} << true << 100 << 1;
    QTest::addRow("filter off joins everything usable")
        << QVector<int>{1000, 5000, 9000, 3000} << false << 100 << 2;
    QTest::addRow("65300 never in a triangle") << QVector<int>{1000, 1010, 65300, 1020} << false << 0 << 0;
    QTest::addRow("no data never in a triangle") << QVector<int>{-1, 1010, 1000, 1020} << false << 0 << 1;
    QTest::addRow("bounds are exclusive: lo") << QVector<int>{100, 1010, 1000, 1020} << false << 0 << 1;
    QTest::addRow("bounds are exclusive: hi") << QVector<int>{1000, 1010, 1020, 20000} << false << 0 << 1;
}

void TestPointCloudGeometry::triangles()
{
    QFETCH(QVector<int>, values);
    QFETCH(bool, interconnect);
    QFETCH(int, threshold);
    QFETCH(int, triangles);
    Settings settings;
    DistanceLabeler labeler(&settings);
    PointCloudGeometry geometry;
    fillSquare(geometry, settings, values[0], values[1], values[2], values[3]);
    geometry.triangulate(false, 100, 20000, interconnect, threshold, labeler);
    QCOMPARE(int(geometry.triangles().size()), triangles);
    QCOMPARE(int(geometry.vertices().size()), 4);
    // Grid vertices: column, row, distance in cm; one outside the range stands on the first
    // usable one, so that the plot's box fits the drawn surface.
    const bool lastUsable = values[3] > 100 && values[3] < 20000;
    const int at = lastUsable ? 3 : 0;
    QCOMPARE(geometry.vertices()[3].x, double(at % 2));
    QCOMPARE(geometry.vertices()[3].y, double(at / 2));
    QCOMPARE(geometry.vertices()[3].z, values[at] / 4 / 10.0);
    if (triangles == 2) {
        QCOMPARE(geometry.triangles()[0], (PointCloudGeometry::Triangle{0, 1, 2}));
        QCOMPARE(geometry.triangles()[1], (PointCloudGeometry::Triangle{1, 3, 2}));
    }
}

void TestPointCloudGeometry::functionStaysOnTheGrid()
{
    Settings settings;
    DistanceLabeler labeler(&settings);
    PointCloudGeometry geometry;
    fillSquare(geometry, settings, 2000, 30000, 30001, 65300);
    FunctionDistance function(&geometry, &labeler);
    QCOMPARE(function(0.0, 0.0), 50.0);
    QCOMPARE(function(1.9, 0.2), 750.0); // truncated to column 1; 30000 is the full range
    QCOMPARE(function(0.0, 1.0), -1.0);  // beyond the range
    QCOMPARE(function(1.0, 1.0), -1.0);  // low amplitude
    // One past the grid (where a domain of 0 ... W samples its last column) has no value.
    QCOMPARE(function(2.0, 0.0), -1.0);
    QCOMPARE(function(0.0, 2.0), -1.0);
    QCOMPARE(function(-0.5, 0.0), -1.0);
    // The plot refuses a mesh of two columns: the points mode gets no points, not stale ones.
    std::vector<Qwt3D::Triple> nodes(1);
    function.fitToGrid(2, 2, 40.0, 80.0);
    function.sample(nodes);
    QVERIFY(nodes.empty());

    // A 3 x 3 grid: column by column, on the grid positions exactly, z held to 40 ... 80 cm
    // (a pixel without a distance stands on the near end, as the plot's own sampling puts it).
    DataPixelfield distance(&settings);
    DataPixelfield amplitude(&settings);
    for (int k = 0; k < 9; ++k)
        distance.setValue(k % 3, k / 3, 1000 + 1000 * k); // 25 cm ... 225 cm
    geometry.extract(distance, amplitude, 0, 0, 3, 3, true, true);
    function.fitToGrid(3, 3, 40.0, 80.0);
    function.sample(nodes);
    QCOMPARE(int(nodes.size()), 9);
    QCOMPARE(nodes[0].z, 40.0); // column 0, row 0: 25 cm
    QCOMPARE(nodes[1].x, 0.0);  // column 0, row 1
    QCOMPARE(nodes[1].y, 1.0);
    QCOMPARE(nodes[1].z, 80.0); // 100 cm
    QCOMPARE(nodes[3].x, 1.0);  // column 1, row 0: 50 cm
    QCOMPARE(nodes[3].z, 50.0);
    QCOMPARE(nodes[8].x, 2.0);
    QCOMPARE(nodes[8].y, 2.0);
}

void TestPointCloudGeometry::userColorWalksTheTriangles()
{
    auto* color = new UserColor(UserColor::startingRamp(100));
    QCOMPARE(color->colors().size(), size_t(100));
    QCOMPARE(color->colors()[50].g, 0.125);
    QCOMPARE(color->colors()[50].b, 0.5);
    // Before any triangle the plot still gets a colour.
    QCOMPARE((*color)(0, 0, 0).r, 0.5);

    Qwt3D::ColorVector colors;
    for (int k = 0; k < 4; ++k)
        colors.emplace_back(k / 10.0, 0, 0, 1);
    color->setColors(colors);
    color->setCells({{0, 1, 2}, {1, 3, 2}});
    const double expected[] = {0.0, 0.1, 0.2, 0.1, 0.3, 0.2, 0.0, 0.1};
    for (double red : expected)
        QCOMPARE((*color)(9, 9, 9).r, red); // past the last corner it starts over
    color->resetWalker();
    QCOMPARE((*color)(9, 9, 9).r, 0.0);

    const Qwt3D::ColorVector placeholder = UserColor::placeholderGray(3, 2);
    QCOMPARE(placeholder.size(), size_t(6));
    QCOMPARE(placeholder[4].r, 1 / 255.0);
    // Near dark red, far dark blue.
    const Qwt3D::ColorVector ramp = UserColor::distanceRamp();
    QCOMPARE(ramp.size(), size_t(30000));
    QVERIFY(ramp.front().r > 0.4 && ramp.front().b == 0.0);
    QVERIFY(ramp.back().b > 0.4 && ramp.back().r == 0.0);
    color->destroy();
}

void TestPointCloudGeometry::plyRoundTrip()
{
    Settings settings;
    DistanceLabeler labeler(&settings);
    DataPixelfield distance(&settings);
    DataPixelfield amplitude(&settings);
    // 3 x 2 grid; (2, 1) is a low-amplitude pixel and gets no vertex.
    const int values[2][3] = {{2000, 2010, 2020}, {2030, 2040, 65300}};
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column) {
            distance.setValue(column, row, values[row][column]);
            amplitude.setValue(column, row, 1024);
        }
    PointCloudGeometry geometry;
    geometry.extract(distance, amplitude, 0, 0, 3, 2, true, true);
    geometry.triangulate(false, 100, 20000, true, 100, labeler);
    QCOMPARE(int(geometry.triangles().size()), 3);

    for (const bool cartesian : {false, true}) {
        PlyWriter::Options options;
        options.cartesian = cartesian;
        options.fovDegrees = 90;
        options.withFaces = true;
        options.gray = cartesian;
        PlyWriter::Cloud cloud;
        PlyWriter::build(geometry, options, labeler, cloud);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cloud.ply"));
        QVERIFY(PlyWriter::save(path, cloud));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringList header;
        while (!file.atEnd()) {
            const QString line = QString::fromLatin1(file.readLine()).trimmed();
            header << line;
            if (line == QLatin1String("end_header"))
                break;
        }
        QCOMPARE(header.value(0), QStringLiteral("ply"));
        QCOMPARE(header.value(1), QStringLiteral("format binary_little_endian 1.0"));
        QVERIFY(header.contains(QStringLiteral("element vertex 5")));
        QVERIFY(header.contains(QStringLiteral("element face 3")));
        QVERIFY(header.contains(QStringLiteral("property list uchar int vertex_indices")));

        QDataStream in(&file);
        in.setByteOrder(QDataStream::LittleEndian);
        in.setFloatingPointPrecision(QDataStream::SinglePrecision);
        struct Vertex
        {
            float x, y, z;
            quint8 r, g, b;
        };
        QVector<Vertex> vertices(5);
        for (Vertex& v : vertices)
            in >> v.x >> v.y >> v.z >> v.r >> v.g >> v.b;
        QVector<QVector<qint32>> faces(3);
        for (auto& face : faces) {
            quint8 count = 0;
            in >> count;
            QCOMPARE(int(count), 3);
            face.resize(3);
            in >> face[0] >> face[1] >> face[2];
        }
        QCOMPARE(in.status(), QDataStream::Ok);
        QVERIFY(in.atEnd());

        // No triangle touches the missing pixel; the file numbers skip it.
        QCOMPARE(faces[0], (QVector<qint32>{0, 1, 3}));
        QCOMPARE(faces[1], (QVector<qint32>{1, 2, 4}));
        QCOMPARE(faces[2], (QVector<qint32>{1, 4, 3}));
        if (!cartesian) {
            QCOMPARE(vertices[4].x, 1.0f); // column 1, row 1, 510 mm
            QCOMPARE(vertices[4].y, 1.0f);
            QCOMPARE(vertices[4].z, 510.0f);
            QVERIFY(vertices[0].r > vertices[0].b); // near end of the range: red
        } else {
            // Column 1, row 1 is the centre: straight ahead.
            QCOMPARE(vertices[4].x, 0.0f);
            QCOMPARE(vertices[4].y, 0.0f);
            QCOMPARE(vertices[4].z, 510.0f);
            // Column 0, row 0: one pi/4 step left and up, 500 mm away.
            const double d = PointCloudGeometry::kPi / 4;
            QVERIFY(std::abs(vertices[0].x - 500 * std::cos(-d) * std::sin(-d)) < 1e-3);
            QVERIFY(std::abs(vertices[0].y - 500 * std::sin(-d)) < 1e-3);
            QCOMPARE(int(vertices[0].r), 127); // amplitude 1024 of 2048
            QCOMPARE(vertices[0].g, vertices[0].r);
        }
    }
    QString error;
    QVERIFY(!PlyWriter::save(QStringLiteral("/nonexistent-folder/cloud.ply"), PlyWriter::Cloud(), &error));
    QVERIFY(!error.isEmpty());
}

KESTRANE_TEST_MAIN(TestPointCloudGeometry)
#include "tst_pointcloudgeometry.moc"
