#include "pages/eeppage.h"

#include "pages/pages.h"

EepPage::EepPage(Link &l, Pages &p) : Page(l, p, "EEPSheet", QStringLiteral("EEP")) {}

void EepPage::layoutControls()
{
}
