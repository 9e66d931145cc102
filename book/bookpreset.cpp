#include "book/bookpreset.h"

#include "pages/naturalorder.h"

#include "book/optiontable.h"
#include "making/packager.h"

#include <QLocale>
#include <QSet>
#include <QSettings>
#include <QTranslator>

namespace {
const QString Group = QStringLiteral("Presets");

// The options a device's preset sets: how pages are sized and written; on
// a portrait screen (an e-ink reader, a phone) a wide page is cut in two,
// in the book's own reading order, so that a spread is two readable pages
// rather than a strip. Borders and the cut order stay the book's. A colour
// e-ink screen shows colours pale: they are made stronger (boost, percent)
// and the middle tones lighter (gamma, hundredths); other screens get them
// as they are. A long strip (a webtoon chapter) is cut into pages of the
// screen's height; a book of ordinary pages is unchanged by it.
QVector<QPair<QByteArray, int>> deviceValues(int width, int height, int quality, int grey,
                                             bool keep, bool portrait = false, int boost = 0,
                                             int gamma = 100)
{
    QVector<QPair<QByteArray, int>> values = {{"ImageResize", 1},
                                              {"ImageResizeMode", 1},
                                              {"ResizeImageWidth", width},
                                              {"ResizeImageHeight", height},
                                              {"ImageResizeSmooth", 1},
                                              {"ImageResizeNoEnlarge", 1},
                                              {"ImageQuality", quality},
                                              {"PageGrey", grey},
                                              {"PageFormat", PageOptions::JpegPages},
                                              {"KeepUnchangedJpeg", keep ? 1 : 0},
                                              {"LosslessCuts", 0},
                                              {"StorePages", 0},
                                              {"ColourBoost", boost},
                                              {"ColourGamma", gamma},
                                              {"CutLongStrips", 1},
                                              {"StripHeight", height}};
    if (portrait)
        values << qMakePair(QByteArray("ImageCutDoublePages"), 1)
               << qMakePair(QByteArray("ImageCutOnlyWide"), 1)
               << qMakePair(QByteArray("ImageCutPointNumber"), 50);
    return values;
}

// A Kindle's preset: a fixed-layout Kindle book of its screen's size, its
// pages grey or, for a colour screen, toned as the other colour e-ink
// screens are.
QVector<QPair<QByteArray, int>> kindleValues(int width, int height, bool colour = false)
{
    QVector<QPair<QByteArray, int>> values =
        colour ? deviceValues(width, height, 88, PageOptions::ColourPages, false, true, 30, 110)
               : deviceValues(width, height, 85, PageOptions::GreyEveryPage, false, true);
    values << qMakePair(QByteArray("BookKind"), int(PageOptions::Azw3Book));
    return values;
}

// Sent by mail, an EPUB is converted by the service: its pictures cut down to
// about 1920 pixels, WebP not shown, and a mail larger than 50 MB refused.
QVector<QPair<QByteArray, int>> kindleMailValues()
{
    QVector<QPair<QByteArray, int>> values =
        deviceValues(1920, 1920, 85, PageOptions::ColourPages, false, true);
    values << qMakePair(QByteArray("BookKind"), int(PageOptions::EpubBook))
           << qMakePair(QByteArray("MaxBookMegabytes"), 50);
    return values;
}

// A user's preset holds every option that shapes the pages.
bool kept(const BookOption &option)
{
    return option.kind != BookOption::Box && option.settingsKey &&
           qstrcmp(option.name, "ListEveryPictureType") != 0 &&
           qstrcmp(option.name, "WriteComicInfo") != 0;
}
} // namespace

BookPreset::BookPreset(const QString &name, const char *title, const Values &values,
                       const char *note)
    : m_name(name)
    , m_title(title)
    , m_note(note)
    , m_builtIn(true)
    , m_values(values)
{}

const QVector<BookPreset> &BookPreset::builtIns()
{
    static const QVector<BookPreset> presets = {
        {QStringLiteral("tablet"), QT_TR_NOOP("Colour tablet"),
         deviceValues(1600, 2560, 88, PageOptions::ColourPages, true)},
        {QStringLiteral("eink6"), QT_TR_NOOP("E-ink reader, 6 inches"),
         deviceValues(1072, 1448, 85, PageOptions::GreyEveryPage, false, true)},
        {QStringLiteral("eink7"), QT_TR_NOOP("E-ink reader, 7 to 8 inches"),
         deviceValues(1264, 1680, 85, PageOptions::GreyEveryPage, false, true)},
        {QStringLiteral("eink10"), QT_TR_NOOP("E-ink reader, 10 inches"),
         deviceValues(1404, 1872, 85, PageOptions::GreyEveryPage, false, true)},
        {QStringLiteral("kobo-clara-colour"), QT_TR_NOOP("Kobo Clara Colour"),
         deviceValues(1072, 1448, 88, PageOptions::ColourPages, false, true, 30, 110)},
        {QStringLiteral("kobo-libra-colour"), QT_TR_NOOP("Kobo Libra Colour"),
         deviceValues(1264, 1680, 88, PageOptions::ColourPages, false, true, 30, 110)},
        {QStringLiteral("remarkable-paper-pro"), QT_TR_NOOP("reMarkable Paper Pro"),
         deviceValues(1620, 2160, 88, PageOptions::ColourPages, false, true, 30, 110)},
        {QStringLiteral("kindle"), QT_TR_NOOP("Kindle"), kindleValues(1072, 1448)},
        {QStringLiteral("kindle-paperwhite"), QT_TR_NOOP("Kindle Paperwhite"),
         kindleValues(1236, 1648)},
        {QStringLiteral("kindle-oasis"), QT_TR_NOOP("Kindle Oasis"), kindleValues(1264, 1680)},
        {QStringLiteral("kindle-scribe"), QT_TR_NOOP("Kindle Scribe"), kindleValues(1860, 2480),
         QT_TR_NOOP("pages made at the screen's own size, where converters built on Amazon's "
                    "tools stop at 1440 × 1920; a larger page would only be scaled down on the "
                    "device, at the cost of its memory and time")},
        {QStringLiteral("kindle-colorsoft"), QT_TR_NOOP("Kindle Colorsoft"),
         kindleValues(1264, 1680, true)},
        {QStringLiteral("kindle-mail"), QT_TR_NOOP("Kindle by mail (EPUB)"), kindleMailValues()},
        {QStringLiteral("phone"), QT_TR_NOOP("Phone"),
         deviceValues(1080, 2400, 85, PageOptions::ColourPages, true, true)},
        {QStringLiteral("scanned"),
         QT_TR_NOOP("As scanned"),
         {{"ImageResize", 0},
          {"PageGrey", PageOptions::ColourPages},
          {"PageFormat", PageOptions::JpegPages},
          {"KeepUnchangedJpeg", 1},
          {"LosslessCuts", 1},
          {"StorePages", 1}}},
    };
    return presets;
}

QString BookPreset::title() const
{
    return m_builtIn ? tr(m_title) : m_name;
}

BookOptions BookPreset::appliedTo(BookOptions options) const
{
    for (const auto &value : m_values) {
        if (const BookOption *option = bookOption(QString::fromLatin1(value.first)))
            option->set(options,
                        qBound(option->range.minimum, value.second, option->range.maximum));
    }
    return options;
}

QString BookPreset::description() const
{
    QSet<QByteArray> named;
    for (const auto &value : m_values)
        named.insert(value.first);
    const PageOptions o = appliedTo(BookOptions()).pages;
    QStringList said;
    if (named.contains("ImageResize")) {
        if (!o.ImageResize)
            said << tr("original size");
        else if (o.ImageResizeMode == PageOptions::ResizeToFit)
            said << tr("fit within %1 × %2").arg(o.ResizeImageWidth).arg(o.ResizeImageHeight);
        else
            said << tr("exactly %1 × %2").arg(o.ResizeImageWidth).arg(o.ResizeImageHeight);
        if (o.ImageResize && o.ImageResizeMode == PageOptions::ResizeToFit &&
            o.ImageResizeNoEnlarge)
            said << tr("never enlarged");
        if (o.ImageResize && o.ImageResizeSmooth)
            said << tr("smooth");
    }
    if (named.contains("ImageQuality"))
        said << tr("quality %1").arg(o.ImageQuality);
    if (o.PageGrey == PageOptions::GreyWithoutColour)
        said << tr("grey pages as grey");
    else if (o.PageGrey == PageOptions::GreyEveryPage)
        said << tr("every page grey");
    if (o.ColourBoost > 0)
        said << tr("colours %1% stronger").arg(o.ColourBoost);
    if (o.ColourGamma != PageOptions::ToneGamma.initial)
        said << tr("gamma %1").arg(QLocale().toString(o.ColourGamma / 100.0, 'f', 2));
    if (named.contains("PageFormat"))
        said << (o.PageFormat == PageOptions::JpegPages   ? tr("JPEG")
                 : o.PageFormat == PageOptions::WebpPages ? tr("WebP")
                                                          : tr("lossless WebP"));
    if (o.KeepUnchangedPages)
        said << tr("unchanged pages kept as they are");
    if (o.LosslessCuts)
        said << tr("cuts on the blocks");
    if (o.StorePages)
        said << tr("stored");
    if (o.ImageCutDoublePages) {
        said << (o.ImageCutOnlyWide ? tr("wide pages cut in two at %1 %")
                                    : tr("spreads cut at %1 %"))
                    .arg(o.ImageCutPointNumber);
        // A device's preset leaves the order to the book; the user's keeps it.
        if (named.contains("ImageCutFirstPageRight"))
            said << (o.ImageCutFirstPageRight ? tr("right half first") : tr("left half first"));
    }
    if (o.ImageCutBorder)
        said << tr("border %1 px").arg(o.ImageCutBorderNumber);
    if (o.ImageTrimMargins)
        said << tr("margins trimmed");
    if (o.ScanStraighten)
        said << tr("scans straightened");
    if (o.ScanLevels)
        said << tr("paper evened out, gamma %1")
                    .arg(QLocale().toString(o.ScanLevelsGamma / 100.0, 'f', 2));
    if (o.ScanLeaveOutBlank)
        said << tr("blank pages left out");
    if (o.FacingSpreads)
        said << tr("spreads on facing pages");
    if (named.contains("CutLongStrips") && o.CutLongStrips)
        said << tr("long strips cut %1 high").arg(o.StripHeight);
    if (named.contains("PdfResolution"))
        said << tr("PDF pages at %1 dpi").arg(o.PdfResolution);
    if (named.contains("BookKind"))
        said.prepend(Packager::tr(Packager::kind(o.BookKind).title));
    if (o.MaxBookMegabytes > 0)
        said << tr("parts of at most %1 MB").arg(o.MaxBookMegabytes);
    if (m_note)
        said << tr(m_note);
    return said.join(QStringLiteral(", "));
}

// Whether a built-in preset is called so: by its name, or its title as the
// window shows it in either language (the program speaks both whatever the
// system's), in any case.
bool BookPreset::isCalled(const QString &name) const
{
    static QTranslator italian;
    static const bool loaded = italian.load(QStringLiteral(":/Translations/quirevale_it"));
    const QString trimmed = name.trimmed();
    const auto same = [&](const QString &said) {
        return !said.isEmpty() && said.compare(trimmed, Qt::CaseInsensitive) == 0;
    };
    if (same(m_name))
        return true;
    if (!m_builtIn)
        return false;
    return same(QString::fromLatin1(m_title)) || same(title()) ||
           (loaded && same(italian.translate("BookPreset", m_title)));
}

QString BookPreset::titleOf(const QString &name)
{
    for (const BookPreset &preset : builtIns()) {
        if (preset.isCalled(name))
            return preset.title();
    }
    return name;
}

bool BookPreset::isBuiltInName(const QString &name)
{
    for (const BookPreset &preset : builtIns()) {
        if (preset.isCalled(name))
            return true;
    }
    return false;
}

QStringList BookPreset::ownNames(const QSettings &settings)
{
    // The store's groups: no walk over every key of every preset.
    QSettings &store = const_cast<QSettings &>(settings);
    store.beginGroup(Group);
    QStringList names = store.childGroups();
    store.endGroup();
    QVector<QString> sorted(names.begin(), names.end());
    stableMergeSort(sorted, [](const QString &a, const QString &b) { return naturalLess(a, b); });
    names.clear();
    for (const QString &name : sorted) {
        if (!isBuiltInName(name))
            names << name;
    }
    return names;
}

QVector<BookPreset> BookPreset::all(QSettings &settings)
{
    QVector<BookPreset> presets = builtIns();
    // One of the user's named as one of the program's (kept by an older
    // version, or written by hand) could never be chosen: it is not listed.
    for (const QString &name : ownNames(settings)) {
        const BookPreset own = read(settings, name);
        if (own.isValid())
            presets << own;
    }
    return presets;
}

BookPreset BookPreset::find(const QSettings &settings, const QString &name)
{
    for (const BookPreset &preset : builtIns()) {
        if (preset.isCalled(name))
            return preset;
    }
    // The user's own match in any case too, as the program's do.
    for (const QString &own : ownNames(settings)) {
        if (own.compare(name, Qt::CaseInsensitive) == 0)
            return read(settings, own);
    }
    return BookPreset();
}

BookPreset BookPreset::read(const QSettings &settings, const QString &name)
{
    BookPreset preset;
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return preset;
    for (const BookOption &option : bookOptions()) {
        if (!kept(option))
            continue;
        const QVariant value =
            settings.value(QStringLiteral("%1/%2/%3").arg(Group, name, QLatin1String(option.name)));
        bool ok = false;
        const int number = value.toInt(&ok);
        if (value.isValid() && ok)
            preset.m_values.append({QByteArray(option.name), number});
    }
    if (!preset.m_values.isEmpty())
        preset.m_name = name;
    return preset;
}

bool BookPreset::save(QSettings &settings, const QString &name, const BookOptions &options)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || trimmed.contains(QLatin1Char('/')) ||
        trimmed.contains(QLatin1Char('\\')) || isBuiltInName(trimmed))
        return false;
    // Saved over one whose name differs only in case: one preset, not two
    // the menu cannot tell apart.
    const BookPreset existing = find(settings, trimmed);
    if (existing.isValid())
        remove(settings, existing.name());
    remove(settings, trimmed);
    for (const BookOption &option : bookOptions()) {
        if (kept(option))
            settings.setValue(
                QStringLiteral("%1/%2/%3").arg(Group, trimmed, QLatin1String(option.name)),
                option.get(options));
    }
    return true;
}

void BookPreset::remove(QSettings &settings, const QString &name)
{
    if (!name.isEmpty() && !name.contains(QLatin1Char('/')))
        settings.remove(QStringLiteral("%1/%2").arg(Group, name));
}
