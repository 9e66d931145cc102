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

PageOptions loadPageOptions(const QSettings &settings)
{
    const PageOptions d;
    PageOptions o;
    o.ImageQuality = storedNumber(settings, "ImageQuality", PageOptions::Quality);
    o.ImageResize = storedSwitch(settings, "ImageResize", d.ImageResize);
    o.ResizeImageWidth = storedNumber(settings, "ResizeImageWidth", PageOptions::ResizeWidth);
    o.ResizeImageHeight = storedNumber(settings, "ResizeImageHeight", PageOptions::ResizeHeight);
    o.ImageCutDoublePages = storedSwitch(settings, "ImageCutDoublePages", d.ImageCutDoublePages);
    o.ImageCutPointNumber = storedNumber(settings, "ImageCutPointNumber", PageOptions::CutPoint);
    o.ImageCutFirstPageRight =
        storedSwitch(settings, "ImageCutFirstPageRight", d.ImageCutFirstPageRight);
    o.ImageCutBorder = storedSwitch(settings, "ImageCutBorder", d.ImageCutBorder);
    o.ImageCutBorderNumber =
        storedNumber(settings, "ImageCutBorderNumber", PageOptions::BorderPixels);
    o.KeepUnchangedJpeg = storedSwitch(settings, "KeepUnchangedJpeg", d.KeepUnchangedJpeg);
    o.StorePages = storedSwitch(settings, "StorePages", d.StorePages);
    o.PageFormat = settings.value(key("PageFormat")).toString() == QLatin1String("webp")
                       ? PageOptions::WebpPages
                       : PageOptions::JpegPages;
    o.GreyAuto = storedSwitch(settings, "GreyAuto", d.GreyAuto);
    o.GreyAll = storedSwitch(settings, "GreyAll", d.GreyAll);
    o.ImageResizeFit = storedSwitch(settings, "ImageResizeFit", d.ImageResizeFit);
    o.ImageResizeSmooth = storedSwitch(settings, "ImageResizeSmooth", d.ImageResizeSmooth);
    o.ImageCutOnlyWide = storedSwitch(settings, "ImageCutOnlyWide", d.ImageCutOnlyWide);
    o.ImageTrimMargins = storedSwitch(settings, "ImageTrimMargins", d.ImageTrimMargins);
    o.ImageTrimTolerance = storedNumber(settings, "ImageTrimTolerance", PageOptions::TrimTolerance);
    return o;
}

void savePageOptions(QSettings &settings, const PageOptions &o)
{
    settings.setValue(key("ImageQuality"), o.ImageQuality);
    settings.setValue(key("ImageResize"), o.ImageResize);
    settings.setValue(key("ResizeImageWidth"), o.ResizeImageWidth);
    settings.setValue(key("ResizeImageHeight"), o.ResizeImageHeight);
    settings.setValue(key("ImageCutDoublePages"), o.ImageCutDoublePages);
    settings.setValue(key("ImageCutPointNumber"), o.ImageCutPointNumber);
    settings.setValue(key("ImageCutFirstPageRight"), o.ImageCutFirstPageRight);
    settings.setValue(key("ImageCutBorder"), o.ImageCutBorder);
    settings.setValue(key("ImageCutBorderNumber"), o.ImageCutBorderNumber);
    settings.setValue(key("KeepUnchangedJpeg"), o.KeepUnchangedJpeg);
    settings.setValue(key("StorePages"), o.StorePages);
    settings.setValue(key("PageFormat"), o.PageFormat == PageOptions::WebpPages
                                             ? QStringLiteral("webp")
                                             : QStringLiteral("jpeg"));
    settings.setValue(key("GreyAuto"), o.GreyAuto);
    settings.setValue(key("GreyAll"), o.GreyAll);
    settings.setValue(key("ImageResizeFit"), o.ImageResizeFit);
    settings.setValue(key("ImageResizeSmooth"), o.ImageResizeSmooth);
    settings.setValue(key("ImageCutOnlyWide"), o.ImageCutOnlyWide);
    settings.setValue(key("ImageTrimMargins"), o.ImageTrimMargins);
    settings.setValue(key("ImageTrimTolerance"), o.ImageTrimTolerance);
}
