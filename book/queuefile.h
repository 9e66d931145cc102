#ifndef QUEUEFILE_H
#define QUEUEFILE_H

#include "book/bookqueue.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// The queue as it is kept from one run to the next: Queue.json beside the
// settings, each book a record of what it is made from and with (its
// options as they differ from the defaults) and how it went. Read only as
// a regular file of bounded size, each record checked; the Queue.ini of
// earlier versions is read when there is no Queue.json yet, its counts
// never believed. A file that cannot be read whole is put aside, never
// written over, and notice() says where.
class QueueFile
{
    Q_DECLARE_TR_FUNCTIONS(QueueFile)

public:
    // Larger than a queue of BookQueue::RowLimit books.
    static constexpr qint64 SizeLimit = qint64(128) << 20;
    // Queue.ini was a few kilobytes a book; and Qt's reader holds many
    // times that.
    static constexpr qint64 EarlierSizeLimit = qint64(16) << 20;
    // More pages than any book has, per book.
    static constexpr int PageLimit = 100000;

    // The file in folder (where the settings are).
    explicit QueueFile(const QString &folder);
    QString path() const { return m_path; }

    BookQueue load();
    // What the user should be told of the last load (a file put aside);
    // empty when nothing.
    QString notice() const { return m_notice; }

    // The queue as the file holds it, and back.
    static QByteArray toJson(const BookQueue &queue);
    static bool fromJson(const QByteArray &json, BookQueue *queue, QString *error);
    // Saves the queue's bytes (from toJson()); false with why.
    bool save(const QByteArray &json, QString *error) const;

private:
    BookQueue loadEarlier();
    BookQueue unreadable(const QString &path, const QString &why);

    QString m_path;
    QString m_earlierPath;
    QString m_notice;
    // A file that could not be read nor put aside is not saved over.
    bool m_kept = false;
};

#endif // QUEUEFILE_H
