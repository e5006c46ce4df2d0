#include "render/ZelImageCreator.h"

#include "app/Trace.h"
#include "frames/DataPixelfield.h"
#include "render/ImageColorizer.h"
#include "settings/Settings.h"

#include <algorithm>

namespace {

// The sensor arrays are 328 x 252 and 168 x 72; other sizes read from the settings are kept
// within bounds that cannot exhaust memory.
constexpr int kLargestSide = 4096;

QSize sensorSize(const Settings* settings)
{
    return {std::clamp(settings->roi()->sensorWidth(), 1, kLargestSide),
            std::clamp(settings->roi()->sensorHeight(), 1, kLargestSide)};
}

} // namespace

ZelImageCreator::ZelImageCreator(Settings* settings, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_image(sensorSize(settings), QImage::Format_ARGB32_Premultiplied)
    , m_colorizer(new ImageColorizer(this))
{
    m_image.fill(Qt::white);
    // The creator is made before the chip is known.
    connect(settings->roi(), &SettingsROI::sensorSizeChanged, this, &ZelImageCreator::rebuild);
}

ZelImageCreator::~ZelImageCreator()
{
    ZTRACE() << "***ZelImageCreator destroyed";
}

QImage& ZelImageCreator::createImage(int** field, int min, int max, int type)
{
    return paint(field, m_image.width(), m_image.height(), min, max, type);
}

QImage& ZelImageCreator::createImage(const DataPixelfield& field, int min, int max, int type)
{
    return paint(field.data(), std::min(field.width(), m_image.width()),
                 std::min(field.height(), m_image.height()), min, max, type);
}

QImage& ZelImageCreator::paint(const int* const* field, int columns, int rows, int min, int max, int type)
{
    m_colorizer->setRange(min, max);
    // The legend images are shared, not copied: this allocates nothing per frame.
    m_legend = m_colorizer->legend(type);
    if (field)
        m_colorizer->paintField(field, columns, rows, type, m_image);
    return m_image;
}

QImage ZelImageCreator::legend(int type) const
{
    return m_colorizer->legend(type);
}

QImage& ZelImageCreator::clearImage()
{
    m_image.fill(Qt::white);
    return m_image;
}

void ZelImageCreator::rebuild()
{
    const QSize size = sensorSize(m_settings);
    if (m_image.size() != size)
        m_image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    m_image.fill(Qt::white);
}
