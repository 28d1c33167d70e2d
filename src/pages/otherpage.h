#pragma once

#include "pages/page.h"

class OtherPage : public Page
{
    Q_OBJECT
public:
    OtherPage(Link &link, Pages &pages);
    void layoutControls() override;
};
