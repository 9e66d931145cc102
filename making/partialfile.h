#ifndef PARTIALFILE_H
#define PARTIALFILE_H

#include <QCoreApplication>
#include <QFile>
#include <QString>

#include <memory>

// The file a book is written into before it takes its name: a hidden file
// beside the chosen name, so that the final move is a rename on the same
// file system. Until commit() a file of the chosen name is left as it was;
// discard() (or the destructor) removes only the partial file. The partial
// file is locked while it lives, so that another build's clean-up of files
// left by a crash never takes it. Every failure leaves its reason in
// errorString().
class PartialFile
{
    Q_DECLARE_TR_FUNCTIONS(PartialFile)

public:
    PartialFile();
    ~PartialFile();
    PartialFile(const PartialFile &) = delete;
    PartialFile &operator=(const PartialFile &) = delete;

    // Creates the partial file of fileName, open for writing (unbuffered:
    // a write that fails fails at once). False when the folder is missing,
    // the name too long for it, or no file can be created there; what is
    // called `what` ("The archive") names the book in the reasons.
    [[nodiscard]] bool open(const QString &fileName);
    // The partial file. It keeps its first write error even after a seek,
    // which clears QFile's own.
    QFile *file() const;
    // "what: the file's first error", or what alone.
    QString fileError(const QString &what) const;
    // Whether anything written so far failed.
    bool writeFailed() const;

    // Closes the file, puts its data on the disk and gives it the chosen
    // name: a file of that name is replaced only when replace is set;
    // without it, a file that appeared meanwhile is left alone and the
    // commit fails. Nothing is left behind when it fails.
    [[nodiscard]] bool commit(bool replace);
    void discard();

    bool isOpen() const { return !m_partial.isEmpty(); }
    QString fileName() const { return m_partial; }
    QString targetName() const { return m_target; }
    QString errorString() const { return m_error; }
    bool fail(const QString &reason);

    // The hidden file the book is written into before it takes its name:
    // within the file system's limit of 255 bytes for a name, however long
    // the chosen name is.
    static QString partialNameFor(const QString &target, const QString &tag);
    // Removes the partial files of target left by builds that ended without
    // cleaning up (a crash, a power cut, a kill): those no running process
    // holds.
    static void removeStalePartials(const QString &target);

private:
    bool checkTargetName();
    bool create();

    class File;
    std::unique_ptr<File> m_file;
    QString m_target;
    QString m_partial;
    int m_lock = -1; // holds the partial file's lock
    QString m_error;
};

#endif // PARTIALFILE_H
