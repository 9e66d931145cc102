#include "cli/cliarguments.h"
#include "testsupport.h"

#include <QRegularExpression>

class tst_CliArguments : public QObject
{
    Q_OBJECT

private slots:
    void goodArguments_data();
    void goodArguments();
    void badArguments_data();
    void badArguments();
    void comicInformation();
};

void tst_CliArguments::goodArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("options"); // what they set, in a short form

    const QString defaults = "q100 keep cut:no@50 right border:no/5 t0 o:";
    QTest::newRow("folder alone") << QStringList{"A"} << defaults;
    QTest::newRow("every option") << QStringList{"--quality",    "0",         "--resize",
                                                 "100x10000",    "--split",   "20",
                                                 "--first-page", "left",      "--border",
                                                 "1000",         "--threads", "3",
                                                 "-o",           "out.cbz",   "A"}
                                  << "q0 100x10000 cut:yes@20 left border:yes/1000 t3 o:out.cbz";
    QTest::newRow("highest split, zero border, long output")
        << QStringList{"--split=80", "--border=0", "--output=books", "A", "B"}
        << "q100 keep cut:yes@80 right border:yes/0 t0 o:books";
}

void tst_CliArguments::goodArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, options);
    CliArguments parsed;
    QCOMPARE(parsed.parse(QStringList{"quirevale-cli"} + arguments), CliArguments::Run);
    const PageOptions &o = parsed.pageOptions;
    const QString seen =
        QStringLiteral("q%1 %2 cut:%3@%4 %5 border:%6/%7 t%8 o:%9")
            .arg(o.ImageQuality)
            .arg(o.ImageResize
                     ? QStringLiteral("%1x%2").arg(o.ResizeImageWidth).arg(o.ResizeImageHeight)
                     : QStringLiteral("keep"))
            .arg(o.ImageCutDoublePages ? "yes" : "no")
            .arg(o.ImageCutPointNumber)
            .arg(o.ImageCutFirstPageRight ? "right" : "left")
            .arg(o.ImageCutBorder ? "yes" : "no")
            .arg(o.ImageCutBorderNumber)
            .arg(parsed.threads)
            .arg(parsed.output);
    QCOMPARE(seen, options);
    QCOMPARE(parsed.folders, arguments.filter(QRegularExpression("^[AB]$")));
}

void tst_CliArguments::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named"); // the option the error names

    QTest::newRow("quality above") << QStringList{"--quality", "101", "A"} << "--quality";
    QTest::newRow("quality negative") << QStringList{"--quality=-1", "A"} << "--quality";
    QTest::newRow("quality not a number") << QStringList{"--quality", "high", "A"} << "--quality";
    QTest::newRow("resize too small") << QStringList{"--resize", "99x800", "A"} << "--resize";
    QTest::newRow("resize one side") << QStringList{"--resize", "600", "A"} << "--resize";
    QTest::newRow("resize with a star") << QStringList{"--resize", "600*800", "A"} << "--resize";
    QTest::newRow("split below") << QStringList{"--split", "19", "A"} << "--split";
    QTest::newRow("split a fraction") << QStringList{"--split", "50.5", "A"} << "--split";
    QTest::newRow("first page up") << QStringList{"--first-page", "up", "A"} << "--first-page";
    QTest::newRow("border above") << QStringList{"--border", "1001", "A"} << "--border";
    QTest::newRow("no threads") << QStringList{"--threads", "0", "A"} << "--threads";
    QTest::newRow("unknown option") << QStringList{"--colour", "A"} << "colour";
    QTest::newRow("value missing") << QStringList{"A", "--quality"} << "quality";
    QTest::newRow("no folder") << QStringList{"--quality", "90"} << "folder";
    QTest::newRow("year out of range") << QStringList{"--year", "3500", "A"} << "--year";
    QTest::newRow("volume not a number") << QStringList{"--volume", "II", "A"} << "--volume";
}

void tst_CliArguments::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    CliArguments parsed;
    QCOMPARE(parsed.parse(QStringList{"quirevale-cli"} + arguments), CliArguments::UsageError);
    QVERIFY2(parsed.errorString().contains(named), qPrintable(parsed.errorString()));
}

void tst_CliArguments::comicInformation()
{
    CliArguments plain;
    QCOMPARE(plain.parse({"quirevale-cli", "Saga 03"}), CliArguments::Run);
    QVERIFY(!plain.comicInfoFor("Saga 03").write);
    QVERIFY(!plain.pageOptions.KeepUnchangedJpeg);

    CliArguments given;
    QCOMPARE(given.parse({"quirevale-cli", "--keep-jpeg", "--number", "3b", "--writer", "B. K. V.",
                          "--year", "2012", "--right-to-left", "Saga 03"}),
             CliArguments::Run);
    QVERIFY(given.pageOptions.KeepUnchangedJpeg);
    const ComicInfo info = given.comicInfoFor("Saga 03");
    QVERIFY(info.write);
    QCOMPARE(info.series, QStringLiteral("Saga")); // from the name
    QCOMPARE(info.number, QStringLiteral("3b"));   // given wins
    QCOMPARE(info.writer, QStringLiteral("B. K. V."));
    QCOMPARE(info.year, 2012);
    QCOMPARE(info.volume, -1);
    QVERIFY(info.rightToLeft);
}

QUIREVALE_TEST_MAIN(tst_CliArguments)
#include "tst_cliarguments.moc"
