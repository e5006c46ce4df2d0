#include "SignalLog.h"

#include <QMetaEnum>
#include <QVariant>

#include <cstring>

namespace {

// Enumerations show as their key (a Q_ENUM the variant cannot convert), other values as the
// variant's text.
QString argumentText(int type, const void* argument)
{
    if (QMetaType::typeFlags(type) & QMetaType::IsEnumeration) {
        int value = 0;
        std::memcpy(&value, argument, size_t(qMin(QMetaType::sizeOf(type), int(sizeof value))));
        const QByteArray typeName = QMetaType::typeName(type);
        const QByteArray enumName = typeName.mid(typeName.lastIndexOf(':') + 1);
        if (const QMetaObject* meta = QMetaType::metaObjectForType(type)) {
            const int index = meta->indexOfEnumerator(enumName.constData());
            if (index >= 0 && meta->enumerator(index).valueToKey(value))
                return QString::fromLatin1(meta->enumerator(index).valueToKey(value));
        }
        return QString::number(value);
    }
    return QVariant(type, argument).toString();
}

} // namespace

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
                if (type <= 0)
                    type = QMetaType::type(method.parameterTypes().at(p).constData());
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
        for (int p = 0; p < recorded.types.size(); ++p)
            values.append(argumentText(recorded.types.at(p), arguments[p + 1]));
        m_entries.append(QString::fromLatin1(method.name()) + QLatin1Char('(') +
                         values.join(QLatin1String(", ")) + QLatin1Char(')'));
    }
    return id - m_signals.size();
}
