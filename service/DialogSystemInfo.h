#pragma once

#include <QDialog>
#include <QVector>

#include <cstdint>

namespace Ui {
class DialogSystemInfo;
}
class Settings;

// The chip identification the camera reports ("getChipInfo"), with the client's and the
// server's versions. Shown without being modal; its values are set before each showing.
class DialogSystemInfo final : public QDialog
{
    Q_OBJECT

public:
    DialogSystemInfo(Settings* settings, QWidget* parent = nullptr);
    ~DialogSystemInfo() override;

    // The eight values in "getChipInfo" order; missing ones read as 0.
    void setInformation(QVector<uint16_t> information);

    // The sensor model of a part type: "zc210", "zc320", "zc310", "zc220" or "unknown".
    static QString chipName(int partType);

private:
    Ui::DialogSystemInfo* ui;
    Settings* settings;
};
