#pragma once

#include "pages/page.h"

class ColorPage : public Page
{
    Q_OBJECT
public:
    ColorPage(Link &link, Pages &pages);
    void layoutControls() override;
};
