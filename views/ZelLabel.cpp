#include "views/ZelLabel.h"

#include "app/Trace.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPixmap>
#include <QRubberBand>

#include <algorithm>
#include <cmath>

namespace {

QCursor makeCrosshair()
{
    const QPixmap picture(QStringLiteral(":/cursors/cursor_crosshair.png"));
    if (picture.isNull())
        return QCursor(Qt::CrossCursor);
    return QCursor(picture, picture.width() / 2, picture.height() / 2);
}

} // namespace

ZelLabel::ZelLabel(QWidget* parent)
    : QLabel(parent)
    , m_crosshair(makeCrosshair())
    , m_rubberBand(new QRubberBand(QRubberBand::Rectangle, this))
{
    m_rubberBand->hide();
    setMouseTracking(true);
    setMinimumSize(1, 1);
}

ZelLabel::~ZelLabel()
{
    ZTRACE() << "-----ZelLabel destroying";
    ZTRACE() << "-----ZelLabel destroyed";
}

int ZelLabel::roundedPosition(qreal value)
{
    return static_cast<int>(std::floor(value + 0.5));
}

void ZelLabel::enableSelect(bool state)
{
    m_selecting = false;
    m_selectionEnabled = state;
    // A cancelled drag leaves no outline behind.
    m_rubberBand->hide();
}

void ZelLabel::enterEvent(QEvent* event)
{
    Q_UNUSED(event)
    setCursor(m_crosshair);
}

void ZelLabel::leaveEvent(QEvent* event)
{
    Q_UNUSED(event)
}

void ZelLabel::mouseMoveEvent(QMouseEvent* event)
{
    const int x = roundedPosition(event->localPos().x());
    const int y = roundedPosition(event->localPos().y());
    if (m_pressed && m_selecting && m_selectionEnabled) {
        m_currentX = x;
        m_left = std::min(m_pressX, x);
        m_right = std::max(m_pressX, x);
        if (isSmallSensor())
            return;
        // The vertical extent stays as the press fixed it; only the width follows the mouse.
        m_top = std::min(m_pressY, m_mirroredY);
        m_bottom = std::max(m_pressY, m_mirroredY);
        m_left = std::max(m_left, 0);
        m_right = std::min(m_right, width());
        m_top = std::max(m_top, 0);
        m_bottom = std::min(m_bottom, height());
        m_rubberBand->setGeometry(QRect(QPoint(m_left, m_top), QPoint(m_right - 1, m_bottom - 1)));
        m_rubberBand->show();
    }
    // A marker freezes the readouts on its pixel.
    if (!m_markerMode && !m_timeScopeMode)
        emit mouseHover(x, y);
}

void ZelLabel::mousePressEvent(QMouseEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers == Qt::ControlModifier) {
        m_markerMode = true;
        m_timeScopeMode = false;
    } else if (modifiers == Qt::AltModifier) {
        m_timeScopeMode = true;
        m_markerMode = false;
    } else if (modifiers == Qt::ShiftModifier) {
        if (isSmallSensor())
            return;
        emit selectMarker(false);
        m_pressed = true;
        m_selecting = true;
        m_pressX = roundedPosition(event->localPos().x());
        m_pressY = roundedPosition(event->localPos().y());
        m_mirroredY = height() - m_pressY;
        // A Shift click without a move reports the empty region at the press point, not the
        // region of an earlier drag.
        m_currentX = m_pressX;
        m_left = std::max(m_pressX, 0);
        m_right = std::min(m_pressX, width());
        m_top = std::max(std::min(m_pressY, m_mirroredY), 0);
        m_bottom = std::min(std::max(m_pressY, m_mirroredY), height());
    } else {
        m_markerMode = false;
        m_timeScopeMode = false;
        emit selectMarker(false);
    }
}

void ZelLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const int x = roundedPosition(event->localPos().x());
    const int y = roundedPosition(event->localPos().y());
    if (event->button() == Qt::RightButton) {
        savePicture();
    } else if (event->button() == Qt::LeftButton && m_selectionEnabled && m_pressed && !isSmallSensor()) {
        m_pressed = false;
        m_selecting = false;
        m_markerMode = false;
        m_timeScopeMode = false;
        m_rubberBand->hide();
        emit selectMarker(false);
        emit regionSelected(m_left, m_right, m_top, m_bottom);
    }
    if (m_timeScopeMode) {
        emit mouseHover(x, y);
        emit selectMarker(true);
        emit checkTimeScope(true);
    } else if (m_markerMode) {
        emit mouseHover(x, y);
        emit selectMarker(true);
    }
}

void ZelLabel::savePicture()
{
    const QPixmap picture = pixmap(Qt::ReturnByValue);
    QString fileName = QFileDialog::getSaveFileName(this, QStringLiteral("save image as"), QString(),
                                                    QStringLiteral(".png"));
    if (fileName.isEmpty())
        return;
    // The format follows the suffix; a name typed without one would save nothing.
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QLatin1String(".png");
    picture.save(fileName);
}
