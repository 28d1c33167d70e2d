#include "pages/otherpage.h"

#include "pages/pages.h"

OtherPage::OtherPage(Link &l, Pages &p) : Page(l, p, "OtherSheet", QStringLiteral("Oth")) {}

void OtherPage::layoutControls()
{
}
