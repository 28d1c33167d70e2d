#pragma once

#include "pages/page.h"

class WadjPage : public Page
{
    Q_OBJECT
public:
    WadjPage(Link &link, Pages &pages);
    void layoutControls() override;
};
