#pragma once

#include <QMainWindow>

namespace Ui {
class WindowControls;
}

// The point cloud's help window: the mouse and key gestures of the plot (zoom, scale, turn,
// move) as pictures. Closing it does not end the program.
class WindowControls final : public QMainWindow
{
    Q_OBJECT

public:
    explicit WindowControls(QWidget* parent = nullptr);
    ~WindowControls() override;

private:
    Ui::WindowControls* ui;
};
