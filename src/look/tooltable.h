#pragma once

class QAbstractItemModel;
class QString;
class QTableView;
class QWidget;

// A table of a tool window, set up as every other: named for tests and for a screen reader,
// sortable by its headers, read only, rows selected whole and sized to their contents, left by
// Tab and Shift+Tab like any other control, and never so small that it shows fewer than three
// rows.
QTableView *ToolTable(
    QWidget *parent, QAbstractItemModel *model, const QString &name, const QString &heard);

// Keeps a tool window from being made smaller than its controls need: its wrapped texts take
// more lines as it narrows, so the least height follows the width.
void KeepToolWindowWhole(QWidget *window);
