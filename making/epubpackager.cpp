#include "making/epubpackager.h"

#include "making/epubpackage.h"

bool EpubPackager::started()
{
    m_writer.setPageFolder(QLatin1String(EpubPackage::ImageFolder));
    m_writer.setEntryTime(m_book.modified);
    return m_writer.addNamedEntry(QStringLiteral("mimetype"),
                                  PackedEntry::store(EpubPackage::mimetype()));
}

bool EpubPackager::described()
{
    QVector<EpubPackage::Page> pages;
    QByteArray identity = comicInfoXml(m_book.comicInfo, m_pages);
    for (int i = 0; i < m_pages.size(); ++i) {
        const ComicPage &page = m_pages.at(i);
        pages.append({m_pageNames.at(i), QSize(page.width, page.height), page.half, page.doublePage,
                      page.bookmark});
        identity += m_pageNames.at(i).toUtf8() + QByteArray::number(page.bytes);
    }
    EpubPackage epub(m_book.comicInfo, m_book.name, pages);
    epub.setForKobo(m_kobo);
    m_notes = epub.notes();
    for (const auto &document : epub.documents(identity, m_book.modified)) {
        if (document.first == QLatin1String("mimetype"))
            continue; // first of all, already
        if (!addDocument(document.first, document.second))
            return false;
    }
    return true;
}
