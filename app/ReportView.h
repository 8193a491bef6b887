#pragma once
// A report of a dialog as a table the operator sorts by any column: the rows in
// a QStandardItemModel behind a sorting proxy. Numbers sort as numbers; a row
// may be marked as an error or a warning by its colour and an icon. A row is
// one line; a text of several lines shows whole as the cell's tool tip.
#include <QList>
#include <QStandardItemModel>
#include <QTableView>
#include <QVariant>

class QSortFilterProxyModel;

class ReportView : public QTableView {
  Q_OBJECT

 public:
  enum class Mark { None, Note, Warning, Error };
  static constexpr int kMarkRole = Qt::UserRole + 2;  // a row's Mark, on its every cell

  ReportView(QWidget* parent, const QStringList& headers);

  // `cells`: QString or qlonglong each. `orders`, where given, sort their
  // column in the cell's stead (a line number shown as a word, a date).
  void AddRow(const QList<QVariant>& cells, Mark mark = Mark::None,
              const QList<QVariant>& orders = {});
  // Fits the columns to what they hold, the last one stretched.
  void FitToContents();

  // The rows as the model holds them, before sorting.
  QStandardItemModel* Rows() const { return rows_; }

  // A cell's text with its line breaks.
  static QString WholeText(const QModelIndex& index);

 private:
  QStandardItemModel* rows_;
  QSortFilterProxyModel* sorted_;
};
