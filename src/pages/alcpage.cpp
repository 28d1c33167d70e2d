#include "pages/alcpage.h"

#include "pages/pages.h"

AlcPage::AlcPage(Link &l, Pages &p) : Page(l, p, "ALCSheet", QStringLiteral("ALC")) {}

void AlcPage::layoutControls()
{
}
