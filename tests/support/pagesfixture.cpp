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

Page *PagesFixture::page(const QString &sheet) const
{
    for (Page *p : pages.all())
        if (p->objectName() == sheet)
            return p;
    return nullptr;
}
