#include "pages/rampage.h"

#include "pages/pages.h"

RamPage::RamPage(Link &l, Pages &p) : Page(l, p, "RAMSheet", QStringLiteral("RAM")) {}

void RamPage::layoutControls()
{
}
