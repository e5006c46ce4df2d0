#include "app/MakerWebSite.h"

#include <QDesktopServices>
#include <QUrl>

namespace MakerWebSite {

QUrl url()
{
    return QUrl(QStringLiteral("https://www.kestrane.example/"));
}

void open()
{
    QDesktopServices::openUrl(url());
}

} // namespace MakerWebSite
