// A tab page of the main window: its controls, request builders (...Read), apply
// operations (...Set), decoder (Trans_end_...) and handlers (...Click, ...Change).
// docs/adding-a-page.md shows how a page is written.
#pragma once

#include "link/dispatch.h"
#include "link/frame.h"
#include "widgets/kit.h"

#include <QWidget>

#include <cstdint>
#include <span>
#include <vector>

class Connection;
class Link;
struct Pages;

// One row of a decoder table: a reply of this category and item is applied by `apply`
// (while the link is still busy, so the controls' own handlers send nothing back), then the
// link is released, then `next` sends the next read of the chain (nullptr: the chain ends).
// A reply that only moves the chain on has no apply (nullptr).
// Build the two function pointers with decode::apply<&Page::XSet> and decode::then<&Page::XRead>;
// either may name an operation of another page.
struct DecodeStep
{
    using Apply = void (*)(Pages &, const ResponseFrame &);
    uint8_t category;
    uint8_t item;
    Apply apply;
    Apply next = nullptr;
};

class Page : public QWidget, public ReplyTarget
{
    Q_OBJECT
public:
    // sheetName becomes the objectName of the sheet.
    Page(Link &link, Pages &pages, const char *sheetName, const QString &tabCaption);

    const QString &tabCaption() const { return caption_; }

    // Creates every control of the page with its initial state. No handler runs.
    virtual void layoutControls() = 0;
    // Wires the handlers, once every page is laid out.
    virtual void connectHandlers() {}
    // For the pages that show or drive the connection's line settings.
    virtual void attachConnection(Connection &) {}
    // The first read when the page is shown; by default nothing.
    void PageCheck() override {}
    // The page's decoder; by default a reply only releases the link.
    void Trans_end(const ResponseFrame &r) override;
    // Start values of the page's own state, when the connection starts anew.
    virtual void resetState() {}

    // Wraps the sheet in a scroll area for the page control.
    QWidget *takeScrollArea();
    // This page is the one the page control shows (page timers that run only there ask).
    bool isShownPage() const;

    // Every decoder table that has decoded a reply in this process, with the page that used
    // it last, so that a check can replay each row.
    struct SeenTable
    {
        const Page *page;
        std::span<const DecodeStep> steps;
    };
    static const std::vector<SeenTable> &decodeTablesSeen();

protected:
    // The decoder idiom: the step of the table that matches the reply runs; an error reply,
    // or a reply no step names, only releases the link.
    void decode(const ResponseFrame &r, std::span<const DecodeStep> steps);
    // A write of one control's value as data 1 (n = 2); nothing while busy, nothing for a
    // radio group without a selection.
    template <class Control>
    void writeValue(uint8_t category, uint8_t item, const Control *control)
    {
        sendValue(category, item, kit::valueOf(control));
    }
    void sendValue(uint8_t category, uint8_t item, int value);

    Link &link;
    Pages &pages;

private:
    QString caption_;
};
