#pragma once

class QAbstractItemModel;
class QString;
class QTableView;
class QWidget;

// A table of a tool window, set up as every other: named for tests and for a screen reader,
// sortable by its headers, read only, rows selected whole and sized to their contents, and
// left by Tab and Shift+Tab like any other control.
QTableView *ToolTable(
    QWidget *parent, QAbstractItemModel *model, const QString &name, const QString &heard);
