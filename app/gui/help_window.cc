// The help window: the help page in a text browser, Esc closes it.
#include "help_window.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>

#include "help_page.h"
#include "platform/environment.h"

namespace flawseek {

HelpWindow::~HelpWindow() { delete browser_.data(); }

void HelpWindow::show() {
  auto* window = static_cast<QWidget*>(gui_.main_window_widget());
  if (window == nullptr) return;
  // Queued, not waited for: the action-handler thread goes on at once.
  QMetaObject::invokeMethod(
      window,
      [this, window] {
        if (browser_ == nullptr) {
          // A child of the main window that is a window of its own: it goes
          // with the main window, and stays above it without blocking it.
          browser_ = new QTextBrowser(window);
          browser_->setWindowFlag(Qt::Window, true);
          browser_->setObjectName("help_window");
          browser_->setWindowTitle(QString::fromStdString(std::string(product_name()) + " Help"));
          browser_->setOpenLinks(false);
          browser_->setHtml(QString::fromStdString(help_page_html()));
          browser_->resize(820, 600);
          auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), browser_);
          QObject::connect(close, &QShortcut::activated, browser_, &QWidget::close);
        }
        browser_->show();
        browser_->raise();
        browser_->activateWindow();
      },
      Qt::QueuedConnection);
}

}  // namespace flawseek
