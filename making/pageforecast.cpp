#include "making/pageforecast.h"

#include "pages/pagereader.h"

PageForecast PageForecast::of(const PageLocation &page, const PageOptions &options,
                              const PageTreatment &own)
{
    PageReader reader(page);
    reader.setPdfResolution(options.PdfResolution);
    // A cut on the blocks is made here as the build makes it: whether it
    // can be is known only from the blocks' values.
    reader.setBlocksKeptWhileChecking(options.LosslessCuts);
    PageFacts facts;
    QString error;
    const bool headerOnly = PageRecipe::readingToPlan(options, own) == PageRecipe::HeaderOnly;
    if (headerOnly) {
        facts = PageReader::readHeader(page, options.PdfResolution, &error);
    } else {
        if (reader.readWithoutDecoding())
            facts = reader.facts();
        error = reader.errorString();
    }
    PageRecipe planned(facts, options, own);
    if (planned.route() == PageRecipe::CutOnBlocks) {
        QString why;
        if (planned.losslessCut().run(reader.fileData(), &why, reader.takeJpegBlocks()).isEmpty())
            planned = planned.encodedInstead(why);
    }
    PageForecast forecast{planned};
    if (!facts.size.isValid()) {
        forecast.m_leftOutWhy = tr("cannot be read: %1").arg(error);
        return forecast;
    }
    if (ScanCleanup::leftOutWhenBlank(options, own) && ScanCleanup::isBlankPage(reader)) {
        forecast.m_leftOutWhy = tr("blank, left out");
        return forecast;
    }
    const PageRecipe &recipe = forecast.m_recipe;
    // A scanner's TIFF makes entries of each of its pictures, each planned
    // on its own size.
    const bool manyPictures = facts.format == "tiff";
    if (recipe.reading() != PageRecipe::Pixels && !manyPictures) {
        forecast.m_parts = recipe.parts();
        return forecast;
    }
    if (headerOnly && !reader.readWithoutDecoding()) {
        forecast.m_leftOutWhy = tr("cannot be read: %1").arg(reader.errorString());
        return forecast;
    }
    int pictures = 0;
    const bool read = reader.readEach(PageReader::AllPictures, [&](const QImage &picture) {
        if (recipe.reading() == PageRecipe::Pixels) {
            ScanCleanup cleanup;
            for (PagePart &part : recipe.carryOut(PageReader::forEncoding(picture), &cleanup)) {
                part.picture = QImage(); // the sizes are what is wanted, not the pixels
                forecast.m_parts.append(part);
            }
            if (pictures == 0)
                forecast.m_cleanup = cleanup;
        } else {
            forecast.m_parts << recipe.forPictureOfSize(picture.size()).parts();
        }
        ++pictures;
        return true;
    });
    if (!read && pictures == 0)
        forecast.m_leftOutWhy = tr("cannot be read: %1").arg(reader.errorString());
    return forecast;
}
