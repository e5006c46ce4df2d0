#pragma once

#include <QMetaMethod>
#include <QObject>
#include <QStringList>
#include <QVector>

#include <initializer_list>

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
