#include "pages/aftpage.h"

#include "pages/pages.h"

AftPage::AftPage(Link &l, Pages &p) : Page(l, p, "AFT", QStringLiteral("AFT")) {}

void AftPage::layoutControls()
{
}
