// Checks laid-out controls against rows written from the page descriptions.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class QGroupBox;
class QWidget;

namespace layoutcheck {

enum class Kind {
    RadioGroup, CheckBox, Button, Edit, UpDown, TrackBar, SpinButton, ComboBox,
    Label, Panel, Memo, ProgressBar, GroupBox, RadioButton, Any
};

struct Expect
{
    const char *name;
    Kind kind;
    QString caption = {};          // radio group / group box title, button / check box / label text
    QStringList items = {};        // radio group or drop-down items, in order
};

// Returns one line per mismatch: a missing or duplicated name, a wrong kind, caption or
// item list. Empty when everything matches. A row's caption is checked only when it is
// non-empty, its items only when non-empty.
QStringList verify(const QWidget *root, const std::vector<Expect> &rows);

// The nearest enclosing plain group box (radio groups are controls, not containers).
const QGroupBox *enclosingGroup(const QWidget *w);

} // namespace layoutcheck

// Fails the running test with every mismatch listed.
#define LAYOUT_VERIFY(root, rows)                                          \
    do {                                                                   \
        const QStringList layoutErrors_ = layoutcheck::verify((root), (rows)); \
        if (!layoutErrors_.isEmpty())                                      \
            QFAIL(qPrintable(layoutErrors_.join(u'\n')));                 \
    } while (false)
