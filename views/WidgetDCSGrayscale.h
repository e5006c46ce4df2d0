#pragma once

#include "views/ImageViewBase.h"

#include <QString>

class ApplicationContext;
class DataCorrelationSamples;
class InfoDCS;
class Logger;
class QHideEvent;
class RawRecorder;

namespace Ui {
class WidgetDCSGrayscale;
}

// The correlation samples together with the grayscale image of one reply (view mode 8):
// DCS0 to DCS3 and the grayscale picture in gray, 0 ... 4095. Pi-delay and dual-MGX decide
// how many samples the reply holds (4, 2 or 1); the grayscale image follows them, and the
// sample pictures the frame does not hold are white.
//
// While "Log" is ticked with a path set, every frame shown is recorded as raw files: one
// binary file of the five sample blocks and one settings key file per frame, one index file
// per run. Leaving the page ends the recording.
class WidgetDCSGrayscale final : public ImageViewBase
{
    Q_OBJECT

public:
    static constexpr int kGrayscalePicture = 4;

    explicit WidgetDCSGrayscale(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetDCSGrayscale() override;

    DataCorrelationSamples* correlationSamples() const { return samples; }
    InfoDCS* pixelInfo() const { return infoDCS; }
    RawRecorder* recorder() const { return rawRecorder; }
    bool isRecording() const;
    // How many samples the current settings deliver (4, 2 or 1): the grayscale image is the
    // part that follows them.
    int sampleCount() const;

public slots:
    void on_tbBrowse_clicked();
    void on_cbLog_toggled(bool checked);
    void on_leFileName_textChanged(const QString& arg1);
    void on_leFilePath_textChanged(const QString& arg1);
    void resetFirstLogFlag();
    void videoStopped();

protected:
    void connectDecoder() override;
    void paintFrame() override;
    void updatePixelInfo() override;
    void frameShown() override;
    void hideEvent(QHideEvent* event) override;

private:
    void paintPart(int picture, int part, bool replaceBadPixels = true);
    void showRecordingMessage(bool recording);
    void showRecordingFailure(const QString& file);

    Ui::WidgetDCSGrayscale* ui;
    DataCorrelationSamples* samples;
    InfoDCS* infoDCS;
    Logger* logger;
    RawRecorder* rawRecorder;
    int shownIncomplete = 0;
    enum class Message
    {
        Unset,
        Idle,
        Recording,
        Failed
    };
    Message shownMessage = Message::Unset;
};
