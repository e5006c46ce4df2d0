#pragma once

#include <QDialog>

namespace Ui {
class DialogOK;
}

// The message dialog of the whole program: a picture for the kind of message, the text and
// an OK button. Callers run it modally with exec() and may set the window title.
class DialogOK final : public QDialog
{
    Q_OBJECT

public:
    enum Kind
    {
        Success = 0,
        Failure = 1,
        Important = 2
    };

    DialogOK(int kind, const QString& message, QWidget* parent = nullptr);
    ~DialogOK() override;

    QString message() const;

private slots:
    void on_tbOK_clicked();

private:
    Ui::DialogOK* ui;
};
