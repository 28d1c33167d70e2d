#pragma once

#include "pages/page.h"

class AftPage : public Page
{
    Q_OBJECT
public:
    AftPage(Link &link, Pages &pages);
    void layoutControls() override;
};
