#pragma once

#include "pages/page.h"

class MaskPage : public Page
{
    Q_OBJECT
public:
    MaskPage(Link &link, Pages &pages);
    void layoutControls() override;
};
