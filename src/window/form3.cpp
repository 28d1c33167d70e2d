#include "window/form3.h"

#include "widgets/kit.h"
#include "window/form1.h"

#include <QGridLayout>
#include <QVBoxLayout>

TForm3::TForm3(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Orvik Switch"));
    auto *outer = new QVBoxLayout(this);
    auto *box = kit::groupBox(this, nullptr, QStringLiteral("Push SW"));
    auto *grid = new QGridLayout(box);
    push_up = kit::button(box, "push_up", QStringLiteral("Up"));
    push_down = kit::button(box, "push_down", QStringLiteral("Down"));
    push_enter = kit::button(box, "push_enter", QStringLiteral("Enter"));
    push_pre = kit::button(box, "push_pre", QStringLiteral("Pre"));
    grid->addWidget(push_up, 0, 1);
    grid->addWidget(push_pre, 1, 0);
    grid->addWidget(push_enter, 1, 1);
    grid->addWidget(push_down, 2, 1);
    outer->addWidget(box);

    struct Key { QPushButton *button; uint8_t code; };
    for (Key k : {Key{push_up, 0x03}, Key{push_down, 0x02}, Key{push_enter, 0x01}, Key{push_pre, 0x00}})
        kit::connect(k.button, this, &TForm3::push, k.code);
}

void TForm3::setMainWindow(TForm1 *form1)
{
    main_ = form1;
}

void TForm3::push(uint8_t code)
{
    if (auto *form1 = qobject_cast<TForm1 *>(main_.data()))
        form1->SW_Push(code);
}
