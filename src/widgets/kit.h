// The control kit: the few toolkit behaviours the pages rely on, in one place.
//
// - Setting a value from code raises the same handler as a user action (radio group,
//   check box, track bar, edit), synchronously, so a decoder that applies a reply while
//   the link is busy sees its own handlers drop their writes.
// - An up-down raises its handler only for a user's arrow step, never for a position set
//   from code.
// - A drop-down raises its handler only for a user's choice (connect to `activated`).
// - Timers keep their countdown when enabled again and default to 1000 ms.
#pragma once

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

#include <functional>
#include <initializer_list>
#include <vector>

class QButtonGroup;
class QHBoxLayout;
class QRadioButton;
class QToolButton;

namespace kit {

// Runs f; an exception skips the rest of f and is shown in a message box.
void guarded(const std::function<void()> &f);

// Connects a signal to a handler that runs inside guarded(). The handler takes no
// arguments: handlers read the controls they need.
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
    explicit Edit(QWidget *parent = nullptr);
    // Marks text that cannot be sent (red frame), so the user sees why nothing went out.
    void setInvalid(bool invalid);
    bool isInvalid() const { return invalid_; }

private:
    bool invalid_ = false;
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

// Timer with the original toolkit's semantics.
class Timer : public QTimer
{
    Q_OBJECT
public:
    explicit Timer(QObject *parent = nullptr, int intervalMs = 1000);
    // Enabling a running timer keeps its countdown; disabling stops it.
    void setEnabled(bool enabled);
    bool enabled() const { return isActive(); }
    // Restarts a running timer only when the interval really changes.
    void setIntervalMs(int ms);
};

// The one process-wide hourglass: set once, restored once, however often it is asked.
void busyCursor(bool busy);
bool isBusyCursor();

// "Remove" a control: disable and hide it.
void remove(QWidget *w);

// ---- Factories: create, name (objectName = the designer name) and parent a control.
// `name` may be nullptr for unnamed labels and boxes.

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

// ---- Layout helpers shared by the pages.

// Narrows an edit to what `chars` characters need.
void fitWidth(QLineEdit *edit, int chars);
// Widgets side by side, then a stretch.
QHBoxLayout *row(std::initializer_list<QWidget *> widgets, int spacing = 6);
// An edit with its up-down or spin button, close together, then a stretch.
QHBoxLayout *editWith(QWidget *edit, QWidget *arrows);

// Item lists that many pages share.
QStringList levelItems(const QString &first, int plusCount, const QString &last); // "MIN","+1".."+n","MAX"
QStringList numberedItems(const QString &prefix, int from, int to, const QString &suffix = {});

} // namespace kit
