#pragma once

#include <QObject>

// Horizontal and vertical flips of the displayed image.
class SettingsTransformation final : public QObject
{
    Q_OBJECT

public:
    explicit SettingsTransformation(QObject* parent = nullptr);
    ~SettingsTransformation() override;

    bool horizontalFlip() const { return m_horizontalFlip; }
    bool verticalFlip() const { return m_verticalFlip; }

    void setHorizontalFlip(bool state);
    void setVerticalFlip(bool state);

signals:
    void horizontalFlipped(bool);
    void verticalFlipped(bool);

private:
    bool m_horizontalFlip = false;
    bool m_verticalFlip = false;
};
