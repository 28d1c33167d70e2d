// The control kit: the few toolkit behaviours the pages rely on, in one place.
//
// - Setting a value from code raises the same handler as a user action (radio group,
//   check box, track bar, edit), synchronously, so a decoder that applies a reply while
//   the link is busy sees its own handlers drop their writes.
// - An up-down raises its handler only for a user's arrow step, never for a position set
//   from code.
// - A drop-down raises its handler only for a user's choice (connect to `activated`).
// - Timers keep their countdown when enabled again and default to 1000 ms.
// - An edit that sends a value marks text that cannot be sent, and says why.
#pragma once

#include "link/timer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <type_traits>
#include <vector>

class QButtonGroup;
class QFormLayout;
class QHBoxLayout;
class QVBoxLayout;
class QRadioButton;
class QToolButton;

namespace kit {

// Runs f; an exception skips the rest of f and is shown in a message box.
void guarded(const std::function<void()> &f);

// Connects a signal to a handler that runs inside guarded(), synchronously. The handler
// takes no arguments: handlers read the controls they need.
template <class Sender, class Signal, class F>
QMetaObject::Connection on(Sender *sender, Signal signal, QObject *context, F handler)
{
    return QObject::connect(sender, signal, context, [handler]() { guarded(handler); },
                            Qt::DirectConnection);
}

// Radio group: a captioned box of radio buttons laid out in `columns` columns.
class RadioGroup : public QGroupBox
{
    Q_OBJECT
    Q_PROPERTY(int itemIndex READ itemIndex WRITE setItemIndex)
public:
    RadioGroup(const QString &caption, const QStringList &items, int columns = 1,
               QWidget *parent = nullptr);

    int itemIndex() const;            // -1: nothing selected
    // An index beyond the last item selects the last item; a negative index clears the
    // selection without raising anything.
    void setItemIndex(int index);
    int count() const;
    QStringList items() const;
    QRadioButton *button(int index) const;

signals:
    // Raised whenever the selected item changes, by the user or from code.
    void itemClicked(int index);

private:
    QButtonGroup *group_;
    std::vector<QRadioButton *> buttons_;
};

class Edit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(bool invalid READ isInvalid WRITE setInvalid)
public:
    // What the text must hold before its value is sent.
    enum class Entry {
        Text,     // anything: never marked
        Hex,      // hexadecimal digits
        Signed,   // decimal digits, optionally after one leading '-'
    };

    explicit Edit(QWidget *parent = nullptr);

    // From now on the edit checks its own text: it is marked invalid while the text holds a
    // character that does not convert, and, once the user has left the edit, while the text
    // is shorter than sendLength (0: the maximum length). The mark goes as soon as the text
    // is valid; an empty text is never marked.
    void setEntry(Entry entry, int sendLength = 0);
    Entry entry() const { return entry_; }
    int sendLength() const;
    // The text converts and is at least sendLength long: a handler may send it.
    bool sendable() const;

    // Marks text that cannot be sent (red frame), so the user sees why nothing went out.
    void setInvalid(bool invalid);
    bool isInvalid() const { return invalid_; }

private:
    bool converts() const;
    void check();

    Entry entry_ = Entry::Text;
    int sendLength_ = 0;
    bool invalid_ = false;
    bool shortMarked_ = false;   // left by the user with a short text
    bool watching_ = false;
};

// Up-down arrows tied to an edit that shows the position.
class UpDown : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int position READ position WRITE setPosition)
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
public:
    UpDown(int minimum, int maximum, int position, QWidget *parent = nullptr);

    int position() const { return position_; }
    // Clamps to the range, shows the position in the associated edit, raises nothing.
    void setPosition(int position);
    int minimum() const { return min_; }
    int maximum() const { return max_; }
    void setMinimum(int v);
    void setMaximum(int v);
    void setIncrement(int step) { increment_ = step; }
    int increment() const { return increment_; }
    void setWrap(bool wrap) { wrap_ = wrap; }
    bool wraps() const { return wrap_; }
    // The edit shows the position; typing a number there moves the position (clamped).
    void setAssociate(QLineEdit *edit);
    QLineEdit *associate() const { return edit_; }

    // A user's click on an arrow: moves by the increment (wrapping or clamping), then
    // raises clicked, also when the position stayed at an end.
    Q_INVOKABLE void stepUp();
    Q_INVOKABLE void stepDown();

signals:
    void clicked(bool up);

private:
    void step(int delta, bool up);
    void showPosition();

    int min_, max_, position_;
    int increment_ = 1;
    bool wrap_ = false;
    QLineEdit *edit_ = nullptr;
    QToolButton *upButton_, *downButton_;
};

// Two arrow buttons with no value of their own; repeats while held.
class SpinButton : public QWidget
{
    Q_OBJECT
public:
    explicit SpinButton(QWidget *parent = nullptr);
    Q_INVOKABLE void clickUp() { emit upClick(); }
    Q_INVOKABLE void clickDown() { emit downClick(); }

signals:
    void upClick();
    void downClick();
};

// Track bar: clamps to its range; any position change raises valueChanged.
class TrackBar : public QSlider
{
    Q_OBJECT
public:
    TrackBar(int minimum, int maximum, QWidget *parent = nullptr);
    int position() const { return value(); }
    void setPosition(int p) { setValue(p); }
};

// Progress bar that clamps a position beyond its range instead of ignoring it.
class ProgressBar : public QProgressBar
{
    Q_OBJECT
public:
    explicit ProgressBar(QWidget *parent = nullptr);
    void setPosition(int position);
};

using Timer = core::Timer;

// The one process-wide hourglass: set once, restored once, however often it is asked.
void busyCursor(bool busy);
bool isBusyCursor();

// "Remove" a control: disable and hide it.
void remove(QWidget *w);

// ---- Factories: create, name and parent a control. The objectName is the control's name
// in the automation contract; `name` may be nullptr for unnamed labels and boxes.

QGroupBox *groupBox(QWidget *parent, const char *name, const QString &caption);
RadioGroup *radioGroup(QWidget *parent, const char *name, const QString &caption,
                       const QStringList &items, int columns = 1, int initial = -1);
QPushButton *button(QWidget *parent, const char *name, const QString &caption);
QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption, bool checked = false);
Edit *edit(QWidget *parent, const char *name, const QString &text = {}, int maxLength = 0);
// Up-down; when buddy is given it shows the position.
UpDown *upDown(QWidget *parent, const char *name, int minimum, int maximum, int position,
               QLineEdit *buddy = nullptr);
TrackBar *trackBar(QWidget *parent, const char *name, int minimum, int maximum);
SpinButton *spinButton(QWidget *parent, const char *name);
QComboBox *comboBox(QWidget *parent, const char *name, const QStringList &items);
QLabel *label(QWidget *parent, const char *name, const QString &text);
// A sunken panel that shows a text (file names, states).
QLabel *panel(QWidget *parent, const char *name, const QString &text = {});
QPlainTextEdit *memo(QWidget *parent, const char *name);
ProgressBar *progressBar(QWidget *parent, const char *name, int maximum = 100);
Timer *timer(QObject *parent, const char *name, int intervalMs = 1000);

// ---- Values and twins. A value goes on the wire as one byte: a radio group's item, a track
// bar's or up-down's position, a check box's state (1 ticked), a drop-down's index.

inline int valueOf(const RadioGroup *g) { return g->itemIndex(); }
inline int valueOf(const QAbstractSlider *s) { return s->value(); }
inline int valueOf(const QCheckBox *c) { return c->isChecked() ? 1 : 0; }
inline int valueOf(const UpDown *u) { return u->position(); }
inline int valueOf(const QComboBox *c) { return c->currentIndex(); }

inline void setValue(RadioGroup *g, int v) { g->setItemIndex(v); }
inline void setValue(QAbstractSlider *s, int v) { s->setValue(v); }
inline void setValue(QCheckBox *c, int v) { c->setChecked(v != 0); }
inline void setValue(UpDown *u, int v) { u->setPosition(v); }
inline void setValue(QComboBox *c, int v) { c->setCurrentIndex(v); }

// One value into a control and its twins on other pages, each as its kind takes it (radio
// groups clamp to their last item, bars and up-downs to their range). Their handlers run as
// for any change.
template <class... Controls>
void setTwins(int value, Controls *...controls)
{
    (setValue(controls, value), ...);
}

// Enables or disables a control and its twins together.
template <class... Widgets>
void enable(bool on, Widgets *...widgets)
{
    (widgets->setEnabled(on), ...);
}

// ---- Handlers

namespace detail {
// The signal on which a control of this kind raises its handler.
template <class C>
constexpr auto changeSignal()
{
    if constexpr (std::is_base_of_v<RadioGroup, C>)
        return &RadioGroup::itemClicked;          // any change of item, by user or code
    else if constexpr (std::is_base_of_v<QCheckBox, C>)
        return &QCheckBox::toggled;               // any change of state
    else if constexpr (std::is_base_of_v<QAbstractButton, C>)
        return &QAbstractButton::clicked;         // a press
    else if constexpr (std::is_base_of_v<QAbstractSlider, C>)
        return &QAbstractSlider::valueChanged;    // any change of position
    else if constexpr (std::is_base_of_v<QLineEdit, C>)
        return &QLineEdit::textChanged;           // any change of text
    else if constexpr (std::is_base_of_v<UpDown, C>)
        return &UpDown::clicked;                  // a user's arrow step only
    else if constexpr (std::is_base_of_v<QComboBox, C>)
        return &QComboBox::activated;             // a user's choice only
    else if constexpr (std::is_base_of_v<QTimer, C>)
        return &QTimer::timeout;
    else
        static_assert(std::is_void_v<C>, "no handler signal for this kind of control");
}
} // namespace detail

// Connects a control to a member handler, on the signal its kind raises a handler on (see
// the list at the top of this file). The handler runs synchronously inside guarded(), with
// the bound arguments (a cell, a mask, a row of a family).
template <class Control, class Obj, class... Bound>
QMetaObject::Connection connect(Control *control, Obj *obj, void (Obj::*handler)(Bound...),
                                std::type_identity_t<Bound>... args)
{
    return QObject::connect(
        control, detail::changeSignal<Control>(), obj,
        [obj, handler, args...] { guarded([&] { (obj->*handler)(args...); }); }, Qt::DirectConnection);
}

// The same on a signal named explicitly.
template <class Sender, class Signal, class Obj, class... Bound>
    requires std::is_member_function_pointer_v<Signal>
QMetaObject::Connection connect(Sender *sender, Signal signal, Obj *obj, void (Obj::*handler)(Bound...),
                                std::type_identity_t<Bound>... args)
{
    return QObject::connect(
        sender, signal, obj, [obj, handler, args...] { guarded([&] { (obj->*handler)(args...); }); },
        Qt::DirectConnection);
}

// A spin button's two presses.
template <class Obj>
void connect(SpinButton *spin, Obj *obj, void (Obj::*up)(), void (Obj::*down)())
{
    connect(spin, &SpinButton::upClick, obj, up);
    connect(spin, &SpinButton::downClick, obj, down);
}

// ---- Cell grids (the 8 x 6 metering and motion grids): cells row by row, and each row goes
// on the wire as one byte whose bit 0 is the row's first (leftmost) cell.

uint8_t rowByte(std::span<QCheckBox *const> cells, int columns, int row);
void setRowByte(std::span<QCheckBox *const> cells, int columns, int row, uint8_t bits);
// The three row bytes of half 0 (the first three rows) or half 1 (the next three).
std::array<uint8_t, 3> gridHalf(std::span<QCheckBox *const> cells, int columns, int half);
void setGridHalf(std::span<QCheckBox *const> cells, int columns, int half, uint8_t row1, uint8_t row2,
                 uint8_t row3);

// ---- Layout helpers shared by the pages.

// A form of labelled edits, one per row of a page's table: each row names the edit
// (`name`), its caption (`label`) and the page member that holds it (`edit`).
QFormLayout *form();
// Adds one labelled edit to a form made by form().
Edit *addEditRow(QFormLayout *form, QWidget *parent, const char *name, const char *label, int maxLength,
                 Edit::Entry entry);
template <class Owner, class Row, size_t N>
QFormLayout *editForm(QWidget *parent, Owner *owner, const Row (&rows)[N], int maxLength,
                      Edit::Entry entry = Edit::Entry::Text)
{
    QFormLayout *f = form();
    for (const Row &r : rows)
        owner->*(r.edit) = addEditRow(f, parent, r.name, r.label, maxLength, entry);
    return f;
}

// Narrows an edit to what `chars` characters need.
void fitWidth(QLineEdit *edit, int chars);
// Widgets side by side, then a stretch (unless `stretch` is false).
QHBoxLayout *row(std::initializer_list<QWidget *> widgets, int spacing = 6, bool stretch = true);
// Widgets one below the other, then a stretch.
QVBoxLayout *column(std::initializer_list<QWidget *> widgets, int spacing = 6);
// An edit with its up-down or spin button, close together, then a stretch.
QHBoxLayout *editWith(QWidget *edit, QWidget *arrows);

// A name of a control family: pattern "MoCheck%1E" with 7 gives "MoCheck7E", with width 2
// "MoCheck07E".
QByteArray familyName(const char *pattern, int number, int width = 1);

// The repeat test group of the lens and position pages: a 'Repeat' check box and the
// interval radio group '1s' .. '10s' (item 4 at start).
QGroupBox *repeatTestGroup(QWidget *parent, const char *boxName, const char *checkName, QCheckBox *&check,
                           const char *timeName, RadioGroup *&time);

// Item lists that many pages share.
QStringList levelItems(const QString &first, int plusCount, const QString &last); // "MIN","+1".."+n","MAX"
QStringList numberedItems(const QString &prefix, int from, int to, const QString &suffix = {});

} // namespace kit
