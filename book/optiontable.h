#ifndef OPTIONTABLE_H
#define OPTIONTABLE_H

#include "book/bookoptions.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QVector>

class QSettings;

// One option of a book, described once for everyone who shows or reads it:
// its range and default, the settings it is remembered under, the command
// line's flag and help, the window's controls that show it, and the option
// it is used under. Its value is a whole number: a switch 0 or 1, a choice
// the index of its word.
struct BookOption
{
    enum Kind
    {
        Switch,
        Number,
        Choice,
        // Width and height together ("1200x1800"), on the command line only.
        Box
    };

    const char *name = nullptr; // what the window's binding calls it
    Kind kind = Switch;
    OptionRange range{0, 1, 0};
    // The words a choice is written as ("jpeg|webp"), or that a switch is
    // given as on the command line ("left|right"); null for none.
    const char *words = nullptr;
    // Where it is remembered; null for an option not remembered.
    const char *settingsKey = nullptr;
    // The command line's flag, without its dashes, and its value's name;
    // null for none. Its help may name the range: %1 to %2, default %3.
    const char *flag = nullptr;
    const char *valueName = nullptr;
    const char *help = nullptr;
    // Giving the flag turns on the switch it is used under (--split turns
    // on the cut).
    bool turnsOnUsedUnder = false;
    int (*get)(const BookOptions &) = nullptr;
    void (*set)(BookOptions &, int) = nullptr;
    // The window's controls that show it: one that holds the value, or
    // several that each stand for one value ("ImageGreyAuto=1
    // ImageGreyAll=2"); null for an option shown elsewhere or nowhere.
    const char *controls = nullptr;
    // The option it only means something under, with the value that one
    // must have ("ImageResizeMode=1"; a switch's name alone: on). Its
    // controls are enabled only while that holds; null for none.
    const char *usedUnder = nullptr;
    // Its value as settings written before it had its key held it; -1 when
    // they say nothing of it.
    int (*earlierValue)(const QSettings &) = nullptr;
    // Its help with what the range cannot say filled in.
    QString (*fillHelp)(const QString &help) = nullptr;

    // The rows of the table are made by the helpers in optiontable.cpp, each
    // part named by one of these.
    BookOption &storedAs(const char *key);
    BookOption &onCommandLine(const char *flagName, const char *value, const char *helpText);
    BookOption &givenAs(const char *switchWords);
    BookOption &turningOnItsSwitch();
    BookOption &shownBy(const char *controlNames);
    BookOption &inUseUnder(const char *option);
    BookOption &readingEarlier(int (*earlier)(const QSettings &));
    BookOption &helpFilledBy(QString (*fill)(const QString &));

    // A control of controls, by its object name, and the value it stands
    // for; -1 when it holds the value itself.
    struct Control
    {
        QString name;
        int value;
    };
    QVector<Control> controlList() const;
    // The option it is used under; null for none.
    const BookOption *usedUnderOption() const;
    // Whether it means something with these options: the option it is
    // used under, itself in use, has the value it needs.
    bool inUse(const BookOptions &options) const;

    QStringList wordList() const;
    // The help, translated, its range filled in.
    QString helpText() const;
    // The value a word stands for; -1 for none.
    int valueOfWord(const QString &word) const;
};

// Every option, in the order the command line's help lists them.
const QVector<BookOption> &bookOptions();
const BookOption *bookOption(const QString &name);

// The options as they were left, read from settings: a value that is
// missing, damaged or out of range gives that option's default, the
// others are kept.
BookOptions loadBookOptions(const QSettings &settings);
void saveBookOptions(QSettings &settings, const BookOptions &options);
// The same, as values by their settings keys (a queued book's record).
BookOptions bookOptionsFrom(const QVariantMap &stored);
QVariantMap storedBookOptions(const BookOptions &options);

// The size a Box flag sets, width and height together.
void setResizeBox(BookOptions &options, const QString &flag, int width, int height);

#endif // OPTIONTABLE_H
