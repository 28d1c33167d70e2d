#include "window/geometry.h"

#include "window/remembered.h"

#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace {

// The room for the window's inside on its screen. The frame is not known before the window
// first appears, so it is guessed from the style's title bar.
QSize availableInside(const QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return {};
    const QSize room = screen->availableGeometry().size();
    const QSize frame = window->isVisible() && window->frameGeometry().size() != window->size()
        ? window->frameGeometry().size() - window->size()
        : QSize(8, window->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8);
    return room - frame;
}

QString sizeKey(const QString &key)
{
    return key + QStringLiteral("/size");
}

// Fits once, on the first show: only then are the window's insides laid out.
class FitOnShow : public QObject
{
public:
    FitOnShow(QWidget *window, QScrollArea *area) : QObject(window), window_(window), area_(area) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == window_ && event->type() == QEvent::Show) {
            if (area_)
                window_->resize(sizeShowingWhole(window_, area_, availableInside(window_)));
            deleteLater();
            window_->removeEventFilter(this);
        }
        return false;
    }

private:
    QWidget *window_;
    QPointer<QScrollArea> area_;
};

} // namespace

QSize sizeShowingWhole(const QWidget *window, const QScrollArea *area, const QSize &available)
{
    const QSize now = window->size();
    const QWidget *sheet = area->widget();
    if (!sheet)
        return now;
    const QSize want = sheet->sizeHint().expandedTo(sheet->minimumSizeHint());
    const QSize extra = want - area->size();
    QSize size = now + QSize(std::max(0, extra.width()), std::max(0, extra.height()));
    if (available.isValid()) {
        // Cut short in one direction, the page scrolls that way, and its scroll bar takes
        // room from the other.
        const int bar = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, area);
        if (size.height() > available.height())
            size.rwidth() += bar;
        if (size.width() > available.width())
            size.rheight() += bar;
        size = size.boundedTo(available);
    }
    // Only ever larger: a window already given a size keeps at least that.
    return size.expandedTo(now).expandedTo(window->minimumSizeHint());
}

void fitToPageWhenShown(QWidget *window, QScrollArea *area)
{
    if (window && area)
        window->installEventFilter(new FitOnShow(window, area));
}

bool restoreSizeOf(QWidget *window, const QString &key)
{
    const auto settings = Remembered::store();
    if (!settings)
        return false;
    const QSize size = settings->value(sizeKey(key)).toSize();
    if (!size.isValid() || size.isEmpty())
        return false;
    const QSize room = availableInside(window);
    window->resize(room.isValid() ? size.boundedTo(room) : size);
    return true;
}

void saveSizeOf(const QWidget *window, const QString &key)
{
    const auto settings = Remembered::store();
    if (!settings)
        return;
    // A maximised window is remembered at the size it goes back to.
    const bool full = window->isMaximized() || window->isFullScreen();
    settings->setValue(sizeKey(key), full ? window->normalGeometry().size() : window->size());
}
