#include "dialogs/userguide.h"

#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextDocument>

namespace {
// The guide's angle brackets ("<folder name>") are words, not HTML: read as
// tags they swallowed the paragraphs after them.
constexpr QTextDocument::MarkdownFeatures Features(QTextDocument::MarkdownDialectGitHub |
                                                   QTextDocument::MarkdownNoHTML);
} // namespace

UserGuide::UserGuide(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    showText();
    connect(ui.GuideFind, &QLineEdit::returnPressed, this, &UserGuide::findNext);
    // Enter in the search finds the next place; as a dialog's default it
    // would close the guide as well.
    for (QAbstractButton *button : ui.Buttons->buttons()) {
        if (auto *push = qobject_cast<QPushButton *>(button))
            push->setAutoDefault(false);
    }
}

QString UserGuide::text()
{
    //: The guide in this language: its file among the program's resources.
    QFile file(tr(":/Guide/user-guide.md"));
    if (!file.open(QIODevice::ReadOnly)) {
        file.setFileName(QStringLiteral(":/Guide/user-guide.md"));
        if (!file.open(QIODevice::ReadOnly))
            return QString();
    }
    // Its pictures are the sources' screenshots, not shipped.
    static const QRegularExpression pictures(QStringLiteral("^!\\[[^\\n]*\\n?"),
                                             QRegularExpression::MultilineOption);
    return QString::fromUtf8(file.readAll()).remove(pictures);
}

void UserGuide::showText()
{
    // A document of its own each time: the view's document replaced under
    // it in place kept a cursor into the text gone.
    auto *document = new QTextDocument(this);
    document->setMarkdown(text(), Features);
    // The view deletes the document it made itself; one of ours is ours.
    QTextDocument *was = ui.GuideText->document();
    const bool ours = was->parent() == this;
    ui.GuideText->setDocument(document);
    if (ours)
        delete was;
}

// From where the reader is, round to the top once the end is reached.
void UserGuide::findNext()
{
    const QString wanted = ui.GuideFind->text();
    if (wanted.isEmpty() || ui.GuideText->find(wanted))
        return;
    QTextCursor top = ui.GuideText->textCursor();
    top.movePosition(QTextCursor::Start);
    ui.GuideText->setTextCursor(top);
    ui.GuideText->find(wanted);
}

void UserGuide::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui.retranslateUi(this);
        showText();
    }
    QDialog::changeEvent(event);
}
