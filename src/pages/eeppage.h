#pragma once

#include "pages/page.h"

class EepPage : public Page
{
    Q_OBJECT
public:
    EepPage(Link &link, Pages &pages);
    void layoutControls() override;
};
