#include "pages/easy2page.h"

#include "pages/pages.h"

Easy2Page::Easy2Page(Link &l, Pages &p) : Page(l, p, "AGCSheet", QStringLiteral("EASY2")) {}

void Easy2Page::layoutControls()
{
}
