#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class ApplicationContext;
class ControllerLog;
class DialogProgress;
class ImageViewBase;
class Logger;
class Settings;
class WidgetAmplitude;
class WidgetDCS;
class WidgetDCSGrayscale;
class WidgetDifDCS;
class WidgetDistance;
class WidgetFLIM;
class WidgetGrayscale;
class WidgetHDR;
class ZelTcp;

namespace Ui {
class WidgetLog;
}

// The image-logging page ("Logging"): records a run of N consecutive pictures of the current
// view mode. The page owns a hidden instance of every image view; for each picture it arms
// the view of the run's mode for one frame and, when that view announces the decoded and
// rendered picture, writes the picture's PNG files, value tables or sample blocks through the
// Logger. Live video is paused for the whole run by the ControllerLog.
//
// A run never ends silently: a file that cannot be written, a failed exchange or a picture
// rejected by the picture check ends it with "Logging failed." and live video resumes as after
// a finished run; runFinished() tells unattended callers how it ended.
class WidgetLog final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetLog(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetLog() override;

    // FLIM chips log no distances: the unit choice is hidden.
    void setUnitControlsHidden(bool hidden);
    bool unitControlsHidden() const { return m_unitControlsHidden; }

    // Unattended runs (headless capture) skip the confirmation question and the message box;
    // the outcome comes with runFinished().
    void setUnattended(bool state) { unattended = state; }
    // Called with the run's view mode before a picture's files are written; a picture it
    // rejects is requested again instead of being written. Without a check a picture is
    // accepted when its frame arrived complete.
    void setPictureCheck(std::function<bool(int mode)> check) { pictureCheck = std::move(check); }

    bool isRunning() const { return running; }
    QString runPath() const { return path; }
    QString runBaseName() const { return baseName; }
    int picturesWritten() const { return counter; }

signals:
    void logFinished();
    // A run has started (after the confirmation).
    void runStarted();
    // The run is over: `ok` false with the reason after a failure.
    void runFinished(bool ok, const QString& reason);

public slots:
    void on_tbBrowse_clicked();
    void on_tbStartLogging_clicked();
    void logGrayscale();
    void logDistance();
    void logAmplitude();
    void logDCS();
    void logDCSGrayscale();
    void logDifDCS();
    void logHDR();
    void logFLIM();
    void disconnectSlots();
    void on_cbSaveCSV_clicked(bool checked);
    void on_cbSavePictures_clicked(bool checked);
    void connectSlots();
    void logging();
    void failed();
    void disableCM(bool state);
    void startLogging();
    void updateControls();
    void on_leFilename_textChanged(const QString& arg1);
    void on_sbNumberOfPictures_valueChanged(int arg1);
    void on_rbLSB_toggled(bool checked);

private:
    // The hidden view that records `mode` (nullptr where no view for it exists yet).
    ImageViewBase* viewOfRun() const;
    QString fileOf(const QString& suffix) const;
    bool savePng(const ImageViewBase* view, int index, const QString& suffix);
    bool csv(const int* const* field, int minimum, int maximum, bool addMinimum);
    // Ends a picture: emits logFinished() after a complete picture, or ends the run.
    void pictureWritten(bool ok);
    void endRun(bool ok, const QString& reason);
    bool pictureAccepted();
    // Whether the run goes on in rounds of `total` pictures: a capture from the capture panel
    // in the DCS + grayscale mode with "Unlimited" on, until the panel stops it. A run from
    // the page's own button or an unattended run always ends after its pictures.
    bool unlimitedRounds() const;

    Ui::WidgetLog* ui;
    Settings* settings;
    ZelTcp* tcp;
    ControllerLog* log;
    Logger* logger;

    QString path;
    QString baseName;
    int mode = 0;
    int total = 1;
    int remaining = 0;
    int counter = 0;
    QString indexText;
    bool running = false;
    bool unattended = false;
    bool m_unitControlsHidden = false;
    std::function<bool(int)> pictureCheck;
    // The run was started from the capture panel (the hub's captureLogImages()).
    bool fromCapturePanel = false;
    bool inRounds = false;
    // Requests of the current picture that brought an incomplete frame.
    int rejectedInARow = 0;

    WidgetGrayscale* grayscale;
    WidgetDistance* distance;
    WidgetAmplitude* amplitude;
    WidgetDCS* dcs;
    WidgetDifDCS* difDcs;
    WidgetFLIM* flim;
    WidgetDCSGrayscale* dcsGrayscale;
    WidgetHDR* hdr;
    DialogProgress* progress;
};
