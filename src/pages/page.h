// A tab page of the main window: its controls, request builders (...Read), apply
// operations (...Set), decoder (Trans_end_...) and handlers (...Click, ...Change).
#pragma once

#include "link/frame.h"
#include "widgets/kit.h"

#include <QWidget>

#include <cstdint>
#include <optional>

class Link;
struct Pages;

class Page : public QWidget
{
    Q_OBJECT
public:
    // sheetName becomes the objectName (the sheet's designer name).
    Page(Link &link, Pages &pages, const char *sheetName, const QString &tabCaption);

    const QString &tabCaption() const { return caption_; }

    // Creates every control of the page with its designed state. No handler runs.
    virtual void layoutControls() = 0;
    // Wires the handlers, once every page is laid out.
    virtual void connectHandlers() {}
    // The first read when the page is shown: by default the request in firstRead, if any.
    virtual void PageCheck();
    struct FirstRead
    {
        uint8_t category;
        uint8_t item;
        int n = 1;
        uint8_t data1 = 0;
    };
    std::optional<FirstRead> firstRead;
    // The page's decoder; by default a reply only releases the link.
    virtual void Trans_end(const ResponseFrame &r);
    // Start values of the page's own state, when the connection starts anew.
    virtual void resetState() {}

    // Wraps the sheet in a scroll area for the page control.
    QWidget *takeScrollArea();

protected:
    Link &link;
    Pages &pages;

private:
    QString caption_;
};
