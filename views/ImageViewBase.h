#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

class ApplicationContext;
class AxisLabeler;
class ControllerPicture;
class DataPixelfield;
class EdgeFilter;
class ImageFilter;
class QLabel;
class Settings;
class ZelImageCreator;
class ZelLabel;
class ZelTcp;

// What every image view shares: the borrowed context objects (settings, channel, image
// creator, post-processors), its own picture controller and axis labeler, the hovered or
// marked position, and the steps of a frame that do not depend on what the view shows:
// mirroring by the flip settings, the marker cross, the corner numbers, the region
// selection into a new ROI and the release of the acquisition loop.
//
// A view is armed for exactly one frame: startView() sends its frame command and connects
// the reply to its decoder; the view disconnects after drawing, so a view that is not the
// current page never receives frames.
class ImageViewBase : public QWidget
{
    Q_OBJECT

public:
    ImageViewBase(ApplicationContext* context, const QString& command, QWidget* parent = nullptr);
    ~ImageViewBase() override;

    // Arms the view for the next frame and requests it.
    virtual void startView() = 0;

    QString frameCommand() const { return command; }
    ControllerPicture* controllerPicture() const { return picture; }
    int hoverPositionX() const { return hoverX; }
    int hoverPositionY() const { return hoverY; }
    bool isMarkerSet() const { return markerSet; }
    bool isPixelInfoShown() const { return pixelInfoShown; }

    // Marker cross colours: the distance view's and the one of every other view.
    static QColor distanceMarkerColor() { return QColor(180, 180, 180); }
    static QColor viewMarkerColor() { return QColor(255, 100, 0); }
    // Bad pixels as painted when pixel interpolation is on.
    static QColor distanceBadPixelColor() { return QColor(150, 150, 150); }
    static QColor viewBadPixelColor() { return QColor(250, 150, 0); }

signals:
    void pictureUpdated();

protected:
    // Sends the frame command; the reply reaches the decoder through the connections that
    // the view makes in its own startView().
    void requestFrame();
    // Tells the acquisition loop that the next request may go out, unless the temperature
    // poll after the frame does that.
    void releaseLoop();
    // `target` = `source` mirrored by the flip settings; `target` keeps its buffer between
    // frames (it is reallocated only when the sensor size changes).
    void mirror(const QImage& source, QImage& target) const;
    // Converts the mirrored picture to a pixmap, draws the marker cross on it when asked and
    // shows it; with `fitWidth` the pixmap is scaled to the label width here instead of by
    // the label.
    void showPicture(ZelLabel* label, const QImage& picture, bool drawMarker, const QColor& markerColor,
                     bool fitWidth = false);
    void drawMarkerCross(QPixmap& pixmap, const QColor& color) const;
    // True (once) when the flips or the sensor size changed since the last call: the corner
    // numbers are rewritten only then.
    bool cornersChanged();
    void setCorners(QLabel* top, QLabel* bottom, QLabel* left, QLabel* right) const;
    // The legend bar of the mapping type used last; converted only when the type changes.
    void showLegend(QLabel* legendLabel, int type);
    // Sets or clears the marker; while acquisition is stopped a set marker fetches a frame, so
    // that the cross appears at once.
    void setMarker(bool state);
    // Label pixels to sensor pixels of the displayed picture.
    void mapHover(const QWidget* label, int x, int y);
    // A dragged region (label pixels) into a new ROI, symmetric about the sensor's centre row.
    void selectRegion(const QWidget* label, int x1, int x2, int y1, int y2);

    // The entry at a sensor position, or no data when the field (sized when its decoder was
    // made) does not reach it.
    static int valueAt(const DataPixelfield& field, const QPoint& position);

    int sensorWidth() const;
    int sensorHeight() const;
    bool isSmallSensor() const;

    Settings* settings;
    ZelTcp* tcp;
    ZelImageCreator* imageCreator;
    ImageFilter* firstPostProcessor;
    EdgeFilter* secondPostProcessor;
    ControllerPicture* picture;
    AxisLabeler* axisLabeler;
    QString command;

    bool pixelInfoShown = false;
    bool markerSet = false;
    int hoverX = 0;
    int hoverY = 0;

private:
    int cornerKey = -1;
    int legendType = -1;
};
