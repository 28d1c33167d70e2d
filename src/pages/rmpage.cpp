#include "pages/rmpage.h"

#include "pages/pages.h"

RmPage::RmPage(Link &l, Pages &p) : Page(l, p, "IRSheet", QStringLiteral("RM")) {}

void RmPage::layoutControls()
{
}
