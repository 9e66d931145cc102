#include "dialogs/checkbooksdialog.h"

#include "book/bookjob.h"

#include <QDir>
#include <QPushButton>
#include <QtConcurrent>

CheckBooksDialog::CheckBooksDialog(const QStringList &chosen, QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    ui.MakeCleanCopies->setEnabled(false);
    connect(ui.MakeCleanCopies, &QPushButton::clicked, this, &CheckBooksDialog::makeCleanCopies);
    summarize();
    m_work = QtConcurrent::run([this, chosen] {
        const QStringList books = BookCheck::booksIn(chosen);
        QMetaObject::invokeMethod(
            this, [this, total = books.size()] { found(total); }, Qt::QueuedConnection);
        for (const QString &book : books) {
            if (m_stop)
                break;
            const BookCheck check = BookCheck::of(book, &m_stop);
            if (m_stop)
                break;
            QMetaObject::invokeMethod(
                this, [this, check] { checked(check); }, Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(this, &CheckBooksDialog::checksEnded, Qt::QueuedConnection);
    });
}

CheckBooksDialog::~CheckBooksDialog()
{
    m_stop = true;
    {
        QMutexLocker locker(&m_jobMutex);
        if (m_job)
            m_job->kill();
    }
    m_work.waitForFinished();
}

void CheckBooksDialog::found(int total)
{
    m_total = total;
    if (total == 0)
        say(tr("No comic archive or EPUB was found in what was chosen."));
    summarize();
}

void CheckBooksDialog::checked(const BookCheck &check)
{
    ++m_checked;
    if (!check.isClean()) {
        m_withFindings.append(check);
        say(QDir::toNativeSeparators(check.path()));
        for (const BookCheck::Finding &finding : check.findings())
            say(QStringLiteral("    • ") + finding.text);
    }
    summarize();
}

void CheckBooksDialog::checksEnded()
{
    m_done = true;
    ui.MakeCleanCopies->setEnabled(
        std::any_of(m_withFindings.cbegin(), m_withFindings.cend(),
                    [](const BookCheck &check) { return check.isFixable(); }));
    summarize();
}

void CheckBooksDialog::say(const QString &line)
{
    ui.CheckReport->appendPlainText(line);
}

void CheckBooksDialog::summarize()
{
    if (m_total < 0) {
        ui.CheckSummary->setText(tr("Looking for books…"));
        return;
    }
    const QString counted = tr("%1 of %2 books checked: %3 clean, %4 with findings.")
                                .arg(m_checked)
                                .arg(m_total)
                                .arg(m_checked - m_withFindings.size())
                                .arg(m_withFindings.size());
    ui.CheckSummary->setText(m_done ? counted : tr("Checking… %1").arg(counted));
}

// Never over a book, nor over a clean copy made before.
void CheckBooksDialog::makeCleanCopies()
{
    ui.MakeCleanCopies->setEnabled(false);
    const QVector<BookCheck> books = m_withFindings;
    say(QString());
    m_work = QtConcurrent::run([this, books] {
        for (const BookCheck &check : books) {
            if (m_stop || !check.isFixable())
                continue;
            const QString target = BookCheck::cleanCopyName(check.path());
            QStringList leftOut;
            QString line;
            if (QFileInfo::exists(target)) {
                line =
                    tr("%1 exists already: not made again.").arg(QDir::toNativeSeparators(target));
            } else {
                BookJob job;
                check.setUpCleanCopy(job, target, false);
                {
                    QMutexLocker locker(&m_jobMutex);
                    m_job = &job;
                    if (m_stop)
                        job.kill();
                }
                const BookJob::Result result = job.exec();
                {
                    QMutexLocker locker(&m_jobMutex);
                    m_job = nullptr;
                }
                if (result == BookJob::Stopped)
                    break;
                if (result == BookJob::Made || result == BookJob::MadeWithoutSome) {
                    line = tr("Clean copy made: %1 (%2)")
                               .arg(QDir::toNativeSeparators(target), job.size().line());
                    leftOut = BookCheck::leftOutOf(job);
                } else {
                    line = tr("No clean copy of %1: %2")
                               .arg(QDir::toNativeSeparators(check.path()), job.errorString());
                }
            }
            QMetaObject::invokeMethod(
                this,
                [this, line, leftOut] {
                    say(line);
                    for (const QString &left : leftOut)
                        say(QStringLiteral("    • ") + left);
                },
                Qt::QueuedConnection);
        }
    });
}
