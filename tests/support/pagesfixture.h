// Every page laid out, without a main window and without a port: for layout tests.
#pragma once

#include "link/link.h"
#include "pages/pages.h"
#include "serial/tcomm.h"

class Page;
class QString;

struct PagesFixture
{
    PagesFixture();
    ~PagesFixture();
    PagesFixture(const PagesFixture &) = delete;
    PagesFixture &operator=(const PagesFixture &) = delete;

    // The page whose sheet carries this objectName.
    Page *page(const QString &sheet) const;

    TComm comm;
    Link link{comm};
    Pages pages;
};
