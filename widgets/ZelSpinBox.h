#pragma once

#include <QSpinBox>

// The program's spin box for the settings panels, which sit in a scroll area: the wheel
// never changes the value (it scrolls the area) and does not give the focus; tab and click do.
class ZelSpinBox final : public QSpinBox
{
    Q_OBJECT

public:
    explicit ZelSpinBox(QWidget* parent = nullptr);
    ~ZelSpinBox() override;
};
