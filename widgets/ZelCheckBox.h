#pragma once

#include <QCheckBox>

// The program's check box: a click toggles it without taking the keyboard focus from a
// field being edited.
class ZelCheckBox final : public QCheckBox
{
    Q_OBJECT

public:
    explicit ZelCheckBox(QWidget* parent = nullptr);
    ~ZelCheckBox() override;
};
