#include "pages/mdppage.h"

#include "pages/pages.h"

MdpPage::MdpPage(Link &l, Pages &p) : Page(l, p, "MotPara", QStringLiteral("MDP")) {}

void MdpPage::layoutControls()
{
}
