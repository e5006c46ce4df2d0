#include "app/MessageAutoCloser.h"

#include "app/Trace.h"
#include "widgets/DialogOK.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

#include <cstdio>

MessageAutoCloser::MessageAutoCloser(QObject* parent) : QObject(parent)
{
}

MessageAutoCloser::~MessageAutoCloser()
{
    ZTRACE() << "***MessageAutoCloser destroyed";
}

bool MessageAutoCloser::requested()
{
    const QByteArray value = qgetenv("KESTRANE_NONINTERACTIVE");
    return !value.isEmpty() && value != "0";
}

void MessageAutoCloser::install()
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool MessageAutoCloser::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        if (auto* dialog = qobject_cast<DialogOK*>(watched)) {
            const QString line = QStringLiteral("kestrane: message [") + dialog->windowTitle() +
                                 QStringLiteral("] ") + dialog->message();
            ZTRACE() << line;
            std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
            std::fflush(stderr);
            QPointer<DialogOK> guarded(dialog);
            QTimer::singleShot(closeAfterMs, this, [guarded]() {
                if (guarded)
                    guarded->close();
            });
        }
    }
    return QObject::eventFilter(watched, event);
}
