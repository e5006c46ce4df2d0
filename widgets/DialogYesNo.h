#pragma once

#include <QDialog>

namespace Ui {
class DialogYesNo;
}

// The program's question: an information picture, the message and OK / Cancel. Callers run
// it with exec() and go on only when it returns Accepted; they may change its width and title.
class DialogYesNo final : public QDialog
{
    Q_OBJECT

public:
    DialogYesNo(const QString& message, QWidget* parent = nullptr);
    ~DialogYesNo() override;

private:
    Ui::DialogYesNo* ui;
};
