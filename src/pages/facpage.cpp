#include "pages/facpage.h"

#include "pages/pages.h"

FacPage::FacPage(Link &l, Pages &p) : Page(l, p, "APCSheet", QStringLiteral("Fac")) {}

void FacPage::layoutControls()
{
}
