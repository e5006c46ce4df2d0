#pragma once

#include <QImage>
#include <QObject>

class DataPixelfield;
class ImageColorizer;
class Settings;

// Paints whole pixel fields into one sensor-sized picture through the colour mapping and
// hands out the matching legend. One creator serves every image view; a view finishes with
// the returned picture (mirrors it, copies it into a pixmap) before another view draws.
class ZelImageCreator final : public QObject
{
    Q_OBJECT

public:
    // Mapping types of createImage().
    enum Mapping
    {
        Grayscale = 0,
        ForwardRamp = 1,
        ReversedRamp = 2
    };

    explicit ZelImageCreator(Settings* settings, QObject* parent = nullptr);
    ~ZelImageCreator() override;

    // Paints `field` ([column][row], sensor size) under the range min ... max; values above
    // max that are no status code are drawn as low amplitude.
    // The field must have the picture's size (the sensor at the last rebuild()).
    QImage& createImage(int** field, int min, int max, int type);
    // The same for a decoder's field; only the part both share is painted.
    QImage& createImage(const DataPixelfield& field, int min, int max, int type);
    // Fills the picture with white (views that compose several pictures start from it).
    QImage& clearImage();
    QImage& image() { return m_image; }
    QImage& legend() { return m_legend; }
    // The legend bar of mapping `type`, whatever was painted last.
    QImage legend(int type) const;
    // Reallocates the picture at the sensor size of the connected chip.
    void rebuild();

    ImageColorizer* colorizer() const { return m_colorizer; }

private:
    QImage& paint(const int* const* field, int columns, int rows, int min, int max, int type);

    Settings* m_settings;
    QImage m_image;
    QImage m_legend;
    ImageColorizer* m_colorizer;
};
