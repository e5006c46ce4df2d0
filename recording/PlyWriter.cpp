#include "recording/PlyWriter.h"

#include "render/DistanceLabeler.h"
#include "render/ImageColorizer.h"

#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
unsigned char toByte(double value)
{
    return static_cast<unsigned char>(std::clamp(value, 0.0, 255.0));
}

void appendLittleEndian(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}
} // namespace

void PlyWriter::build(const PointCloudGeometry& geometry, const Options& options, DistanceLabeler& labeler,
                      Cloud& cloud)
{
    const int width = geometry.width();
    const int height = geometry.height();
    const double step = PointCloudGeometry::angularStep(options.fovDegrees, width);
    cloud.xyz.clear();
    cloud.rgb.clear();
    cloud.faces.clear();
    // Grid index -> vertex number in the file, or -1 for a pixel without a distance.
    std::vector<int> number(size_t(width) * size_t(height), -1);
    const double span = std::max(1, options.hi - options.lo);
    int next = 0;
    for (int i = 0; i < height; ++i) {
        for (int j = 0; j < width; ++j) {
            const int v = geometry.distance(j, i);
            const int mm = labeler.lsbToMm(v);
            if (mm < 0)
                continue;
            number[size_t(i * width + j)] = next++;
            if (options.cartesian) {
                const double theta = step * (i - height / 2);
                const double phi = step * (j - width / 2);
                cloud.xyz.push_back(float(mm * std::cos(theta) * std::sin(phi)));
                cloud.xyz.push_back(float(mm * std::sin(theta)));
                cloud.xyz.push_back(float(mm * std::cos(theta) * std::cos(phi)));
            } else {
                cloud.xyz.push_back(float(j));
                cloud.xyz.push_back(float(i));
                cloud.xyz.push_back(float(mm));
            }
            if (options.gray) {
                const unsigned char g = toByte(geometry.amplitude(j, i) * 255.0 / 2048.0);
                cloud.rgb.insert(cloud.rgb.end(), {g, g, g});
            } else {
                // The plot's colours: near dark red, far dark blue.
                const double f = std::clamp((v - options.lo) / span, 0.0, 1.0);
                const int k = std::min(int(f * ImageColorizer::kRampSize), ImageColorizer::kRampSize - 1);
                const QRgb c = ImageColorizer::rampRule(ImageColorizer::kRampSize, k);
                cloud.rgb.insert(cloud.rgb.end(),
                                 {static_cast<unsigned char>(qBlue(c)), static_cast<unsigned char>(qGreen(c)),
                                  static_cast<unsigned char>(qRed(c))});
            }
        }
    }
    if (!options.withFaces)
        return;
    for (const PointCloudGeometry::Triangle& t : geometry.triangles()) {
        const int a = number[t[0]];
        const int b = number[t[1]];
        const int c = number[t[2]];
        if (a >= 0 && b >= 0 && c >= 0)
            cloud.faces.push_back({unsigned(a), unsigned(b), unsigned(c)});
    }
}

QByteArray PlyWriter::header(const Cloud& cloud)
{
    QByteArray text("ply\nformat binary_little_endian 1.0\ncomment Kestrane TOF Imager point cloud, mm\n");
    text += "element vertex " + QByteArray::number(qulonglong(cloud.vertexCount())) + '\n';
    text += "property float x\nproperty float y\nproperty float z\n";
    text += "property uchar red\nproperty uchar green\nproperty uchar blue\n";
    text += "element face " + QByteArray::number(qulonglong(cloud.faces.size())) + '\n';
    text += "property list uchar int vertex_indices\nend_header\n";
    return text;
}

bool PlyWriter::write(QIODevice& device, const Cloud& cloud)
{
    QByteArray out = header(cloud);
    out.reserve(out.size() + int(cloud.vertexCount() * 15 + cloud.faces.size() * 13));
    for (size_t k = 0; k < cloud.vertexCount(); ++k) {
        for (int axis = 0; axis < 3; ++axis) {
            quint32 bits;
            const float value = cloud.xyz[3 * k + size_t(axis)];
            static_assert(sizeof(bits) == sizeof(value), "float is 32 bits");
            std::memcpy(&bits, &value, sizeof(bits));
            appendLittleEndian(out, bits);
        }
        out.append(reinterpret_cast<const char*>(&cloud.rgb[3 * k]), 3);
    }
    for (const PointCloudGeometry::Triangle& face : cloud.faces) {
        out.append(char(3));
        for (unsigned index : face)
            appendLittleEndian(out, index);
    }
    return device.write(out) == out.size();
}

bool PlyWriter::save(const QString& path, const Cloud& cloud, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !write(file, cloud) || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
