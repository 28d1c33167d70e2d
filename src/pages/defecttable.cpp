#include "pages/defecttable.h"

#include "link/convert.h"

#include <QGridLayout>

namespace defect {

std::optional<Word> wordAt(int address)
{
    if (address < FirstAddress || address >= EndAddress)
        return std::nullopt;
    const int offset = address - FirstAddress;
    return Word{offset / 2, offset % 2 == 1};
}

QGridLayout *layoutRows(QWidget *box, Rows &rows, const char *prefix)
{
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    const char *const columns[] = {"H", "V", "ON", "F", "R"};
    for (int c = 0; c < 5; ++c)
        grid->addWidget(kit::label(box, nullptr, QString::fromLatin1(columns[c])), 0, c + 1, Qt::AlignHCenter);

    for (int n = 0; n < Count; ++n) {
        const QByteArray stem = QByteArray(prefix).append(char('A' + n));
        auto name = [&stem](const char *column) { return QByteArray(stem).append(column); };
        Row &row = rows[size_t(n)];
        row.H = kit::edit(box, name("H").constData(), {}, 4);
        row.V = kit::edit(box, name("V").constData(), {}, 4);
        row.ON = kit::checkBox(box, name("ON").constData(), {});
        row.F = kit::checkBox(box, name("F").constData(), {});
        row.R = kit::checkBox(box, name("R").constData(), {});
        const int y = n + 1;
        grid->addWidget(kit::label(box, nullptr, QString(letter(n))), y, 0);
        grid->addWidget(row.H, y, 1);
        grid->addWidget(row.V, y, 2);
        grid->addWidget(row.ON, y, 3, Qt::AlignHCenter);
        grid->addWidget(row.F, y, 4, Qt::AlignHCenter);
        grid->addWidget(row.R, y, 5, Qt::AlignHCenter);
    }
    return grid;
}

void show(const Row &row, bool vertical, uint16_t word, uint16_t positionMask)
{
    const QString text = conv::wordToHex(uint16_t(word & positionMask));
    if (!vertical) {
        row.H->setText(text);
        return;
    }
    row.V->setText(text);
    row.ON->setChecked(word & On);
    row.F->setChecked(word & Field);
    row.R->setChecked(word & Rev);
}

} // namespace defect
