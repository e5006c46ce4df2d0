#include "frames/FrameSize.h"

#include "frames/DataCorrelationSamples.h"
#include "link/Commands.h"
#include "settings/Settings.h"

#include <algorithm>

namespace FrameSize {

int imageCount(const Settings* settings, const QString& command)
{
    if (command == Commands::getDistanceAndAmplitudeSorted())
        return 2;
    if (command == Commands::getAmplitudeSorted() || command == Commands::getBWSorted())
        return 1;
    if (command == Commands::getDCSTOFAndGrayscaleSorted())
        return 5;
    if (command == Commands::getDCSSorted())
        return DataCorrelationSamples::sampleCountFor(settings);
    return 0;
}

int wordsPerImage(const Settings* settings, bool tofImage)
{
    const SettingsROI* roi = settings->roi();
    const SettingsBinningAndReduction* binning = settings->binningAndReduction();
    const bool horizontal = binning->horizontalBinning();
    const bool vertical = binning->verticalBinning();
    const bool dualMgx = settings->distanceCalculation()->dualMGX();
    const int reduction = 1 << std::clamp(binning->rowReductionIndex(), 0, 3);

    // The word's footprint and the row step of the readout: dual MGX pairs the rows of
    // distance and amplitude images with twice the step; sample and grayscale images keep
    // single rows, one after the other.
    const bool pairColumns = horizontal;
    const bool pairRows = (dualMgx && !horizontal && tofImage) || (horizontal && dualMgx) || vertical;
    const int step =
        dualMgx && !horizontal && !vertical && !tofImage ? 1 : (dualMgx ? 2 * reduction : reduction);
    const int footprintWidth = pairColumns ? 2 : 1;
    const int footprintHeight = pairRows ? 2 : 1;

    const int columns = roi->sensorWidth();
    const int rows = roi->sensorHeight();
    if (columns <= 0 || rows <= 0)
        return 0;
    const int x1 = std::clamp(roi->x1(), 0, columns - 1);
    const int x2 = std::clamp(roi->x2(), x1, columns - 1);
    const int wordsPerRow = (x2 - x1 + 1) / footprintWidth;
    auto payloadRows = [&](int height) {
        return height >= footprintHeight ? (height - footprintHeight) / step + 1 : 0;
    };

    const int chip = settings->chipType();
    if (chip == 4 || chip == 5) {
        const int y1 = std::clamp(roi->y1(), 0, rows - 1);
        const int y2 = std::clamp(roi->y2(), y1, rows - 1);
        return payloadRows(y2 - y1 + 1) * wordsPerRow;
    }
    // Centre-split readout: two mirrored halves from the ROI's top row to the centre.
    const int centre = rows / 2;
    const int top = roi->y1() < centre ? roi->y1() : rows - 1 - roi->y1();
    const int halfHeight = centre - std::clamp(top, 0, centre - 1);
    return 2 * payloadRows(halfHeight) * wordsPerRow;
}

int expectedBytes(const Settings* settings, const QString& command)
{
    const int images = imageCount(settings, command);
    if (images == 0)
        return -1;
    const bool tof =
        command == Commands::getDistanceAndAmplitudeSorted() || command == Commands::getAmplitudeSorted();
    return images * wordsPerImage(settings, tof) * 2;
}

} // namespace FrameSize
