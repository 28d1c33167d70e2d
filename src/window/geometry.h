// Window sizes: the one a window was left at last time, or a first one that shows a page
// whole. Only sizes: where a window appears is its own business.
#pragma once

#include <QSize>
#include <QString>

class QScrollArea;
class QWidget;

// The window size at which area shows its whole widget without scroll bars, given the
// window's laid-out size now, bounded by available (the room on the screen for the
// window's inside, frame excluded). Never smaller than the window is now.
QSize sizeShowingWhole(const QWidget *window, const QScrollArea *area, const QSize &available);

// When window is first shown, just before it appears, resizes it so that area shows its
// whole widget where the screen allows.
void fitToPageWhenShown(QWidget *window, QScrollArea *area);

// Gives window the size remembered under key, bounded by the screen; false when none is.
bool restoreSizeOf(QWidget *window, const QString &key);
void saveSizeOf(const QWidget *window, const QString &key);
