#ifndef BOOKPRESET_H
#define BOOKPRESET_H

#include "book/bookoptions.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QPair>
#include <QString>
#include <QVector>

class QSettings;

// A named set of option values for where books are read (a colour tablet,
// an e-ink reader, a phone) or for how they are kept ("as scanned"). Only
// the options it names change: a book's border and cut order stay as set (a
// portrait screen's preset cuts wide pages in two, in the book's order), and
// a page's own treatment is never touched. Users keep presets of their own,
// made of every option as it was when they were saved.
class BookPreset
{
    Q_DECLARE_TR_FUNCTIONS(BookPreset)

public:
    BookPreset() = default;

    // The name it is chosen by ("tablet", or the user's own name).
    QString name() const { return m_name; }
    // What the menu shows: the built-in ones in the current language.
    QString title() const;
    bool isBuiltIn() const { return m_builtIn; }
    bool isValid() const { return !m_name.isEmpty(); }
    // "fit within 1600 × 2560, smooth, quality 88, unchanged pages kept":
    // what choosing it sets.
    QString description() const;
    BookOptions appliedTo(BookOptions options) const;

    static const QVector<BookPreset> &builtIns();
    // The built-in ones, then the user's own, by name.
    static QVector<BookPreset> all(QSettings &settings);
    // The names of the user's own presets, in natural order, read from the
    // store's groups alone: a store of thousands is listed at once.
    static QStringList ownNames(const QSettings &settings);
    // One of the user's, by its name as the store keeps it; invalid when
    // there is none such.
    static BookPreset read(const QSettings &settings, const QString &name);
    // Whether it is called name: its own name, or for one of the program's,
    // its title in English or Italian; in any case.
    bool isCalled(const QString &name) const;
    // By name in any case, built-in or the user's own; invalid when there
    // is none.
    static BookPreset find(const QSettings &settings, const QString &name);
    // What the preset called name is shown as: a built-in one's title in
    // the current language, a user's own name as it is.
    static QString titleOf(const QString &name);
    // Keeps options as the user's preset name, over one of that name; a
    // built-in one's name is refused (false).
    static bool save(QSettings &settings, const QString &name, const BookOptions &options);
    static void remove(QSettings &settings, const QString &name);
    // Whether name is, in any case, the name or the title (in English or the
    // current language) of one of the program's presets.
    static bool isBuiltInName(const QString &name);
    // Where the window keeps its settings and the user's presets, for the
    // command line to find them.
    static constexpr const char *Organization = "Ostrelind";
    static constexpr const char *Application = "Quirevale";

private:
    using Values = QVector<QPair<QByteArray, int>>; // option name, value
    // note: what else its description says (untranslated), or none.
    BookPreset(const QString &name, const char *title, const Values &values,
               const char *note = nullptr);

    QString m_name;
    const char *m_title = nullptr; // untranslated, for a built-in one
    const char *m_note = nullptr;
    bool m_builtIn = false;
    Values m_values;
};

#endif // BOOKPRESET_H
