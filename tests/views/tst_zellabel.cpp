#include "support/TestMain.h"
#include "views/ZelLabel.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QRubberBand>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <memory>

namespace {

// The label's four signals in emission order, as "name(arg, ...)".
class SignalRecord final
{
public:
    explicit SignalRecord(ZelLabel* label)
    {
        QObject::connect(label, &ZelLabel::mouseHover, [this](int x, int y) {
            entries.append(QStringLiteral("mouseHover(%1, %2)").arg(x).arg(y));
        });
        QObject::connect(label, &ZelLabel::regionSelected, [this](int x1, int x2, int y1, int y2) {
            entries.append(QStringLiteral("regionSelected(%1, %2, %3, %4)").arg(x1).arg(x2).arg(y1).arg(y2));
        });
        QObject::connect(label, &ZelLabel::selectMarker, [this](bool state) {
            entries.append(QStringLiteral("selectMarker(%1)")
                               .arg(state ? QLatin1String("true") : QLatin1String("false")));
        });
        QObject::connect(label, &ZelLabel::checkTimeScope, [this](bool state) {
            entries.append(QStringLiteral("checkTimeScope(%1)")
                               .arg(state ? QLatin1String("true") : QLatin1String("false")));
        });
    }

    QStringList entries;
};

// A move at a label position that may lie between pixels, as a high-resolution pointer gives.
void moveTo(ZelLabel* label, QPointF position, Qt::MouseButtons buttons = Qt::NoButton)
{
    QMouseEvent event(QEvent::MouseMove, position, label->mapToGlobal(position.toPoint()), Qt::NoButton,
                      buttons, Qt::NoModifier);
    QApplication::sendEvent(label, &event);
}

void releaseAt(ZelLabel* label, QPointF position, Qt::MouseButton button)
{
    QMouseEvent event(QEvent::MouseButtonRelease, position, label->mapToGlobal(position.toPoint()), button,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(label, &event);
}

QRubberBand* rubberBandOf(ZelLabel* label)
{
    return label->findChild<QRubberBand*>();
}

// Accepts the next save dialog with `path`, or cancels it when `path` is empty. It answers
// once the dialog is on the screen: closing it before the X server has mapped it upsets the
// server's focus handling.
void answerSaveDialog(const QString& path, bool* seen)
{
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, path, seen, tries] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || (!(dialog->windowHandle() && dialog->windowHandle()->isExposed()) && ++*tries < 100))
            return;
        poll->stop();
        poll->deleteLater();
        *seen = dialog->windowTitle() == QLatin1String("save image as") &&
                dialog->acceptMode() == QFileDialog::AcceptSave;
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        // Typed, as a user does: once the dialog shows, selectFile() with a new name in another
        // folder selects only the folder.
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (edit)
            edit->setText(path);
        static_cast<QDialog*>(dialog)->accept(); // the file dialog's own checks run
    });
    poll->start(10);
}

} // namespace

class TestZelLabel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void construction();
    void signalOrder();
    void rounding_data();
    void rounding();
    void hoverWithoutButtons();
    void enterShowsCrosshair();

    void shiftDragIsSymmetric_data();
    void shiftDragIsSymmetric();
    void dragClamps_data();
    void dragClamps();
    void shiftClickWithoutMove();
    void smallSensorTakesNoRegion_data();
    void smallSensorTakesNoRegion();
    void smallSensorStopsAMoveOfAnEarlierDrag();
    void enableSelectCancelsTheDrag();
    void dragEndsMarkerMode();

    void ctrlClickSetsMarker();
    void altClickAsksForTimeScope();
    void twoModifiersClearTheMarker();

    void rightClickSavesThePicture_data();
    void rightClickSavesThePicture();
    void cancelledSaveWritesNothing();

private:
    std::unique_ptr<ZelLabel> m_label;
};

void TestZelLabel::init()
{
    m_label = std::make_unique<ZelLabel>();
    m_label->resize(300, 200);
    m_label->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_label.get()));
}

void TestZelLabel::cleanup()
{
    m_label.reset();
}

void TestZelLabel::construction()
{
    QCOMPARE(m_label->chipType(), 2);
    QVERIFY(m_label->hasMouseTracking());
    QCOMPARE(m_label->minimumSize(), QSize(1, 1));
    QVERIFY(m_label->isSelectionEnabled());
    QVERIFY(!m_label->isSelecting());
    QVERIFY(!m_label->isMarkerMode());
    QVERIFY(!m_label->isTimeScopeMode());
    QVERIFY(!m_label->isPressed());
    QVERIFY(rubberBandOf(m_label.get()));
    QCOMPARE(rubberBandOf(m_label.get())->shape(), QRubberBand::Rectangle);
    QVERIFY(!rubberBandOf(m_label.get())->isVisible());
}

void TestZelLabel::signalOrder()
{
    QStringList declared;
    const QMetaObject& meta = ZelLabel::staticMetaObject;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        if (meta.method(i).methodType() == QMetaMethod::Signal)
            declared.append(QString::fromLatin1(meta.method(i).methodSignature()));
    }
    QCOMPARE(
        declared,
        (QStringList{QStringLiteral("mouseHover(int,int)"), QStringLiteral("regionSelected(int,int,int,int)"),
                     QStringLiteral("selectMarker(bool)"), QStringLiteral("checkTimeScope(bool)")}));
}

void TestZelLabel::rounding_data()
{
    QTest::addColumn<qreal>("position");
    QTest::addColumn<int>("rounded");
    QTest::addRow("12.5") << 12.5 << 13;
    QTest::addRow("-0.5") << -0.5 << 0;
    QTest::addRow("2.5") << 2.5 << 3;
    QTest::addRow("-2.5") << -2.5 << -2;
    QTest::addRow("12.49") << 12.49 << 12;
    QTest::addRow("-2.51") << -2.51 << -3;
    QTest::addRow("whole") << 40.0 << 40;
}

void TestZelLabel::rounding()
{
    QFETCH(qreal, position);
    QFETCH(int, rounded);
    QCOMPARE(ZelLabel::roundedPosition(position), rounded);

    QSignalSpy hover(m_label.get(), &ZelLabel::mouseHover);
    moveTo(m_label.get(), QPointF(position, position + 1.0));
    QCOMPARE(hover.count(), 1);
    QCOMPARE(hover.at(0).at(0).toInt(), rounded);
    QCOMPARE(hover.at(0).at(1).toInt(), ZelLabel::roundedPosition(position + 1.0));
}

void TestZelLabel::hoverWithoutButtons()
{
    SignalRecord record(m_label.get());
    moveTo(m_label.get(), QPointF(5, 6));
    moveTo(m_label.get(), QPointF(299, 199));
    QCOMPARE(record.entries,
             (QStringList{QStringLiteral("mouseHover(5, 6)"), QStringLiteral("mouseHover(299, 199)")}));
}

void TestZelLabel::enterShowsCrosshair()
{
    m_label->unsetCursor();
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(m_label.get(), &enter);
    QCOMPARE(m_label->cursor().shape(), Qt::BitmapCursor);
    const QPixmap picture = m_label->cursor().pixmap();
    QVERIFY(!picture.isNull());
    QCOMPARE(m_label->cursor().hotSpot(), QPoint(picture.width() / 2, picture.height() / 2));
    QCOMPARE(m_label->crosshair().pixmap().toImage(),
             QPixmap(QStringLiteral(":/cursors/cursor_crosshair.png")).toImage());

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(m_label.get(), &leave);
    QCOMPARE(m_label->cursor().shape(), Qt::BitmapCursor);
}

void TestZelLabel::shiftDragIsSymmetric_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("end");
    QTest::addColumn<QRect>("band");
    QTest::addColumn<QString>("region");
    QTest::addRow("press above the centre line")
        << QPoint(50, 30) << QPoint(120, 190) << QRect(50, 30, 70, 140)
        << QStringLiteral("regionSelected(50, 120, 30, 170)");
    QTest::addRow("press below the centre line")
        << QPoint(50, 150) << QPoint(120, 2) << QRect(50, 50, 70, 100)
        << QStringLiteral("regionSelected(50, 120, 50, 150)");
    QTest::addRow("drag to the left") << QPoint(200, 30) << QPoint(60, 100) << QRect(60, 30, 140, 140)
                                      << QStringLiteral("regionSelected(60, 200, 30, 170)");
    QTest::addRow("press on the centre line") << QPoint(10, 100) << QPoint(20, 100) << QRect(10, 100, 10, 0)
                                              << QStringLiteral("regionSelected(10, 20, 100, 100)");
}

void TestZelLabel::shiftDragIsSymmetric()
{
    QFETCH(QPoint, press);
    QFETCH(QPoint, end);
    QFETCH(QRect, band);
    QFETCH(QString, region);
    SignalRecord record(m_label.get());
    QTest::mousePress(m_label.get(), Qt::LeftButton, Qt::ShiftModifier, press);
    QCOMPARE(record.entries, QStringList{QStringLiteral("selectMarker(false)")});
    QVERIFY(m_label->isPressed());
    QVERIFY(m_label->isSelecting());

    // The vertical extent does not follow the mouse; the last move sets the width.
    QRubberBand* rubberBand = rubberBandOf(m_label.get());
    for (int y : {0, 199, 57, end.y()}) {
        moveTo(m_label.get(), QPointF(press.x() + 3, y), Qt::LeftButton);
        QVERIFY(rubberBand->isVisible());
        QCOMPARE(rubberBand->geometry().top(), band.top());
        QCOMPARE(rubberBand->geometry().bottom(), band.top() + band.height() - 1);
    }
    moveTo(m_label.get(), end, Qt::LeftButton);
    QCOMPARE(rubberBand->geometry(), band);
    QCOMPARE(record.entries.size(), 6); // five hover signals follow the press
    QCOMPARE(record.entries.last(), QStringLiteral("mouseHover(%1, %2)").arg(end.x()).arg(end.y()));

    record.entries.clear();
    QTest::mouseRelease(m_label.get(), Qt::LeftButton, Qt::ShiftModifier, end);
    QCOMPARE(record.entries, (QStringList{QStringLiteral("selectMarker(false)"), region}));
    QVERIFY(!rubberBand->isVisible());
    QVERIFY(!m_label->isPressed());
    QVERIFY(!m_label->isSelecting());

    // The drag is over: moves only hover.
    record.entries.clear();
    moveTo(m_label.get(), QPointF(1, 1));
    QCOMPARE(record.entries, QStringList{QStringLiteral("mouseHover(1, 1)")});
    QVERIFY(!rubberBand->isVisible());
}

void TestZelLabel::dragClamps_data()
{
    QTest::addColumn<QPoint>("end");
    QTest::addColumn<QString>("region");
    QTest::addColumn<int>("bandLeft");
    QTest::addColumn<int>("bandRight");
    QTest::addRow("right of the label")
        << QPoint(350, 60) << QStringLiteral("regionSelected(100, 300, 30, 170)") << 100 << 299;
    QTest::addRow("at the right edge")
        << QPoint(300, 60) << QStringLiteral("regionSelected(100, 300, 30, 170)") << 100 << 299;
    QTest::addRow("left of the label")
        << QPoint(-40, 60) << QStringLiteral("regionSelected(0, 100, 30, 170)") << 0 << 99;
}

void TestZelLabel::dragClamps()
{
    QFETCH(QPoint, end);
    QFETCH(QString, region);
    QFETCH(int, bandLeft);
    QFETCH(int, bandRight);
    QSignalSpy regions(m_label.get(), &ZelLabel::regionSelected);
    QTest::mousePress(m_label.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(100, 30));
    moveTo(m_label.get(), end, Qt::LeftButton);
    QCOMPARE(rubberBandOf(m_label.get())->geometry().left(), bandLeft);
    QCOMPARE(rubberBandOf(m_label.get())->geometry().right(), bandRight);
    QTest::mouseRelease(m_label.get(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QCOMPARE(regions.count(), 1);
    const QList<QVariant> args = regions.at(0);
    QCOMPARE(QStringLiteral("regionSelected(%1, %2, %3, %4)")
                 .arg(args.at(0).toInt())
                 .arg(args.at(1).toInt())
                 .arg(args.at(2).toInt())
                 .arg(args.at(3).toInt()),
             region);
}

void TestZelLabel::shiftClickWithoutMove()
{
    // A first drag, then a Shift click: the click reports its own empty region, not the
    // earlier one (the views refuse it as too small).
    QSignalSpy regions(m_label.get(), &ZelLabel::regionSelected);
    QTest::mousePress(m_label.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 20));
    moveTo(m_label.get(), QPointF(200, 20), Qt::LeftButton);
    QTest::mouseRelease(m_label.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(200, 20));
    QTest::mousePress(m_label.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(80, 40));
    QTest::mouseRelease(m_label.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(80, 40));
    QCOMPARE(regions.count(), 2);
    QCOMPARE(regions.at(0), (QList<QVariant>{10, 200, 20, 180}));
    QCOMPARE(regions.at(1), (QList<QVariant>{80, 80, 40, 160}));
}

void TestZelLabel::smallSensorTakesNoRegion_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addRow("chip type 4") << 4;
    QTest::addRow("chip type 5") << 5;
}

void TestZelLabel::smallSensorTakesNoRegion()
{
    QFETCH(int, chipType);
    m_label->setChipType(chipType);
    SignalRecord record(m_label.get());
    QTest::mousePress(m_label.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(50, 30));
    QVERIFY(!m_label->isPressed());
    moveTo(m_label.get(), QPointF(120, 60), Qt::LeftButton);
    QVERIFY(!rubberBandOf(m_label.get())->isVisible());
    QTest::mouseRelease(m_label.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(120, 60));
    moveTo(m_label.get(), QPointF(121, 61));
    QCOMPARE(record.entries,
             (QStringList{QStringLiteral("mouseHover(120, 60)"), QStringLiteral("mouseHover(121, 61)")}));
}

void TestZelLabel::smallSensorStopsAMoveOfAnEarlierDrag()
{
    // A drag begun before the small sensor was identified: its moves only track the width,
    // and the release neither ends it nor reports a region.
    SignalRecord record(m_label.get());
    QTest::mousePress(m_label.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(50, 30));
    m_label->setChipType(4);
    record.entries.clear();
    moveTo(m_label.get(), QPointF(120, 60), Qt::LeftButton);
    QVERIFY(!rubberBandOf(m_label.get())->isVisible());
    QTest::mouseRelease(m_label.get(), Qt::LeftButton, Qt::NoModifier, QPoint(120, 60));
    QCOMPARE(record.entries, QStringList());
    QVERIFY(m_label->isPressed());
}

void TestZelLabel::enableSelectCancelsTheDrag()
{
    SignalRecord record(m_label.get());
    QTest::mousePress(m_label.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(50, 30));
    moveTo(m_label.get(), QPointF(120, 60), Qt::LeftButton);
    QVERIFY(rubberBandOf(m_label.get())->isVisible());

    m_label->enableSelect(false);
    QVERIFY(!m_label->isSelecting());
    QVERIFY(!m_label->isSelectionEnabled());
    QVERIFY(!rubberBandOf(m_label.get())->isVisible());
    record.entries.clear();
    moveTo(m_label.get(), QPointF(150, 60), Qt::LeftButton);
    QVERIFY(!rubberBandOf(m_label.get())->isVisible());
    QTest::mouseRelease(m_label.get(), Qt::LeftButton, Qt::NoModifier, QPoint(150, 60));
    QCOMPARE(record.entries, QStringList{QStringLiteral("mouseHover(150, 60)")});

    // Switched on again, a new drag works.
    m_label->enableSelect(true);
    QTest::mousePress(m_label.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(20, 40));
    moveTo(m_label.get(), QPointF(40, 60), Qt::LeftButton);
    record.entries.clear();
    QTest::mouseRelease(m_label.get(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 60));
    QCOMPARE(record.entries, (QStringList{QStringLiteral("selectMarker(false)"),
                                          QStringLiteral("regionSelected(20, 40, 40, 160)")}));
}

void TestZelLabel::dragEndsMarkerMode()
{
    SignalRecord record(m_label.get());
    QTest::mousePress(m_label.get(), Qt::LeftButton, Qt::ControlModifier, QPoint(10, 20));
    QTest::mouseRelease(m_label.get(), Qt::LeftButton, Qt::ControlModifier, QPoint(10, 20));
    QTest::mousePress(m_label.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(50, 30));
    QVERIFY(m_label->isMarkerMode());
    moveTo(m_label.get(), QPointF(70, 90), Qt::LeftButton); // silent: the marker still holds
    QTest::mouseRelease(m_label.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(70, 90));
    QVERIFY(!m_label->isMarkerMode());
    moveTo(m_label.get(), QPointF(71, 91));
    QCOMPARE(record.entries,
             (QStringList{QStringLiteral("mouseHover(10, 20)"), QStringLiteral("selectMarker(true)"),
                          QStringLiteral("selectMarker(false)"), QStringLiteral("selectMarker(false)"),
                          QStringLiteral("regionSelected(50, 70, 30, 170)"),
                          QStringLiteral("mouseHover(71, 91)")}));
}

void TestZelLabel::ctrlClickSetsMarker()
{
    SignalRecord record(m_label.get());
    QTest::mousePress(m_label.get(), Qt::LeftButton, Qt::ControlModifier, QPoint(10, 20));
    QVERIFY(record.entries.isEmpty());
    QTest::mouseRelease(m_label.get(), Qt::LeftButton, Qt::ControlModifier, QPoint(10, 20));
    QCOMPARE(record.entries,
             (QStringList{QStringLiteral("mouseHover(10, 20)"), QStringLiteral("selectMarker(true)")}));
    QVERIFY(m_label->isMarkerMode());

    // The marker freezes the readouts: moves say nothing.
    record.entries.clear();
    moveTo(m_label.get(), QPointF(100, 100));
    moveTo(m_label.get(), QPointF(101, 100));
    QVERIFY(record.entries.isEmpty());

    // A second Ctrl click moves the marker.
    QTest::mousePress(m_label.get(), Qt::RightButton, Qt::ControlModifier, QPoint(30, 40));
    releaseAt(m_label.get(), QPointF(30.5, 40.5), Qt::LeftButton); // rounded like every position
    QCOMPARE(record.entries,
             (QStringList{QStringLiteral("mouseHover(31, 41)"), QStringLiteral("selectMarker(true)")}));

    // A plain press removes it; hovering resumes, the release adds nothing.
    record.entries.clear();
    QTest::mousePress(m_label.get(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QCOMPARE(record.entries, QStringList{QStringLiteral("selectMarker(false)")});
    QVERIFY(!m_label->isMarkerMode());
    QTest::mouseRelease(m_label.get(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    moveTo(m_label.get(), QPointF(60, 61));
    QCOMPARE(record.entries,
             (QStringList{QStringLiteral("selectMarker(false)"), QStringLiteral("mouseHover(60, 61)")}));
}

void TestZelLabel::altClickAsksForTimeScope()
{
    SignalRecord record(m_label.get());
    QTest::mousePress(m_label.get(), Qt::LeftButton, Qt::AltModifier, QPoint(7, 8));
    QVERIFY(m_label->isTimeScopeMode());
    QVERIFY(!m_label->isMarkerMode());
    QTest::mouseRelease(m_label.get(), Qt::LeftButton, Qt::AltModifier, QPoint(7, 8));
    moveTo(m_label.get(), QPointF(9, 9));
    QCOMPARE(record.entries,
             (QStringList{QStringLiteral("mouseHover(7, 8)"), QStringLiteral("selectMarker(true)"),
                          QStringLiteral("checkTimeScope(true)")}));

    // Ctrl after Alt: a plain marker, no time scope.
    record.entries.clear();
    QTest::mousePress(m_label.get(), Qt::LeftButton, Qt::ControlModifier, QPoint(3, 4));
    QTest::mouseRelease(m_label.get(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    QCOMPARE(record.entries,
             (QStringList{QStringLiteral("mouseHover(3, 4)"), QStringLiteral("selectMarker(true)")}));
}

void TestZelLabel::twoModifiersClearTheMarker()
{
    QTest::mousePress(m_label.get(), Qt::LeftButton, Qt::ControlModifier, QPoint(10, 20));
    QTest::mouseRelease(m_label.get(), Qt::LeftButton, Qt::ControlModifier, QPoint(10, 20));
    SignalRecord record(m_label.get());
    QTest::mousePress(m_label.get(), Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, QPoint(40, 50));
    QCOMPARE(record.entries, QStringList{QStringLiteral("selectMarker(false)")});
    QVERIFY(!m_label->isMarkerMode());
    QVERIFY(!m_label->isPressed());
    QTest::mouseRelease(m_label.get(), Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier,
                        QPoint(40, 50));
    QCOMPARE(record.entries.size(), 1);
}

void TestZelLabel::rightClickSavesThePicture_data()
{
    QTest::addColumn<QString>("chosenName");
    QTest::addColumn<QString>("savedName");
    QTest::addRow("with suffix") << QStringLiteral("picture.png") << QStringLiteral("picture.png");
    QTest::addRow("without suffix") << QStringLiteral("picture") << QStringLiteral("picture.png");
    QTest::addRow("other format by suffix") << QStringLiteral("picture.bmp") << QStringLiteral("picture.bmp");
}

void TestZelLabel::rightClickSavesThePicture()
{
    QFETCH(QString, chosenName);
    QFETCH(QString, savedName);
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(qRgb(200, 10, 10));
    image.setPixel(3, 4, qRgb(0, 0, 255));
    m_label->setPixmap(QPixmap::fromImage(image));

    SignalRecord record(m_label.get());
    bool seen = false;
    answerSaveDialog(directory.filePath(chosenName), &seen);
    QTest::mouseRelease(m_label.get(), Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    QVERIFY(seen);
    const QImage saved(directory.filePath(savedName));
    QVERIFY(!saved.isNull());
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), image);
    QVERIFY(record.entries.isEmpty());
}

void TestZelLabel::cancelledSaveWritesNothing()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    m_label->setPixmap(QPixmap(10, 10));
    bool seen = false;
    answerSaveDialog(QString(), &seen);
    QTest::mouseRelease(m_label.get(), Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    QVERIFY(seen);
    QCOMPARE(QDir(directory.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());

    // With a marker set the right click still saves, and the release re-reports the marker.
    QTest::mousePress(m_label.get(), Qt::RightButton, Qt::ControlModifier, QPoint(4, 6));
    SignalRecord record(m_label.get());
    answerSaveDialog(QString(), &seen);
    QTest::mouseRelease(m_label.get(), Qt::RightButton, Qt::ControlModifier, QPoint(4, 6));
    QCOMPARE(record.entries,
             (QStringList{QStringLiteral("mouseHover(4, 6)"), QStringLiteral("selectMarker(true)")}));
}

KESTRANE_TEST_MAIN(TestZelLabel)
#include "tst_zellabel.moc"
