#include "support/TestMain.h"
#include "widgets/DialogOK.h"

#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

class TestDialogOK : public QObject
{
    Q_OBJECT

private slots:
    void pictureFollowsTheKind_data();
    void pictureFollowsTheKind();
    void formGeometry();
    void okClosesTheModalRun();
};

void TestDialogOK::pictureFollowsTheKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("picture");
    QTest::addRow("success") << 0 << QStringLiteral(":/icons/images/icons/successful.png");
    QTest::addRow("failure") << 1 << QStringLiteral(":/icons/images/icons/failed.png");
    QTest::addRow("important") << 2 << QStringLiteral(":/icons/images/icons/important.png");
    QTest::addRow("unknown kind") << 7 << QString();
}

void TestDialogOK::pictureFollowsTheKind()
{
    QFETCH(int, kind);
    QFETCH(QString, picture);
    DialogOK dialog(kind, QStringLiteral("Could not reach server."));
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("lPicture"));
    QVERIFY(label);
    if (picture.isEmpty()) {
        QVERIFY(label->pixmap(Qt::ReturnByValue).isNull());
        QCOMPARE(label->text(), QStringLiteral("Dialog"));
    } else {
        QVERIFY(!label->pixmap(Qt::ReturnByValue).isNull());
        QCOMPARE(label->pixmap(Qt::ReturnByValue).toImage(), QPixmap(picture).toImage());
    }
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("lMessage"))->text(),
             QStringLiteral("Could not reach server."));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Dialog"));
}

void TestDialogOK::formGeometry()
{
    DialogOK dialog(1, QString(200, QLatin1Char('x')));
    QCOMPARE(dialog.minimumSize(), QSize(240, 180));
    QCOMPARE(dialog.maximumSize(), QSize(300, 180));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // A long message wraps inside the window instead of widening it.
    QVERIFY(dialog.width() <= 300);
    QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("lMessage"))->wordWrap());
}

void TestDialogOK::okClosesTheModalRun()
{
    DialogOK dialog(0, QStringLiteral("done"));
    QTimer::singleShot(0, &dialog, [&dialog] {
        QTest::mouseClick(dialog.findChild<QToolButton*>(QStringLiteral("tbOK")), Qt::LeftButton);
    });
    dialog.exec();
    QVERIFY(!dialog.isVisible());
}

KESTRANE_TEST_MAIN(TestDialogOK)
#include "tst_dialogok.moc"
