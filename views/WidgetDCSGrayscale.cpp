#include "views/WidgetDCSGrayscale.h"

#include "views/WidgetDCS.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataCorrelationSamples.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "measurement/InfoDCS.h"
#include "recording/Logger.h"
#include "recording/RawRecorder.h"
#include "render/ImageFilter.h"
#include "render/ZelImageCreator.h"
#include "ui_WidgetDCSGrayscale.h"
#include "widgets/DirectoryChooser.h"

#include <QDateTime>
#include <QHideEvent>

namespace {
constexpr int kSampleMaximum = 4095;

const char* const kRecordingStyle = "background-color: rgb(255, 170, 0);color: rgb(255, 255, 255);"
                                    "font-family: Arial-Black;font-style: normal;font-size: 22pt;"
                                    "font-weight: bold;";
// Transparent: the form's "rgb(255,170,0,0)" is no colour Qt accepts (it warns on every frame).
const char* const kIdleStyle = "background-color:rgba(255,170,0,0)";
} // namespace

WidgetDCSGrayscale::WidgetDCSGrayscale(ApplicationContext* context, QWidget* parent)
    : ImageViewBase(context, Commands::getDCSTOFAndGrayscaleSorted(), parent)
    , ui(new Ui::WidgetDCSGrayscale)
    , samples(new DataCorrelationSamples(settings, this))
    , infoDCS(new InfoDCS)
    , logger(new Logger(settings, this))
    , rawRecorder(new RawRecorder(settings, logger))
{
    ui->setupUi(this);
    addPicture(ui->lImageDCS0, ui->lYDCS0Top, ui->lYDCS0Bottom, ui->lXDCS0Left, ui->lXDCS0Right);
    addPicture(ui->lImageDCS1, ui->lYDCS1Top, ui->lYDCS1Bottom, ui->lXDCS1Left, ui->lXDCS1Right);
    addPicture(ui->lImageDCS2, ui->lYDCS2Top, ui->lYDCS2Bottom, ui->lXDCS2Left, ui->lXDCS2Right);
    addPicture(ui->lImageDCS3, ui->lYDCS3Top, ui->lYDCS3Bottom, ui->lXDCS3Left, ui->lXDCS3Right);
    // The grayscale picture's corner numbers are fixed form texts.
    addPicture(ui->lImageGrayscale, nullptr, nullptr, nullptr, nullptr);
    setPixelWindow(infoDCS);
    enableSelect(false);

    ui->leFileName->setText(settings->logFilename());
    ui->leFilePath->setText(settings->logPath());
    // Ticked and unticked once: the recording controls start disabled, the message cleared.
    ui->cbLog->setChecked(true);
    ui->cbLog->setChecked(false);

    connect(settings, &Settings::started, this, &WidgetDCSGrayscale::resetFirstLogFlag);
    connect(settings, &Settings::stopped, this, &WidgetDCSGrayscale::videoStopped);
}

WidgetDCSGrayscale::~WidgetDCSGrayscale()
{
    ZTRACE() << "----------WidgetDCSGrayscale destroying";
    deleteWindows();
    delete rawRecorder;
    delete ui;
    ZTRACE() << "----------WidgetDCSGrayscale destroyed";
}

void WidgetDCSGrayscale::connectDecoder()
{
    armDecoder(samples);
}

int WidgetDCSGrayscale::sampleCount() const
{
    const bool dual = settings->distanceCalculation()->dualMGX();
    const bool piDelay = settings->distanceCalculation()->piDelay();
    if (dual && !piDelay)
        return 1;
    return piDelay && !dual ? 4 : 2;
}

void WidgetDCSGrayscale::paintPart(int picture, int part, bool replaceBadPixels)
{
    DataPixelfield& field = *samples->partField(part);
    if (replaceBadPixels)
        firstPostProcessor->replaceBadPixels(field);
    showField(picture, field, 0, kSampleMaximum, ZelImageCreator::Grayscale);
}

void WidgetDCSGrayscale::paintFrame()
{
    const int used = sampleCount();
    paintPart(0, 0);
    if (used >= 2) {
        paintPart(1, 1);
        if (used == 4) {
            paintPart(2, 2);
            paintPart(3, 3);
        }
    }
    for (int picture = used; picture < 4; ++picture)
        showBlank(picture);
    // The grayscale image is the slice after the samples in use.
    paintPart(kGrayscalePicture, used);
    showLegend(ui->lImageLegendDCS, ZelImageCreator::Grayscale);
    ui->lLegendDCSBegin->setText(QStringLiteral("-2048"));
    ui->lLegendDCSEnd->setText(QStringLiteral("2047"));
}

void WidgetDCSGrayscale::updatePixelInfo()
{
    WidgetDCS::showSamples(infoDCS, *samples, shownPixel(), hoveredPixel());
}

bool WidgetDCSGrayscale::isRecording() const
{
    return ui->cbLog->isChecked() && !settings->logPath().isEmpty();
}

void WidgetDCSGrayscale::frameShown()
{
    if (!isRecording()) {
        showRecordingMessage(false);
        return;
    }
    showRecordingMessage(true);
    if (!rawRecorder->recordFrame(*samples, QDateTime::currentDateTime(), settings->lastFrameComplete())) {
        showRecordingFailure(rawRecorder->failedFile());
        return;
    }
    if (rawRecorder->incompleteFrames() != shownIncomplete) {
        shownIncomplete = rawRecorder->incompleteFrames();
        ui->lLogMessage->setText(
            QStringLiteral("Recording !\n%1 incomplete %2 not recorded")
                .arg(shownIncomplete)
                .arg(shownIncomplete == 1 ? QStringLiteral("frame") : QStringLiteral("frames")));
    }
}

void WidgetDCSGrayscale::showRecordingMessage(bool recording)
{
    // Called on every frame: the style sheet is set only when the message changes.
    const Message message = recording ? Message::Recording : Message::Idle;
    if (message == shownMessage)
        return;
    shownMessage = message;
    ui->lLogMessage->setStyleSheet(QLatin1String(recording ? kRecordingStyle : kIdleStyle));
    ui->lLogMessage->setText(recording ? QStringLiteral("Recording !") : QStringLiteral(" "));
}

void WidgetDCSGrayscale::showRecordingFailure(const QString& file)
{
    // A frame that cannot be stored ends the recording visibly instead of leaving a gap.
    ZTRACE() << "raw recording failed:" << file;
    ui->cbLog->setChecked(false);
    shownMessage = Message::Failed;
    ui->lLogMessage->setStyleSheet(QLatin1String(kRecordingStyle));
    ui->lLogMessage->setText(QStringLiteral("Recording failed.\n") + file);
}

void WidgetDCSGrayscale::on_cbLog_toggled(bool checked)
{
    for (QWidget* control : {static_cast<QWidget*>(ui->lFileName), static_cast<QWidget*>(ui->leFileName),
                             static_cast<QWidget*>(ui->lFilePath), static_cast<QWidget*>(ui->leFilePath),
                             static_cast<QWidget*>(ui->tbBrowse)})
        control->setEnabled(checked);
    ui->leFileName->setText(settings->logFilename());
    ui->leFilePath->setText(settings->logPath());
    if (checked) {
        // A new tick is a new run with its own index file and its own count of missing frames.
        rawRecorder->startRun();
        shownIncomplete = rawRecorder->incompleteFrames();
    }
    showRecordingMessage(checked && settings->videoActive() && !settings->logPath().isEmpty());
}

void WidgetDCSGrayscale::on_leFileName_textChanged(const QString& arg1)
{
    settings->setLogFilename(arg1);
}

void WidgetDCSGrayscale::on_leFilePath_textChanged(const QString& arg1)
{
    settings->setLogPath(arg1);
}

void WidgetDCSGrayscale::on_tbBrowse_clicked()
{
    const QString chosen = DirectoryChooser::choose(this, settings->logPath());
    if (!chosen.isEmpty()) {
        ui->leFilePath->setText(chosen);
        settings->setLogPath(ui->leFilePath->text());
    }
    settings->announceUpdateLog();
}

void WidgetDCSGrayscale::resetFirstLogFlag()
{
    rawRecorder->startRun();
    if (isRecording())
        showRecordingMessage(true);
}

void WidgetDCSGrayscale::videoStopped()
{
    showRecordingMessage(false);
}

void WidgetDCSGrayscale::hideEvent(QHideEvent* event)
{
    // Leaving the page ends the recording; a minimised window (a spontaneous hide) does not.
    if (!event->spontaneous())
        ui->cbLog->setChecked(false);
    ImageViewBase::hideEvent(event);
}
