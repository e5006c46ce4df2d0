#include "SignalLog.h"

#include <QVariant>

SignalLog::SignalLog(QObject* sender)
{
    watch(sender);
}

SignalLog::SignalLog(std::initializer_list<QObject*> senders)
{
    for (QObject* sender : senders)
        watch(sender);
}

void SignalLog::watch(QObject* sender)
{
    const QMetaObject* meta = sender->metaObject();
    const int slotBase = QObject::staticMetaObject.methodCount();
    for (int i = QObject::staticMetaObject.methodCount(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() != QMetaMethod::Signal)
            continue;
        Recorded recorded{method, {}};
        for (int p = 0; p < method.parameterCount(); ++p) {
            // Enum arguments get their type id registered the way QSignalSpy does it.
            int type = method.parameterType(p);
            if (type == QMetaType::UnknownType) {
                void* argv[] = {&type, &p};
                QMetaObject::metacall(sender, QMetaObject::RegisterMethodArgumentMetaType, i, argv);
            }
            recorded.types.append(type);
        }
        QMetaObject::connect(sender, i, this, slotBase + m_signals.size(), Qt::DirectConnection);
        m_signals.append(recorded);
    }
}

QStringList SignalLog::declaredSignals(const QMetaObject& metaObject)
{
    QStringList names;
    for (int i = metaObject.methodOffset(); i < metaObject.methodCount(); ++i) {
        const QMetaMethod method = metaObject.method(i);
        if (method.methodType() == QMetaMethod::Signal)
            names.append(QString::fromLatin1(method.methodSignature()));
    }
    return names;
}

int SignalLog::qt_metacall(QMetaObject::Call call, int id, void** arguments)
{
    id = QObject::qt_metacall(call, id, arguments);
    if (id < 0 || call != QMetaObject::InvokeMetaMethod)
        return id;
    if (id < m_signals.size()) {
        const Recorded& recorded = m_signals.at(id);
        const QMetaMethod& method = recorded.method;
        QStringList values;
        for (int p = 0; p < recorded.types.size(); ++p) {
            const QVariant value(recorded.types.at(p), arguments[p + 1]);
            const QString text = value.toString();
            values.append(text.isEmpty() ? QString::number(value.toInt()) : text);
        }
        m_entries.append(QString::fromLatin1(method.name()) + QLatin1Char('(') +
                         values.join(QLatin1String(", ")) + QLatin1Char(')'));
    }
    return id - m_signals.size();
}
