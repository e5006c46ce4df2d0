// Every frame decoder against any reply under any settings. The first byte chooses the decoder
// (one image, distance and amplitude, or the correlation samples with their differences), the
// next ones the chip, the sensor size, the view mode, the ROI (also far outside the sensor),
// binning, row reduction, dual MGX, pi delay, the FLIM flag, the modulation index and the
// offset; the rest is the reply. The decoders live across inputs, as they do across frames in
// the program.

#include "frames/DataCorrelationSamples.h"
#include "frames/DataInformationSample.h"
#include "frames/DataPixelfield.h"
#include "frames/FrameSize.h"
#include "fuzz/FuzzInput.h"
#include "link/Commands.h"
#include "settings/Settings.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {

struct Decoders
{
    Settings settings;
    DataPixelfield field{&settings};
    DataInformationSample information{&settings};
    DataCorrelationSamples samples{&settings};
    QStringList commands{Commands::getBWSorted(), Commands::getDistanceAndAmplitudeSorted(),
                         Commands::getAmplitudeSorted(), Commands::getDCSSorted(),
                         Commands::getDCSTOFAndGrayscaleSorted()};
};

Decoders* decoders = nullptr;

void choose(FuzzInput& input, Settings& settings, DataPixelfield& field)
{
    settings.setChipType(input.intIn(0, 6));
    switch (input.intIn(0, 3)) {
    case 0:
        settings.roi()->setSensorWidth(328);
        settings.roi()->setSensorHeight(252);
        break;
    case 1:
        settings.roi()->setSensorWidth(168);
        settings.roi()->setSensorHeight(72);
        break;
    default:
        // Any size up to a little beyond the largest sensor.
        settings.roi()->setSensorWidth(input.intIn(-2, 400));
        settings.roi()->setSensorHeight(input.intIn(-2, 300));
        break;
    }
    settings.setModeIndex(input.intIn(0, 11));
    if (input.flag()) {
        settings.roi()->setX1(input.intIn(-20, 400));
        settings.roi()->setX2(input.intIn(-20, 400));
        settings.roi()->setY1(input.intIn(-20, 300));
        settings.roi()->setY2(input.intIn(-20, 300));
    } else {
        settings.roi()->setX1(input.intIn(-100000, 100000) * 1000);
        settings.roi()->setX2(input.intIn(-100000, 100000) * 1000);
        settings.roi()->setY1(input.intIn(-100000, 100000) * 1000);
        settings.roi()->setY2(input.intIn(-100000, 100000) * 1000);
    }
    settings.binningAndReduction()->setHorizontalBinning(input.flag());
    settings.binningAndReduction()->setVerticalBinning(input.flag());
    settings.binningAndReduction()->setRowReductionIndex(input.intIn(-2, 5));
    settings.distanceCalculation()->setDualMGX(input.flag());
    settings.distanceCalculation()->setPiDelay(input.flag());
    settings.distanceCalculation()->setModulationIndex(input.intIn(0, 6));
    settings.flim()->setFlimChip(input.flag());
    field.setOffset(input.intIn(-3000, 3000));
}

// Every cell is no data, a word of the reply less the offset, its logarithm or a status code.
// The field's own storage is read within its size: unchecked, so that the scan vectorises.
__attribute__((no_sanitize("address"))) bool cellsAreInRange(const DataPixelfield& field)
{
    const int* cells = field.cells();
    const int count = field.cellCount();
    for (int i = 0; i < count; ++i) {
        if (cells[i] < DataPixelfield::kNoLogarithm - 3000 || cells[i] > 65535)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    decoders = new Decoders;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    Decoders& d = *decoders;
    const int decoder = input.intIn(0, 2);
    choose(input, d.settings, d.field);
    QByteArray reply = input.rest();

    for (const QString& command : d.commands) {
        if (FrameSize::expectedBytes(&d.settings, command) < -1)
            std::abort();
    }
    switch (decoder) {
    case 0: {
        d.field.updateData(reply);
        if (!cellsAreInRange(d.field))
            std::abort();
        break;
    }
    case 1:
        d.information.updateData(reply);
        break;
    default:
        d.samples.updateData(reply);
        d.samples.calculateDifference();
        break;
    }
    return 0;
}
