#include "pages/toolpage.h"

#include "pages/pages.h"

ToolPage::ToolPage(Link &l, Pages &p) : Page(l, p, "ToolSheet", QStringLiteral("Tool")) {}

void ToolPage::layoutControls()
{
}
