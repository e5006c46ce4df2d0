#pragma once

#include "acquisition/ControllerPicture.h"

#include <QColor>
#include <QImage>
#include <QMetaObject>
#include <QPixmap>
#include <QString>
#include <QVector>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class ApplicationContext;
class AxisLabeler;
class DataPixelfield;
class EdgeFilter;
class ImageFilter;
class InfoPixelScope;
class QLabel;
class Settings;
class ZelImageCreator;
class ZelLabel;
class ZelTcp;

// What every image view shares: the borrowed context objects (settings, channel, image
// creator, post-processors), its own picture controller and axis labeler, its picture labels
// with their corner numbers, its pixel window and pixel scope, the hovered or marked position,
// and the steps of a frame that do not depend on what the view shows: mirroring by the flip
// settings, the marker cross, the corner numbers, the region selection into a new ROI, the
// release of the acquisition loop and the feeding of the per-pixel windows.
//
// A view is armed for exactly one frame: startView() connects the reply to the view's decoder
// (connectDecoder()) and sends the frame command; updateGUI() lets the view paint the frame
// (paintFrame()) and disconnects again, so a view that is not the current page never receives
// frames. A view holds only what differs: its frame command, its decoder, its painting and the
// values it hands to its windows.
class ImageViewBase : public QWidget
{
    Q_OBJECT

public:
    ImageViewBase(ApplicationContext* context, const QString& command, QWidget* parent = nullptr);
    ~ImageViewBase() override;

    // Arms the view for the next frame and requests it.
    virtual void startView();
    // Opens or closes the pixel statistics window; while it is open the view follows the hover
    // and the marker (the distance view follows them always).
    void setPixelInfoVisible(bool visible);
    // Opens or closes the pixel scope, for the views that have one.
    void setPixelScopeVisible(bool visible);

    QString frameCommand() const { return command; }
    ControllerPicture* controllerPicture() const { return picture; }
    int hoverPositionX() const { return hoverX; }
    int hoverPositionY() const { return hoverY; }
    bool isMarkerSet() const { return markerSet; }
    bool isPixelInfoShown() const { return pixelInfoShown; }
    InfoPixelScope* pixelScopeWindow() const { return pixelScope; }
    int pictureCount() const { return int(pictures.size()); }
    ZelLabel* imageLabel(int index = 0) const;
    // The last painted picture `index` after mirroring.
    const QImage& displayed(int index = 0) const;

    // Marker cross colours: the distance view's and the one of every other view.
    static QColor distanceMarkerColor() { return QColor(180, 180, 180); }
    static QColor viewMarkerColor() { return QColor(255, 100, 0); }
    // Bad pixels as painted when pixel interpolation is on.
    static QColor distanceBadPixelColor() { return QColor(150, 150, 150); }
    static QColor viewBadPixelColor() { return QColor(250, 150, 0); }

signals:
    void pictureUpdated();

public slots:
    // Paints one decoded frame, disarms the view, releases the acquisition loop and feeds the
    // pixel windows.
    void updateGUI();
    void disconnectSlots();
    void mouseHover(int x, int y);
    void select(int x1, int x2, int y1, int y2);
    void enableSelect(bool state);
    virtual void selectMarker(bool state);

protected:
    // When the marker cross is drawn.
    enum class MarkerRule
    {
        WithPixelInfo, // a marker is set and the pixel window is open
        Always,        // a marker is set
        Never
    };

    // Connects the reply of the view's picture controller to its decoder and the decoder's
    // result to updateGUI(), each through arm(), so that disconnectSlots() undoes them.
    virtual void connectDecoder() = 0;
    // Post-processes and paints the decoded frame (showPicture() for each picture).
    virtual void paintFrame() = 0;
    // Hands the hovered pixel's values to the pixel window.
    virtual void updatePixelInfo() {}
    // Feeds the pixel scope; by default the values of the field given to setScopeField().
    virtual void updatePixelScope();
    // Whether a frame updates the pixel window.
    virtual bool pixelInfoDue() const { return pixelInfoShown; }

    void arm(const QMetaObject::Connection& connection) { armed.push_back(connection); }
    // The usual chain: reply -> decoder's updateData(), decoder's finished() -> updateGUI().
    template <class Decoder>
    void armDecoder(Decoder* decoder)
    {
        arm(connect(picture, &ControllerPicture::pictureReady, decoder, &Decoder::updateData));
        arm(connect(decoder, &Decoder::finished, this, &ImageViewBase::updateGUI));
    }

    // Registers a picture label and its corner numbers (top, bottom, left, right). With
    // `fitWidth` the pixmaps are fitted to the label width here, keeping the aspect ratio,
    // instead of being scaled by the label.
    void addPicture(ZelLabel* label, QLabel* top, QLabel* bottom, QLabel* left, QLabel* right,
                    bool fitWidth = false);
    // The pixel statistics window (owned by the view from here on); `statisticsClear` is what
    // a lock of the fields clears, when the window keeps statistics.
    void setPixelWindow(QWidget* window, std::function<void(bool)> statisticsClear = {});
    // The pixel scope (owned by the view from here on), the field it shows by default and how
    // an entry of that field becomes a shown value (unchanged without `convert`).
    void setPixelScope(InfoPixelScope* scope, const DataPixelfield* field = nullptr,
                       std::function<int(int)> convert = {});
    void setMarkerRule(MarkerRule rule, const QColor& color);
    // The view follows the hover and the marker from now on, whether its window is open or not.
    void followPixelAlways();
    // Shift-dragging on the first picture selects a new ROI, unless emulation forbids it.
    void enableRegionSelection();
    // Deletes the pixel window and the pixel scope (the destructors' tear-down).
    void deleteWindows();

    // Sends the frame command.
    void requestFrame();
    // Tells the acquisition loop that the next request may go out, unless the temperature
    // poll after the frame does that.
    void releaseLoop();
    // Mirrors `image` into picture `index` and shows it, with the marker cross when the rule
    // says so.
    void showPicture(int index, const QImage& image);
    // Paints `field` under min ... max with the mapping `type`, marks the bad pixels in
    // `badPixelColor` when pixel interpolation is on, and shows the result as picture `index`.
    void showField(int index, const DataPixelfield& field, int min, int max, int type,
                   const QColor& badPixelColor = viewBadPixelColor());
    // Picture `index` white: the frame holds nothing for it.
    void showBlank(int index);
    // The legend bar of mapping `type`; converted only when the type changes.
    void showLegend(QLabel* legendLabel, int type);
    // Sets or clears the marker; while acquisition is stopped a set marker fetches a frame, so
    // that the cross appears at once.
    void setMarker(bool state);
    // The hovered position in sensor pixels as shown (mirrored) and as stored in the fields.
    QPoint shownPixel() const;
    QPoint hoveredPixel() const;

    // The entry at a sensor position, or no data when the field does not reach it.
    static int valueAt(const DataPixelfield& field, const QPoint& position);

    int sensorWidth() const;
    int sensorHeight() const;
    bool isSmallSensor() const;

    bool eventFilter(QObject* watched, QEvent* event) override;

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
    struct Picture
    {
        ZelLabel* label = nullptr;
        std::array<QLabel*, 4> corners{};
        bool fitWidth = false;
        QImage displayed;
    };

    void show(Picture& shown);
    void drawMarkerCross(QPixmap& pixmap) const;
    bool markerDrawn() const;
    void connectPixelFollowing(bool follow);
    // True (once) when the flips or the sensor size changed since the last call: the corner
    // numbers are rewritten only then.
    bool cornersChanged();
    void mapHover(int x, int y);
    void selectRegion(int x1, int x2, int y1, int y2);

    std::vector<Picture> pictures;
    std::vector<QMetaObject::Connection> armed;
    QWidget* pixelWindow = nullptr;
    std::function<void(bool)> clearStatistics;
    QMetaObject::Connection statisticsConnection;
    InfoPixelScope* pixelScope = nullptr;
    const DataPixelfield* scopeField = nullptr;
    std::function<int(int)> scopeConvert;
    QVector<int> scopeValues;
    MarkerRule markerRule = MarkerRule::WithPixelInfo;
    QColor markerColor = viewMarkerColor();
    bool followsAlways = false;
    int cornerKey = -1;
    int legendType = -1;
};
