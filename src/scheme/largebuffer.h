#ifndef TARVEL_LARGEBUFFER_H
#define TARVEL_LARGEBUFFER_H

// Memory for texts and columns of hundreds of megabytes. Filled page by
// page, such a buffer costs a page fault every 4 KB, which costs more than
// the reading that fills it; asking the system for large pages (2 MB on
// Linux) makes that one fault every 2 MB. Only a hint: where the system has
// no large pages, or is told never to use them, nothing changes.

#include <QtGlobal>

class LargeBuffer
{
public:
    // Asks for large pages for the whole large pages within [data, data + bytes).
    // Does nothing for less than a few large pages.
    static void preferLargePages(void* data, qint64 bytes);
};

#endif
