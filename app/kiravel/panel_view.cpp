#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>
#include <cmath>

#include "platform/picture_decoder.h"
#include "app/kiravel/views.h"
#include "ui/handlers.h"

namespace kiravel::qt {

// The client area: the panel's background, the picture painted on it and
// the panel's children.
class PanelView::Canvas : public QWidget {
 public:
  explicit Canvas(QWidget* parent) : QWidget(parent) { setAutoFillBackground(true); }

  void Show(std::shared_ptr<const Image> picture) {
    picture_ = std::move(picture);
    update();
  }

 protected:
  // The picture fills the client area, stretched each way on its own.
  void paintEvent(QPaintEvent*) override {
    const auto* pixels = dynamic_cast<const QtImage*>(picture_.get());
    if (pixels == nullptr) return;
    QPainter(this).drawImage(rect(), pixels->Pixels);
  }

 private:
  std::shared_ptr<const Image> picture_;
};

PanelView::PanelView(PictureBox& panel, PlayerInput& input, QWidget* parent)
    : QWidget(parent), panel_(panel), input_(input), client_(new Canvas(this)) {
  // Only a panel that answers a click is a stop of the Tab key.
  setFocusPolicy(FindClick(panel.Name) != nullptr ? Qt::StrongFocus : Qt::NoFocus);
}

QWidget* PanelView::Client() { return client_; }

void PanelView::Apply(double twipsPerPixel) {
  look_.Apply(*this, panel_, panel_.ToolTipText, twipsPerPixel);
  QRect outer = PixelRect(panel_, twipsPerPixel);
  int insetX = static_cast<int>(
      std::lround((panel_.WidthTwips - panel_.ClientWidthTwips()) / 2 / twipsPerPixel));
  int insetY = static_cast<int>(
      std::lround((panel_.HeightTwips - panel_.ClientHeightTwips()) / 2 / twipsPerPixel));
  QRect client(insetX, insetY, std::max(0, outer.width() - 2 * insetX),
               std::max(0, outer.height() - 2 * insetY));
  if (Changed(clientRect_, client)) client_->setGeometry(client);
  if (Changed(style_, {panel_.BackColor, panel_.Border})) {
    QPalette palette = client_->palette();
    palette.setColor(QPalette::Window, QtColour(panel_.BackColor));
    client_->setPalette(palette);
    update();
  }
  if (Changed(paintCount_, panel_.PaintCount)) client_->Show(panel_.Picture);
}

void PanelView::KeepShownPicture() {
  if (paintCount_.value_or(0) == 0) return;
  paintCount_ = panel_.PaintCount;
}

void PanelView::keyPressEvent(QKeyEvent* event) {
  if (PressesFocusedControl(*event)) {
    input_.Click(panel_);
    return;
  }
  QWidget::keyPressEvent(event);
}

void PanelView::paintEvent(QPaintEvent*) {
  if (!panel_.Border) return;
  QPainter painter(this);
  qDrawWinPanel(&painter, rect(), palette(), true);
}

// Clicks on the client area come here too: it leaves them to its panel.
void PanelView::mousePressEvent(QMouseEvent* event) { event->accept(); }

void PanelView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
  input_.Click(panel_);
}

}  // namespace kiravel::qt
