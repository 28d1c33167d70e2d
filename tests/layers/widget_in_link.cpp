// Compiled against the link library alone: it must not find the widget headers.
#include "link/link.h"

#include <QWidget>

int probe()
{
    return sizeof(QWidget);
}
