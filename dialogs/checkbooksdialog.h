#ifndef CHECKBOOKSDIALOG_H
#define CHECKBOOKSDIALOG_H

#include "book/bookcheck.h"
#include "ui_checkbooksdialog.h"

#include <QDialog>
#include <QFuture>
#include <QMutex>

#include <atomic>

// File > Check Books…: the books chosen (and those in the folders chosen)
// checked one after another on a thread of their own, each one's findings
// shown as it is done; clean copies made of those with findings when asked.
class CheckBooksDialog : public QDialog
{
    Q_OBJECT

public:
    CheckBooksDialog(const QStringList &chosen, QWidget *parent);
    // Work still running is stopped after the book at hand and waited for.
    ~CheckBooksDialog() override;

    bool isWorking() const { return m_work.isRunning(); }

private:
    void found(int total);
    void checked(const BookCheck &check);
    void checksEnded();
    void makeCleanCopies();
    void say(const QString &line);
    void summarize();

    Ui::CheckBooksDialog ui;
    QFuture<void> m_work;
    // The clean copy being made, reached from here only to stop it.
    QMutex m_jobMutex;
    class BookJob *m_job = nullptr;
    std::atomic_bool m_stop{false};
    QVector<BookCheck> m_withFindings;
    int m_total = -1;
    int m_checked = 0;
    bool m_done = false;
};

#endif // CHECKBOOKSDIALOG_H
