#include "widgets/DialogProgress.h"
#include "widgets/DialogYesNo.h"

#include "settings/TraceLog.h" // the trace recorder of the settings tests
#include "support/TestMain.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

using Answer = std::function<void(DialogYesNo*)>;
Q_DECLARE_METATYPE(Answer)

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void yesNoForm();
    void yesNoAnswers_data();
    void yesNoAnswers();
    void progressWindow();
    void progressForwardsItsRange();
    void destroyTraces();
};

void TestDialogs::yesNoForm()
{
    DialogYesNo dialog(QStringLiteral("Start the DRNU calibration? This takes several minutes."));
    QCOMPARE(dialog.size(), QSize(320, 200));
    QCOMPARE(dialog.minimumSize(), QSize(320, 200));
    QCOMPARE(dialog.maximumSize(), QSize(320, 200));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Dialog"));
    auto* icon = dialog.findChild<QLabel*>(QStringLiteral("lIcon"));
    QVERIFY(icon);
    QCOMPARE(icon->pixmap(Qt::ReturnByValue).toImage(),
             QPixmap(QStringLiteral(":/icons/images/icons/info.png")).toImage());
    auto* message = dialog.findChild<QLabel*>(QStringLiteral("lMessage"));
    QVERIFY(message);
    QVERIFY(message->wordWrap());
    QCOMPARE(message->text(), QStringLiteral("Start the DRNU calibration? This takes several minutes."));
    auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("bbYesNo"));
    QVERIFY(buttons);
    QCOMPARE(buttons->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(buttons->orientation(), Qt::Horizontal);
    QVERIFY(!buttons->centerButtons());
    // Callers may widen it and give it a title.
    dialog.setMaximumWidth(500);
    dialog.setMinimumWidth(500);
    dialog.setWindowTitle(QStringLiteral("Calibration"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.width(), 500);
}

void TestDialogs::yesNoAnswers_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<int>("result");
    QTest::addRow("OK accepts") << Answer([](DialogYesNo* d) {
        d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    }) << int(QDialog::Accepted);
    QTest::addRow("Cancel rejects") << Answer([](DialogYesNo* d) {
        d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    }) << int(QDialog::Rejected);
    QTest::addRow("Escape rejects") << Answer([](DialogYesNo* d) { QTest::keyClick(d, Qt::Key_Escape); })
                                    << int(QDialog::Rejected);
    QTest::addRow("closing the window rejects")
        << Answer([](DialogYesNo* d) { d->close(); }) << int(QDialog::Rejected);
}

void TestDialogs::yesNoAnswers()
{
    QFETCH(Answer, answer);
    QFETCH(int, result);
    DialogYesNo dialog(QStringLiteral("Search bad pixels?"));
    QTimer::singleShot(0, &dialog, [&dialog, answer] {
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(QApplication::activeModalWidget(), &dialog);
        answer(&dialog);
    });
    QCOMPARE(dialog.exec(), result);
}

void TestDialogs::progressWindow()
{
    DialogProgress progress(QStringLiteral("DRNU calibration is running..."));
    QCOMPARE(progress.windowTitle(), QStringLiteral("Progress"));
    QCOMPARE(progress.windowModality(), Qt::ApplicationModal);
    const Qt::WindowFlags flags = progress.windowFlags();
    QVERIFY(flags & Qt::Window);
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(flags & Qt::CustomizeWindowHint);
    // A title bar without close, minimise or maximise buttons.
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowSystemMenuHint));
    QCOMPARE(progress.minimumSize(), QSize(300, 150));
    QCOMPARE(progress.maximumSize(), QSize(300, 150));
    auto* message = progress.findChild<QLabel*>(QStringLiteral("lMessage"));
    QVERIFY(message);
    QVERIFY(message->wordWrap());
    QCOMPARE(message->text(), QStringLiteral("DRNU calibration is running..."));
    QVERIFY(progress.centralWidget()->isAncestorOf(message));
    auto* bar = progress.findChild<QProgressBar*>(QStringLiteral("pbProgress"));
    QVERIFY(bar);
    QVERIFY(!bar->isTextVisible());
    QCOMPARE(bar->value(), 24);

    progress.show();
    QVERIFY(QTest::qWaitForWindowExposed(&progress));
    QCOMPARE(progress.size(), QSize(300, 150));
    QCOMPARE(QApplication::activeModalWidget(), &progress);
    progress.close();
    QVERIFY(!progress.isVisible());
}

void TestDialogs::progressForwardsItsRange()
{
    DialogProgress progress(QStringLiteral("Searching bad pixels..."));
    auto* bar = progress.findChild<QProgressBar*>(QStringLiteral("pbProgress"));
    progress.setMinimum(10);
    progress.setMaximum(20);
    progress.setValue(15);
    QCOMPARE(bar->minimum(), 10);
    QCOMPARE(bar->maximum(), 20);
    QCOMPARE(bar->value(), 15);
    progress.setValue(99); // outside the range: the bar keeps its value
    QCOMPARE(bar->value(), 15);
    // 0 to 0: the busy indicator of the long camera operations.
    progress.setMinimum(0);
    progress.setMaximum(0);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 0);
}

void TestDialogs::destroyTraces()
{
    const QStringList traces = TraceLog::tracesOf([] {
        delete new DialogYesNo(QStringLiteral("?"));
        delete new DialogProgress(QStringLiteral("..."));
    });
    QCOMPARE(traces,
             QStringList({"-----DialogYesNo destroying", "-----DialogYesNo destroyed",
                          "----------DialogProgress destroying", "----------DialogProgress destroyed"}));
}

KESTRANE_TEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
