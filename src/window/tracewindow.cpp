#include "window/tracewindow.h"

#include "link/trace.h"
#include "widgets/dialogs.h"
#include "widgets/kit.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

TraceWindow::TraceWindow(trace::TraceLog &log, QWidget *parent) : QWidget(parent, Qt::Window), log_(log)
{
    setObjectName(QStringLiteral("TraceWindow"));
    setWindowTitle(QStringLiteral("Orvik Trace"));

    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(&log_);
    proxy_->setFilterKeyColumn(-1);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);

    view = new QTableView(this);
    view->setObjectName(QStringLiteral("TraceView"));
    view->setModel(proxy_);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setWordWrap(false);
    view->verticalHeader()->setVisible(false);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    const QFontMetrics fm = view->fontMetrics();
    const int widths[] = {fm.horizontalAdvance(QStringLiteral("00000.000")), fm.horizontalAdvance(QStringLiteral("<-")),
                          fm.horizontalAdvance(QStringLiteral("38400 2")), fm.horizontalAdvance(QStringLiteral("8000 0100 0000 7F")),
                          fm.horizontalAdvance(QStringLiteral("Round trip (ms)"))};
    for (int c = 0; c < int(std::size(widths)); ++c)
        view->setColumnWidth(c, widths[c] + 16);
    view->horizontalHeader()->setStretchLastSection(true);

    filter = kit::edit(this, "TraceFilter");
    filter->setPlaceholderText(QStringLiteral("Filter: any text of a row"));
    follow = kit::checkBox(this, "TraceFollow", QStringLiteral("Follow"), true);
    copy = kit::button(this, "TraceCopy", QStringLiteral("Copy"));
    save = kit::button(this, "TraceSave", QStringLiteral("Save as…"));
    clear = kit::button(this, "TraceClear", QStringLiteral("Clear"));

    auto *bar = new QHBoxLayout;
    bar->addWidget(filter, 1);
    for (QWidget *w : std::initializer_list<QWidget *>{follow, copy, save, clear})
        bar->addWidget(w);
    auto *v = new QVBoxLayout(this);
    v->addLayout(bar);
    v->addWidget(view, 1);
    resize(760, 420);

    connect(filter, &QLineEdit::textChanged, proxy_, &QSortFilterProxyModel::setFilterFixedString);
    connect(proxy_, &QAbstractItemModel::rowsInserted, this, [this] {
        if (follow->isChecked())
            view->scrollToBottom();
    });
    kit::connect(copy, this, &TraceWindow::copyClick);
    kit::connect(save, this, &TraceWindow::saveClick);
    connect(clear, &QPushButton::clicked, &log_, &trace::TraceLog::clear);
}

QString TraceWindow::shownText(bool selectedOnly) const
{
    QList<int> rows;
    if (selectedOnly && view->selectionModel()) {
        for (const QModelIndex &i : view->selectionModel()->selectedRows())
            rows << i.row();
        std::sort(rows.begin(), rows.end());
    } else {
        for (int r = 0; r < proxy_->rowCount(); ++r)
            rows << r;
    }
    QString out;
    for (int r : rows)
        out += trace::textLine(log_.at(proxy_->mapToSource(proxy_->index(r, 0)).row())) + u'\n';
    return out;
}

void TraceWindow::copyClick()
{
    const bool selected = view->selectionModel() && view->selectionModel()->hasSelection();
    QApplication::clipboard()->setText(shownText(selected));
}

void TraceWindow::saveClick()
{
    const QString path = Dialogs::instance().saveFile(QStringLiteral("Text (*.txt);;CSV (*.csv);;All files (*)"));
    if (path.isEmpty())
        return;
    QString error;
    const bool csv = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    if (!log_.save(path, csv, &error))
        Dialogs::instance().message(QStringLiteral("The trace could not be saved: ") + error, QStringLiteral("Orvik"),
                                    Dialogs::Buttons::Ok);
}
