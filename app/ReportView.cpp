#include "app/ReportView.h"

#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QStyle>
#include <algorithm>

namespace {

constexpr int kSortRole = Qt::UserRole + 1;

QColor Background(ReportView::Mark mark) {
  switch (mark) {
    case ReportView::Mark::Error:
      return QColor(255, 214, 214);
    case ReportView::Mark::Warning:
      return QColor(255, 243, 196);
    case ReportView::Mark::None:
    case ReportView::Mark::Note:
      break;
  }
  return QColor();
}

QStyle::StandardPixmap Icon(ReportView::Mark mark) {
  switch (mark) {
    case ReportView::Mark::Error:
      return QStyle::SP_MessageBoxCritical;
    case ReportView::Mark::Warning:
      return QStyle::SP_MessageBoxWarning;
    case ReportView::Mark::Note:
    case ReportView::Mark::None:
      break;
  }
  return QStyle::SP_CustomBase;
}

}  // namespace

ReportView::ReportView(QWidget* parent, const QStringList& headers)
    : QTableView(parent),
      rows_(new QStandardItemModel(0, headers.size(), this)),
      sorted_(new QSortFilterProxyModel(this)) {
  rows_->setHorizontalHeaderLabels(headers);
  sorted_->setSourceModel(rows_);
  sorted_->setSortRole(kSortRole);
  sorted_->setSortLocaleAware(true);
  setModel(sorted_);
  setSortingEnabled(true);
  sortByColumn(-1, Qt::AscendingOrder);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  // One line a row; a cell's whole text is its tool tip and the dialog's details.
  setWordWrap(false);
  setTextElideMode(Qt::ElideRight);
  verticalHeader()->hide();
  horizontalHeader()->setStretchLastSection(true);
}

void ReportView::AddRow(const QList<QVariant>& cells, Mark mark, const QList<QVariant>& orders) {
  QList<QStandardItem*> items;
  for (int column = 0; column < cells.size(); ++column) {
    auto* item = new QStandardItem;
    if (cells[column].typeId() == QMetaType::QString) {
      const QString text = cells[column].toString();
      item->setData(QString(text).replace(QLatin1Char('\n'), QLatin1String("  ")), Qt::DisplayRole);
      item->setData(text, Qt::ToolTipRole);
    } else {
      item->setData(cells[column], Qt::DisplayRole);
    }
    const bool ordered = column < orders.size() && orders[column].isValid();
    item->setData(ordered ? orders[column] : cells[column], kSortRole);
    if (cells[column].typeId() == QMetaType::LongLong)
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setData(int(mark), kMarkRole);
    if (mark == Mark::Error || mark == Mark::Warning) item->setBackground(Background(mark));
    items << item;
  }
  if ((mark == Mark::Error || mark == Mark::Warning) && !items.isEmpty())
    items.front()->setIcon(style()->standardIcon(Icon(mark)));
  rows_->appendRow(items);
}

void ReportView::FitToContents() {
  constexpr int kWidest = 220;
  // The last column takes the rest of the width.
  for (int column = 0; column + 1 < rows_->columnCount(); ++column) {
    resizeColumnToContents(column);
    setColumnWidth(column, std::min(columnWidth(column), kWidest));
  }
}

QString ReportView::WholeText(const QModelIndex& index) {
  return index.data(Qt::ToolTipRole).isValid() ? index.data(Qt::ToolTipRole).toString()
                                               : index.data().toString();
}
