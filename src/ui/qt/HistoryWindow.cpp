// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/HistoryWindow.h"

#include <algorithm>
#include <utility>

#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include "ui/qt/WindowGeometry.h"

namespace lumeno::log {
namespace {

const QColor kOnline(0, 160, 0);
const QColor kOffline(220, 0, 0);
const QColor kNotWatched(150, 150, 150);

QString qs(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text = {}) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

// One strip, drawn from the presenter's segments; the tip over an outage says when and how long.
class HistoryStripView : public QWidget {
 public:
  HistoryStripView(HistoryPresenter& presenter, std::size_t index, QWidget* parent)
      : QWidget(parent), presenter_(presenter), index_(index) {
    setMinimumHeight(app::twipsY(*this, 480));
    setMouseTracking(true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect area = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(area, kNotWatched);
    if (index_ < presenter_.strips().size()) {
      const HistoryStrip& strip = presenter_.strips()[index_];
      const double span = std::max<double>(1.0, static_cast<double>(strip.to - strip.from));
      const auto x = [&](WallSeconds at) {
        return area.left() + static_cast<int>((static_cast<double>(at - strip.from) / span) * area.width());
      };
      // Outages over the online spans, each at least two pixels wide so a short one shows.
      for (const SpanState state : {SpanState::Online, SpanState::Offline}) {
        for (const Segment& segment : strip.segments) {
          if (segment.state != state) continue;
          const int left = x(segment.from);
          const int width = std::max(x(segment.to) - left, state == SpanState::Offline ? 2 : 1);
          painter.fillRect(QRect(left, area.top(), width, area.height()),
                           state == SpanState::Offline ? kOffline : kOnline);
        }
      }
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(area);
  }

  bool event(QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const double width = std::max(1, this->width());
    const std::string tip = presenter_.tipAt(index_, help->pos().x() / width, 3.0 / width);
    if (tip.empty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), qs(tip), this);
    }
    return true;
  }

 private:
  HistoryPresenter& presenter_;
  std::size_t index_;
};

HistoryWindow::HistoryWindow(const AppContext& context, std::function<bool()> historyLogged,
                             std::function<void()> openOptions, platform::StampLayout layout, QWidget* parent)
    : QWidget(parent, Qt::Window),
      source_(context.file("log.txt")),
      presenter_(source_, *context.clock, std::move(layout), std::move(historyLogged), *this) {
  setObjectName(QStringLiteral("frmhistory"));
  setWindowTitle(QStringLiteral("Connection history"));
  auto* column = new QVBoxLayout(this);

  auto* noteRow = new QHBoxLayout;
  note_ = makeLabel(this, QStringLiteral("lblhistorynote"));
  options_ = new QPushButton(QStringLiteral("Options"), this);
  options_->setObjectName(QStringLiteral("cmdhistoryoptions"));
  connect(options_, &QPushButton::clicked, this, [open = std::move(openOptions)] { open(); });
  noteRow->addWidget(note_, 1);
  noteRow->addWidget(options_);
  column->addLayout(noteRow);

  const char* names[] = {"day", "week"};
  const char* figureNames[] = {"online", "outages", "longest", "offline"};
  for (std::size_t i = 0; i < strips_.size(); ++i) {
    const QString name = QString::fromLatin1(names[i]);
    QLabel* title = makeLabel(this, QStringLiteral("lbl%1").arg(name));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    column->addWidget(title);
    strips_[i] = new HistoryStripView(presenter_, i, this);
    strips_[i]->setObjectName(QStringLiteral("pic%1").arg(name));
    strips_[i]->setAccessibleName(i == 0 ? QStringLiteral("Connection over the last 24 hours")
                                         : QStringLiteral("Connection over the last 7 days"));
    column->addWidget(strips_[i]);
    auto* ends = new QHBoxLayout;
    startTexts_[i] = makeLabel(this, QStringLiteral("lbl%1start").arg(name));
    ends->addWidget(startTexts_[i]);
    ends->addStretch(1);
    ends->addWidget(makeLabel(this, QStringLiteral("lbl%1now").arg(name), QStringLiteral("now")));
    column->addLayout(ends);
    auto* grid = new QGridLayout;
    for (std::size_t f = 0; f < figures_[i].size(); ++f) {
      figures_[i][f] =
          makeLabel(this, QStringLiteral("lbl%1%2").arg(name, QString::fromLatin1(figureNames[f])));
      grid->addWidget(figures_[i][f], static_cast<int>(f / 2), static_cast<int>(f % 2));
    }
    column->addLayout(grid);
    column->addSpacing(app::twipsY(*this, 120));
  }

  // The legend: a patch of each strip colour beside its word, in the window's own text colour.
  auto* legend = new QHBoxLayout;
  const std::pair<const char*, QColor> keys[] = {
      {"Online", kOnline}, {"Offline", kOffline}, {"Not watched", kNotWatched}};
  for (const auto& [word, colour] : keys) {
    const QString name = QString::fromLatin1(word).remove(QLatin1Char(' ')).toLower();
    QLabel* patch = makeLabel(this, QStringLiteral("shp%1").arg(name));
    patch->setFixedSize(app::twipsX(*this, 180), app::twipsY(*this, 180));
    patch->setAutoFillBackground(true);
    QPalette filled = patch->palette();
    filled.setColor(QPalette::Window, colour);
    patch->setPalette(filled);
    patch->setAccessibleName(QString::fromLatin1(word));
    legend->addWidget(patch);
    legend->addWidget(makeLabel(this, QStringLiteral("lbl%1").arg(name), QString::fromLatin1(word)));
    legend->addSpacing(app::twipsX(*this, 240));
  }
  legend->addStretch(1);
  column->addLayout(legend);
  status_ = makeLabel(this, QStringLiteral("lblhistorystatus"));
  column->addWidget(status_);

  follow_ = new QTimer(this);
  follow_->setObjectName(QStringLiteral("tmrfollow"));
  follow_->setInterval(static_cast<int>(HistoryPresenter::kFollowInterval.count()));
  connect(follow_, &QTimer::timeout, this, [this] { presenter_.tick(); });

  resize(app::twipsX(*this, 9600), sizeHint().height());
  presenter_.load();
}

HistoryWindow::~HistoryWindow() = default;

void HistoryWindow::closeEvent(QCloseEvent* event) {
  presenter_.unload();
  event->accept();
}

void HistoryWindow::showHistory() {
  const auto& texts = presenter_.stripTexts();
  for (std::size_t i = 0; i < strips_.size() && i < texts.size(); ++i) {
    findChild<QLabel*>(i == 0 ? QStringLiteral("lblday") : QStringLiteral("lblweek"))
        ->setText(qs(texts[i].title));
    startTexts_[i]->setText(qs(texts[i].startText));
    for (std::size_t f = 0; f < figures_[i].size() && f < texts[i].figures.size(); ++f)
      figures_[i][f]->setText(qs(texts[i].figures[f]));
    strips_[i]->update();
  }
  status_->setText(qs(presenter_.status()));
  status_->setVisible(!status_->text().isEmpty());
}

void HistoryWindow::showLoggingNote(const std::string& note) {
  note_->setText(qs(note));
  note_->setVisible(!note.empty());
  options_->setVisible(!note.empty());
}

void HistoryWindow::setFollowing(bool on) {
  if (on) {
    follow_->start();
  } else {
    follow_->stop();
  }
}

}  // namespace lumeno::log
