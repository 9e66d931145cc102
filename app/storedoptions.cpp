#include "app/storedoptions.h"

#include <QSettings>

namespace {
QString key(const char *name)
{
    return QStringLiteral("Options/") + QLatin1String(name);
}

int storedNumber(const QSettings &settings, const char *name, const OptionRange &range)
{
    bool ok = false;
    const int value = settings.value(key(name)).toString().trimmed().toInt(&ok);
    return ok && range.contains(value) ? value : range.initial;
}

bool storedSwitch(const QSettings &settings, const char *name, bool fallback)
{
    const QString value = settings.value(key(name)).toString();
    if (value == QLatin1String("true"))
        return true;
    if (value == QLatin1String("false"))
        return false;
    return fallback;
}
} // namespace

namespace {
// Every stored option: its key and the field it keeps, once for both ways.
struct Switch
{
    const char *key;
    bool PageOptions::*field;
};
struct Number
{
    const char *key;
    int PageOptions::*field;
    const OptionRange &range;
};

const Switch switches[] = {
    {"ImageResize", &PageOptions::ImageResize},
    {"ImageCutDoublePages", &PageOptions::ImageCutDoublePages},
    {"ImageCutFirstPageRight", &PageOptions::ImageCutFirstPageRight},
    {"ImageCutBorder", &PageOptions::ImageCutBorder},
    {"KeepUnchangedJpeg", &PageOptions::KeepUnchangedJpeg},
    {"StorePages", &PageOptions::StorePages},
    {"LosslessCuts", &PageOptions::LosslessCuts},
    {"GreyAuto", &PageOptions::GreyAuto},
    {"GreyAll", &PageOptions::GreyAll},
    {"ImageResizeFit", &PageOptions::ImageResizeFit},
    {"ImageResizeSmooth", &PageOptions::ImageResizeSmooth},
    {"ImageCutOnlyWide", &PageOptions::ImageCutOnlyWide},
    {"ImageTrimMargins", &PageOptions::ImageTrimMargins},
};

const Number numbers[] = {
    {"ImageQuality", &PageOptions::ImageQuality, PageOptions::Quality},
    {"ResizeImageWidth", &PageOptions::ResizeImageWidth, PageOptions::ResizeWidth},
    {"ResizeImageHeight", &PageOptions::ResizeImageHeight, PageOptions::ResizeHeight},
    {"ImageCutPointNumber", &PageOptions::ImageCutPointNumber, PageOptions::CutPoint},
    {"ImageCutBorderNumber", &PageOptions::ImageCutBorderNumber, PageOptions::BorderPixels},
    {"ImageTrimTolerance", &PageOptions::ImageTrimTolerance, PageOptions::TrimTolerance},
};

const char *const FormatKey = "PageFormat";
} // namespace

PageOptions loadPageOptions(const QSettings &settings)
{
    const PageOptions d;
    PageOptions o;
    for (const Switch &stored : switches)
        o.*stored.field = storedSwitch(settings, stored.key, d.*stored.field);
    for (const Number &stored : numbers)
        o.*stored.field = storedNumber(settings, stored.key, stored.range);
    o.PageFormat = settings.value(key(FormatKey)).toString() == QLatin1String("webp")
                       ? PageOptions::WebpPages
                       : PageOptions::JpegPages;
    return o;
}

void savePageOptions(QSettings &settings, const PageOptions &o)
{
    for (const Switch &stored : switches)
        settings.setValue(key(stored.key), o.*stored.field);
    for (const Number &stored : numbers)
        settings.setValue(key(stored.key), o.*stored.field);
    settings.setValue(key(FormatKey), o.PageFormat == PageOptions::WebpPages
                                          ? QStringLiteral("webp")
                                          : QStringLiteral("jpeg"));
}
