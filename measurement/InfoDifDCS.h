#pragma once

#include <QWidget>

namespace Ui {
class InfoDifDCS;
}

// The DCS-difference view's pixel window: DCS2 - DCS0 and DCS3 - DCS1 of one pixel, each
// re-centred on 0 by the caller.
class InfoDifDCS final : public QWidget
{
    Q_OBJECT

public:
    explicit InfoDifDCS(QWidget* parent = nullptr);
    ~InfoDifDCS() override;

    void setPixel(int x, int y);
    // Each shown from -4096 to 4095, else "N/A".
    void setDifDCS0(int value);
    void setDifDCS1(int value);

private:
    Ui::InfoDifDCS* ui;
};
