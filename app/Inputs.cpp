#include "app/Inputs.h"

#include <QAction>
#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

#include "app/QtText.h"

namespace {

void PlaceSideBySide(QWidget* box, QLineEdit* edit, QToolButton* button) {
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(edit);
  layout->addWidget(button);
  button->setFixedWidth(21);
}

}  // namespace

FileNameEdit::FileNameEdit(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), button_(new QToolButton(this)) {
  button_->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  button_->setFocusPolicy(Qt::StrongFocus);
  PlaceSideBySide(this, edit_, button_);
  setFocusProxy(edit_);
  connect(edit_, &QLineEdit::textChanged, this, &FileNameEdit::textChanged);
  connect(button_, &QToolButton::clicked, this, &FileNameEdit::browseClicked);
}

QString FileNameEdit::text() const {
  return edit_->text();
}
void FileNameEdit::setText(const QString& text) {
  edit_->setText(text);
}

DateBox::DateBox(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), button_(new QToolButton(this)) {
  button_->setArrowType(Qt::DownArrow);
  // The drop-down is reached with the mouse; the tab key goes to the text.
  button_->setFocusPolicy(Qt::NoFocus);
  PlaceSideBySide(this, edit_, button_);
  setFocusProxy(edit_);
  connect(button_, &QToolButton::clicked, this, &DateBox::ShowCalendar);
  // From the keyboard the drop-down opens as a combo box's does.
  auto* open = new QAction(this);
  open->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_Down), QKeySequence(Qt::Key_F4)});
  open->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  addAction(open);
  connect(open, &QAction::triggered, this, &DateBox::ShowCalendar);
}

QString DateBox::text() const {
  return edit_->text();
}
void DateBox::setText(const QString& text) {
  edit_->setText(text);
}

text::TDateTime DateBox::Value() const {
  text::TDateTime value = 0;
  return text::TryStrToDateTime(FromQt(edit_->text()), value) ? value : 0;
}

void DateBox::ShowCalendar() {
  if (!calendar_) {
    calendar_ = new QCalendarWidget(this);
    calendar_->setWindowFlags(Qt::Popup);
    auto pick = [this](QDate date) {
      text::DateTimeParts parts;
      parts.year = date.year();
      parts.month = date.month();
      parts.day = date.day();
      edit_->setText(ToQt(text::FormatDateTimePattern(text::Regional().shortDateFormat, parts)));
      calendar_->hide();
    };
    // A click, or Return on the date chosen with the arrow keys.
    connect(calendar_, &QCalendarWidget::clicked, this, pick);
    connect(calendar_, &QCalendarWidget::activated, this, pick);
  }
  const text::TDateTime typed = Value();
  text::DateTimeParts shown = text::DecodeDateTime(typed != 0 ? typed : text::Now());
  calendar_->setSelectedDate(QDate(shown.year, shown.month, shown.day));
  calendar_->move(mapToGlobal(QPoint(0, height())));
  calendar_->show();
  calendar_->setFocus();
}
