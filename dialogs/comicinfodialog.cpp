#include "dialogs/comicinfodialog.h"

#include <QRegularExpressionValidator>

ComicInfoDialog::ComicInfoDialog(const ComicInfo &info, QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    // A language code such as "en", "ita" or "pt-BR".
    ui.LanguageISO->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[A-Za-z]{0,3}(-[A-Za-z0-9]{0,8})*")), this));

    ui.WriteComicInfo->setChecked(info.write);
    ui.Title->setText(info.title);
    ui.Series->setText(info.series);
    ui.Number->setText(info.number);
    ui.Volume->setValue(info.volume >= 0 ? info.volume : ui.Volume->minimum());
    ui.Year->setValue(info.year >= 0 ? info.year : ui.Year->minimum());
    ui.Writer->setText(info.writer);
    ui.Penciller->setText(info.penciller);
    ui.Publisher->setText(info.publisher);
    ui.LanguageISO->setText(info.languageIso);
    ui.Summary->setPlainText(info.summary);
    // Not said, left to right, right to left: the order of the choices.
    ui.ReadingDirection->setCurrentIndex(int(info.direction));
}

ComicInfo ComicInfoDialog::comicInfo() const
{
    ComicInfo info;
    info.write = ui.WriteComicInfo->isChecked();
    info.title = ui.Title->text();
    info.series = ui.Series->text();
    info.number = ui.Number->text();
    // The lowest value of each box stands for "not given".
    info.volume = ui.Volume->value() == ui.Volume->minimum() ? -1 : ui.Volume->value();
    info.year = ui.Year->value() == ui.Year->minimum() ? -1 : ui.Year->value();
    info.writer = ui.Writer->text();
    info.penciller = ui.Penciller->text();
    info.publisher = ui.Publisher->text();
    info.languageIso = ui.LanguageISO->text();
    info.summary = ui.Summary->toPlainText();
    info.direction = ComicInfo::Direction(ui.ReadingDirection->currentIndex());
    return info;
}
