#pragma once

#include <QApplication>
#include <QByteArray>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

// Helpers of the image-view tests.
namespace ViewTest {

// `count` little-endian 16-bit words, all `value`.
inline QByteArray words(int count, int value)
{
    QByteArray bytes(count * 2, Qt::Uninitialized);
    for (int i = 0; i < count; ++i) {
        bytes[2 * i] = char(value & 0xff);
        bytes[2 * i + 1] = char((value >> 8) & 0xff);
    }
    return bytes;
}

// The picture a label shows, as 32-bit RGB.
inline QImage shown(const QLabel* label)
{
    return label->pixmap(Qt::ReturnByValue).toImage().convertToFormat(QImage::Format_RGB32);
}

inline bool allWhite(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return false;
    return !image.isNull();
}

// Number of pixels where the two pictures differ (sizes must match; -1 when they do not).
inline int differingPixels(const QImage& a, const QImage& b)
{
    const QImage left = a.convertToFormat(QImage::Format_RGB32);
    const QImage right = b.convertToFormat(QImage::Format_RGB32);
    if (left.size() != right.size())
        return -1;
    int count = 0;
    for (int y = 0; y < left.height(); ++y)
        for (int x = 0; x < left.width(); ++x)
            if (left.pixel(x, y) != right.pixel(x, y))
                ++count;
    return count;
}

// Answers the next modal message box: records its text and presses OK.
struct ModalAnswer
{
    QString text;
    bool seen = false;
    // The timers die with this object.
    QObject guard;

    void arm()
    {
        QTimer::singleShot(50, &guard, [this] { answer(); });
    }
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            QTimer::singleShot(50, &guard, [this] { answer(); });
            return;
        }
        seen = true;
        if (auto* message = modal->findChild<QLabel*>(QStringLiteral("lMessage")))
            text = message->text();
        if (auto* ok = modal->findChild<QToolButton*>(QStringLiteral("tbOK")))
            ok->click();
        else
            modal->close();
    }
};

} // namespace ViewTest
