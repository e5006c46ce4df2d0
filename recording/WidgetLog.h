#pragma once

#include <QWidget>

class ApplicationContext;
class Settings;

// The image-logging page ("log"). For now it carries what the main window and the view panel
// rely on: the distance unit offered for the CSV tables and the FLIM layout. The logging run
// itself fills this page later.
class WidgetLog final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetLog(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetLog() override;

    // FLIM chips log no distances: the unit choice is hidden.
    void setUnitControlsHidden(bool hidden);
    bool unitControlsHidden() const { return m_unitControlsHidden; }

public slots:
    // true: distances can only be logged in LSB (view modes without distances).
    void disableCM(bool state);

private:
    Settings* settings;
    bool m_unitControlsHidden = false;
};
