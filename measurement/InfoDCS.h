#pragma once

#include <QWidget>

class QLabel;
namespace Ui {
class InfoDCS;
}

// The DCS view's pixel window: the four correlation samples of one pixel, each re-centred
// on 0 by the caller.
class InfoDCS final : public QWidget
{
    Q_OBJECT

public:
    explicit InfoDCS(QWidget* parent = nullptr);
    ~InfoDCS() override;

    void setPixel(int x, int y);
    // Each shown from -2048 to 2047, else "N/A".
    void setDCS0(int value);
    void setDCS1(int value);
    void setDCS2(int value);
    void setDCS3(int value);

private:
    void setSample(int index, int value);

    Ui::InfoDCS* ui;
    QLabel* samples[4];
};
