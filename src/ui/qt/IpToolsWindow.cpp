// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/IpToolsWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <map>

#include "iptools/IpToolsDesign.h"
#include "platform/Memory.h"
#include "ui/qt/OutputBoxFiller.h"
#include "ui/qt/WindowGeometry.h"

namespace lumeno::iptools {
namespace {

QString qtext(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::size_t slot(Control control) {
  return static_cast<std::size_t>(control);
}

}  // namespace

IpToolsWindow::IpToolsWindow(const AppContext& context, QWidget* parent,
                             IpToolsPresenter::MonotonicClock clock)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      context_(context),
      presenter_(std::make_unique<IpToolsPresenter>(context_, *this, runner_, std::move(clock))) {
  setObjectName(qtext(design::kWindowName));
  setWindowTitle(qtext(design::kCaption));

  buildControls();
  buildMenus();
  connectControls();

  // A fixed single border: the designed client area below the menu bar, not resizable by dragging.
  client_->resize(xPixels(design::kClientWidth), yPixels(design::kClientHeight));
  setFixedSize(xPixels(design::kClientWidth),
               yPixels(design::kClientHeight) + menuBar()->sizeHint().height());

  presenter_->onLoaded();
  hostBox_->setFocus();
}

IpToolsWindow::~IpToolsWindow() {
  runner_.kill();
  // What a long output took goes back to the system with the window, not only to the heap.
  presenter_.reset();
  outputBox_->document()->clear();
  platform::releaseFreedMemory();
}

// ---- building ----------------------------------------------------------------------------------

void IpToolsWindow::buildControls() {
  client_ = new QWidget(this);
  setCentralWidget(client_);
  QFont verdana(qtext(design::kFontName));
  verdana.setPointSizeF(design::kFontPoints);

  for (const design::ControlDesign& design : design::kControls) {
    QWidget* made = nullptr;
    switch (design.kind) {
      case design::Kind::OutputBox: {
        auto* box = new QPlainTextEdit(client_);
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        // Live output is added piece by piece; an undo record of every piece would keep it all.
        box->setUndoRedoEnabled(false);
        // Tab moves on to the next control, as everywhere else in the window.
        box->setTabChangesFocus(true);
        QPalette white = box->palette();
        white.setColor(QPalette::Base, Qt::white);
        white.setColor(QPalette::Text, Qt::black);
        box->setPalette(white);
        outputBox_ = box;
        outputFiller_ = new OutputBoxFiller(box);
        made = box;
        break;
      }
      case design::Kind::LineBox: {
        auto* box = new QLineEdit(qtext(design.text), client_);
        if (design.maxLength > 0) box->setMaxLength(design.maxLength);
        made = box;
        break;
      }
      case design::Kind::Label:
      case design::Kind::FramedLabel:
      case design::Kind::Separator: {
        auto* label = new QLabel(qtext(design.text), client_);
        label->setTextFormat(Qt::PlainText);
        if (design.kind != design::Kind::Label) label->setFrameShape(QFrame::Box);
        made = label;
        break;
      }
      case design::Kind::OptionButton: {
        auto* option = new QRadioButton(qtext(design.text), client_);
        // Each is a stop of its own for the Tab key, which buttons that choose among themselves
        // are not: the window keeps one of them chosen itself (connectControls).
        option->setAutoExclusive(false);
        if (design.mode) modeButtons_.at(static_cast<std::size_t>(*design.mode)) = option;
        made = option;
        break;
      }
      case design::Kind::Button: {
        auto* button = new QPushButton(qtext(design.text), client_);
        button->setAutoDefault(false);
        made = button;
        break;
      }
      case design::Kind::CheckBox: made = new QCheckBox(qtext(design.text), client_); break;
    }
    made->setObjectName(qtext(design.name));
    made->setGeometry(
        app::twipsRect(*this, design.place.left, design.place.top, design.place.width, design.place.height));
    if (design.verdana && design.kind != design::Kind::Separator) made->setFont(verdana);
    if (!design.tip.empty()) made->setToolTip(qtext(design.tip));
    if (design.index >= 0) made->setProperty("index", design.index);
    if (design.control) controls_.at(slot(*design.control)) = made;
  }
  for (const design::SpokenName& spoken : design::kSpokenNames) {
    client_->findChild<QWidget*>(qtext(spoken.name), Qt::FindDirectChildrenOnly)
        ->setAccessibleName(qtext(spoken.spoken));
  }
  hostBox_ = widget(Control::HostBox);
  countBox_ = widget(Control::CountBox);

  for (std::size_t i = 1; i < design::kTabOrder.size(); ++i) {
    setTabOrder(client_->findChild<QWidget*>(qtext(design::kTabOrder[i - 1]), Qt::FindDirectChildrenOnly),
                client_->findChild<QWidget*>(qtext(design::kTabOrder[i]), Qt::FindDirectChildrenOnly));
  }
}

void IpToolsWindow::buildMenus() {
  std::map<std::string_view, QMenu*> menus;
  for (const design::MenuDesign& design : design::kMenus) {
    const bool hasItems =
        std::any_of(design::kMenus.begin(), design::kMenus.end(),
                    [&](const design::MenuDesign& item) { return item.parent == design.name; });
    QObject* made = nullptr;
    if (hasItems) {
      QMenu* menu = design.parent.empty() ? menuBar()->addMenu(qtext(design.caption))
                                          : menus.at(design.parent)->addMenu(qtext(design.caption));
      menus[design.name] = menu;
      made = menu;
    } else {
      made = menus.at(design.parent)->addAction(qtext(design.caption));
    }
    made->setObjectName(qtext(design.name));
    if (design.control) controls_.at(slot(*design.control)) = made;
  }
  optionsMenu_ = menus.at("mnuoptions");
}

void IpToolsWindow::connectControls() {
  for (std::size_t i = 0; i < modeButtons_.size(); ++i) {
    QRadioButton* option = modeButtons_.at(i);
    connect(option, &QRadioButton::toggled, this, [this, i, option](bool on) {
      if (!on) {
        // Clicked again: the chosen mode stays chosen.
        const QSignalBlocker quiet(option);
        option->setChecked(true);
        return;
      }
      selectMode(static_cast<Mode>(i));
      presenter_->onModeChosen(static_cast<Mode>(i));
    });
  }
  const auto onClick = [this](Control button, void (IpToolsPresenter::*handler)()) {
    connect(static_cast<QPushButton*>(widget(button)), &QPushButton::clicked, this,
            [this, handler] { ((*presenter_).*handler)(); });
  };
  onClick(Control::PingButton, &IpToolsPresenter::onPingClicked);
  onClick(Control::TraceButton, &IpToolsPresenter::onTraceClicked);
  onClick(Control::NetstatButton, &IpToolsPresenter::onNetstatClicked);

  const auto onChosen = [this](const char* item, void (IpToolsPresenter::*handler)()) {
    connect(findChild<QAction*>(QLatin1String(item)), &QAction::triggered, this,
            [this, handler] { ((*presenter_).*handler)(); });
  };
  onChosen("mnuexit", &IpToolsPresenter::onExitChosen);
  onChosen("mnulastping", &IpToolsPresenter::onLastPingChosen);
  onChosen("mnulasttrace", &IpToolsPresenter::onLastTraceChosen);
  onChosen("mnunetstat", &IpToolsPresenter::onLastNetstatChosen);
  onChosen("mnuclearall", &IpToolsPresenter::onClearAllChosen);

  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, [this] { presenter_->onEscPressed(); });

  runner_.setHandlers({[this](std::string_view bytes) {
                         presenter_->onToolOutput(bytes);
                         Q_EMIT toolOutputShown();
                       },
                       [this](RunEnd end) {
                         presenter_->onToolFinished(end);
                         Q_EMIT toolFinished();
                       }});

  // A click selects the whole text of these boxes, so that typing replaces it.
  hostBox_->installEventFilter(this);
  countBox_->installEventFilter(this);
  outputBox_->viewport()->installEventFilter(this);
}

QWidget* IpToolsWindow::widget(Control control) const {
  return qobject_cast<QWidget*>(controls_.at(slot(control)));
}

// ---- what the presenter asks -------------------------------------------------------------------

std::string IpToolsWindow::text(Control box) const {
  if (const auto* line = qobject_cast<const QLineEdit*>(controls_.at(slot(box))))
    return line->text().toStdString();
  return {};
}

void IpToolsWindow::setText(Control control, const std::string& text) {
  QObject* target = controls_.at(slot(control));
  const QString value = qtext(text);
  if (auto* line = qobject_cast<QLineEdit*>(target)) {
    line->setText(value);
  } else if (auto* label = qobject_cast<QLabel*>(target)) {
    label->setText(value);
  } else if (auto* button = qobject_cast<QAbstractButton*>(target)) {
    button->setText(value);
  } else if (qobject_cast<QPlainTextEdit*>(target) != nullptr) {
    outputFiller_->setText(value);
  }
}

bool IpToolsWindow::isTicked(Control tick) const {
  const auto* box = qobject_cast<const QAbstractButton*>(controls_.at(slot(tick)));
  return box != nullptr && box->isChecked();
}

void IpToolsWindow::setTicked(Control tick, bool ticked) {
  if (auto* box = qobject_cast<QAbstractButton*>(controls_.at(slot(tick)))) box->setChecked(ticked);
}

void IpToolsWindow::setEnabled(Control control, bool enabled) {
  QObject* target = controls_.at(slot(control));
  if (auto* action = qobject_cast<QAction*>(target)) {
    action->setEnabled(enabled);
  } else if (auto* shown = qobject_cast<QWidget*>(target)) {
    shown->setEnabled(enabled);
  }
}

void IpToolsWindow::selectMode(Mode mode) {
  for (QRadioButton* option : modeButtons_) {
    const QSignalBlocker quiet(option);
    option->setChecked(option == modeButtons_.at(static_cast<std::size_t>(mode)));
  }
}

void IpToolsWindow::appendOutput(const std::string& text) {
  outputFiller_->finish();
  QTextCursor end(outputBox_->document());
  end.movePosition(QTextCursor::End);
  end.insertText(qtext(text));
}

void IpToolsWindow::insertOutputAtStart(const std::string& text) {
  outputFiller_->finish();
  QTextCursor top(outputBox_->document());
  top.insertText(qtext(text));
}

void IpToolsWindow::removeOutputLines(std::size_t first, std::size_t count) {
  outputFiller_->finish();
  QTextDocument* document = outputBox_->document();
  QTextCursor lines(document->findBlockByNumber(static_cast<int>(first)));
  const QTextBlock after = document->findBlockByNumber(static_cast<int>(first + count));
  if (after.isValid()) {
    lines.setPosition(after.position(), QTextCursor::KeepAnchor);
  } else {
    lines.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  }
  lines.removeSelectedText();
}

void IpToolsWindow::setOutputReadOnly(bool readOnly) {
  outputBox_->setReadOnly(readOnly);
}

void IpToolsWindow::moveCaretToEnd() {
  outputFiller_->placeCaret([box = outputBox_] {
    QTextCursor cursor = box->textCursor();
    cursor.movePosition(QTextCursor::End);
    box->setTextCursor(cursor);
    box->ensureCursorVisible();
  });
}

void IpToolsWindow::moveCaretToStart() {
  outputFiller_->placeCaret([box = outputBox_] {
    box->moveCursor(QTextCursor::Start);
    box->horizontalScrollBar()->setValue(box->horizontalScrollBar()->minimum());
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->minimum());
  });
}

void IpToolsWindow::selectAll(Control box) {
  QObject* target = controls_.at(slot(box));
  if (auto* line = qobject_cast<QLineEdit*>(target)) {
    line->setSelection(0, static_cast<int>(line->text().size()));
  } else if (auto* output = qobject_cast<QPlainTextEdit*>(target)) {
    outputFiller_->finish();
    output->selectAll();
  }
}

void IpToolsWindow::popUpOptionsMenu() {
  optionsMenu_->popup(popUpAt_);
}

void IpToolsWindow::showBusyPointer(bool busy) {
  if (busy) {
    setCursor(Qt::WaitCursor);
  } else {
    unsetCursor();
  }
}

void IpToolsWindow::beep() {
  QApplication::beep();
}

int IpToolsWindow::doubleClickInterval() const {
  return QApplication::doubleClickInterval();
}

void IpToolsWindow::closeWindow() {
  close();
}

// ---- events ------------------------------------------------------------------------------------

bool IpToolsWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == hostBox_ || watched == countBox_) {
      presenter_->onBoxClicked(watched == hostBox_ ? Control::HostBox : Control::CountBox);
      return true;  // the line edit's own release handling must not move the selection again
    }
    if (watched == outputBox_->viewport()) {
      popUpAt_ = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
      presenter_->onOutputBoxClicked();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void IpToolsWindow::keyPressEvent(QKeyEvent* event) {
  // Esc that no control has used (the shortcut covers the active window).
  if (event->key() == Qt::Key_Escape) {
    presenter_->onEscPressed();
    event->accept();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void IpToolsWindow::closeEvent(QCloseEvent* event) {
  presenter_->onClosing();
  QMainWindow::closeEvent(event);
}

// ---- layout ------------------------------------------------------------------------------------

int IpToolsWindow::xPixels(int twips) const {
  return app::twipsX(*this, twips);
}

int IpToolsWindow::yPixels(int twips) const {
  return app::twipsY(*this, twips);
}

void IpToolsWindow::applyLayoutRule() {
  const int frameWidth = frameGeometry().width() - width();
  const int frameHeight = frameGeometry().height() - height();
  if (frameGeometry().width() < xPixels(design::kMinimumOuterWidth)) {
    resize(xPixels(design::kMinimumOuterWidth) - frameWidth, height());
  }
  if (frameGeometry().height() < yPixels(design::kMinimumOuterHeight)) {
    resize(width(), yPixels(design::kMinimumOuterHeight) - frameHeight);
  }
  outputBox_->move(0, 0);
  const int outputHeight = client_->height() - yPixels(design::kRowsBelowOutput);
  if (outputHeight >= 0) outputBox_->resize(outputBox_->width(), outputHeight);
  outputBox_->resize(client_->width(), outputBox_->height());
}

void IpToolsWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  applyLayoutRule();
}

void IpToolsWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  applyLayoutRule();
  if (!centred_) {
    centred_ = true;
    app::centreOnScreen(*this);
  }
}

}  // namespace lumeno::iptools
