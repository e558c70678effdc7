// The framework's main window: a close request goes to the termination handler,
// and every move, resize or change of state is reported for the metrics.
#pragma once

#include <QCloseEvent>
#include <QEvent>
#include <QMainWindow>

#include <functional>

namespace flawseek::gui {

class MainWindow final : public QMainWindow {
 public:
  std::function<void()> on_close_request;
  std::function<void()> on_geometry_change;
  bool may_close = false;

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (may_close) {
      event->accept();
      return;
    }
    event->ignore();
    if (on_close_request) on_close_request();
  }
  void moveEvent(QMoveEvent* event) override {
    QMainWindow::moveEvent(event);
    if (on_geometry_change) on_geometry_change();
  }
  void resizeEvent(QResizeEvent* event) override {
    QMainWindow::resizeEvent(event);
    if (on_geometry_change) on_geometry_change();
  }
  void changeEvent(QEvent* event) override {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && on_geometry_change) on_geometry_change();
  }
};

}  // namespace flawseek::gui
