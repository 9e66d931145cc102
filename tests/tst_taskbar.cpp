#include "app/launcherentry.h"
#include "app/quirevale.h"
#include "app/shelltaskbarbutton.h"
#include "app/shelltaskbarprogress.h"
#include "testsupport.h"

#include <QSignalSpy>

class tst_Taskbar : public QObject
{
    Q_OBJECT

private slots:
    void progressKeepsItsState_data();
    void progressKeepsItsState();
    void buttonHandsOutOneIndicator();
    void windowBindsOnEveryShow();
    void noSessionBusIsHarmless();
};

void tst_Taskbar::progressKeepsItsState_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expectedValue");

    QTest::newRow("inside") << 0 << 10 << 5 << 5;
    QTest::newRow("at the maximum") << 0 << 10 << 10 << 10;
    QTest::newRow("above: ignored") << 0 << 10 << 11 << 0;
    QTest::newRow("below: ignored") << 3 << 10 << 1 << 3;
    QTest::newRow("empty range") << 0 << 0 << 0 << 0;
}

void tst_Taskbar::progressKeepsItsState()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(int, expectedValue);

    ShellTaskbarProgress progress;
    QSignalSpy changed(&progress, &ShellTaskbarProgress::changed);
    QVERIFY(!progress.isVisible());
    progress.setRange(minimum, maximum);
    progress.setValue(value);
    QCOMPARE(progress.minimum(), minimum);
    QCOMPARE(progress.maximum(), maximum);
    QCOMPARE(progress.value(), expectedValue);
    progress.show();
    QVERIFY(progress.isVisible());
    progress.hide();
    QVERIFY(!progress.isVisible());
    QVERIFY(changed.count() >= 3);
}

void tst_Taskbar::buttonHandsOutOneIndicator()
{
    ShellTaskbarButton button;
    QVERIFY(button.progress());
    QCOMPARE(button.progress(), button.progress());
    QCOMPARE(button.progress()->parent(), &button);
}

void tst_Taskbar::windowBindsOnEveryShow()
{
    Quirevale window;
    auto *button = window.findChild<ShellTaskbarButton *>();
    QVERIFY(button);
    // The window's progress is its button's own.
    QCOMPARE(window.findChildren<ShellTaskbarProgress *>(), {button->progress()});
    QVERIFY(!button->window());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(button->window(), window.windowHandle());

    window.hide();
    button->setWindow(nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(button->window(), window.windowHandle());
}

// This test runs with a session bus address that leads nowhere.
void tst_Taskbar::noSessionBusIsHarmless()
{
    LauncherEntry entry(QStringLiteral(QUIREVALE_DESKTOP_ID));
    QVERIFY(!entry.update(0.5, true));
    ShellTaskbarProgress progress;
    progress.setRange(0, 4);
    progress.show();
    progress.setValue(3);
    progress.hide();
    QCOMPARE(progress.value(), 3);
}

QUIREVALE_TEST_MAIN(tst_Taskbar)
#include "tst_taskbar.moc"
