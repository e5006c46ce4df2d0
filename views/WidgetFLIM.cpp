#include "views/WidgetFLIM.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataCorrelationSamples.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "measurement/InfoFLIM.h"
#include "measurement/InfoPixelScope.h"
#include "render/ImageFilter.h"
#include "render/ZelImageCreator.h"
#include "ui_WidgetFLIM.h"

#include <algorithm>

namespace {
constexpr int kGateMaximum = 2047;
} // namespace

WidgetFLIM::WidgetFLIM(ApplicationContext* context, QWidget* parent)
    : ImageViewBase(context, Commands::getDCSSorted(), parent)
    , ui(new Ui::WidgetFLIM)
    , samples(new DataCorrelationSamples(settings, this))
    , infoFLIM(new InfoFLIM)
{
    ui->setupUi(this);
    addPicture(ui->lImageMga, ui->lYMgaTop, ui->lYMgaBottom, ui->lXMgaLeft, ui->lXMgaRight);
    addPicture(ui->lImageMgb, ui->lYMgbTop, ui->lYMgbBottom, ui->lXMgbLeft, ui->lXMgbRight);
    setMarkerRule(MarkerRule::Never, viewMarkerColor());
    setPixelWindow(infoFLIM);
    setPixelScope(new InfoPixelScope(settings, InfoPixelScope::SignalLevel));
}

WidgetFLIM::~WidgetFLIM()
{
    ZTRACE() << "----------WidgetFLIM destroying";
    deleteWindows();
    delete ui;
    ZTRACE() << "----------WidgetFLIM destroyed";
}

void WidgetFLIM::connectDecoder()
{
    armDecoder(samples);
}

void WidgetFLIM::paintFrame()
{
    for (int i = 0; i < kPictureCount; ++i) {
        firstPostProcessor->replaceBadPixels(*samples->partField(i));
        showField(i, *samples->partField(i), 0, kGateMaximum, ZelImageCreator::Grayscale);
    }
    showLegend(ui->lImageLegendFLIM, ZelImageCreator::Grayscale);
}

void WidgetFLIM::updatePixelInfo()
{
    infoFLIM->setPixel(shownPixel().x(), shownPixel().y());
    const QPoint p = hoveredPixel();
    infoFLIM->setMga(valueAt(*samples->partField(0), p));
    infoFLIM->setMgb(valueAt(*samples->partField(1), p));
}

void WidgetFLIM::updatePixelScope()
{
    // Both gates on one scope: the extremes over both, a mean for each that leaves out the
    // status codes.
    InfoPixelScope* scope = pixelScopeWindow();
    const DataPixelfield& mga = *samples->partField(0);
    const DataPixelfield& mgb = *samples->partField(1);
    int minimum = scope->getMinimum();
    int maximum = scope->getMaximum();
    qint64 mgaSum = 0;
    qint64 mgbSum = 0;
    int mgaCount = 0;
    int mgbCount = 0;
    mgaValues.resize(0);
    mgbValues.resize(0);
    for (int column = scope->topLeftX(); column <= scope->bottomRightX(); ++column) {
        for (int row = scope->topLeftY(); row <= scope->bottomRightY(); ++row) {
            const bool inside = mga.contains(column, row);
            const int a = inside ? mga.value(column, row) : DataPixelfield::kNoData;
            const int b = inside ? mgb.value(column, row) : DataPixelfield::kNoData;
            mgaValues.append(a);
            mgbValues.append(b);
            minimum = std::min({minimum, a, b});
            maximum = std::max({maximum, a, b});
            if (a < DataPixelfield::kLowAmplitude) {
                mgaSum += a;
                ++mgaCount;
            }
            if (b < DataPixelfield::kLowAmplitude) {
                mgbSum += b;
                ++mgbCount;
            }
        }
    }
    scope->setData(mgaValues, mgbValues);
    if (mgaCount != 0)
        scope->setAverage(int(mgaSum / mgaCount));
    if (mgbCount != 0)
        scope->setAverage1(int(mgbSum / mgbCount));
    scope->setMinimum(minimum);
    scope->setMaximum(maximum);
}
