#include "pages/kizupage.h"

#include "pages/pages.h"

KizuPage::KizuPage(Link &l, Pages &p) : Page(l, p, "KizuSheet", QStringLiteral("Kiz")) {}

void KizuPage::layoutControls()
{
}
