#include "pages/naturalorder.h"
#include "testsupport.h"

#include <QRandomGenerator>

class tst_NaturalOrder : public QObject
{
    Q_OBJECT

private slots:
    void pairs_data();
    void pairs();
    void numbers_data();
    void numbers();
    void sortsAFolder();
    void adversarialSetsSortSafely();
    void consistentSetsComeOutSorted();
};

// less(a, b) and less(b, a) for every pair: an order and its mirror.
void tst_NaturalOrder::pairs_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("aFirst");
    QTest::addColumn<bool>("bFirst");

    const QString arabicThree = QStringLiteral("p\u0663.jpg");
    const QString fullWidthTwelve = QStringLiteral("p\uff11\uff12.jpg");

    QTest::newRow("page2 before page10") << "page2.jpg"
                                         << "page10.jpg" << true << false;
    QTest::newRow("numbers decide before extensions") << "p9.png"
                                                      << "p10.jpg" << true << false;
    QTest::newRow("7 before 07") << "7.jpg"
                                 << "07.jpg" << true << false;
    QTest::newRow("07 before 007") << "07.jpg"
                                   << "007.jpg" << true << false;
    QTest::newRow("a1 before a.") << "a1.jpg"
                                  << "a.jpg" << true << false;
    QTest::newRow("a1 before a-1") << "a1.jpg"
                                   << "a-1.jpg" << true << false;
    QTest::newRow("digit before space") << "a1.jpg"
                                        << "a 1.jpg" << true << false;
    QTest::newRow("capitals first") << "B.jpg"
                                    << "a.jpg" << true << false;
    QTest::newRow("Page1 before page0") << "Page1.jpg"
                                        << "page0.jpg" << true << false;
    QTest::newRow("extension decides last") << "1.jpg"
                                            << "1.png" << true << false;
    QTest::newRow("whole lengths decide") << "p1.jpg.jpg"
                                          << "p0000001.jpg" << true << false;
    QTest::newRow("Arabic-Indic three equals 3") << "p3.jpg" << arabicThree << false << false;
    QTest::newRow("Arabic-Indic three before 4") << arabicThree << "p4.jpg" << true << false;
    QTest::newRow("full-width twelve after 9") << "p9.jpg" << fullWidthTwelve << true << false;
    QTest::newRow("same name") << "x.jpg"
                               << "x.jpg" << false << false;
    QTest::newRow("used up first is shorter") << "page"
                                              << "page1" << true << false;

    // Runs longer than any machine integer keep their exact value.
    QTest::newRow("2^32 after 1") << "1.jpg"
                                  << "4294967296.jpg" << true << false;
    QTest::newRow("2^32 before 5e9") << "4294967296.jpg"
                                     << "5000000000.jpg" << true << false;
    QTest::newRow("2^32 after 0 by length only") << "0.jpg"
                                                 << "4294967296.jpg" << true << false;
    QTest::newRow("2^64 before 2^64+1") << "18446744073709551616.jpg"
                                        << "18446744073709551617.jpg" << true << false;
    QTest::newRow("timestamps") << "scan_20261207101500.png"
                                << "scan_20261207101501.png" << true << false;
    QTest::newRow("leading zeros on a long run") << "000099999999999.jpg"
                                                 << "100000000000.jpg" << true << false;
    QTest::newRow("zeros only equal zero") << "p000x"
                                           << "p0y" << true << false;
    QTest::newRow("equal runs continue the walk") << "v12b"
                                                  << "v012a" << false << true;
}

void tst_NaturalOrder::pairs()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, aFirst);
    QFETCH(bool, bFirst);

    QCOMPARE(naturalLess(a, b), aFirst);
    QCOMPARE(naturalLess(b, a), bFirst);
    QCOMPARE(NaturalOrderLess()(QFileInfo(QStringLiteral("/x/") + a),
                                QFileInfo(QStringLiteral("/y/") + b)),
             aFirst);
}

void tst_NaturalOrder::numbers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("other");
    QTest::addColumn<int>("order");

    QTest::newRow("plain") << "p123.jpg" << 1 << 4 << "123" << 0;
    QTest::newRow("leading zeros") << "007" << 0 << 3 << "7" << 0;
    QTest::newRow("all zeros") << "000.png" << 0 << 3 << "0" << 0;
    QTest::newRow("to the end") << "abc42" << 3 << 5 << "41" << 1;
    QTest::newRow("twenty digits")
        << "x12345678901234567890" << 1 << 21 << "99999999999999999999" << -1;
    QTest::newRow("mixed scripts") << QStringLiteral("\u0661\uff12") << 0 << 2 << "12" << 0;
}

void tst_NaturalOrder::numbers()
{
    QFETCH(QString, name);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, other);
    QFETCH(int, order);

    int pos = start;
    const DigitRun run = ReadNumber(name, pos);
    QCOMPARE(pos, end);
    int otherPos = 0;
    const DigitRun otherRun = ReadNumber(other, otherPos);
    QCOMPARE(otherPos, other.size());
    QCOMPARE(compareNumbers(run, otherRun), order);
    QCOMPARE(compareNumbers(otherRun, run), -order);
}

void tst_NaturalOrder::sortsAFolder()
{
    QVector<QString> names = {"page10.jpg", "page2.jpg", "007.jpg", "7.jpg",   "07.jpg",
                              "a.jpg",      "a1.jpg",    "B.jpg",   "a-1.jpg", "page1.png"};
    stableMergeSort(names, naturalLess);
    QCOMPARE(names, QVector<QString>({"7.jpg", "07.jpg", "007.jpg", "B.jpg", "a1.jpg", "a-1.jpg",
                                      "a.jpg", "page1.png", "page2.jpg", "page10.jpg"}));
}

namespace {
QString adversarialName(QRandomGenerator &random)
{
    static const QString pieces[] = {"0",
                                     "00",
                                     "1",
                                     "7",
                                     "9",
                                     "10",
                                     "007",
                                     ".",
                                     "-",
                                     " ",
                                     "a",
                                     "A",
                                     "p",
                                     "jpg",
                                     ".jpg",
                                     QStringLiteral("\u0663"),
                                     QStringLiteral("\u0660\u0661"),
                                     QStringLiteral("\uff17"),
                                     "4294967296",
                                     "18446744073709551616",
                                     "000000000000000000001",
                                     "99999999999999999999"};
    const int count = int(sizeof(pieces) / sizeof(pieces[0]));
    QString name;
    const int parts = random.bounded(1, 7);
    for (int i = 0; i < parts; ++i)
        name += pieces[random.bounded(count)];
    return name;
}
} // namespace

void tst_NaturalOrder::adversarialSetsSortSafely()
{
    QRandomGenerator random(20261207);
    for (int round = 0; round < 1500; ++round) {
        QVector<QString> names(random.bounded(2, 60));
        for (QString &name : names)
            name = adversarialName(random);

        QVector<QString> sorted = names;
        stableMergeSort(sorted, naturalLess);
        QVector<QString> again = names;
        stableMergeSort(again, naturalLess);
        QCOMPARE(again, sorted); // the same input always gives the same order

        QVector<QString> a = names, b = sorted;
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        QCOMPARE(b, a); // a permutation: nothing lost, nothing doubled
    }
}

// Distinct names built from letters and digit runs without leading zeros
// are ordered consistently; then the result must be sorted throughout and
// ties must keep their input order.
void tst_NaturalOrder::consistentSetsComeOutSorted()
{
    QRandomGenerator random(7);
    for (int round = 0; round < 300; ++round) {
        QVector<QString> names;
        for (int i = 0; i < 80; ++i) {
            QString name = QStringLiteral("p");
            name += QString::number(random.bounded(1, 500));
            if (random.bounded(2))
                name += QStringLiteral("_") + QString::number(random.bounded(1, 30));
            name += random.bounded(2) ? QStringLiteral(".jpg") : QStringLiteral(".png");
            names.append(name);
        }
        QVector<QString> sorted = names;
        stableMergeSort(sorted, naturalLess);
        for (int i = 0; i + 1 < sorted.size(); ++i) {
            for (int j = i + 1; j < sorted.size(); ++j)
                QVERIFY2(!naturalLess(sorted[j], sorted[i]),
                         qPrintable(sorted[i] + QLatin1String(" / ") + sorted[j]));
        }
    }

    // Stability: equivalent names keep the order they were listed in.
    struct Tagged
    {
        QString name;
        int tag;
    };
    QVector<Tagged> tagged = {{QStringLiteral("p\u0663.jpg"), 0}, {"p1.jpg", 1}, {"p3.jpg", 2}};
    stableMergeSort(tagged,
                    [](const Tagged &x, const Tagged &y) { return naturalLess(x.name, y.name); });
    QCOMPARE(tagged[0].tag, 1);
    QCOMPARE(tagged[1].tag, 0);
    QCOMPARE(tagged[2].tag, 2);
}

QUIREVALE_TEST_MAIN(tst_NaturalOrder)
#include "tst_naturalorder.moc"
