#pragma once

#include <QMainWindow>

namespace Ui {
class DialogProgress;
}

// Application-modal progress window with a title bar but no close, minimise or maximise
// buttons, so that a long camera operation cannot be dismissed. A range of 0 to 0 shows the
// busy indicator. Callers show() and close() it.
class DialogProgress final : public QMainWindow
{
    Q_OBJECT

public:
    DialogProgress(const QString& message, QWidget* parent = nullptr);
    ~DialogProgress() override;

    void setMinimum(int minimum);
    void setMaximum(int maximum);
    void setValue(int value);

private:
    Ui::DialogProgress* ui;
};
