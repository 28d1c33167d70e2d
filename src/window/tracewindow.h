// The frame trace window: the trace log as a table that follows its tail, with a filter,
// copy and "Save as…" to text or CSV.
#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
namespace trace { class TraceLog; }

class TraceWindow : public QWidget
{
    Q_OBJECT
public:
    explicit TraceWindow(trace::TraceLog &log, QWidget *parent = nullptr);

    QTableView *view = nullptr;
    QLineEdit *filter = nullptr;
    QCheckBox *follow = nullptr;
    QPushButton *copy = nullptr;
    QPushButton *save = nullptr;
    QPushButton *clear = nullptr;

    // The rows shown (after the filter), as text lines: the selected ones, or all.
    QString shownText(bool selectedOnly) const;
    void copyClick();
    void saveClick();

private:
    trace::TraceLog &log_;
    QSortFilterProxyModel *proxy_ = nullptr;
};
