#pragma once

#include "pages/page.h"

class PosPage : public Page
{
    Q_OBJECT
public:
    PosPage(Link &link, Pages &pages);
    void layoutControls() override;
};
