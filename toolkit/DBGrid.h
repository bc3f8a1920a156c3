#pragma once
// DBGrid: the rows of a data source's table, one line each, in the table's order, with the
// current row marked; clicking a line, or moving to it with the keyboard, makes that row
// current.
//
// The grid reads its lines through a cursor of its own over the same file, order and (for a
// detail table) master link, so reading never moves the table's current row; the cursor lives
// as long as the grid's configuration, so its statements are prepared once. The grid has one
// line per visible row (at most kMaxLines), but reads only the lines in view plus a small
// margin; scrolling reads the lines that come into view. It reads its lines again when the table
// opens, when its order or its master's row changes, or when rows were written through the session
// since it read them; a move or a change of state that leaves the rows as they were only moves the
// mark. A table closed and opened again within one handler, with nothing written meanwhile, keeps
// its lines; one left closed shows none once the handler is over.
//
// While a new row is being inserted it has a line of its own, the current line, showing its
// values as they are assigned: at the line of the row that was current when it was begun, which
// moves one line down. The line goes when the row is written (the lines are read again, the row
// in its place) or dropped.
//
// Each line keeps the full order key of its row. Choosing a line moves the table to the row
// with that key, never to a position: other table objects may have added, deleted or
// renumbered rows since the lines were read. When the line's row is no longer there, the
// current row stays where it was, the grid re-reads its lines and tells the clerk so.

#include <QPointer>
#include <QTableWidget>
#include <memory>
#include <string>
#include <vector>

#include "DataSource.h"

namespace toolkit {

class DBGrid : public QTableWidget {
  Q_OBJECT

 public:
  // At most this many lines, enough for one employee's entries.
  static constexpr int kMaxLines = 5000;
  // Lines read beyond those in view, above and below.
  static constexpr int kMarginLines = 8;

  struct Column {
    std::string field;
    QString title;
  };

  explicit DBGrid(QWidget* parent = nullptr);
  ~DBGrid() override;

  void setDataSource(DataSource* source, std::vector<Column> columns);
  // For a detail table: the master table and its link fields, as given to the table itself.
  void setMasterLink(store::Table* master, const std::string& masterFields);

  // Re-reads the lines.
  void reload();

 protected:
  // The clerk chooses a line with the mouse or the keyboard; each of these lets the view move
  // its current line first and then moves the table to that line's row.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Lines are chosen whole, so Home and End go to the first and last line.
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void follow(store::TableEvent event);
  void clearLines();
  bool linesCurrent();
  std::vector<store::Value> linkValues() const;
  store::Table& cursor();
  // Reads the lines in view and the margin that are not read yet.
  void fillVisible();
  void fillLines(int from, int to);
  // Scrolls to the current row's line when it is not among the lines read.
  void showCurrent();
  void fitColumns();
  void markCurrent();
  // The line of the new row being inserted: added, filled or removed as the table's state is.
  void followPending();
  int insertionLine();
  void showPendingValues();
  // Lines in view and rows read (keys_) differ by the new row's line, when there is one; rowOf
  // gives -1 for that line.
  int lineOf(int row) const;
  int rowOf(int line) const;
  void choose(int viewLine);
  std::vector<store::Value> currentKey();

  QPointer<DataSource> source_;
  std::vector<Column> columns_;
  store::Table* master_ = nullptr;
  std::string masterFields_;
  std::unique_ptr<store::Table> cursor_;
  bool loaded_ = false;                          // the lines belong to the table's open view
  std::string tableShown_;                       // the table's file when the lines were read
  std::string keysIndex_;                        // the table's order then
  unsigned long long generation_ = 0;            // the session's writes when they were read
  std::vector<store::Value> linkShown_;          // the master's link values then
  std::vector<std::vector<store::Value>> keys_;  // order key of each row read; empty: not read
  int pendingLine_ = -1;                         // the new row's line; -1: none
  bool moving_ = false;
  bool filling_ = false;
};

}  // namespace toolkit
