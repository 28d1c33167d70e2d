#pragma once

#include "pages/page.h"

class BlcPage : public Page
{
    Q_OBJECT
public:
    BlcPage(Link &link, Pages &pages);
    void layoutControls() override;
};
