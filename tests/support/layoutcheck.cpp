#include "layoutcheck.h"

#include "widgets/kit.h"

#include <QAbstractButton>
#include <QRadioButton>

namespace layoutcheck {

namespace {
const char *kindName(Kind k)
{
    switch (k) {
    case Kind::RadioGroup: return "radio group";
    case Kind::CheckBox: return "check box";
    case Kind::Button: return "button";
    case Kind::Edit: return "edit";
    case Kind::UpDown: return "up-down";
    case Kind::TrackBar: return "track bar";
    case Kind::SpinButton: return "spin button";
    case Kind::ComboBox: return "drop-down list";
    case Kind::Label: return "label";
    case Kind::Panel: return "panel";
    case Kind::Memo: return "memo";
    case Kind::ProgressBar: return "progress bar";
    case Kind::GroupBox: return "group box";
    case Kind::RadioButton: return "radio button";
    case Kind::Any: return "any";
    }
    return "?";
}

bool isKind(const QObject *o, Kind k)
{
    switch (k) {
    case Kind::RadioGroup: return qobject_cast<const kit::RadioGroup *>(o);
    case Kind::CheckBox: return qobject_cast<const QCheckBox *>(o);
    case Kind::Button: return qobject_cast<const QPushButton *>(o);
    case Kind::Edit: return qobject_cast<const QLineEdit *>(o);
    case Kind::UpDown: return qobject_cast<const kit::UpDown *>(o);
    case Kind::TrackBar: return qobject_cast<const QSlider *>(o);
    case Kind::SpinButton: return qobject_cast<const kit::SpinButton *>(o);
    case Kind::ComboBox: return qobject_cast<const QComboBox *>(o);
    case Kind::Label:
    case Kind::Panel: return qobject_cast<const QLabel *>(o);
    case Kind::Memo: return qobject_cast<const QPlainTextEdit *>(o);
    case Kind::ProgressBar: return qobject_cast<const QProgressBar *>(o);
    case Kind::GroupBox: return qobject_cast<const QGroupBox *>(o) && !qobject_cast<const kit::RadioGroup *>(o);
    case Kind::RadioButton: return qobject_cast<const QRadioButton *>(o);
    case Kind::Any: return true;
    }
    return false;
}

QString captionOf(const QObject *o)
{
    if (auto *g = qobject_cast<const QGroupBox *>(o))
        return g->title();
    if (auto *b = qobject_cast<const QAbstractButton *>(o))
        return b->text();
    if (auto *l = qobject_cast<const QLabel *>(o))
        return l->text();
    if (auto *e = qobject_cast<const QLineEdit *>(o))
        return e->text();
    return {};
}

QStringList itemsOf(const QObject *o)
{
    if (auto *g = qobject_cast<const kit::RadioGroup *>(o))
        return g->items();
    if (auto *c = qobject_cast<const QComboBox *>(o)) {
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        return out;
    }
    return {};
}
} // namespace

const QGroupBox *enclosingGroup(const QWidget *w)
{
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
        auto *g = qobject_cast<const QGroupBox *>(p);
        if (g && !qobject_cast<const kit::RadioGroup *>(p))
            return g;
    }
    return nullptr;
}

QStringList verify(const QWidget *root, const std::vector<Expect> &rows)
{
    QStringList errors;
    for (const Expect &row : rows) {
        const QString name = QString::fromLatin1(row.name);
        const auto found = root->findChildren<QObject *>(name);
        if (found.isEmpty()) {
            errors << QStringLiteral("%1: missing").arg(name);
            continue;
        }
        if (found.size() > 1) {
            errors << QStringLiteral("%1: %2 objects carry this name").arg(name).arg(found.size());
            continue;
        }
        const QObject *o = found.constFirst();
        if (!isKind(o, row.kind)) {
            errors << QStringLiteral("%1: not a %2 (%3)").arg(name, QString::fromLatin1(kindName(row.kind)),
                                                           QString::fromLatin1(o->metaObject()->className()));
            continue;
        }
        if (!row.caption.isEmpty() && captionOf(o) != row.caption)
            errors << QStringLiteral("%1: caption \"%2\", expected \"%3\"").arg(name, captionOf(o), row.caption);
        if (!row.items.isEmpty() && itemsOf(o) != row.items)
            errors << QStringLiteral("%1: items [%2], expected [%3]")
                          .arg(name, itemsOf(o).join(u'|'), row.items.join(u'|'));
    }
    return errors;
}

} // namespace layoutcheck
