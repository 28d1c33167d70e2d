#include "widgets/kit.h"

#include "widgets/dialogs.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace kit {

void guarded(const std::function<void()> &f)
{
    try {
        f();
    } catch (const std::exception &e) {
        Dialogs::instance().exception(QString::fromUtf8(e.what()));
    }
}

// ---------------------------------------------------------------- RadioGroup

RadioGroup::RadioGroup(const QString &caption, const QStringList &items, int columns, QWidget *parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this))
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    columns = std::max(1, columns);
    // Items run down the columns, as the original radio groups fill them.
    const int rows = (int(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], this);
        group_->addButton(b, i);
        buttons_.push_back(b);
        grid->addWidget(b, rows ? i % rows : 0, rows ? i / rows : 0);
    }
    // idToggled fires for user and code changes alike, and only on a change.
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit itemClicked(id);
    });
}

int RadioGroup::itemIndex() const
{
    return group_->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (buttons_.empty())
        return;
    if (index < 0) {
        if (auto *b = group_->checkedButton()) {
            group_->setExclusive(false);
            b->setChecked(false);
            group_->setExclusive(true);
        }
        return;
    }
    index = std::min(index, int(buttons_.size()) - 1);
    buttons_[size_t(index)]->setChecked(true);
}

int RadioGroup::count() const
{
    return int(buttons_.size());
}

QStringList RadioGroup::items() const
{
    QStringList out;
    for (auto *b : buttons_)
        out << b->text();
    return out;
}

QRadioButton *RadioGroup::button(int index) const
{
    return index >= 0 && index < count() ? buttons_[size_t(index)] : nullptr;
}

// ---------------------------------------------------------------- Edit

Edit::Edit(QWidget *parent) : QLineEdit(parent) {}

void Edit::setInvalid(bool invalid)
{
    if (invalid == invalid_)
        return;
    invalid_ = invalid;
    setStyleSheet(invalid ? QStringLiteral("QLineEdit { border: 2px solid #d00000; background: #fff0f0; }")
                          : QString());
    setToolTip(invalid ? QStringLiteral("Not a valid value: nothing was sent") : QString());
}

// ---------------------------------------------------------------- UpDown

UpDown::UpDown(int minimum, int maximum, int position, QWidget *parent)
    : QWidget(parent), min_(minimum), max_(std::max(minimum, maximum)),
      position_(std::clamp(position, min_, max_)), upButton_(new QToolButton(this)),
      downButton_(new QToolButton(this))
{
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    for (auto *b : {upButton_, downButton_}) {
        b->setAutoRepeat(true);
        b->setFixedSize(16, 11);
        b->setFocusPolicy(Qt::NoFocus);
        box->addWidget(b);
    }
    upButton_->setArrowType(Qt::UpArrow);
    downButton_->setArrowType(Qt::DownArrow);
    connect(upButton_, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(downButton_, &QToolButton::clicked, this, &UpDown::stepDown);
    setFixedSize(16, 22);
}

void UpDown::setPosition(int position)
{
    position_ = std::clamp(position, min_, max_);
    showPosition();
}

void UpDown::setMinimum(int v)
{
    min_ = v;
    max_ = std::max(max_, v);
    setPosition(position_);
}

void UpDown::setMaximum(int v)
{
    max_ = v;
    min_ = std::min(min_, v);
    setPosition(position_);
}

void UpDown::setAssociate(QLineEdit *edit)
{
    edit_ = edit;
    if (!edit_)
        return;
    showPosition();
    // Typing in the edit moves the position as the original read it back from the text.
    connect(edit_, &QLineEdit::textEdited, this, [this](const QString &text) {
        bool ok = false;
        const int v = text.trimmed().toInt(&ok);
        if (ok)
            position_ = std::clamp(v, min_, max_);
    });
}

void UpDown::stepUp()
{
    step(increment_, true);
}

void UpDown::stepDown()
{
    step(-increment_, false);
}

void UpDown::step(int delta, bool up)
{
    long next = long(position_) + delta;
    if (wrap_) {
        if (next > max_)
            next = min_;
        else if (next < min_)
            next = max_;
    }
    setPosition(int(std::clamp<long>(next, min_, max_)));
    emit clicked(up);
}

void UpDown::showPosition()
{
    if (edit_) {
        const QString text = QString::number(position_);
        if (edit_->text() != text)
            edit_->setText(text);
    }
}

// ---------------------------------------------------------------- SpinButton

SpinButton::SpinButton(QWidget *parent) : QWidget(parent)
{
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    auto *up = new QToolButton(this);
    auto *down = new QToolButton(this);
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    for (auto *b : {up, down}) {
        b->setAutoRepeat(true);
        b->setFixedSize(16, 11);
        b->setFocusPolicy(Qt::NoFocus);
        box->addWidget(b);
    }
    connect(up, &QToolButton::clicked, this, &SpinButton::upClick);
    connect(down, &QToolButton::clicked, this, &SpinButton::downClick);
    setFixedSize(16, 22);
}

// ---------------------------------------------------------------- TrackBar, ProgressBar

TrackBar::TrackBar(int minimum, int maximum, QWidget *parent) : QSlider(Qt::Horizontal, parent)
{
    setRange(minimum, maximum);
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(1);
    setPageStep(1);
    setMinimumWidth(120);
}

ProgressBar::ProgressBar(QWidget *parent) : QProgressBar(parent)
{
    setRange(0, 100);
    setValue(0);
}

void ProgressBar::setPosition(int position)
{
    setValue(std::clamp(position, minimum(), maximum()));
}

// ---------------------------------------------------------------- Timer

Timer::Timer(QObject *parent, int intervalMs) : QTimer(parent)
{
    QTimer::setInterval(intervalMs);
}

void Timer::setEnabled(bool enabled)
{
    if (!enabled)
        stop();
    else if (!isActive())
        start();
}

void Timer::setIntervalMs(int ms)
{
    if (ms != interval())
        QTimer::setInterval(ms);
}

// ---------------------------------------------------------------- cursor, removal

void busyCursor(bool busy)
{
    if (busy) {
        if (!QGuiApplication::overrideCursor())
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QGuiApplication::changeOverrideCursor(Qt::WaitCursor);
    } else {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
}

bool isBusyCursor()
{
    const QCursor *c = QGuiApplication::overrideCursor();
    return c && c->shape() == Qt::WaitCursor;
}

void remove(QWidget *w)
{
    if (!w)
        return;
    w->setEnabled(false);
    w->hide();
}

// ---------------------------------------------------------------- factories

namespace {
template <class T> T *named(T *w, const char *name)
{
    if (name)
        w->setObjectName(QString::fromLatin1(name));
    return w;
}
} // namespace

QGroupBox *groupBox(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QGroupBox(caption, parent), name);
}

RadioGroup *radioGroup(QWidget *parent, const char *name, const QString &caption,
                       const QStringList &items, int columns, int initial)
{
    auto *g = named(new RadioGroup(caption, items, columns, parent), name);
    if (initial >= 0)
        g->setItemIndex(initial);
    return g;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QPushButton(caption, parent), name);
}

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption, bool checked)
{
    auto *c = named(new QCheckBox(caption, parent), name);
    c->setChecked(checked);
    return c;
}

Edit *edit(QWidget *parent, const char *name, const QString &text, int maxLength)
{
    auto *e = named(new Edit(parent), name);
    if (maxLength > 0) {
        e->setMaxLength(maxLength);
        fitWidth(e, maxLength);
    }
    e->setText(text);
    return e;
}

UpDown *upDown(QWidget *parent, const char *name, int minimum, int maximum, int position, QLineEdit *buddy)
{
    auto *u = named(new UpDown(minimum, maximum, position, parent), name);
    if (buddy)
        u->setAssociate(buddy);
    return u;
}

TrackBar *trackBar(QWidget *parent, const char *name, int minimum, int maximum)
{
    return named(new TrackBar(minimum, maximum, parent), name);
}

SpinButton *spinButton(QWidget *parent, const char *name)
{
    return named(new SpinButton(parent), name);
}

QComboBox *comboBox(QWidget *parent, const char *name, const QStringList &items)
{
    auto *c = named(new QComboBox(parent), name);
    c->addItems(items);
    c->setCurrentIndex(-1);
    return c;
}

QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    return named(new QLabel(text, parent), name);
}

QLabel *panel(QWidget *parent, const char *name, const QString &text)
{
    auto *l = named(new QLabel(text, parent), name);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMinimumWidth(80);
    return l;
}

QPlainTextEdit *memo(QWidget *parent, const char *name)
{
    auto *m = named(new QPlainTextEdit(parent), name);
    m->setLineWrapMode(QPlainTextEdit::NoWrap);
    return m;
}

ProgressBar *progressBar(QWidget *parent, const char *name, int maximum)
{
    auto *p = named(new ProgressBar(parent), name);
    p->setRange(0, maximum);
    return p;
}

Timer *timer(QObject *parent, const char *name, int intervalMs)
{
    auto *t = new Timer(parent, intervalMs);
    if (name)
        t->setObjectName(QString::fromLatin1(name));
    return t;
}

void fitWidth(QLineEdit *edit, int chars)
{
    edit->setMaximumWidth(std::max(36, edit->fontMetrics().horizontalAdvance(QString(chars + 1, u'W')) + 12));
}

QHBoxLayout *row(std::initializer_list<QWidget *> widgets, int spacing)
{
    auto *box = new QHBoxLayout;
    box->setSpacing(spacing);
    for (QWidget *w : widgets)
        box->addWidget(w);
    box->addStretch(1);
    return box;
}

QHBoxLayout *editWith(QWidget *edit, QWidget *arrows)
{
    auto *box = new QHBoxLayout;
    box->setSpacing(1);
    box->addWidget(edit);
    box->addWidget(arrows);
    box->addStretch(1);
    return box;
}

QStringList levelItems(const QString &first, int plusCount, const QString &last)
{
    QStringList out{first};
    for (int i = 1; i <= plusCount; ++i)
        out << QStringLiteral("+%1").arg(i);
    out << last;
    return out;
}

QStringList numberedItems(const QString &prefix, int from, int to, const QString &suffix)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << prefix + QString::number(i) + suffix;
    return out;
}

} // namespace kit
