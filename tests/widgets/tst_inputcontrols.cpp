#include "widgets/EventFilterMouse.h"
#include "widgets/EventFilterWheel.h"
#include "widgets/ZelCheckBox.h"
#include "widgets/ZelComboBox.h"
#include "widgets/ZelSpinBox.h"

#include <QAbstractItemView>

#include "settings/TraceLog.h" // the trace recorder of the settings tests
#include "support/TestMain.h"
#include "support/WheelTurn.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>
#include <memory>

using MakeEvent = std::function<QEvent*()>;
Q_DECLARE_METATYPE(MakeEvent)

namespace {

// A page taller than its scroll area, with the control near the top.
struct ScrolledPage
{
    QScrollArea area;
    QWidget* page = new QWidget;
    QLineEdit* edit = new QLineEdit(page);

    explicit ScrolledPage(QWidget* control)
    {
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(edit);
        layout->addWidget(control);
        layout->addStretch();
        page->setMinimumHeight(3000);
        area.setWidget(page);
        // As the view panel's option area: a click that no control takes must not move the
        // focus to the scroll area itself.
        area.setFocusPolicy(Qt::NoFocus);
        area.resize(300, 200);
        area.show();
    }
};

// Records the event types that reach it after the installed filters.
class EventRecorder final : public QWidget
{
public:
    QVector<QEvent::Type> received;

protected:
    bool event(QEvent* event) override
    {
        received.append(event->type());
        return QWidget::event(event);
    }
};

} // namespace

class TestInputControls : public QObject
{
    Q_OBJECT

private slots:
    void wheelOverSpinBoxScrollsTheArea();
    void wheelOverComboBoxScrollsTheArea();
    void spinBoxStillTakesKeysAndClicks();
    void checkBoxClickLeavesTheFocus();
    void comboBoxClickLeavesTheFocus();
    void wheelFilterPassesOtherEvents();
    void mouseFilter_data();
    void mouseFilter();
    void destroyTraces();
};

void TestInputControls::wheelOverSpinBoxScrollsTheArea()
{
    auto* spin = new ZelSpinBox;
    spin->setRange(0, 100);
    spin->setValue(50);
    ScrolledPage page(spin);
    QVERIFY(QTest::qWaitForWindowExposed(&page.area));
    QCOMPARE(spin->focusPolicy(), Qt::StrongFocus);
    QCOMPARE(page.area.verticalScrollBar()->value(), 0);

    turnWheel(spin, 3);
    QCOMPARE(spin->value(), 50);
    QVERIFY(page.area.verticalScrollBar()->value() > 0);
    QVERIFY(!spin->hasFocus());

    // A plain spin box inside the same area takes the wheel: the filter makes the difference.
    auto* plain = new QSpinBox;
    plain->setRange(0, 100);
    plain->setValue(50);
    ScrolledPage control(plain);
    QVERIFY(QTest::qWaitForWindowExposed(&control.area));
    turnWheel(plain, 3);
    QVERIFY(plain->value() != 50);
}

void TestInputControls::wheelOverComboBoxScrollsTheArea()
{
    auto* combo = new ZelComboBox;
    combo->addItems({QStringLiteral("Full"), QStringLiteral("Half"), QStringLiteral("Quarter")});
    combo->setCurrentIndex(1);
    ScrolledPage page(combo);
    QVERIFY(QTest::qWaitForWindowExposed(&page.area));
    QSignalSpy changed(combo, qOverload<int>(&QComboBox::currentIndexChanged));
    turnWheel(combo, 2);
    QCOMPARE(combo->currentIndex(), 1);
    QCOMPARE(changed.count(), 0);
    QVERIFY(page.area.verticalScrollBar()->value() > 0);
    QCOMPARE(combo->focusPolicy(), Qt::TabFocus);
}

void TestInputControls::spinBoxStillTakesKeysAndClicks()
{
    auto* spin = new ZelSpinBox;
    spin->setRange(0, 100);
    spin->setValue(10);
    ScrolledPage page(spin);
    page.area.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&page.area));
    QTest::mouseClick(spin, Qt::LeftButton, Qt::NoModifier, QPoint(5, spin->height() / 2));
    QVERIFY(spin->hasFocus());
    QTest::keyClick(spin, Qt::Key_Up);
    QCOMPARE(spin->value(), 11);
}

void TestInputControls::checkBoxClickLeavesTheFocus()
{
    auto* check = new ZelCheckBox;
    check->setText(QStringLiteral("DRNU"));
    ScrolledPage page(check);
    page.area.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&page.area));
    page.edit->setFocus();
    QVERIFY(page.edit->hasFocus());
    QCOMPARE(check->focusPolicy(), Qt::TabFocus);

    const QPoint indicator(8, check->height() / 2);
    QTest::mouseClick(check, Qt::LeftButton, Qt::NoModifier, indicator);
    QVERIFY(check->isChecked());
    QVERIFY(page.edit->hasFocus());
    QTest::mouseClick(check, Qt::LeftButton, Qt::NoModifier, indicator);
    QVERIFY(!check->isChecked());
    QVERIFY(page.edit->hasFocus());

    // Tab still reaches it.
    QTest::keyClick(page.edit, Qt::Key_Tab);
    QVERIFY(check->hasFocus());

    // A plain check box takes the focus on a click: the focus policy makes the difference.
    auto* plain = new QCheckBox(QStringLiteral("DRNU"));
    ScrolledPage control(plain);
    control.area.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&control.area));
    control.edit->setFocus();
    QTest::mouseClick(plain, Qt::LeftButton, Qt::NoModifier, indicator);
    QVERIFY(plain->isChecked());
    QVERIFY(plain->hasFocus());
}

void TestInputControls::comboBoxClickLeavesTheFocus()
{
    auto* combo = new ZelComboBox;
    combo->addItems({QStringLiteral("Grayscale"), QStringLiteral("Distance color-coded")});
    ScrolledPage page(combo);
    page.area.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&page.area));
    page.edit->setFocus();
    QTest::mouseClick(combo, Qt::LeftButton);
    QTRY_VERIFY(combo->view()->isVisible());
    combo->hidePopup();
    QTRY_VERIFY(!combo->view()->isVisible());
    QTRY_VERIFY(page.edit->hasFocus());
    QVERIFY(!combo->hasFocus());
}

void TestInputControls::wheelFilterPassesOtherEvents()
{
    EventRecorder widget;
    widget.installEventFilter(new EventFilterWheel(&widget));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QApplication::sendEvent(&widget, &key);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QWheelEvent wheel(QPointF(1, 1), QPointF(1, 1), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    wheel.accept();
    QApplication::sendEvent(&widget, &wheel);
    QVERIFY(widget.received.contains(QEvent::KeyPress));
    QVERIFY(widget.received.contains(QEvent::MouseButtonPress));
    QVERIFY(!widget.received.contains(QEvent::Wheel));
    QVERIFY(!wheel.isAccepted());
}

void TestInputControls::mouseFilter_data()
{
    QTest::addColumn<MakeEvent>("make");
    QTest::addColumn<bool>("passes");
    const QPointF p(3, 3);
    QTest::addRow("press swallowed") << MakeEvent([p] {
        return new QMouseEvent(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    }) << false;
    QTest::addRow("move swallowed") << MakeEvent([p] {
        return new QMouseEvent(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    }) << false;
    QTest::addRow("release passes") << MakeEvent([p] {
        return new QMouseEvent(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    }) << true;
    QTest::addRow("double click passes") << MakeEvent([p] {
        return new QMouseEvent(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton,
                               Qt::NoModifier);
    }) << true;
    QTest::addRow("wheel passes") << MakeEvent([p] {
        return new QWheelEvent(p, p, QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                               Qt::NoScrollPhase, false);
    }) << true;
    QTest::addRow("key passes") << MakeEvent([] {
        return new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    }) << true;
}

void TestInputControls::mouseFilter()
{
    QFETCH(MakeEvent, make);
    QFETCH(bool, passes);
    EventRecorder widget;
    widget.installEventFilter(new EventFilterMouse(&widget));
    const std::unique_ptr<QEvent> event(make());
    const QEvent::Type type = event->type();
    QApplication::sendEvent(&widget, event.get());
    QCOMPARE(widget.received.contains(type), passes);
}

void TestInputControls::destroyTraces()
{
    const QStringList traces = TraceLog::tracesOf([] {
        delete new ZelSpinBox;
        delete new ZelComboBox;
        delete new ZelCheckBox;
    });
    QCOMPARE(traces, QStringList({"-----ZelSpinBox destroying", "-----ZelSpinBox destroyed",
                                  "-----ZelComboBox destroying", "-----ZelComboBox destroyed",
                                  "-----ZelCheckBox destroying", "-----ZelCheckBox destroyed"}));
}

KESTRANE_TEST_MAIN(TestInputControls)
#include "tst_inputcontrols.moc"
