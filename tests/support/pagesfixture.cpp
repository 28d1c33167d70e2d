#include "pagesfixture.h"

#include "pages/page.h"

PagesFixture::PagesFixture()
{
    pages.create(link);
    for (Page *p : pages.all())
        p->layoutControls();
}

PagesFixture::~PagesFixture()
{
    for (Page *p : pages.all())
        delete p;
}
