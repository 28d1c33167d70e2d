#pragma once

#include "pages/page.h"

class RamPage : public Page
{
    Q_OBJECT
public:
    RamPage(Link &link, Pages &pages);
    void layoutControls() override;
};
