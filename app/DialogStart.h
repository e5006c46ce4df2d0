#pragma once

#include <QDialog>

class DialogOK;
class StartupManager;

namespace Ui {
class DialogStart;
}

// The start dialog: the camera's IP address and the choice between the default and the last
// configuration. Each button reruns the whole start-up sequence; after a failure the dialog
// stays open under the message so that the user can correct the address.
class DialogStart final : public QDialog
{
    Q_OBJECT

public:
    explicit DialogStart(StartupManager* startupManager, QWidget* parent = nullptr);
    ~DialogStart() override;

    QString address() const;
    // An address given on the command line: used for this run, not remembered.
    void overrideAddress(const QString& ip);
    // The message shown after the last failed attempt; null before the first.
    DialogOK* lastMessage() const { return message; }

    // Public because a start with command-line arguments presses them without the dialog.
public slots:
    void on_tbDefault_clicked();
    void on_tbLast_clicked();
    void on_tbLogo_clicked();
    void on_tbOffline_clicked();

private:
    enum class Button
    {
        Default,
        Last
    };
    void connectAndAccept(Button button);
    void showMessage(int kind, const QString& title, const QString& text);

    StartupManager* startupManager;
    Ui::DialogStart* ui;
    DialogOK* message = nullptr;
    bool rememberAddress = true;
};
