#include "pages/maskpage.h"

#include "pages/pages.h"

MaskPage::MaskPage(Link &l, Pages &p) : Page(l, p, "MASKSheet", QStringLiteral("MASK")) {}

void MaskPage::layoutControls()
{
}
