#include "pages/page.h"

#include "link/link.h"

#include <QScrollArea>

#include <algorithm>

Page::Page(Link &l, Pages &p, const char *sheetName, const QString &tabCaption)
    : link(l), pages(p), caption_(tabCaption)
{
    setObjectName(QString::fromLatin1(sheetName));
}

void Page::Trans_end(const ResponseFrame &)
{
    link.release();
}

namespace {
std::vector<Page::SeenTable> &seenTables()
{
    static std::vector<Page::SeenTable> tables;
    return tables;
}
} // namespace

const std::vector<Page::SeenTable> &Page::decodeTablesSeen()
{
    return seenTables();
}

void Page::decode(const ResponseFrame &r, std::span<const DecodeStep> steps)
{
    auto &seen = seenTables();
    const auto at = std::find_if(seen.begin(), seen.end(), [&](const SeenTable &t) { return t.steps.data() == steps.data(); });
    if (at == seen.end())
        seen.push_back({this, steps});
    else
        at->page = this;
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
