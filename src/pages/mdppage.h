#pragma once

#include "pages/page.h"

class MdpPage : public Page
{
    Q_OBJECT
public:
    MdpPage(Link &link, Pages &pages);
    void layoutControls() override;
};
