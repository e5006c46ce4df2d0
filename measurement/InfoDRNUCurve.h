#pragma once

#include "link/Replies.h"

#include <QWidget>

#include <cstdint>

class QLabel;

// The camera's DRNU corrections over the DLL step with their temperatures, filled by the view
// panel and the command console when a DRNU table arrives: values[0..49] are the corrections
// in mm, values[50..99] the temperatures in tenths of a degree Celsius.
//
// This window shows the range of the corrections and the first temperature; the plot comes
// with the full window.
class InfoDRNUCurve final : public QWidget
{
    Q_OBJECT

public:
    explicit InfoDRNUCurve(QWidget* parent = nullptr);
    ~InfoDRNUCurve() override;

    void plotValues();

    int16_t values[Replies::drnuTableCount] = {};

private:
    QLabel* figures;
};
