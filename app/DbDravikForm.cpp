#include "app/DbDravikForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

#include "app/Inputs.h"
#include "app/QtText.h"
#include "app/WindowServices.h"
#include "app/WorkDialog.h"
#include "text/RussianTexts.h"
#include "text/Trim.h"

namespace {

constexpr int kClientWidth = 479;
constexpr int kClientHeight = 325;
constexpr int kUpperPanelHeight = 185;

QFrame* RaisedPanel(QWidget* parent, const QRect& place) {
  auto* panel = new QFrame(parent);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setGeometry(place);
  return panel;
}

QLabel* Label(QWidget* panel, int left, int top, const std::string& caption) {
  auto* label = new QLabel(ToQt(caption), panel);
  label->move(left, top);
  label->adjustSize();
  return label;
}

template <typename W>
W* Place(W* widget, const char* name, const QRect& place) {
  widget->setObjectName(QLatin1String(name));
  widget->setGeometry(place);
  return widget;
}

}  // namespace

TDbDravikForm::TDbDravikForm(TDM1& dm, WindowServices& services, std::string executablePath,
                             std::string helpFile)
    : dm_(dm),
      services_(services),
      executablePath_(std::move(executablePath)),
      helpFile_(std::move(helpFile)),
      states_(dm, [this] { return locationFlag_; }),
      run_(dm, states_, *this) {
  run_.SetOnBegin([this] { return BeforeFirstWrite(); });
  setObjectName(QStringLiteral("DbDravikForm"));
  setWindowTitle(ToQt(ru::AppTitle()));
  // The layout's pixel places were made for an 8-point font.
  QFont small = font();
  small.setPointSize(8);
  setFont(small);
  SetSystemMenu(true);
  BuildMenu();
  BuildControls();
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  adjustSize();
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  SourceFE->setFocus();
  FormCreate();
}

TDbDravikForm::~TDbDravikForm() {
  SetBusyCursor(false);
}

void TDbDravikForm::BuildMenu() {
  mnuFile = menuBar()->addMenu(ToQt(ru::MenuFile()));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  QAction* source =
      mnuFile->addAction(ToQt(ru::MenuFileSource()), this, &TDbDravikForm::mnuFile_SourceClick);
  source->setObjectName(QStringLiteral("mnuFile_Source"));
  QAction* dest =
      mnuFile->addAction(ToQt(ru::MenuFileDest()), this, &TDbDravikForm::mnuFile_DestClick);
  dest->setObjectName(QStringLiteral("mnuFile_Dest"));
  mnuFile->addSeparator();
  mnuFile_Move =
      mnuFile->addAction(ToQt(ru::MenuFileMove()), this, &TDbDravikForm::mnuFile_MoveClick);
  mnuFile_Move->setObjectName(QStringLiteral("mnuFile_Move"));

  BuildToolsMenu();

  mnuHelp = menuBar()->addMenu(ToQt(ru::MenuHelp()));
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  QAction* mainWindow = mnuHelp->addAction(ToQt(ru::MenuHelpMainWindow()), this,
                                           &TDbDravikForm::mnuHelp_MainWindowClick);
  mainWindow->setObjectName(QStringLiteral("mnuHelp_MainWindow"));
  mnuHelp->addSeparator();
  QAction* about =
      mnuHelp->addAction(ToQt(ru::MenuHelpAbout()), this, &TDbDravikForm::mnuHelp_AboutClick);
  about->setObjectName(QStringLiteral("mnuHelp_About"));
}

void TDbDravikForm::BuildControls() {
  auto* client = new QWidget(this);
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);

  QFrame* upper = RaisedPanel(client, QRect(0, 0, kClientWidth, kUpperPanelHeight));
  Label(upper, 8, 20, ru::SourceLabel());
  SourceFE = Place(new FileNameEdit(upper), "SourceFE", QRect(8, 36, 465, 21));
  Label(upper, 8, 68, ru::DestLabel());
  DestFE = Place(new FileNameEdit(upper), "DestFE", QRect(8, 84, 465, 21));
  EventsCB =
      Place(new QCheckBox(ToQt(ru::EventsBox()), upper), "EventsCB", QRect(40, 133, 185, 17));
  Label(upper, 248, 133, ru::EventsFromLabel());
  FromDE = Place(new DateBox(upper), "FromDE", QRect(272, 129, 121, 21));
  SaveUserPlaceCB = Place(new QCheckBox(ToQt(ru::KeepLocationsBox()), upper), "SaveUserPlaceCB",
                          QRect(40, 160, 353, 17));

  QFrame* lower = RaisedPanel(
      client, QRect(0, kUpperPanelHeight, kClientWidth, kClientHeight - kUpperPanelHeight));
  MoveBitBtn = Place(new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton),
                                     ToQt(ru::StartButton()), lower),
                     "MoveBitBtn", QRect(8, 7, 184, 34));
  CancelMoveBitBtn = Place(new QPushButton(style()->standardIcon(QStyle::SP_BrowserStop),
                                           ToQt(ru::InterruptButton()), lower),
                           "CancelMoveBitBtn", QRect(280, 7, 184, 34));
  CancelMoveBitBtn->setEnabled(false);
  QLabel* tableCaption = Label(lower, 24, 56, ru::TableCaption());
  // The status follows its caption however wide this font draws it.
  const int statusLeft = std::max(136, tableCaption->geometry().right() + 6);
  TabLabel = Place(new QLabel(lower), "TabLabel",
                   QRect(statusLeft, 56, kClientWidth - 8 - statusLeft, 15));
  QFont bold = TabLabel->font();
  bold.setBold(true);
  TabLabel->setFont(bold);
  QPalette green = TabLabel->palette();
  green.setColor(QPalette::WindowText, QColor(0, 128, 0));
  TabLabel->setPalette(green);
  TablePB.widget = Place(new QProgressBar(lower), "TablePB", QRect(24, 72, 441, 17));
  Label(lower, 24, 96, ru::AllCaption());
  AllPB.widget = Place(new QProgressBar(lower), "AllPB", QRect(24, 112, 441, 17));
  for (Bar* bar : {&TablePB, &AllPB}) {
    bar->widget->setTextVisible(false);
    ShowBar(*bar);
  }

  // A check box a little wider than its place on this font keeps its caption whole.
  for (QCheckBox* box : {EventsCB, SaveUserPlaceCB})
    box->resize(std::max(box->width(), box->sizeHint().width()), box->height());

  setTabOrder(SourceFE->Edit(), SourceFE->Button());
  setTabOrder(SourceFE->Button(), DestFE->Edit());
  setTabOrder(DestFE->Edit(), DestFE->Button());
  setTabOrder(DestFE->Button(), EventsCB);
  setTabOrder(EventsCB, FromDE->Edit());
  setTabOrder(FromDE->Edit(), SaveUserPlaceCB);
  setTabOrder(SaveUserPlaceCB, MoveBitBtn);
  setTabOrder(MoveBitBtn, CancelMoveBitBtn);

  connect(SourceFE, &FileNameEdit::textChanged, this, &TDbDravikForm::SourceFEChange);
  connect(DestFE, &FileNameEdit::textChanged, this, &TDbDravikForm::DestFEChange);
  connect(SourceFE, &FileNameEdit::browseClicked, this, [this] { Browse(*SourceFE, true); });
  connect(DestFE, &FileNameEdit::browseClicked, this, [this] { Browse(*DestFE, true); });
  connect(SaveUserPlaceCB, &QCheckBox::clicked, this, &TDbDravikForm::SaveUserPlaceCBClick);
  connect(MoveBitBtn, &QPushButton::clicked, this, &TDbDravikForm::MoveBitBtnClick);
  connect(CancelMoveBitBtn, &QPushButton::clicked, this, &TDbDravikForm::CancelMoveBitBtnClick);
}

std::string TDbDravikForm::FilePath(const std::string& executablePath) {
  // Every character after the last "/" becomes a blank, the first one excepted.
  std::string folder = executablePath;
  for (size_t i = folder.size(); i-- > 1 && folder[i] != '/';) folder[i] = ' ';
  return text::Trim(folder);
}

bool TDbDravikForm::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && !activated_)
    QMetaObject::invokeMethod(this, &TDbDravikForm::FormActivate, Qt::QueuedConnection);
  return QMainWindow::event(e);
}

void TDbDravikForm::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  // Without a window manager a shown window may never be told it is active.
  if (!activated_)
    QMetaObject::invokeMethod(this, &TDbDravikForm::FormActivate, Qt::QueuedConnection);
}

void TDbDravikForm::closeEvent(QCloseEvent* e) {
  // A run offers no close box; a close request that still arrives is ignored.
  if (running_) {
    e->ignore();
    return;
  }
  // A dialog at work closes once its work is done, and the window after it.
  if (openDialog_ && openDialog_->Working()) {
    connect(openDialog_, &QDialog::finished, this, &QWidget::close,
            Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection));
    openDialog_->reject();
    e->ignore();
    return;
  }
  if (openDialog_) openDialog_->reject();
  e->accept();
}

void TDbDravikForm::SetSystemMenu(bool present) {
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (present)
    flags |= Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
  if (windowFlags() == flags) return;
  // New window flags hide the window; it is shown again where it was.
  const bool visible = isVisible();
  const QPoint place = pos();
  setWindowFlags(flags);
  if (visible) {
    move(place);
    show();
  }
}

// ---------------------------------------------------------------- TransferWindow

void TDbDravikForm::ShowBar(Bar& bar) {
  bar.position = std::clamp(bar.position, 0, std::max(bar.max, 0));
  // An empty range would make Qt's bar run as a busy indicator; it stays empty.
  bar.widget->setRange(0, std::max(bar.max, 1));
  bar.widget->setValue(bar.position);
  bar.behind = false;
  bar.shownAt = std::chrono::steady_clock::now();
}

// A bar stepped once per row would repaint (and tell the accessibility bus)
// far more often than a screen can show; the widget follows at most about 60
// times a second, and at every pump.
void TDbDravikForm::StepBar(Bar& bar) {
  constexpr std::chrono::milliseconds kFrame{16};
  bar.position = std::clamp(bar.position + 1, 0, std::max(bar.max, 0));
  if (std::chrono::steady_clock::now() - bar.shownAt >= kFrame)
    ShowBar(bar);
  else
    bar.behind = true;
}

void TDbDravikForm::SetStatusText(const std::string& text) {
  TabLabel->setText(ToQt(text));
}

void TDbDravikForm::SetTableBarMax(int max) {
  TablePB.max = max;
  ShowBar(TablePB);
}

void TDbDravikForm::SetTableBarPosition(int position) {
  TablePB.position = position;
  ShowBar(TablePB);
}

void TDbDravikForm::StepTableBar() {
  StepBar(TablePB);
}

void TDbDravikForm::SetAllBarMax(int max) {
  AllPB.max = max;
  ShowBar(AllPB);
}

void TDbDravikForm::SetAllBarPosition(int position) {
  AllPB.position = position;
  ShowBar(AllPB);
}

void TDbDravikForm::StepAllBar() {
  StepBar(AllPB);
}

void TDbDravikForm::ShowBarsBehind() {
  for (Bar* bar : {&TablePB, &AllPB})
    if (bar->behind) ShowBar(*bar);
}

void TDbDravikForm::ProcessMessages() {
  ShowBarsBehind();
  QCoreApplication::processEvents();
}

// The paths go to the file system as it spells names, never through windows-1251,
// which lacks letters a folder name may have.
std::string TDbDravikForm::SourceText() const {
  return QFile::encodeName(SourceFE->text()).toStdString();
}
std::string TDbDravikForm::DestText() const {
  return QFile::encodeName(DestFE->text()).toStdString();
}
bool TDbDravikForm::EventsTicked() const {
  return EventsCB->isChecked();
}
text::TDateTime TDbDravikForm::EventsFrom() const {
  return FromDE->Value();
}

void TDbDravikForm::SetRunning(bool running) {
  // A run that ends, however it ends, leaves the bars showing where they stopped.
  ShowBarsBehind();
  running_ = running;
  for (QWidget* input : std::initializer_list<QWidget*>{SourceFE, DestFE, EventsCB, FromDE})
    input->setEnabled(!running);
  mnuFile->menuAction()->setEnabled(!running);
  mnuTools->menuAction()->setEnabled(!running);
  mnuHelp->menuAction()->setEnabled(!running);
  SetStartCommand(!running);
  CancelMoveBitBtn->setEnabled(running);
  SetSystemMenu(!running);
}

void TDbDravikForm::SetBusyCursor(bool busy) {
  if (busy == busyCursor_) return;
  busyCursor_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void TDbDravikForm::ShowInterruptWarning(const std::string& text) {
  services_.Message(this, WindowServices::Icon::Warning, ru::AppTitle(), text,
                    {WindowServices::Button::Yes});
}

void TDbDravikForm::ShowErrorReport(const std::string& message) {
  services_.Message(this, WindowServices::Icon::Error, ru::AppTitle(), message,
                    {WindowServices::Button::Ok});
}
