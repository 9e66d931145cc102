#include "cbzbuild.h"

#include "cbzwriter.h"
#include "pagereader.h"
#include "pagetransform.h"

#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QThread>
#include <QThreadPool>
#include <QWaitCondition>

CbzBuild::CbzBuild(const QString &fileName, const QVector<BuildPage> &pages,
                   const PageOptions &options, QObject *parent)
    : QObject(parent)
    , m_fileName(fileName)
    , m_pages(pages)
    , m_options(options)
{}

CbzBuild::~CbzBuild() = default;

int CbzBuild::threadCount() const
{
    return m_threads > 0 ? m_threads : qMax(1, QThread::idealThreadCount());
}

void CbzBuild::cancel()
{
    m_canceled = true;
    m_stop = true;
}

void CbzBuild::keepPicture(const QImage &picture, Page *made) const
{
    made->pictureSize = picture.size();
    made->picture =
        picture.width() > m_pictureBounds.width() || picture.height() > m_pictureBounds.height()
            ? picture.scaled(m_pictureBounds, Qt::KeepAspectRatio, Qt::FastTransformation)
            : picture;
}

bool CbzBuild::keepUnchanged(PageReader &reader, Page *made) const
{
    if (!reader.readWithoutDecoding())
        return true; // the reason is in the reader
    if (reader.format() != "jpeg")
        return false;
    made->entries.append(DeflatedEntry::deflate(reader.fileData()));
    made->comicPages.append({reader.headerSize().width(), reader.headerSize().height(),
                             reader.fileData().size(),
                             reader.headerSize().width() > reader.headerSize().height()});
    if (m_pictureBounds.isValid()) {
        made->picture = reader.reducedPicture(m_pictureBounds);
        made->pictureSize = reader.headerSize();
    }
    return true;
}

CbzBuild::Page CbzBuild::makePage(const BuildPage &page) const
{
    Page made;
    const QString name = QFileInfo(page.path).fileName();
    PageReader reader(page.path);
    if (m_options.KeepUnchangedJpeg && !m_options.changesPages() && keepUnchanged(reader, &made)) {
        if (!reader.errorString().isEmpty())
            made.error = tr("Page %1 cannot be read: %2").arg(name, reader.errorString());
        return made;
    }
    if (!reader.read(PageReader::AllPictures)) {
        made.error = tr("Page %1 cannot be read: %2").arg(name, reader.errorString());
        return made;
    }
    for (const QImage &picture : reader.images()) {
        for (const QImage &out : transformPageImages(PageReader::forEncoding(picture), m_options)) {
            if (stopped())
                return made;
            if (out.isNull()) {
                made.error = tr("A border of %1 pixels leaves nothing of page %2 (%3 × %4).")
                                 .arg(m_options.ImageCutBorderNumber)
                                 .arg(name)
                                 .arg(picture.width())
                                 .arg(picture.height());
                return made;
            }
            const QByteArray jpeg = encodeJpeg(out, m_options.ImageQuality);
            if (jpeg.isEmpty()) {
                made.error = tr("Page %1 cannot be encoded as JPEG.").arg(name);
                return made;
            }
            made.entries.append(DeflatedEntry::deflate(jpeg));
            // A spread left whole is wider than tall.
            made.comicPages.append({out.width(), out.height(), jpeg.size(),
                                    !m_options.ImageCutDoublePages && out.width() > out.height()});
        }
    }
    if (m_pictureBounds.isValid())
        keepPicture(reader.images().first(), &made);
    return made;
}

QImage CbzBuild::takePicture(int row, QSize *pageSize)
{
    QMutexLocker locker(&m_pictureMutex);
    if (row != m_pictureRow)
        return QImage();
    m_pictureRow = -1;
    if (pageSize)
        *pageSize = m_pictureSize;
    return std::move(m_picture);
}

bool CbzBuild::finish(bool ok, const QString &error)
{
    m_error = ok ? QString() : error;
    emit finished(ok, m_error);
    return ok;
}

bool CbzBuild::run()
{
    m_stop = m_canceled.load();
    CbzWriter writer;
    if (!writer.open(m_fileName))
        return finish(false, writer.errorString());

    // Pages done by the pool wait here until the writer reaches them; no
    // more than a few pages beyond the threads' own are ever held.
    QMutex mutex;
    QWaitCondition pageDone;
    QHash<int, Page> done;
    // A page that fails stops every thread; of those that failed, the one
    // earliest in the book is reported.
    QString pageError;
    int pageErrorIndex = m_pages.size();
    const int threads = threadCount();
    const int inFlightLimit = threads + 2;
    QThreadPool pool;
    pool.setMaxThreadCount(threads);

    int submitted = 0;
    int written = 0;
    QVector<ComicPage> comicPages;
    QString error;
    auto startPages = [&] {
        while (submitted < m_pages.size() && submitted - written < inFlightLimit) {
            const int index = submitted++;
            pool.start([this, index, &mutex, &pageDone, &done, &pageError, &pageErrorIndex] {
                Page page = stopped() ? Page() : makePage(m_pages.at(index));
                QMutexLocker locker(&mutex);
                if (!page.error.isEmpty() && index < pageErrorIndex) {
                    pageError = page.error;
                    pageErrorIndex = index;
                    m_stop = true;
                }
                done.insert(index, std::move(page));
                pageDone.wakeAll();
            });
        }
    };

    startPages();
    while (written < m_pages.size() && !stopped()) {
        Page page;
        {
            QMutexLocker locker(&mutex);
            while (!done.contains(written))
                pageDone.wait(&mutex);
            page = done.take(written);
        }
        if (stopped())
            break;
        for (const DeflatedEntry &entry : qAsConst(page.entries)) {
            if (!writer.addEntry(entry)) {
                error = writer.errorString();
                break;
            }
        }
        if (!error.isEmpty())
            break;
        comicPages += page.comicPages;
        if (m_pictureBounds.isValid()) {
            QMutexLocker locker(&m_pictureMutex);
            m_picture = std::move(page.picture);
            m_pictureSize = page.pictureSize;
            m_pictureRow = m_pages.at(written).row;
        }
        emit pageWritten(m_pages.at(written).row, writer.pageCount());
        ++written;
        startPages();
    }

    m_stop = true; // the pages still in the pool end at their next step
    pool.waitForDone();
    if (error.isEmpty())
        error = pageError;
    if (m_canceled) {
        writer.discard();
        return finish(false, QString());
    }
    if (!error.isEmpty()) {
        writer.discard();
        return finish(false, error);
    }
    if (m_comicInfo.write &&
        !writer.addNamedEntry(QStringLiteral("ComicInfo.xml"),
                              DeflatedEntry::deflate(comicInfoXml(m_comicInfo, comicPages)))) {
        writer.discard();
        return finish(false, writer.errorString());
    }
    if (!writer.commit())
        return finish(false, writer.errorString());
    return finish(true, QString());
}
