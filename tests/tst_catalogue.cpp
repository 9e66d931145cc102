#include "catalogue.h"
#include "testsupport.h"

#include <QFile>
#include <QProcess>
#include <QResource>
#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {
struct Message
{
    QString context;
    QString source;
    QString translation;
    bool finished = false;
};

// Every message of a Qt Linguist source file.
QList<Message> readTs(const QString &path)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            message = Message{context, QString(), QString(), false};
        } else if (xml.name() == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            message.finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            // Plural messages hold their forms as child elements.
            message.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            messages << message;
        }
    }
    return messages;
}

QString key(const QString &context, const QString &source)
{
    return context + QLatin1Char('\x1f') + source;
}
} // namespace

class tst_Catalogue : public QObject
{
    Q_OBJECT

private slots:
    void translations_data();
    void translations();
    void holdsTheseMessages();
    void everyTextOfTheCodeIsCovered();
    void resourcesAreStoredUncompressed_data();
    void resourcesAreStoredUncompressed();
};

void tst_Catalogue::translations_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("translation");
    for (const CatalogueEntry &entry : italianCatalogue())
        QTest::addRow("%s: %s", entry.context, qPrintable(entry.source.left(40)))
            << QString::fromLatin1(entry.context) << entry.source << entry.translation;
}

void tst_Catalogue::translations()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, translation);
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/Translations/quirevale_it")));
    QCOMPARE(translator.translate(context.toLatin1(), source.toUtf8()), translation);
}

// The compiled catalogue, taken apart again: the 45 messages the program
// has always had, and a translation for every message it holds.
void tst_Catalogue::holdsTheseMessages()
{
    QTemporaryDir work;
    const QString qm = work.filePath("it.qm"), ts = work.filePath("it.ts");
    QVERIFY(QFile::copy(QStringLiteral(":/Translations/quirevale_it.qm"), qm));
    QCOMPARE(QProcess::execute(QStringLiteral(QUIREVALE_LCONVERT), {"-i", qm, "-o", ts}), 0);

    QSet<QString> compiled, expected;
    for (const Message &message : readTs(ts))
        compiled << key(message.context, message.source) + QLatin1Char('\x1f') +
                        message.translation;
    for (const CatalogueEntry &entry : italianCatalogue())
        expected << key(QString::fromLatin1(entry.context), entry.source) + QLatin1Char('\x1f') +
                        entry.translation;
    QCOMPARE(expected.size(), 45);
    QCOMPARE(compiled.size(), readTs(ts).size()); // no message twice
    QCOMPARE(expected - compiled, QSet<QString>());
    for (const Message &message : readTs(ts))
        QVERIFY2(!message.translation.isEmpty(), qPrintable(message.source));
}

// What lupdate finds in the code today: each text is in the catalogue, or
// is one of those that stay English, and the catalogue holds nothing the
// code no longer says.
void tst_Catalogue::everyTextOfTheCodeIsCovered()
{
    QTemporaryDir work;
    const QString ts = work.filePath("scan.ts");
    QProcess lupdate;
    lupdate.setWorkingDirectory(QStringLiteral(QUIREVALE_SOURCE_DIR));
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(QStringLiteral(QUIREVALE_LUPDATE),
                  {"-locations", "none", "app", "book", "cli", "pages", "preview", "making", "dialogs",
                   "-ts", ts});
    QVERIFY(lupdate.waitForFinished(60000));
    QCOMPARE(lupdate.exitCode(), 0);

    QSet<QString> inCode;
    for (const Message &message : readTs(ts))
        inCode << key(message.context, message.source);
    QSet<QString> catalogue;
    for (const CatalogueEntry &entry : italianCatalogue())
        catalogue << key(QString::fromLatin1(entry.context), entry.source);
    const QSet<QString> english = {
        key("QuirevaleClass", "File"),
        key("QuirevaleClass", "?"),
        key("ImageManager", "1"),
        key("ImageManager", "2"),
        key("About", "OK"),
        key("About", "<a href=\"https://quirevale.example.org/\">Ostrelind Home Page</a>"),
        key("Donations", "OK"),
    };
    // The source file in the repository translates everything the code
    // says, but for the texts that stay English, and nothing more.
    QSet<QString> finished;
    for (const Message &message :
         readTs(QStringLiteral(QUIREVALE_SOURCE_DIR "/resources/quirevale_it.ts"))) {
        if (message.finished)
            finished << key(message.context, message.source);
    }
    QCOMPARE(inCode - finished - english, QSet<QString>());
    QCOMPARE(finished - inCode, QSet<QString>());
    QCOMPARE(english - inCode, QSet<QString>());
    QCOMPARE(catalogue - finished, QSet<QString>());
}

void tst_Catalogue::resourcesAreStoredUncompressed_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("catalogue") << ":/Translations/quirevale_it.qm" << QSize();
    QTest::newRow("icon") << ":/Quirevale/Quirevale.ico" << QSize(32, 32);
    QTest::newRow("about") << ":/Quirevale/about.png" << QSize(32, 32);
    QTest::newRow("exit") << ":/Quirevale/exit.png" << QSize(32, 32);
    QTest::newRow("folder") << ":/Quirevale/folder.png" << QSize(16, 16);
    QTest::newRow("left sheet") << ":/Quirevale/page_left.png" << QSize(96, 96);
    QTest::newRow("right sheet") << ":/Quirevale/page_right.png" << QSize(96, 96);
    QTest::newRow("scissors") << ":/Quirevale/scissors.png" << QSize(20, 20);
    QTest::newRow("thank you") << ":/Quirevale/thankyou.png" << QSize(180, 148);
}

void tst_Catalogue::resourcesAreStoredUncompressed()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QResource resource(path);
    QVERIFY2(resource.isValid(), qPrintable(path));
    QCOMPARE(resource.compressionAlgorithm(), QResource::NoCompression);
    if (size.isValid())
        QCOMPARE(QImage(path).size(), size);
}

QUIREVALE_TEST_MAIN(tst_Catalogue)
#include "tst_catalogue.moc"
