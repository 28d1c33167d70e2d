#include "pages/colorpage.h"

#include "pages/pages.h"

ColorPage::ColorPage(Link &l, Pages &p) : Page(l, p, "ColorSheet", QStringLiteral("Col")) {}

void ColorPage::layoutControls()
{
}
