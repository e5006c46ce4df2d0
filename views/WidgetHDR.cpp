#include "views/WidgetHDR.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataHDR.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "render/DistanceLabeler.h"
#include "render/ImageFilter.h"
#include "render/ZelImageCreator.h"
#include "settings/Settings.h"
#include "ui_WidgetHDR.h"

namespace {
// Parts 0 to 2 are shown as decoded; part 3 becomes the combined image.
constexpr int combinedPart = 3;
} // namespace

WidgetHDR::WidgetHDR(ApplicationContext* context, QWidget* parent)
    : ImageViewBase(context, Commands::getDistanceAndAmplitudeSorted(), parent)
    , ui(new Ui::WidgetHDR)
    , hdr(new DataHDR(settings, this))
    , distanceLabeler(new DistanceLabeler(settings, this))
{
    ui->setupUi(this);
    addPicture(ui->lImageHDR0, ui->lYHDR0Top, ui->lYHDR0Bottom, ui->lXHDR0Left, ui->lXHDR0Right, true);
    addPicture(ui->lImageHDR1, ui->lYHDR1Top, ui->lYHDR1Bottom, ui->lXHDR1Left, ui->lXHDR1Right, true);
    addPicture(ui->lImageHDR2, ui->lYHDR2Top, ui->lYHDR2Bottom, ui->lXHDR2Left, ui->lXHDR2Right, true);
    addPicture(ui->lImageHDR3, ui->lYHDR3Top, ui->lYHDR3Bottom, ui->lXHDR3Left, ui->lXHDR3Right, true);
    setMarkerRule(MarkerRule::Never, viewMarkerColor());
}

WidgetHDR::~WidgetHDR()
{
    ZTRACE() << "----------WidgetHDR destroying";
    delete ui;
    ZTRACE() << "----------WidgetHDR destroyed";
}

void WidgetHDR::connectDecoder()
{
    armDecoder(hdr);
}

void WidgetHDR::paintFrame()
{
    const DistanceRange range = distanceRange(*distanceLabeler);
    const int minimum = distanceLabeler->cmToLsb(range.minimumCm);
    const int maximum = distanceLabeler->cmToLsb(range.maximumCm);

    for (int part = 0; part <= combinedPart; ++part)
        firstPostProcessor->replaceBadPixels(*hdr->partField(part));
    for (int part = 0; part < combinedPart; ++part)
        showField(part, *hdr->partField(part), minimum, maximum, ZelImageCreator::ReversedRamp);
    // The combined image always merges the row pairs: it is what this picture is for.
    firstPostProcessor->combineHdrRows(*hdr->amplitudeField(), hdr->partField(combinedPart));
    showField(combinedPart, *hdr->partField(combinedPart), minimum, maximum, ZelImageCreator::ReversedRamp);

    showLegend(ui->lImageLegendHDR, ZelImageCreator::ReversedRamp);
    showDistanceLegendLabels(ui->lLegendHDREnd, ui->lLegendHDRBegin, range);
    // The times current now, which may already differ from those of the frame.
    const SettingsIntegrationTime* times = settings->integrationTime();
    ui->lHDR0->setText(QStringLiteral("Integration time = ") + QString::number(times->integrationTime3D()) +
                       QStringLiteral(" µs"));
    ui->lHDR1->setText(QStringLiteral("Integration time = ") +
                       QString::number(times->integrationTime3DHDR()) + QStringLiteral(" µs"));
}
