#pragma once

#include <QObject>

class ApplicationContext;
class Settings;

// The image flips. Nothing goes to the camera: the views mirror the picture themselves, so
// the hub is written at once.
class ControllerTransformation final : public QObject
{
    Q_OBJECT

public:
    explicit ControllerTransformation(ApplicationContext* context);
    ~ControllerTransformation() override;

    void changeHorizontalFlip(bool on);
    void changeVerticalFlip(bool on);

private:
    Settings* settings;
};
