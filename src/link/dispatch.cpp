#include "link/dispatch.h"

#include "link/link.h"

Dispatcher::Dispatcher(Link &link, QObject *parent) : QObject(parent), link_(link) {}

void Dispatcher::PageControl1Change()
{
    link_.setPanel(1, QString());
    link_.setPanel(2, QString());
    PageCheck();
}

void Dispatcher::PageCheck()
{
    if (shown_)
        shown_->PageCheck();
}

void Dispatcher::Trans_end(const ResponseFrame &r)
{
    const Link::ApplyScope applying(link_);
    if (shown_ && shown_->decodes()) {
        shown_->Trans_end(r);
        return;
    }
    emit undelivered(r);
    if (shown_)
        shown_->Trans_end(r);
    else
        link_.release();
}
