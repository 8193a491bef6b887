#pragma once
// The two composite inputs of the main window: a file-name box with its browse
// button, and a date box with a calendar drop-down that may be left empty.
#include <QWidget>

#include "text/Regional.h"

class QCalendarWidget;
class QLineEdit;
class QToolButton;

class FileNameEdit : public QWidget {
  Q_OBJECT

 public:
  explicit FileNameEdit(QWidget* parent = nullptr);
  QString text() const;
  void setText(const QString& text);
  QLineEdit* Edit() const { return edit_; }
  QToolButton* Button() const { return button_; }

 signals:
  void textChanged(const QString& text);
  void browseClicked();

 private:
  QLineEdit* edit_;
  QToolButton* button_;
};

class DateBox : public QWidget {
  Q_OBJECT

 public:
  explicit DateBox(QWidget* parent = nullptr);
  QString text() const;
  void setText(const QString& text);
  QLineEdit* Edit() const { return edit_; }
  QToolButton* Button() const { return button_; }
  // The date the text names in the regional short date format; 0 when the box
  // is empty or the text is no valid date.
  text::TDateTime Value() const;

 private:
  void ShowCalendar();

  QLineEdit* edit_;
  QToolButton* button_;
  QCalendarWidget* calendar_ = nullptr;
};
