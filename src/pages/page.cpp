#include "pages/page.h"

#include "link/link.h"

#include <QScrollArea>

Page::Page(Link &l, Pages &p, const char *sheetName, const QString &tabCaption)
    : link(l), pages(p), caption_(tabCaption)
{
    setObjectName(QString::fromLatin1(sheetName));
}

void Page::PageCheck()
{
    if (firstRead)
        link.request(firstRead->category, firstRead->item, firstRead->n, firstRead->data1);
}

void Page::Trans_end(const ResponseFrame &)
{
    link.release();
}

QWidget *Page::takeScrollArea()
{
    auto *area = new QScrollArea;
    area->setObjectName(objectName() + QStringLiteral("Scroll"));
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(this);
    return area;
}
