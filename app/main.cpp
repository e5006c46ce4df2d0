#include "app/Resources.h"
#include "app/Trace.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPixmap>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    Trace::enableFromEnvironment();
    Resources::initialize();

    QFile styleSheet(QStringLiteral(":/stylesheets/main.qss"));
    if (styleSheet.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = styleSheet.readAll();
        application.setStyleSheet(QString::fromUtf8(bytes.left(bytes.indexOf('\0'))));
    }

    QLabel window;
    window.setWindowTitle(QStringLiteral("Kestrane TOF Imager"));
    window.setPixmap(QPixmap(QStringLiteral(":/splash_screen/images/splash_screen/splash_screen.png")));
    window.show();
    return application.exec();
}
