#pragma once

#include <QMetaEnum>
#include <QMetaMethod>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <cstring>
#include <initializer_list>

// Header-only so that each settings test executable compiles its own copy.
// Records every signal the given objects declare (their own classes', not QObject's) in
// emission order as "name(arg, ...)", so a test can compare a sequence of announcements
// across signals and objects, which QSignalSpy cannot. Connections are direct, like the
// hub's listeners.
class SignalLog final : public QObject
{
public:
    explicit SignalLog(QObject* sender);
    explicit SignalLog(std::initializer_list<QObject*> senders);

    const QStringList& entries() const { return m_entries; }
    void clear() { m_entries.clear(); }
    // The names of the signals in the sender's declaration order, with their signatures.
    static QStringList declaredSignals(const QMetaObject& metaObject);

    int qt_metacall(QMetaObject::Call call, int id, void** arguments) override;

private:
    struct Recorded
    {
        QMetaMethod method;
        QVector<int> types;
    };
    void watch(QObject* sender);

    QVector<Recorded> m_signals;
    QStringList m_entries;
};

namespace SignalLogDetail {

// Enumerations show as their key (a Q_ENUM the variant cannot convert), other values as the
// variant's text.
inline QString argumentText(int type, const void* argument)
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

} // namespace SignalLogDetail

inline SignalLog::SignalLog(QObject* sender)
{
    watch(sender);
}

inline SignalLog::SignalLog(std::initializer_list<QObject*> senders)
{
    for (QObject* sender : senders)
        watch(sender);
}

inline void SignalLog::watch(QObject* sender)
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

inline QStringList SignalLog::declaredSignals(const QMetaObject& metaObject)
{
    QStringList names;
    for (int i = metaObject.methodOffset(); i < metaObject.methodCount(); ++i) {
        const QMetaMethod method = metaObject.method(i);
        if (method.methodType() == QMetaMethod::Signal)
            names.append(QString::fromLatin1(method.methodSignature()));
    }
    return names;
}

inline int SignalLog::qt_metacall(QMetaObject::Call call, int id, void** arguments)
{
    id = QObject::qt_metacall(call, id, arguments);
    if (id < 0 || call != QMetaObject::InvokeMetaMethod)
        return id;
    if (id < m_signals.size()) {
        const Recorded& recorded = m_signals.at(id);
        const QMetaMethod& method = recorded.method;
        QStringList values;
        for (int p = 0; p < recorded.types.size(); ++p)
            values.append(SignalLogDetail::argumentText(recorded.types.at(p), arguments[p + 1]));
        m_entries.append(QString::fromLatin1(method.name()) + QLatin1Char('(') +
                         values.join(QLatin1String(", ")) + QLatin1Char(')'));
    }
    return id - m_signals.size();
}
