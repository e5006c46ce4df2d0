// Draws every icon, picture and cursor of the client into resources/images.
// Run through scripts/artwork; the PNG files it writes are committed, so a build never
// depends on running it. Change a drawing here and rerun to restyle the artwork.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <cmath>
#include <functional>

namespace {

const QColor kBlue(35, 142, 194);
const QColor kDarkBlue(41, 87, 126);
const QColor kGreen(84, 141, 105);
const QColor kRed(251, 34, 50);
const QColor kAmber(255, 170, 0);
const QColor kInk(40, 44, 52);
const QColor kPaper(250, 250, 250);

using Drawing = std::function<void(QPainter&, const QRectF&)>;

QString gOutput;

bool save(const QString& relativePath, QSize size, const Drawing& draw)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    const QString path = gOutput + QLatin1Char('/') + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG")) {
        QTextStream(stderr) << "cannot write " << path << '\n';
        return false;
    }
    QTextStream(stdout) << path << '\n';
    return true;
}

QPen pen(const QColor& color, qreal width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void disc(QPainter& p, const QRectF& r, const QColor& fill)
{
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawEllipse(r.adjusted(2, 2, -2, -2));
}

void centredText(QPainter& p, const QRectF& r, const QString& text, int pixelSize, const QColor& color,
                 bool bold = true)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    p.setFont(font);
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter, text);
}

// --- dialog and view icons (48 x 48) -------------------------------------------------

void successful(QPainter& p, const QRectF& r)
{
    disc(p, r, kGreen);
    p.setPen(pen(Qt::white, 5));
    p.drawPolyline(QPolygonF({QPointF(13, 25), QPointF(21, 33), QPointF(35, 16)}));
}

void failed(QPainter& p, const QRectF& r)
{
    disc(p, r, kRed);
    p.setPen(pen(Qt::white, 5));
    p.drawLine(QPointF(16, 16), QPointF(32, 32));
    p.drawLine(QPointF(32, 16), QPointF(16, 32));
}

void important(QPainter& p, const QRectF&)
{
    QPainterPath triangle;
    triangle.moveTo(24, 4);
    triangle.lineTo(45, 42);
    triangle.lineTo(3, 42);
    triangle.closeSubpath();
    p.setPen(pen(kInk, 2));
    p.setBrush(kAmber);
    p.drawPath(triangle);
    p.setPen(pen(kInk, 5));
    p.drawLine(QPointF(24, 16), QPointF(24, 29));
    p.drawPoint(QPointF(24, 36));
}

void info(QPainter& p, const QRectF& r)
{
    disc(p, r, kBlue);
    p.setPen(pen(Qt::white, 5));
    p.drawPoint(QPointF(24, 14));
    p.drawLine(QPointF(24, 22), QPointF(24, 35));
}

void videoStart(QPainter& p, const QRectF&)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(14, 9), QPointF(39, 24), QPointF(14, 39)}));
}

void videoStop(QPainter& p, const QRectF&)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(12, 12, 24, 24), 3, 3);
}

void picture(QPainter& p, const QRectF&)
{
    p.setPen(pen(kInk, 2.5));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(4, 13, 40, 27), 4, 4);
    p.drawRect(QRectF(15, 8, 14, 6));
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(24, 26), 8, 8);
}

void arrowLine(QPainter& p, QPointF from, QPointF to)
{
    p.setPen(pen(kInk, 3));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    for (const QPointF& tip : {from, to}) {
        const QPointF back = tip == to ? -d : d;
        p.drawLine(tip, tip + back * 8 + n * 6);
        p.drawLine(tip, tip + back * 8 - n * 6);
    }
}

void horizontal(QPainter& p, const QRectF&)
{
    arrowLine(p, QPointF(5, 24), QPointF(43, 24));
}

void vertical(QPainter& p, const QRectF&)
{
    arrowLine(p, QPointF(24, 5), QPointF(24, 43));
}

void key(QPainter& p, const QRectF& r, const QString& label)
{
    p.setPen(pen(kInk, 2));
    p.setBrush(kPaper);
    p.drawRoundedRect(r.adjusted(3, 8, -3, -8), 6, 6);
    centredText(p, r.adjusted(3, 8, -3, -8), label, 14, kInk);
}

void mouse(QPainter& p, bool leftButton)
{
    p.setPen(pen(kInk, 2));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(12, 4, 24, 40), 12, 12);
    p.drawLine(QPointF(12, 20), QPointF(36, 20));
    p.drawLine(QPointF(24, 4), QPointF(24, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    if (leftButton)
        p.drawPie(QRectF(13, 5, 22, 30), 90 * 16, 90 * 16);
    else
        p.drawRoundedRect(QRectF(21, 8, 6, 9), 3, 3);
}

// --- tool bar (64 x 64, normal / disabled / hover) ------------------------------------

enum class ToolState
{
    Normal,
    Disabled,
    Hover
};

QColor toolColor(ToolState state)
{
    switch (state) {
    case ToolState::Disabled:
        return QColor(160, 162, 165);
    case ToolState::Hover:
        return QColor(255, 214, 106);
    case ToolState::Normal:
        break;
    }
    return Qt::white;
}

void toolSettings(QPainter& p, QColor c)
{
    p.setPen(pen(c, 5));
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(32, 32);
        p.rotate(i * 45);
        p.drawLine(QPointF(0, -14), QPointF(0, -22));
        p.restore();
    }
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(32, 32), 12, 12);
}

void toolCommand(QPainter& p, QColor c)
{
    p.setPen(pen(c, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(8, 12, 48, 40), 4, 4);
    p.setPen(pen(c, 4));
    p.drawPolyline(QPolygonF({QPointF(16, 24), QPointF(24, 31), QPointF(16, 38)}));
    p.drawLine(QPointF(29, 40), QPointF(44, 40));
}

void toolView(QPainter& p, QColor c)
{
    p.setPen(pen(c, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(6, 18, 44, 30), 5, 5);
    p.drawEllipse(QPointF(28, 33), 9, 9);
    p.drawPolyline(QPolygonF({QPointF(50, 27), QPointF(59, 21), QPointF(59, 45), QPointF(50, 39)}));
}

void toolLog(QPainter& p, QColor c)
{
    p.setPen(pen(c, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(14, 6, 36, 52), 3, 3);
    for (int y = 18; y <= 42; y += 8)
        p.drawLine(QPointF(21, y), QPointF(43, y));
    p.setBrush(c);
    p.drawEllipse(QPointF(44, 48), 6, 6);
}

void toolCalibration(QPainter& p, QColor c)
{
    p.setPen(pen(c, 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(32, 32), 22, 22);
    p.drawEllipse(QPointF(32, 32), 10, 10);
    p.drawLine(QPointF(32, 4), QPointF(32, 16));
    p.drawLine(QPointF(32, 48), QPointF(32, 60));
    p.drawLine(QPointF(4, 32), QPointF(16, 32));
    p.drawLine(QPointF(48, 32), QPointF(60, 32));
}

void toolSaveLoad(QPainter& p, QColor c)
{
    p.setPen(pen(c, 3));
    p.setBrush(Qt::NoBrush);
    QPainterPath disk;
    disk.moveTo(10, 8);
    disk.lineTo(46, 8);
    disk.lineTo(56, 18);
    disk.lineTo(56, 56);
    disk.lineTo(10, 56);
    disk.closeSubpath();
    p.drawPath(disk);
    p.drawRect(QRectF(20, 8, 22, 14));
    p.drawRect(QRectF(18, 34, 30, 22));
}

// --- pictures --------------------------------------------------------------------------

void logo(QPainter& p, const QRectF& r)
{
    p.fillRect(r, Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(10, 15, 40, 40));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(20, 25, 20, 20));
    p.setBrush(kDarkBlue);
    p.drawEllipse(QRectF(26, 31, 8, 8));
    centredText(p, QRectF(52, 14, 84, 26), QStringLiteral("KESTRANE"), 15, kDarkBlue);
    centredText(p, QRectF(52, 38, 84, 18), QStringLiteral("TOF imaging"), 11, kBlue, false);
}

void splash(QPainter& p, const QRectF& r)
{
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, kDarkBlue);
    sky.setColorAt(1, kBlue);
    p.fillRect(r, sky);
    // A distance-coded wave front: near is red, far is blue, as in the distance view.
    for (int i = 0; i < 7; ++i) {
        QColor ring = QColor::fromHsv(i * 40, 200, 255);
        ring.setAlpha(160);
        p.setPen(pen(ring, 6));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(-120 + i * 0, 60 - i * 28, 300 + i * 56, 300 + i * 56), -60 * 16, 120 * 16);
    }
    centredText(p, QRectF(0, 70, r.width(), 60), QStringLiteral("Kestrane TOF Imager"), 34, Qt::white);
    centredText(p, QRectF(0, 130, r.width(), 30), QStringLiteral("ZMU time-of-flight camera client"), 16,
                QColor(230, 240, 248), false);
    centredText(p, QRectF(0, r.height() - 50, r.width(), 30), QStringLiteral("Connecting ..."), 14,
                QColor(255, 214, 106), false);
}

void crosshair(QPainter& p, const QRectF&)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const auto& [color, width] : {std::pair<QColor, int>{Qt::white, 3}, {Qt::black, 1}}) {
        p.setPen(QPen(color, width));
        p.drawLine(16, 2, 16, 12);
        p.drawLine(16, 20, 16, 30);
        p.drawLine(2, 16, 12, 16);
        p.drawLine(20, 16, 30, 16);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawRect(15, 15, 2, 2);
}

void spinArrow(QPainter& p, bool up, const QColor& color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    if (up)
        p.drawPolygon(QPolygonF({QPointF(1, 6), QPointF(5, 1), QPointF(9, 6)}));
    else
        p.drawPolygon(QPolygonF({QPointF(1, 1), QPointF(5, 6), QPointF(9, 1)}));
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    gOutput = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources/images");

    const QSize icon(48, 48);
    bool ok = true;
    ok &= save(QStringLiteral("icons/successful.png"), icon, successful);
    ok &= save(QStringLiteral("icons/failed.png"), icon, failed);
    ok &= save(QStringLiteral("icons/important.png"), icon, important);
    ok &= save(QStringLiteral("icons/info.png"), icon, info);
    ok &= save(QStringLiteral("icons/videoStart.png"), icon, videoStart);
    ok &= save(QStringLiteral("icons/videoStop.png"), icon, videoStop);
    ok &= save(QStringLiteral("icons/picture.png"), icon, picture);
    ok &= save(QStringLiteral("icons/horizontal.png"), icon, horizontal);
    ok &= save(QStringLiteral("icons/vertical.png"), icon, vertical);
    ok &= save(QStringLiteral("icons/shift.png"), icon,
               [](QPainter& p, const QRectF& r) { key(p, r, QStringLiteral("Shift")); });
    ok &= save(QStringLiteral("icons/key_alt.png"), icon,
               [](QPainter& p, const QRectF& r) { key(p, r, QStringLiteral("Alt")); });
    ok &= save(QStringLiteral("icons/key_ctrl.png"), icon,
               [](QPainter& p, const QRectF& r) { key(p, r, QStringLiteral("Ctrl")); });
    ok &= save(QStringLiteral("icons/mouse_left.png"), icon,
               [](QPainter& p, const QRectF&) { mouse(p, true); });
    ok &= save(QStringLiteral("icons/mouse_middle.png"), icon,
               [](QPainter& p, const QRectF&) { mouse(p, false); });

    const std::pair<const char*, void (*)(QPainter&, QColor)> tools[] = {
        {"settings", toolSettings}, {"command", toolCommand},         {"view", toolView},
        {"log", toolLog},           {"calibration", toolCalibration}, {"save_load", toolSaveLoad}};
    const std::pair<const char*, ToolState> states[] = {
        {"", ToolState::Normal}, {"_disabled", ToolState::Disabled}, {"_hover", ToolState::Hover}};
    for (const auto& [name, draw] : tools) {
        for (const auto& [suffix, state] : states) {
            const QString path =
                QStringLiteral("toolbar/%1%2.png").arg(QLatin1String(name), QLatin1String(suffix));
            auto drawTool = draw;
            const QColor color = toolColor(state);
            ok &= save(path, QSize(64, 64),
                       [drawTool, color](QPainter& p, const QRectF&) { drawTool(p, color); });
        }
    }

    ok &= save(QStringLiteral("splash_screen/splash_screen.png"), QSize(480, 270), splash);
    ok &= save(QStringLiteral("logo/logo.png"), QSize(140, 70), logo);
    ok &= save(QStringLiteral("cursors/cursor_crosshair.png"), QSize(32, 32), crosshair);
    ok &= save(QStringLiteral("controls/spin_up.png"), QSize(10, 7),
               [](QPainter& p, const QRectF&) { spinArrow(p, true, kInk); });
    ok &= save(QStringLiteral("controls/spin_down.png"), QSize(10, 7),
               [](QPainter& p, const QRectF&) { spinArrow(p, false, kInk); });
    ok &= save(QStringLiteral("controls/spin_up_disabled.png"), QSize(10, 7),
               [](QPainter& p, const QRectF&) { spinArrow(p, true, QColor(170, 170, 170)); });
    ok &= save(QStringLiteral("controls/spin_down_disabled.png"), QSize(10, 7),
               [](QPainter& p, const QRectF&) { spinArrow(p, false, QColor(170, 170, 170)); });
    return ok ? 0 : 1;
}
