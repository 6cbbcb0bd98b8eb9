#include "TButton2D.h"

#include <QAccessible>
#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

const QColor PanelColor(246, 246, 246);

// Colour distance small enough to absorb antialiasing at the edges of shapes.
bool near(const QColor& a, const QColor& b, int tolerance = 6)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

QString describe(const QColor& color)
{
    return QStringLiteral("rgb(%1, %2, %3)").arg(color.red()).arg(color.green()).arg(color.blue());
}

} // namespace

class tst_TButton2D : public QObject {
    Q_OBJECT

    QWidget* panel = nullptr;
    TButton2D* button = nullptr;

    QImage grabbed() const { return button->grab().toImage(); }

    void enter()
    {
        QEnterEvent event(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
        QApplication::sendEvent(button, &event);
    }

private Q_SLOTS:
    void init()
    {
        panel = new QWidget;
        QPalette palette = panel->palette();
        palette.setColor(QPalette::Window, PanelColor);
        panel->setPalette(palette);
        panel->setAutoFillBackground(true);
        panel->resize(200, 100);
        button = new TButton2D(panel);
        button->setGeometry(20, 20, 68, 21);
        panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(panel));
    }

    void cleanup()
    {
        delete panel;
        panel = nullptr;
        button = nullptr;
    }

    // A button as it comes: a light grey face in a dark blue frame with a bold dark blue "X"; the
    // pointing hand over it, and a click on it leaves the keyboard focus where it was.
    void freshButtonAsTheUserSeesIt()
    {
        const QColor lightGrey(238, 238, 238), darkBlue(19, 65, 158);
        const QImage image = grabbed();
        const int w = image.width();
        QVERIFY2(near(image.pixelColor(w / 2, 2), lightGrey),
                 qPrintable(describe(image.pixelColor(w / 2, 2))));
        QVERIFY2(near(image.pixelColor(w / 2, 0), darkBlue, 30),
                 qPrintable(describe(image.pixelColor(w / 2, 0))));
        const auto textPixels = [&](const QImage& drawn) {
            int count = 0;
            for (int y = 4; y < drawn.height() - 4; ++y)
                for (int x = 6; x < drawn.width() - 6; ++x)
                    count += near(drawn.pixelColor(x, y), darkBlue, 40);
            return count;
        };
        const int bold = textPixels(image);
        QFont plain = button->font();
        plain.setBold(false);
        button->setFont(plain);
        QVERIFY2(bold > textPixels(grabbed()), qPrintable(QString::number(bold)));

        QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
        QLineEdit field(panel);
        field.show();
        field.setFocus();
        QTRY_VERIFY(field.hasFocus());
        QSignalSpy clicks(button, &TButton2D::clicked);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(30, 10));
        QCOMPARE(clicks.count(), 1);
        QVERIFY(field.hasFocus());
    }

    void clickNeedsPressAndReleaseInside()
    {
        QSignalSpy clicks(button, &TButton2D::clicked);
        const QPoint inside(30, 10);

        QTest::mousePress(button, Qt::LeftButton, {}, inside);
        QVERIFY(button->isPressed());
        QCOMPARE(clicks.count(), 0);
        QTest::mouseRelease(button, Qt::LeftButton, {}, inside);
        QVERIFY(!button->isPressed());
        QCOMPARE(clicks.count(), 1);

        // Released after the pointer left the button: the press is abandoned.
        QTest::mousePress(button, Qt::LeftButton, {}, inside);
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(100, 10));
        QVERIFY(!button->isPressed());
        QCOMPARE(clicks.count(), 1);

        // Other buttons do nothing; a release without a press on the button does nothing.
        QTest::mouseClick(button, Qt::RightButton, {}, inside);
        QTest::mouseRelease(button, Qt::LeftButton, {}, inside);
        QCOMPARE(clicks.count(), 1);
    }

    void paintsFaceFrameAndGround()
    {
        button->setText(QString());
        const QImage image = grabbed();
        const int w = image.width(), h = image.height();
        const QColor face = image.pixelColor(w / 2, h / 2);
        QVERIFY2(near(face, button->Color()), qPrintable(describe(face)));
        // The frame is two pixels wide on every side.
        for (const QPoint& p : {QPoint(w / 2, 0), QPoint(w / 2, 1), QPoint(0, h / 2), QPoint(w - 2, h / 2),
                                QPoint(w / 2, h - 1)}) {
            const QColor frame = image.pixelColor(p);
            QVERIFY2(near(frame, button->BorderColor(), 30), qPrintable(describe(frame)));
        }
        QVERIFY(near(image.pixelColor(w / 2, 2), button->Color()));
        // Outside the rounded corner lies the panel's colour.
        QVERIFY2(near(image.pixelColor(0, 0), PanelColor, 30), qPrintable(describe(image.pixelColor(0, 0))));

        button->setColor(QColor(255, 0, 0));
        button->setBorderColor(QColor(0, 128, 0));
        const QImage recoloured = grabbed();
        QVERIFY(near(recoloured.pixelColor(w / 2, h / 2), QColor(255, 0, 0)));
        QVERIFY(near(recoloured.pixelColor(w / 2, 0), QColor(0, 128, 0), 30));
    }

    void textIsDrawnInTheBorderColour()
    {
        button->setText(QStringLiteral("Relatório"));
        const QImage image = grabbed();
        int textPixels = 0;
        for (int y = 4; y < image.height() - 4; ++y)
            for (int x = 6; x < image.width() - 6; ++x)
                textPixels += near(image.pixelColor(x, y), button->BorderColor(), 40);
        QVERIFY2(textPixels > 20, qPrintable(QString::number(textPixels)));
    }

    void hoverTintsTheFace()
    {
        button->setText(QString());
        const QPoint centre(button->width() / 2, button->height() / 2);
        const QColor plain = grabbed().pixelColor(centre);
        enter();
        QVERIFY(button->isHovered());
        const QColor tinted = grabbed().pixelColor(centre);
        QVERIFY2(!near(tinted, plain, 10), qPrintable(describe(tinted)));
        // Towards the tint colour, not just different.
        const QColor tint = TButton2D::hoverTint();
        QVERIFY(std::abs(tinted.red() - tint.red()) < std::abs(plain.red() - tint.red()));
        QVERIFY(std::abs(tinted.green() - tint.green()) < std::abs(plain.green() - tint.green()));

        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
        QVERIFY(!button->isHovered());
        QVERIFY(near(grabbed().pixelColor(centre), plain, 1));
    }

    void pressedShowsTheInnerFrame()
    {
        button->setText(QString());
        const QImage before = grabbed();
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 10));
        const QImage held = grabbed();
        // The inner frame's right edge runs four pixels inside the outer one.
        const QPoint onInnerRight(button->width() - 5, button->height() / 2);
        QVERIFY(near(before.pixelColor(onInnerRight), button->Color()));
        QVERIFY2(near(held.pixelColor(onInnerRight), button->BorderColor(), 60),
                 qPrintable(describe(held.pixelColor(onInnerRight))));
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(30, 10));
        QCOMPARE(grabbed(), before);
    }

    // A screen reader announces a push button by its caption, or by its hint when the caption is a
    // one-letter symbol, and can press it.
    void assistiveTechnologySeesAPushButton_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("announced");
        QTest::newRow("caption") << "Enviar"
                                 << ""
                                 << "Enviar";
        QTest::newRow("caption with an unrelated hint") << "Enviar"
                                                        << "Visualizar Relatório"
                                                        << "Enviar";
        QTest::newRow("symbol named by its hint") << "X"
                                                  << "Fechar"
                                                  << "Fechar";
        QTest::newRow("symbol without a hint") << "X"
                                               << ""
                                               << "X";
    }

    void assistiveTechnologySeesAPushButton()
    {
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        QFETCH(QString, announced);
        button->setText(caption);
        button->setToolTip(hint);
        QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(button);
        QVERIFY(seen);
        QCOMPARE(seen->role(), QAccessible::Button);
        QCOMPARE(seen->text(QAccessible::Name), announced);
        QAccessibleActionInterface* actions = seen->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        QSignalSpy clicks(button, &TButton2D::clicked);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(clicks.count(), 1);
    }

    // Tab reaches the button from the field before it, and Space or Enter presses it.
    void keyboardReachesAndPressesIt()
    {
        auto* field = new QLineEdit(panel);
        field->setGeometry(20, 50, 60, 21);
        field->show();
        QWidget::setTabOrder(field, button);
        panel->activateWindow();
        const QImage unfocused = grabbed();
        // A window that hands its first button the focus on activation does not change its look.
        button->setFocus(Qt::ActiveWindowFocusReason);
        QTRY_VERIFY(button->hasFocus());
        QCOMPARE(grabbed(), unfocused);
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClick(field, Qt::Key_Tab);
        QTRY_VERIFY(button->hasFocus());
        QVERIFY2(grabbed() != unfocused, "Tab left no mark on the button");
        QSignalSpy clicks(button, &TButton2D::clicked);
        QTest::keyClick(button, Qt::Key_Space);
        QTest::keyClick(button, Qt::Key_Return);
        QTest::keyClick(button, Qt::Key_A);
        QCOMPARE(clicks.count(), 2);
        button->setEnabled(false);
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(clicks.count(), 2);
    }

    void hidingUnderThePointerForgetsHoverAndPress()
    {
        enter();
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 10));
        button->hide();
        QVERIFY(!button->isHovered());
        QVERIFY(!button->isPressed());
    }
};

QTEST_MAIN(tst_TButton2D)
#include "tst_TButton2D.moc"
