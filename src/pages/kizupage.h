#pragma once

#include "pages/page.h"

class KizuPage : public Page
{
    Q_OBJECT
public:
    KizuPage(Link &link, Pages &pages);
    void layoutControls() override;
};
