#include "pages/blcpage.h"

#include "pages/pages.h"

BlcPage::BlcPage(Link &l, Pages &p) : Page(l, p, "BLCSheet", QStringLiteral("BLC")) {}

void BlcPage::layoutControls()
{
}
