#pragma once

#include "pages/page.h"

class RmPage : public Page
{
    Q_OBJECT
public:
    RmPage(Link &link, Pages &pages);
    void layoutControls() override;
};
