#include "pages/dsppage.h"

#include "pages/pages.h"

DspPage::DspPage(Link &l, Pages &p) : Page(l, p, "DSPSheet", QStringLiteral("DSP")) {}

void DspPage::layoutControls()
{
}
