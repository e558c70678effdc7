// How the window fares with a search that finds very many findings: a
// generated tree of Ada files that break the TAVIK rule book on every line
// is searched in the real window (offscreen), with the findings shown in the
// tree or the table. Printed: the findings, the seconds until the view
// holds them all, the longest time the event loop did not answer (a 10 ms
// timer's longest gap) and the process's peak memory.
//
//   window_fill [--files N] [--lines N] [--view tree|table]
//
// 1,000 files of 138 lines give about 276,000 findings.
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "control.h"
#include "findings_workbench.h"
#include "platform/log.h"
#include "platform/memory_reuse.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Each body line gives two Bad Identifier findings (`x` must be `X`).
void make_tree(const std::filesystem::path& root, int files, int lines) {
  for (int f = 0; f < files; ++f) {
    const std::filesystem::path folder = root / ("d" + std::to_string(f / 100));
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / ("p" + std::to_string(f) + ".adb"));
    out << "procedure P" << f << " is\n   x : Integer := 0;\nbegin\n";
    for (int l = 0; l < lines; ++l) out << "   x := x + 1;\n";
    out << "end P" << f << ";\n";
  }
}

long peak_kilobytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int files = 1000;
  int lines = 138;
  std::string view = "table";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--files") files = std::atoi(argv[i + 1]);
    else if (flag == "--lines") lines = std::atoi(argv[i + 1]);
    else if (flag == "--view") view = argv[i + 1];
  }
  const std::filesystem::path work = std::filesystem::temp_directory_path() / ("window_fill_" + std::to_string(::getpid()));
  const std::filesystem::path root = work / "tree";
  make_tree(root, files, lines);
  ::setenv("FLAWSEEK_USER_REGISTRY", (work / "user.json").c_str(), 1);
  ::setenv("FLAWSEEK_MACHINE_REGISTRY", (work / "machine.json").c_str(), 1);
  std::ofstream(work / "user.json") << nlohmann::json{
      {"Software", {{"Brightmoor", {{"Flawseek", {{"Search Root", root.string()},
                                                  {"Findings View", view == "tree" ? "Tree" : "Table"},
                                                  {"Options", {{"Default Rule Book", 3}}}}}}}}}}.dump();

  flawseek::keep_freed_memory_for_reuse();  // as flawseek-gui does
  QApplication application(argc, argv);
  flawseek::Log log;
  flawseek::gui::Gui gui;
  flawseek::Control control(gui, log);
  control.start();

  std::atomic<long long> longest{0};
  std::atomic<long long> longest_at{0};  // when it ended, in ms from the start
  const auto begun = Clock::now();
  auto last = Clock::now();
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const auto now = Clock::now();
    const long long gap = std::chrono::duration_cast<std::chrono::milliseconds>(now - last).count();
    if (gap > longest) {
      longest = gap;
      longest_at = std::chrono::duration_cast<std::chrono::milliseconds>(now - begun).count();
    }
    last = now;
  });
  ticker.start(10);

  double seconds = 0;
  std::int64_t found = 0;
  std::thread user([&] {
    const auto started = Clock::now();
    gui.call_on_gui([&] { static_cast<QPushButton*>(gui.widget(control.search_button()))->click(); });
    while (control.search().last_outcome() == flawseek::SearchOutcome::None) std::this_thread::sleep_for(5ms);
    control.search().wait_until_idle();
    found = control.findings().findings_count();
    if (view == "tree") {
      while (gui.tree_pending(control.tree_control()) != 0) std::this_thread::sleep_for(5ms);
    } else {
      for (std::size_t shown = 0; shown != static_cast<std::size_t>(found); std::this_thread::sleep_for(5ms)) {
        gui.call_on_gui([&] { shown = control.workbench().model().total_count(); });
      }
    }
    seconds = std::chrono::duration<double>(Clock::now() - started).count();
    gui.close();
  });
  gui.run();
  user.join();
  std::printf("view %s: %lld findings in %.2f s; longest event-loop gap %lld ms (ending %lld ms after the start); "
              "peak memory %ld MB\n",
              view.c_str(), static_cast<long long>(found), seconds, longest.load(), longest_at.load(),
              peak_kilobytes() / 1024);
  std::filesystem::remove_all(work);
  return 0;
}
