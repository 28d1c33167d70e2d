#include "pages/motionpage.h"

#include "pages/pages.h"

MotionPage::MotionPage(Link &l, Pages &p) : Page(l, p, "MotionSheet", QStringLiteral("Mot")) {}

void MotionPage::layoutControls()
{
}
