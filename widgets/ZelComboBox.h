#pragma once

#include <QComboBox>

// The program's combo box for the settings panels: the wheel never changes the selection
// (it scrolls the enclosing area), and a click opens the list without taking the keyboard
// focus from a field being edited.
class ZelComboBox final : public QComboBox
{
    Q_OBJECT

public:
    explicit ZelComboBox(QWidget* parent = nullptr);
    ~ZelComboBox() override;
};
