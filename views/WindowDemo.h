#pragma once

#include <QMainWindow>

class QStackedWidget;
class Settings;

// The image window: one page per image view, the page and title following the view mode.
// Its size follows the sensor (fitToSensor) and the user's resizing keeps the aspect ratio
// of the pictures; its geometry is kept in the settings for the next run.
class WindowDemo final : public QMainWindow
{
    Q_OBJECT

public:
    explicit WindowDemo(Settings* settings, QWidget* parent = nullptr);
    ~WindowDemo() override;

    // Pages in the order of their indices (see setPage()).
    int addPage(QWidget* page);
    // Shows page `index` and sets the title of its view.
    void setPage(int index);
    int currentPage() const;
    void fitToSensor();
    QStackedWidget* stack() const { return stackedWidget; }
    double aspectRatio() const { return ratio; }

public slots:
    void setWindowSize();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    // The width the current page's own controls need at least.
    int pageWidthNeeded() const;

    void storeGeometry();

    Settings* settings;
    QStackedWidget* stackedWidget;
    int margin = 0;
    // Width / height of the pictures' area, remembered by fitToSensor(); 0 before.
    double ratio = 0.0;
};
