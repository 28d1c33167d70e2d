#include "pages/easypage.h"

#include "pages/pages.h"

EasyPage::EasyPage(Link &l, Pages &p) : Page(l, p, "TitleSheet", QStringLiteral("EASY")) {}

void EasyPage::layoutControls()
{
}
