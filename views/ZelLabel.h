#pragma once

#include <QCursor>
#include <QLabel>

class QEvent;
class QMouseEvent;
class QRubberBand;

// The label every image view shows its picture on. It turns mouse input into label-pixel
// positions (the views scale them to sensor pixels): the hovered position, a Shift-dragged
// region, a Ctrl-clicked marker pixel and an Alt-clicked time-scope request. A right click
// offers the shown picture for saving.
//
// A dragged region spans the horizontal extent of the drag, but its vertical extent is fixed
// at the press and symmetric about the label's centre line, as the large sensors read out
// from the centre row outward. The small sensors (chip types 4 and 5) take no region.
class ZelLabel final : public QLabel
{
    Q_OBJECT

public:
    explicit ZelLabel(QWidget* parent = nullptr);
    ~ZelLabel() override;

    // Ends a drag in progress and allows or forbids region selection.
    void enableSelect(bool state);
    void setChipType(int chipType) { m_chipType = chipType; }
    int chipType() const { return m_chipType; }

    bool isSelecting() const { return m_selecting; }
    bool isSelectionEnabled() const { return m_selectionEnabled; }
    bool isMarkerMode() const { return m_markerMode; }
    bool isTimeScopeMode() const { return m_timeScopeMode; }
    bool isPressed() const { return m_pressed; }
    const QCursor& crosshair() const { return m_crosshair; }

    // An event position in label pixels: the nearest integer, halves toward positive
    // infinity (2.5 gives 3, -2.5 gives -2).
    static int roundedPosition(qreal value);

signals:
    void mouseHover(int x, int y);
    void regionSelected(int x1, int x2, int y1, int y2);
    void selectMarker(bool state);
    void checkTimeScope(bool state);

public slots:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool isSmallSensor() const { return m_chipType == 4 || m_chipType == 5; }
    void savePicture();

    int m_chipType = 2;
    QCursor m_crosshair;
    QRubberBand* m_rubberBand;
    int m_pressX = 0;
    int m_pressY = 0;
    int m_currentX = 0;
    int m_mirroredY = 0;
    int m_left = 0;
    int m_right = 0;
    int m_top = 0;
    int m_bottom = 0;
    bool m_selecting = false;
    bool m_selectionEnabled = true;
    bool m_markerMode = false;
    bool m_timeScopeMode = false;
    bool m_pressed = false;
};
