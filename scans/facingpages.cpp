#include "scans/facingpages.h"

bool FacingPages::blankBefore(bool spread) const
{
    // The cover is shown alone; after it, a pair begins at every odd page.
    return spread && m_shown > 0 && m_shown % 2 == 0;
}

void FacingPages::place(bool spread)
{
    if (blankBefore(spread))
        ++m_shown;
    // A spread as the cover is shown alone, as a cover is.
    m_shown += spread && m_shown > 0 ? 2 : 1;
}
