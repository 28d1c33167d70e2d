#pragma once

#include "pages/page.h"

class MotionPage : public Page
{
    Q_OBJECT
public:
    MotionPage(Link &link, Pages &pages);
    void layoutControls() override;
};
