#include "pages/pospage.h"

#include "pages/pages.h"

PosPage::PosPage(Link &l, Pages &p) : Page(l, p, "PosSheet", QStringLiteral("Pos")) {}

void PosPage::layoutControls()
{
}
