#include "measurement/TemperatureWindow.h"

#include "app/Trace.h"
#include "settings/Settings.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TemperatureWindow::TemperatureWindow(Settings* settings, QWidget* parent)
    : QWidget(parent), settings(settings)
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Temperature"));

    auto* chipPanel = new QFrame(this);
    chipPanel->setObjectName(QStringLiteral("fChip"));
    chipPanel->setStyleSheet(QStringLiteral("QFrame#fChip { background-color: rgb(250, 250, 250); }"));
    chip = new QGridLayout(chipPanel);
    auto* chipHeading = new QLabel(QStringLiteral("CHIP"), chipPanel);
    chipHeading->setObjectName(QStringLiteral("lTempChip"));
    chip->addWidget(chipHeading, 0, 0, 1, 3);

    auto* boardPanel = new QFrame(this);
    boardPanel->setObjectName(QStringLiteral("fIlluminationBoard"));
    boardPanel->setStyleSheet(QStringLiteral("QWidget { background-color: rgb(41, 87, 126); color: white; } "
                                             "QLineEdit { background-color: white; color: black; }"));
    auto* board = new QGridLayout(boardPanel);
    auto* boardHeading = new QLabel(QStringLiteral("ILLUMINATION BOARD"), boardPanel);
    boardHeading->setObjectName(QStringLiteral("lTempIlluminationBoard"));
    board->addWidget(boardHeading, 0, 0, 1, 2);
    board->addWidget(new QLabel(QStringLiteral("top"), boardPanel), 1, 0);
    upper = addField(board, 1, 1, QStringLiteral("leUpper"));
    board->addWidget(new QLabel(QStringLiteral("bottom"), boardPanel), 2, 0);
    lower = addField(board, 2, 1, QStringLiteral("leLower"));

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    page->addWidget(chipPanel);
    page->addWidget(boardPanel);
}

TemperatureWindow::~TemperatureWindow()
{
    ZTRACE() << "-----InfoTemperature destroying";
}

QLineEdit* TemperatureWindow::addField(QGridLayout* grid, int row, int column, const QString& name)
{
    auto* field = new QLineEdit(grid->parentWidget());
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignRight);
    field->setMaximumWidth(80);
    grid->addWidget(field, row, column);
    return field;
}

void TemperatureWindow::setActive(bool on)
{
    if (on) {
        show();
        connect(settings, &Settings::temperaturesChanged, this, &TemperatureWindow::updateTemperatures,
                Qt::UniqueConnection);
    } else {
        disconnect(settings, &Settings::temperaturesChanged, this, &TemperatureWindow::updateTemperatures);
        close();
    }
}

QString TemperatureWindow::temperatureText(int tenths)
{
    return QString::number(tenths / 10.0, 'f', 1) + QStringLiteral("°C ");
}
