// The flat button: grey levels, fade steps, clicks and the caption.
#include "VbTimer.h"
#include "ucCmdBtn.h"

#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>

class CmdBtnTest : public QObject
{
    Q_OBJECT

private:
    // The levels the fade passes through, one per tick, until it stops.
    static QList<int> fadeTo(ucCmdBtn &b, const std::function<void()> &act)
    {
        QList<int> seen;
        QMetaObject::Connection c =
            QObject::connect(b.tmrClr, &QTimer::timeout, &b, [&] { seen.append(b.GreyLevel()); });
        act();
        // The longest fade is 7 ticks of 50 ms.
        if (!QTest::qWaitFor([&] { return !b.tmrClr->isActive(); }, 3000))
            seen.append(-1); // never stopped
        QObject::disconnect(c);
        return seen;
    }
    static void send(ucCmdBtn &b, QEvent::Type type, QPointF pos, Qt::MouseButton button,
                     Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, pos, b.mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&b, &e);
    }
    static void moveTo(ucCmdBtn &b, QPointF pos, Qt::MouseButtons held = Qt::NoButton)
    {
        send(b, QEvent::MouseMove, pos, Qt::NoButton, held);
    }

private slots:
    void startsNormalAndFadesInSteps()
    {
        ucCmdBtn b(QStringLiteral("刷新"), nullptr);
        b.resize(300, 33);
        b.show();
        QCOMPARE(b.GreyLevel(), 235);
        QCOMPARE(b.BackColor(), 0xEBEBEBL);
        QCOMPARE(b.tmrClr->interval(), 50);
        QVERIFY(!b.tmrClr->isActive());

        // Hover: 235 -> 255 in 4 ticks.
        QCOMPARE(fadeTo(b, [&] { moveTo(b, QPointF(5, 5)); }), (QList<int>{240, 245, 250, 255}));
        QCOMPARE(b.ClrTo(), 255);
        // Press from the hover level: 255, 250, ..., 225, then 224.
        QCOMPARE(fadeTo(b, [&] { send(b, QEvent::MouseButtonPress, QPointF(5, 5), Qt::LeftButton, Qt::LeftButton); }),
                 (QList<int>{250, 245, 240, 235, 230, 225, 224}));
        QCOMPARE(b.BackColor(), 0xE0E0E0L);
        // Release: 224 -> 255 in 7 ticks.
        QCOMPARE(fadeTo(b, [&] { send(b, QEvent::MouseButtonRelease, QPointF(5, 5), Qt::LeftButton, Qt::NoButton); }),
                 (QList<int>{229, 234, 239, 244, 249, 254, 255}));
        // Leaving: 255, 250, 245, 240, 235 and the timer stops.
        QCOMPARE(fadeTo(b, [&] { moveTo(b, QPointF(-1, 5)); }), (QList<int>{250, 245, 240, 235}));
        QCOMPARE(b.ClrTo(), 235);
        // Qt reports the move that leaves the button as a leave.
        fadeTo(b, [&] { moveTo(b, QPointF(299, 32)); }); // edges count as inside
        QCOMPARE(b.GreyLevel(), 255);
        QEvent leave(QEvent::Leave);
        QCOMPARE(fadeTo(b, [&] { QApplication::sendEvent(&b, &leave); }), (QList<int>{250, 245, 240, 235}));
    }

    void moveWhilePressedBrightensAgain()
    {
        ucCmdBtn b(QStringLiteral("确定"), nullptr);
        b.resize(300, 33);
        b.show();
        fadeTo(b, [&] { send(b, QEvent::MouseButtonPress, QPointF(3, 3), Qt::RightButton, Qt::RightButton); });
        QCOMPARE(b.GreyLevel(), 224); // any button darkens
        moveTo(b, QPointF(4, 4), Qt::RightButton);
        QCOMPARE(b.ClrTo(), 255);
        QVERIFY(b.tmrClr->isActive());
        // A new target turns the fade around from the current level.
        QSignalSpy tick(b.tmrClr, &QTimer::timeout);
        QVERIFY(tick.wait(1000));
        QVERIFY(b.GreyLevel() > 224);
        moveTo(b, QPointF(400, 4), Qt::RightButton);
        QCOMPARE(b.ClrTo(), 235);
        QTRY_VERIFY(!b.tmrClr->isActive());
        QCOMPARE(b.GreyLevel(), 235);
    }

    void movesOverTheCaptionStayWithIt()
    {
        ucCmdBtn b(QStringLiteral("添加"), nullptr);
        b.resize(300, 33);
        b.show();
        const QPointF onCaption = QRectF(b.lblCaption->geometry()).center();
        moveTo(b, onCaption);
        QCOMPARE(b.ClrTo(), 235);
        QVERIFY(!b.tmrClr->isActive());
        // Presses on the caption act as on the surface.
        QSignalSpy click(&b, &ucCmdBtn::Click);
        send(b, QEvent::MouseButtonPress, onCaption, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(b.ClrTo(), 224);
        send(b, QEvent::MouseButtonRelease, onCaption, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(click.count(), 1);
    }

    void clicksAndDoubleClicks()
    {
        ucCmdBtn b(QStringLiteral("取消"), nullptr);
        b.resize(200, 30);
        b.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b));
        QSignalSpy click(&b, &ucCmdBtn::Click);
        QSignalSpy dbl(&b, &ucCmdBtn::DblClick);
        QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(click.count(), 1);
        QCOMPARE(dbl.count(), 0);
        // A double-click: Click for the first click, DblClick for the second.
        click.clear();
        QTest::mouseDClick(&b, Qt::LeftButton, {}, QPoint(10, 10));
        send(b, QEvent::MouseButtonPress, QPointF(10, 10), Qt::LeftButton, Qt::LeftButton);
        send(b, QEvent::MouseButtonRelease, QPointF(10, 10), Qt::LeftButton, Qt::NoButton);
        send(b, QEvent::MouseButtonDblClick, QPointF(10, 10), Qt::LeftButton, Qt::LeftButton);
        send(b, QEvent::MouseButtonRelease, QPointF(10, 10), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(dbl.count(), 2);
        // Released outside: no click.
        click.clear();
        send(b, QEvent::MouseButtonPress, QPointF(10, 10), Qt::LeftButton, Qt::LeftButton);
        send(b, QEvent::MouseButtonRelease, QPointF(500, 10), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(click.count(), 0);
        QCOMPARE(b.ClrTo(), 255);
    }

    void captionIsCentredAndPersisted()
    {
        ucCmdBtn b;
        b.resize(305, 33);
        b.show();
        QSignalSpy changed(&b, &ucCmdBtn::PropertyChanged);
        b.setCaption(QStringLiteral("结束任务"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(b.Caption(), QStringLiteral("结束任务"));
        QCOMPARE(b.property("Caption").toString(), QStringLiteral("结束任务"));
        const QRect g = b.lblCaption->geometry();
        QVERIFY(qAbs(g.center().x() - b.width() / 2) <= 1);
        QVERIFY(qAbs(g.center().y() - b.height() / 2) <= 1);
        QCOMPARE(g.size(), b.lblCaption->sizeHint());
        b.resize(605, 66);
        QVERIFY(qAbs(b.lblCaption->geometry().center().x() - 302) <= 1);

        QVariantHash bag;
        b.WriteProperties(bag);
        QCOMPARE(bag.value(QStringLiteral("Caption")).toString(), QStringLiteral("结束任务"));
        ucCmdBtn empty;
        empty.WriteProperties(bag);
        QVERIFY(bag.contains(QStringLiteral("Caption"))); // always written
        QCOMPARE(bag.value(QStringLiteral("Caption")).toString(), QString());
        // An absent caption reads as empty, centred.
        b.ReadProperties(QVariantHash());
        QCOMPARE(b.Caption(), QString());
        QVERIFY(qAbs(b.lblCaption->geometry().center().x() - 302) <= 1);
    }

    void shownAgainStartsNormal()
    {
        ucCmdBtn b(QStringLiteral("刷新"), nullptr);
        b.resize(100, 30);
        b.show();
        fadeTo(b, [&] { moveTo(b, QPointF(5, 5)); });
        QCOMPARE(b.GreyLevel(), 255);
        b.hide();
        b.show();
        QCOMPARE(b.GreyLevel(), 235);
    }
};

QTEST_MAIN(CmdBtnTest)
#include "CmdBtnTest.moc"
