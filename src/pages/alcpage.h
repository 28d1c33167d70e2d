#pragma once

#include "pages/page.h"

class AlcPage : public Page
{
    Q_OBJECT
public:
    AlcPage(Link &link, Pages &pages);
    void layoutControls() override;
};
