#include "imagemanager.h"

#include <QPainter>

ImageManager::ImageManager(QWidget *parent)
    : QWidget(parent)
{}

ImageManager::~ImageManager() = default;

void ImageManager::SetImage(const QPixmap &image)
{
    Image = image;
    update();
}

const QPixmap &ImageManager::GetImage() const
{
    return Image;
}

void ImageManager::SetCutDoublePages(bool cut)
{
    CutDoublePages = cut;
    update();
}

void ImageManager::SetCutBorder(bool cut)
{
    CutBorder = cut;
    update();
}

void ImageManager::SetFirstPageRight(bool right)
{
    FirstPageRight = right;
    update();
}

void ImageManager::SetCutPoint(int percent)
{
    CutPoint = percent;
    update();
}

void ImageManager::SetCutBorderSize(int pixels)
{
    CutBorderSize = pixels;
    update();
}

void ImageManager::paintEvent(QPaintEvent *)
{
    // Without a page only the palette's backdrop shows, overlays included.
    if (Image.isNull())
        return;

    QPainter painter(this);
    // Stretched to the whole widget: the preview shows every pixel column,
    // so the cut line lands where the cut will be made.
    painter.drawPixmap(
        0, 0, Image.scaled(width(), height(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
}
