#pragma once

#include "pages/page.h"

class FacPage : public Page
{
    Q_OBJECT
public:
    FacPage(Link &link, Pages &pages);
    void layoutControls() override;
};
