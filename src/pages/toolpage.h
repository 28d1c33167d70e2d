#pragma once

#include "pages/page.h"

class ToolPage : public Page
{
    Q_OBJECT
public:
    ToolPage(Link &link, Pages &pages);
    void layoutControls() override;
};
