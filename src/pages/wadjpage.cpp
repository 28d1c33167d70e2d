#include "pages/wadjpage.h"

#include "pages/pages.h"

WadjPage::WadjPage(Link &l, Pages &p) : Page(l, p, "Wadj", QStringLiteral("Wadj")) {}

void WadjPage::layoutControls()
{
}
