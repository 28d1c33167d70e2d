#pragma once

#include "pages/page.h"

class LensPage : public Page
{
    Q_OBJECT
public:
    LensPage(Link &link, Pages &pages);
    void layoutControls() override;
};
