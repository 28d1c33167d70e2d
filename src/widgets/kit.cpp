#include "widgets/kit.h"

#include "widgets/dialogs.h"

#include <QButtonGroup>
#include <QFormLayout>
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
    // Items run down the columns: a long list reads top to bottom, column by column.
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

void Edit::setEntry(Entry entry, int sendLength)
{
    entry_ = entry;
    sendLength_ = sendLength;
    if (entry != Entry::Text && !watching_) {
        watching_ = true;
        // Typing is still going on: only a character that can never convert is marked. A
        // short text is marked once the user leaves the edit with it.
        connect(this, &QLineEdit::textChanged, this, [this] { check(); });
        connect(this, &QLineEdit::editingFinished, this, [this] {
            const QString t = text();
            shortMarked_ = !t.isEmpty() && t.size() < this->sendLength();
            check();
        });
    }
    check();
}

int Edit::sendLength() const
{
    return sendLength_ > 0 ? sendLength_ : maxLength();
}

bool Edit::converts() const
{
    const QString t = text();
    switch (entry_) {
    case Entry::Text:
        return true;
    case Entry::Hex:
        for (QChar c : t)
            if (!(c >= u'0' && c <= u'9') && !(c >= u'A' && c <= u'F') && !(c >= u'a' && c <= u'f'))
                return false;
        return true;
    case Entry::Signed:
        for (qsizetype i = 0; i < t.size(); ++i)
            if (!(t[i] >= u'0' && t[i] <= u'9') && !(i == 0 && t[i] == u'-'))
                return false;
        return true;
    }
    return true;
}

bool Edit::sendable() const
{
    const QString t = text();
    if (t.isEmpty() || t.size() < sendLength() || !converts())
        return false;
    // A sign alone is no number.
    return !(entry_ == Entry::Signed && t == u"-");
}

void Edit::check()
{
    const QString t = text();
    if (t.isEmpty() || t.size() >= sendLength())
        shortMarked_ = false;
    setInvalid(entry_ != Entry::Text && (!converts() || shortMarked_));
}

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
    // Typing a number in the edit moves the position, so a handler that reads the position
    // sends what the user sees.
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
    return core::timer(parent, name, intervalMs);
}

uint8_t rowByte(std::span<QCheckBox *const> cells, int columns, int row)
{
    uint8_t b = 0;
    for (int bit = 0; bit < columns && bit < 8; ++bit) {
        if (cells[size_t(row * columns + bit)]->isChecked())
            b = uint8_t(b | (1u << bit));
    }
    return b;
}

void setRowByte(std::span<QCheckBox *const> cells, int columns, int row, uint8_t bits)
{
    for (int bit = 0; bit < columns && bit < 8; ++bit)
        cells[size_t(row * columns + bit)]->setChecked((bits >> bit) & 1u);
}

std::array<uint8_t, 3> gridHalf(std::span<QCheckBox *const> cells, int columns, int half)
{
    const int first = half * 3;
    return {rowByte(cells, columns, first), rowByte(cells, columns, first + 1), rowByte(cells, columns, first + 2)};
}

void setGridHalf(std::span<QCheckBox *const> cells, int columns, int half, uint8_t row1, uint8_t row2,
                 uint8_t row3)
{
    const int first = half * 3;
    setRowByte(cells, columns, first, row1);
    setRowByte(cells, columns, first + 1, row2);
    setRowByte(cells, columns, first + 2, row3);
}

QFormLayout *form()
{
    auto *f = new QFormLayout;
    f->setLabelAlignment(Qt::AlignRight);
    f->setHorizontalSpacing(6);
    return f;
}

Edit *addEditRow(QFormLayout *form, QWidget *parent, const char *name, const char *label, int maxLength,
                 Edit::Entry entry)
{
    Edit *e = edit(parent, name, QString(), maxLength);
    e->setEntry(entry);
    form->addRow(QString::fromLatin1(label), e);
    return e;
}

void fitWidth(QLineEdit *edit, int chars)
{
    edit->setMaximumWidth(std::max(36, edit->fontMetrics().horizontalAdvance(QString(chars + 1, u'W')) + 12));
}

QHBoxLayout *row(std::initializer_list<QWidget *> widgets, int spacing, bool stretch)
{
    auto *box = new QHBoxLayout;
    box->setSpacing(spacing);
    for (QWidget *w : widgets)
        box->addWidget(w);
    if (stretch)
        box->addStretch(1);
    return box;
}

QVBoxLayout *column(std::initializer_list<QWidget *> widgets, int spacing)
{
    auto *box = new QVBoxLayout;
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

QByteArray familyName(const char *pattern, int number, int width)
{
    return QString::fromLatin1(pattern).arg(number, width, 10, QLatin1Char('0')).toLatin1();
}

QGroupBox *repeatTestGroup(QWidget *parent, const char *boxName, const char *checkName, QCheckBox *&check,
                           const char *timeName, RadioGroup *&time)
{
    auto *box = groupBox(parent, boxName, QStringLiteral("Test"));
    check = checkBox(box, checkName, QStringLiteral("Repeat"));
    time = radioGroup(box, timeName, QStringLiteral("Lens_Repeat_Time"),
                      numberedItems(QString(), 1, 10, QStringLiteral("s")), 3, 4);
    auto *v = new QVBoxLayout(box);
    v->addWidget(check);
    v->addWidget(time);
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
