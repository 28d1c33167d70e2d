#pragma once

#include "pages/page.h"

class Easy2Page : public Page
{
    Q_OBJECT
public:
    Easy2Page(Link &link, Pages &pages);
    void layoutControls() override;
};
