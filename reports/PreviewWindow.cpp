#include "PreviewWindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "PainterCanvas.h"
#include "ReportPages.h"
#include "SalaryReport.h"
#include "toolkit/Guard.h"

namespace reports {

namespace {

constexpr int kKeptPages = 8;
constexpr double kPageGap = 8;  // pixels around the page
constexpr double kMinZoom = 0.25, kMaxZoom = 4.0;
constexpr int kSliceMs = 25;  // the time one slice of laying out may take between events

// The texts a page receives, kept for painting it on screen.
class PageRecord : public ReportCanvas {
 public:
  void beginPage(int) override { texts.clear(); }
  void drawText(const PlacedText& text) override { texts.push_back(text); }
  void endPage() override {}
  std::vector<PlacedText> texts;
};

}  // namespace

// One page of the report as paper on screen, at the window's zoom.
class PageView : public QWidget {
 public:
  PageView(const ReportLayout& layout, QWidget* parent) : QWidget(parent), layout_(layout) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  void show(const std::vector<PlacedText>* texts, double zoom) {
    texts_ = texts;
    zoom_ = zoom;
    const QSizeF paper = paperPixels();
    setFixedSize(int(paper.width() + 2 * kPageGap), int(paper.height() + 2 * kPageGap));
    update();
  }
  QSizeF paperPixels() const {
    return QSizeF(layout_.pageWidth, layout_.pageHeight) * dotsPerMm() * zoom_;
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    const QRectF paper(QPointF(kPageGap, kPageGap), paperPixels());
    painter.fillRect(paper, Qt::white);
    if (!texts_) return;
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(paper.topLeft() + QPointF(1, 1) * layout_.margin * dotsPerMm() * zoom_);
    painter.scale(zoom_, zoom_);
    TextPainter text(painter, *this, dotsPerMm());
    for (const auto& t : *texts_) text.draw(t);
    text.flush();
  }

 private:
  double dotsPerMm() const { return logicalDpiX() / 25.4; }

  const ReportLayout& layout_;
  const std::vector<PlacedText>* texts_ = nullptr;
  double zoom_ = 1.0;
};

PreviewWindow::PreviewWindow(SalaryReport& report, const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window), report_(report) {
  setObjectName(QStringLiteral("QRPreview"));
  setWindowTitle(title);
  resize(820, 900);
  auto* bar = new QToolBar(this);
  first_ = makeAction("FirstPageAction", QStringLiteral("第一頁"), Qt::Key_Home,
                      [this] { goToPage(1); });
  previous_ = makeAction("PreviousPageAction", QStringLiteral("上一頁"), Qt::Key_PageUp,
                         [this] { goToPage(current_ - 1); });
  next_ = makeAction("NextPageAction", QStringLiteral("下一頁"), Qt::Key_PageDown,
                     [this] { goToPage(current_ + 1); });
  last_ = makeAction("LastPageAction", QStringLiteral("最後一頁"), Qt::Key_End, [this] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Restore {
      ~Restore() { QApplication::restoreOverrideCursor(); }
    } restore;
    while (!pages_->complete()) pages_->layOut(1000);
    goToPage(pages_->known());
  });
  bar->addAction(first_);
  bar->addAction(previous_);
  pageBox_ = new QSpinBox(bar);
  pageBox_->setObjectName(QStringLiteral("PageSpinBox"));
  pageBox_->setAccessibleName(QStringLiteral("頁次"));
  pageBox_->setPrefix(QStringLiteral("第 "));
  pageBox_->setSuffix(QStringLiteral(" 頁"));
  pageBox_->setKeyboardTracking(false);
  bar->addWidget(pageBox_);
  pageCount_ = new QLabel(bar);
  pageCount_->setObjectName(QStringLiteral("PageCountLabel"));
  bar->addWidget(pageCount_);
  bar->addAction(next_);
  bar->addAction(last_);
  bar->addSeparator();
  bar->addAction(makeAction("ZoomOutAction", QStringLiteral("縮小"), QKeySequence::ZoomOut,
                            [this] { setZoom(zoom_ / 1.25); }));
  bar->addAction(makeAction("ZoomInAction", QStringLiteral("放大"), QKeySequence::ZoomIn,
                            [this] { setZoom(zoom_ * 1.25); }));
  bar->addAction(
      makeAction("FitWidthAction", QStringLiteral("符合寬度"), {}, [this] { fitWidth(); }));
  bar->addSeparator();
  bar->addAction(makeAction("PrintAction", QStringLiteral("列印"), QKeySequence::Print, [this] {
    if (print_) print_();
  }));
  bar->addAction(makeAction("ExportPdfAction", QStringLiteral("匯出 PDF"), {}, [this] {
    if (exportPdf_) exportPdf_();
  }));
  toolkit::connectGuarded(pageBox_, &QSpinBox::valueChanged, this,
                          [this] { goToPage(pageBox_->value()); });

  scroll_ = new QScrollArea(this);
  scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  scroll_->setBackgroundRole(QPalette::Dark);
  view_ = new PageView(report_.reportLayout(), scroll_);
  scroll_->setWidget(view_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(scroll_);

  layout_ = new QTimer(this);
  layout_->setSingleShot(true);
  layout_->setInterval(0);
  connect(layout_, &QTimer::timeout, this, [this] {
    // A report that cannot be read is told once; the pages shown so far stay.
    if (!toolkit::runGuarded([this] { layOutMore(); })) layout_->stop();
  });
}

PreviewWindow::~PreviewWindow() = default;

QAction* PreviewWindow::makeAction(const char* name, const QString& text, const QKeySequence& key,
                                   const std::function<void()>& handler) {
  auto* action = new QAction(text, this);
  action->setObjectName(QString::fromLatin1(name));
  if (!key.isEmpty()) action->setShortcut(key);
  toolkit::connectGuarded(action, &QAction::triggered, this, handler);
  QWidget::addAction(action);
  return action;
}

void PreviewWindow::showReport() {
  layout_->stop();
  kept_.clear();
  keptOrder_.clear();
  current_ = 0;
  pages_.reset();
  view_->show(nullptr, zoom_);
  pages_ = std::make_unique<ReportPages>(report_);
  showPage(1);
  if (!pages_->complete()) layout_->start();
}

int PreviewWindow::pageCount() const {
  return pages_ && pages_->complete() ? pages_->known() : 0;
}

const std::vector<PlacedText>& PreviewWindow::shownTexts() const {
  static const std::vector<PlacedText> none;
  auto it = kept_.find(current_);
  return it == kept_.end() ? none : it->second;
}

void PreviewWindow::goToPage(int number) {
  if (!pages_) return;
  // Pages not yet laid out are found first, as far as the one asked for.
  while (number > pages_->known() && !pages_->complete()) pages_->layOut(number - pages_->known());
  number = std::clamp(number, 1, pages_->known());
  if (number != current_) showPage(number);
}

void PreviewWindow::showPage(int number) {
  if (!kept_.count(number)) {
    PageRecord record;
    pages_->paint(number, record);
    kept_[number] = std::move(record.texts);
    keptOrder_.push_back(number);
    if (static_cast<int>(keptOrder_.size()) > kKeptPages) {
      kept_.erase(keptOrder_.front());
      keptOrder_.erase(keptOrder_.begin());
    }
  }
  current_ = number;
  view_->show(&kept_[number], zoom_);
  scroll_->verticalScrollBar()->setValue(0);
  updateControls();
}

void PreviewWindow::setZoom(double zoom) {
  zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
  view_->show(current_ ? &kept_[current_] : nullptr, zoom_);
}

void PreviewWindow::fitWidth() {
  const double paper = view_->paperPixels().width() / zoom_;
  setZoom((scroll_->viewport()->width() - 2 * kPageGap) / paper);
}

void PreviewWindow::layOutMore() {
  QElapsedTimer clock;
  clock.start();
  pages_->layOut(slice_);
  // As many pages per slice as fit in its time, so that the window stays quick to answer.
  const qint64 ms = std::max<qint64>(1, clock.elapsed());
  slice_ = std::clamp(static_cast<int>(slice_ * kSliceMs / ms), 1, 2000);
  updateControls();
  if (!pages_->complete() && isVisible()) layout_->start();
}

void PreviewWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!fitted_) {
    fitted_ = true;
    fitWidth();
  }
}

void PreviewWindow::hideEvent(QHideEvent* event) {
  layout_->stop();
  QWidget::hideEvent(event);
}

void PreviewWindow::updateControls() {
  const int known = pages_ ? pages_->known() : 0;
  const bool complete = pages_ && pages_->complete();
  const QSignalBlocker quiet(pageBox_);
  pageBox_->setRange(1, std::max(1, known));
  pageBox_->setValue(current_);
  pageCount_->setText(complete ? QStringLiteral(" / 共 %1 頁 ").arg(known)
                               : QStringLiteral(" / 共 %1 頁以上 ").arg(known));
  first_->setEnabled(current_ > 1);
  previous_->setEnabled(current_ > 1);
  next_->setEnabled(current_ < known || !complete);
  last_->setEnabled(current_ < known || !complete);
}

}  // namespace reports
