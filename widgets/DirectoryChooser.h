#pragma once

#include <QString>

class QWidget;

namespace DirectoryChooser {

// The directory dialog of the logging controls (directories only, opened at `start`): the
// first chosen directory, or an empty string when the dialog is cancelled.
QString choose(QWidget* parent, const QString& start);

} // namespace DirectoryChooser
