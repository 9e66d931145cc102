#include "making/cbzpackager.h"

bool CbzPackager::described()
{
    return !m_book.comicInfo.write ||
           addDocument(QStringLiteral("ComicInfo.xml"), comicInfoXml(m_book.comicInfo, m_pages));
}
