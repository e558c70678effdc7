// The status line the command line keeps on a terminal.
#include "terminal_status.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>

namespace flawseek {
namespace {

TEST(TerminalStatus, ProgressOverwritesOneLineAndBlanksWhatALongerTextLeft) {
  std::ostringstream out;
  TerminalStatus status(out, /*show_progress=*/true, /*show_notes=*/true, std::chrono::milliseconds(0));
  status.show_status("Searching... 12 files processed.");
  status.show_status("Done");
  EXPECT_EQ(out.str(), "\rSearching... 12 files processed.\rDone" + std::string(28, ' ') + "\rDone");
  out.str("");
  status.show_note("Cannot read /x");
  EXPECT_EQ(out.str(), "\r    \rflawseek: Cannot read /x\n");
  out.str("");
  status.clear_progress();  // the note already left a clean line
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(status.last_status(), "Done");
}

TEST(TerminalStatus, ProgressIsDrawnAtMostOncePerInterval) {
  std::ostringstream out;
  TerminalStatus status(out, /*show_progress=*/true, /*show_notes=*/false, std::chrono::hours(1));
  status.show_status("Searching... 2 files processed.");
  status.show_status("Searching... 3 files processed.");
  EXPECT_EQ(out.str(), "\rSearching... 2 files processed.");
  // The text skipped is still the one the program reports at the end.
  EXPECT_EQ(status.last_status(), "Searching... 3 files processed.");
}

TEST(TerminalStatus, WithoutProgressOnlyTheLastTextIsKept) {
  std::ostringstream out;
  TerminalStatus status(out, /*show_progress=*/false, /*show_notes=*/false);
  status.show_status("Searching...");
  status.show_status(" 1 potential bug found in search of 1 file");
  status.show_note("ignored");
  status.clear_progress();
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(status.last_status(), " 1 potential bug found in search of 1 file");
}

}  // namespace
}  // namespace flawseek
