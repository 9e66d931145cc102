#ifndef OPTIONTABLE_H
#define OPTIONTABLE_H

#include "book/bookoptions.h"

#include <QString>
#include <QStringList>
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

    const char *name; // what the window's binding calls it
    Kind kind;
    OptionRange range;
    // The words a choice is written as ("jpeg|webp"), or that a switch is
    // given as on the command line ("left|right"); null for none.
    const char *words;
    // Where it is remembered; null for an option not remembered.
    const char *settingsKey;
    // The command line's flag, without its dashes, and its value's name;
    // null for none. Its help may name the range: %1 to %2, default %3.
    const char *flag;
    const char *valueName;
    const char *help;
    // Giving the flag turns on the switch it is used under (--split turns
    // on the cut).
    bool turnsOnUsedUnder;
    int (*get)(const BookOptions &);
    void (*set)(BookOptions &, int);
    // The window's controls that show it: one that holds the value, or
    // several that each stand for one value ("ImageGreyAuto=1
    // ImageGreyAll=2"); null for an option shown elsewhere or nowhere.
    const char *controls;
    // The option it only means something under, with the value that one
    // must have ("ImageResizeMode=1"; a switch's name alone: on). Its
    // controls are enabled only while that holds; null for none.
    const char *usedUnder;

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

// The size a Box flag sets, width and height together.
void setResizeBox(BookOptions &options, const QString &flag, int width, int height);

#endif // OPTIONTABLE_H
