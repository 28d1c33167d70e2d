// Page refresh and reply dispatch: every good reply goes to the decoder of the page shown
// when it arrives, and showing a page sends its first read.
#pragma once

#include "link/frame.h"

#include <QObject>

class Link;

// A tab page as the dispatch sees it.
class ReplyTarget
{
public:
    virtual ~ReplyTarget() = default;
    // The first read when the page is shown (or reloaded).
    virtual void PageCheck() = 0;
    // The page's decoder; it releases the link after applying the reply.
    virtual void Trans_end(const ResponseFrame &r) = 0;
    // False for a page that has no decoder (its Trans_end only frees the link).
    virtual bool decodes() const { return true; }
};

class Dispatcher : public QObject
{
    Q_OBJECT
public:
    explicit Dispatcher(Link &link, QObject *parent = nullptr);

    // The page now shown; nothing is read.
    void setShown(ReplyTarget *page) { shown_ = page; }
    ReplyTarget *shown() const { return shown_; }

    // The user showed another page: panels 1 and 2 emptied, then its first read.
    void PageControl1Change();
    // The first read of the shown page (also Camera > 'LOAD' and the end of the connection).
    void PageCheck();
    // A good reply for the shown page's decoder, applied with the link held busy (whatever
    // its state was) until the decoder releases it. With no page to take it the link is freed.
    void Trans_end(const ResponseFrame &r);

signals:
    // A good reply that no page's decoder took.
    void undelivered(const ResponseFrame &r);

private:
    Link &link_;
    ReplyTarget *shown_ = nullptr;
};
