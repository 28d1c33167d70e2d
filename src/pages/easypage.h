#pragma once

#include "pages/page.h"

class EasyPage : public Page
{
    Q_OBJECT
public:
    EasyPage(Link &link, Pages &pages);
    void layoutControls() override;
};
