#include "pages/page.h"

#include "link/link.h"

#include <QScrollArea>

Page::Page(Link &l, Pages &p, const char *sheetName, const QString &tabCaption)
    : link(l), pages(p), caption_(tabCaption)
{
    setObjectName(QString::fromLatin1(sheetName));
}

void Page::Trans_end(const ResponseFrame &)
{
    link.release();
}

void Page::decode(const ResponseFrame &r, std::span<const DecodeStep> steps)
{
    if (!r.isError()) {
        for (const DecodeStep &s : steps) {
            if (s.category != r.category() || s.item != r.item())
                continue;
            if (s.apply)
                s.apply(pages, r);
            link.release();
            if (s.next)
                s.next(pages, r);
            return;
        }
    }
    link.release();
}

void Page::sendValue(uint8_t category, uint8_t item, int value)
{
    if (value < 0)
        return;
    link.request(category, item, 2, uint8_t(value));
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

bool Page::isShownPage() const
{
    // The page control hides every page but the current one.
    return isVisibleTo(window());
}
