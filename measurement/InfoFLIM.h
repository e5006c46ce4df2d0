#pragma once

#include <QWidget>

namespace Ui {
class InfoFLIM;
}

// The FLIM view's pixel window: the two gate samples mga and mgb of one pixel.
class InfoFLIM final : public QWidget
{
    Q_OBJECT

public:
    explicit InfoFLIM(QWidget* parent = nullptr);
    ~InfoFLIM() override;

    void setPixel(int x, int y);
    // Each shown from 0 to 2047, else "N/A".
    void setMga(int value);
    void setMgb(int value);

private:
    Ui::InfoFLIM* ui;
};
