// flawseek-gui: the desktop window. Start-up runs on the main thread, which then
// runs the event loop (Qt's GUI thread must be the main one).
#include <QApplication>

#include <iostream>

#include "control.h"
#include "platform/environment.h"
#include "platform/log.h"
#include "platform/settings_store.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Flawseek");
  QApplication::setDesktopFileName("flawseek");
  try {
    flawseek::set_idle_priority();
    flawseek::SettingsStore log_store(flawseek::settings_files_from_environment(), false);
    flawseek::Log& log = flawseek::process_log();
    log.initialize(log_store);
    flawseek::gui::Gui gui;
    flawseek::Control control(gui, log);
    control.start();
    return gui.run();
  } catch (const std::exception& error) {
    std::cerr << "flawseek-gui: " << error.what() << "\n";
    return 1;
  }
}
