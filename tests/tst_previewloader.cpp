#include "app/previewloader.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class tst_PreviewLoader : public QObject
{
    Q_OBJECT

private slots:
    void pictureReadForASmallerPreviewIsReadAgain_data();
    void pictureReadForASmallerPreviewIsReadAgain();
};

void tst_PreviewLoader::pictureReadForASmallerPreviewIsReadAgain_data()
{
    QTest::addColumn<QSize>("grownTo");
    QTest::addColumn<QSize>("shownLast");
    QTest::newRow("grown past the page") << QSize(2000, 2000) << QSize(800, 400);
    QTest::newRow("grown, still smaller") << QSize(400, 400) << QSize(400, 200);
    QTest::newRow("not grown") << QSize(300, 30) << QSize(60, 30);
}

// The preview grows while its page is read for the smaller size: the page
// read is shown, then read again for the size the preview has now (it
// stayed small until another page was chosen).
void tst_PreviewLoader::pictureReadForASmallerPreviewIsReadAgain()
{
    QFETCH(QSize, grownTo);
    QFETCH(QSize, shownLast);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("page.png"));
    QVERIFY(TestSupport::noiseImage(800, 400).save(file));
    const PageLocation page(file);

    PreviewLoader loader;
    QSignalSpy ready(&loader, &PreviewLoader::pictureReady);
    loader.setBounds(QSize(300, 30));
    loader.show(page);
    // Its read is under way (its end is told through this thread's events)
    // when the preview grows and asks again.
    loader.setBounds(grownTo);
    loader.show(page);
    QTRY_VERIFY(!ready.isEmpty());
    const auto last = [&] {
        return ready.last().at(1).value<PagePicture>().picture.size();
    };
    QTRY_COMPARE(last(), shownLast);
    QCOMPARE(ready.first().at(1).value<PagePicture>().picture.size(), QSize(60, 30));
    // Read again once at most, and then kept.
    QTest::qWait(100);
    QVERIFY(ready.size() <= 2);
    ready.clear();
    loader.show(page);
    QCOMPARE(ready.size(), 1);
    QCOMPARE(last(), shownLast);
}

QUIREVALE_TEST_MAIN(tst_PreviewLoader)
#include "tst_previewloader.moc"
