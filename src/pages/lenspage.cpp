#include "pages/lenspage.h"

#include "pages/pages.h"

LensPage::LensPage(Link &l, Pages &p) : Page(l, p, "LensSheet", QStringLiteral("Len")) {}

void LensPage::layoutControls()
{
}
