#include "widgets/DirectoryChooser.h"

#include <QFileDialog>

namespace DirectoryChooser {

QString choose(QWidget* parent, const QString& start)
{
    QFileDialog dialog(parent, QString(), start, QString());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace DirectoryChooser
