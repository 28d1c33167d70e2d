#pragma once

#include "pages/page.h"

class DspPage : public Page
{
    Q_OBJECT
public:
    DspPage(Link &link, Pages &pages);
    void layoutControls() override;
};
