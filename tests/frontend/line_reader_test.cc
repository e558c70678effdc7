// Tests of the Ada source line reader: line numbering, blanking of control
// characters, comment removal around string and character literals, comment
// commands, long lines and unreadable files.
#include "frontend/ada_line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace flawseek {
namespace {

struct Line {
  int number;
  std::string text;
  bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& line) {
  return out << line.number << ":[" << line.text << "]";
}

std::vector<Line> read_all(AdaLineReader& reader) {
  std::vector<Line> lines;
  std::string text = "stale";
  int number = -1;
  for (int guard = 0; guard < 1000; ++guard) {
    reader.read_line(text, number);
    if (text.empty()) break;
    lines.push_back({number, text});
  }
  return lines;
}

std::vector<Line> read_text(std::string_view source) {
  AdaLineReader reader;
  reader.set_text(source);
  return read_all(reader);
}

TEST(LineReader, DeliversPhysicalLineNumbersAndSkipsEmptyLines) {
  EXPECT_EQ(read_text("a\n\n   \n\t\nb\n"), (std::vector<Line>{{1, "a"}, {5, "b"}}));
  EXPECT_EQ(read_text("x"), (std::vector<Line>{{1, "x"}}));  // no final line end
  EXPECT_TRUE(read_text("").empty());
  EXPECT_TRUE(read_text("\n\n\n").empty());
}

TEST(LineReader, SkipsAUtf8ByteOrderMark) {
  EXPECT_EQ(read_text("\xEF\xBB\xBFpackage P is\n"), (std::vector<Line>{{1, "package P is"}}));
  // Only at the very start of the source.
  EXPECT_EQ(read_text("A\n\xEF\xBB\xBF"), (std::vector<Line>{{1, "A"}, {2, "\xEF\xBB\xBF"}}));
}

TEST(LineReader, EndOfSourceIsAnEmptyLineEveryTimeAfterwards) {
  AdaLineReader reader;
  reader.set_text("a\n\n");
  std::string text;
  int number = 0;
  reader.read_line(text, number);
  EXPECT_EQ(text, "a");
  for (int i = 0; i < 3; ++i) {
    text = "stale";
    reader.read_line(text, number);
    EXPECT_EQ(text, "");
  }
  EXPECT_TRUE(reader.at_end());
}

TEST(LineReader, ControlCharactersBecomeBlanksAndCrLfEndsALine) {
  EXPECT_EQ(read_text("a\tb\r\nc\x01" "d\r\n"), (std::vector<Line>{{1, "a b"}, {2, "c d"}}));
  // Trailing blanks and control characters are dropped; a NUL inside is a blank.
  EXPECT_EQ(read_text(std::string("x\0y \t\r\n", 7)), (std::vector<Line>{{1, "x y"}}));
  // Latin-1 letters pass unchanged.
  EXPECT_EQ(read_text("Gr\xF6\xDF" "e\n"), (std::vector<Line>{{1, "Gr\xF6\xDF" "e"}}));
}

TEST(LineReader, ALoneCrEndsALineLikeLfAndCrLf) {
  EXPECT_EQ(read_text("a\rb\r\rc\r\nd\n\re"),
            (std::vector<Line>{{1, "a"}, {2, "b"}, {4, "c"}, {5, "d"}, {7, "e"}}));
}

TEST(LineReader, CommentsAreCutLeavingABlankWhereTheyBegan) {
  struct Case {
    const char* source;
    const char* delivered;
  };
  const Case cases[] = {
      {"X := 1; -- set X", "X := 1;  "},
      {"-- only a comment", " "},
      {"   -- indented comment", "    "},
      {"S := \"a--b\";", "S := \"a--b\";"},
      {"S := \"a--b\"; -- after", "S := \"a--b\";  "},
      {"C := '\"'; -- quote character", "C := '\"';  "},
      {"C := '\"' & \"--\"; --x", "C := '\"' & \"--\";  "},
      {"S := \"\"\"--\"\"\";", "S := \"\"\"--\"\"\";"},
      {"A := B - -C;", "A := B - -C;"},
      {"X--", "X "},
  };
  for (const Case& c : cases) {
    const std::vector<Line> lines = read_text(c.source);
    ASSERT_EQ(lines.size(), 1u) << c.source;
    EXPECT_EQ(lines[0].text, c.delivered) << c.source;
  }
}

// A comment-only line is told by the "--" after its leading spaces, looked
// for in a block that may reach past the line's end: into the next line after
// a line of blanks, a lone CR or a '-' that ends its line. Every line here
// starts with more than a block of source still to come.
TEST(LineReader, ACommentAfterLeadingSpacesIsLookedForWithinItsOwnLineOnly) {
  EXPECT_EQ(read_text("    \n  -- one\nX := 1;  -- set\n\t  -- two\n  -\n-- three\n  \r  -- four\rY;\n"
                      "Z := 1234567890123;\n"),
            (std::vector<Line>{{2, "   "},
                               {3, "X := 1;   "},
                               {4, "    "},
                               {5, "  -"},
                               {6, " "},
                               {8, "   "},
                               {9, "Y;"},
                               {10, "Z := 1234567890123;"}}));
}

// Most lines stop the search first at their line end; those that stop
// earlier (a string, a comment, a CR) are read on from there. An indented
// line's code is kept however many blanks stand before it.
TEST(LineReader, LinesThatStopBeforeTheirEndAreReadOnFromThere) {
  const std::string indent(20, ' ');
  EXPECT_EQ(read_text("      X := 1;  -- set\n        Y;--\n" + indent + "Z := \"--\" & '-'; -- z\r\n" + indent +
                      "W := \"a\";\rV;\n"),
            (std::vector<Line>{{1, "      X := 1;   "},
                               {2, "        Y; "},
                               {3, indent + "Z := \"--\" & '-';  "},
                               {4, indent + "W := \"a\";"},
                               {5, "V;"}}));
}

// Lines handed out in place keep the promise of read_line_view: the same text
// as read_line copies, and a blank just after the last byte, also for a
// source whose last line ends at its very last byte (the source here is
// followed in memory by a letter, which stands for whatever may follow the
// caller's text), for lines that are copied and for comments indented
// further than a run of blanks handed out in place reaches.
TEST(LineReader, LinesInPlaceAreFollowedByABlank) {
  const std::string long_indent(700, ' ');
  const std::string sources[] = {
      "A := 1;\nB := 2;",
      "X\r\n   -- c\r\nY := 3;  \nZ",
      "P (Q);\t\n" + long_indent + "-- far\n" + long_indent + "W := 1; -- w\nV; --",
      "   -- only\n\x01" "A\x02",
      "S := \"--\";\n--\n   --",
  };
  for (const std::string& source : sources) {
    const std::vector<Line> expected = read_text(source);
    const std::string followed = source + "x";
    AdaLineReader reader;
    reader.set_text_view(std::string_view(followed.data(), source.size()));
    std::string buffer;
    std::vector<Line> lines;
    for (int guard = 0; guard < 100; ++guard) {
      int number = -1;
      const std::string_view line = reader.read_line_view(buffer, number);
      ASSERT_LE(static_cast<unsigned char>(line.data()[line.size()]), ' ') << source;
      if (line.empty()) break;
      lines.push_back({number, std::string(line)});
    }
    EXPECT_EQ(lines, expected) << source;
  }
}

class Recorder : public LineReaderListener {
 public:
  std::vector<std::string> events;
  bool throw_on_long_line = false;
  void on_long_line(std::string_view raw, int line_number) override {
    events.push_back("long " + std::to_string(line_number) + " " + std::to_string(raw.size()));
    if (throw_on_long_line) throw std::runtime_error("stop");
  }
  // One call per line, written down as its parts.
  void on_line(const DeliveredLine& line) override {
    const std::string number = std::to_string(line.number);
    events.push_back("start " + number);
    if (line.has_command) {
      events.push_back("command " + number + (line.command_at_line_start ? " first [" : " [") +
                       std::string(line.command) + "]");
    }
    events.push_back("line " + number + " [" + std::string(line.text) + "]" +
                     (line.empty_trailing_comment ? " bare--" : ""));
  }
};

TEST(LineReader, HandsCommentCommandsToTheListenerBeforeCutting) {
  Recorder recorder;
  AdaLineReader reader(&recorder);
  reader.set_text("-->STYLE: TAVIK\nX := P.all; -->NP: checked\n\nY := \"-->no\";\nZ := 1; --\n");
  const std::vector<Line> lines = read_all(reader);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{
                                 "start 1", "command 1 first [STYLE: TAVIK]", "line 1 [ ]",
                                 "start 2", "command 2 [NP: checked]", "line 2 [X := P.all;  ]",
                                 "start 4", "line 4 [Y := \"-->no\";]",
                                 "start 5", "line 5 [Z := 1;  ] bare--"}));
}

TEST(LineReader, ACodeReaderReadsPastShortCommentOnlyLinesWhichTheListenerStillSees) {
  Recorder recorder;
  AdaLineReader reader(&recorder);
  reader.set_text("X\n  -- a\n      -- b\nY -- c\n");
  std::string buffer;
  int number = 0;
  std::string_view skipped = "none";
  EXPECT_EQ(reader.read_code_line_view(buffer, number, 4, skipped), "X");
  EXPECT_EQ(skipped, "none");
  // Line 2 reads as three blanks and is read past; line 3, seven, is not.
  const std::string_view third = reader.read_code_line_view(buffer, number, 4, skipped);
  EXPECT_EQ(number, 3);
  EXPECT_EQ(third, "       ");
  EXPECT_TRUE(AdaLineReader::is_comment_only(third));
  EXPECT_EQ(skipped, "   ");
  EXPECT_EQ(reader.read_code_line_view(buffer, number, 4, skipped), "Y  ");
  EXPECT_EQ(number, 4);
  EXPECT_EQ(skipped, "   ");
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"start 1", "line 1 [X]", "start 2", "line 2 [   ]", "start 3",
                                                       "line 3 [       ]", "start 4", "line 4 [Y  ]"}));
}

TEST(LineReader, LongLinesGoToTheListenerAndOnWhole) {
  Recorder recorder;
  AdaLineReader reader(&recorder);
  const std::string long_line(401, 'x');
  const std::string limit_line(400, 'y');
  reader.set_text(limit_line + "\n" + long_line + "\r\n");
  const std::vector<Line> lines = read_all(reader);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].text, long_line);
  EXPECT_EQ(recorder.events[0], "start 1");  // 400 characters are no long line
  EXPECT_EQ(recorder.events[2], "long 2 401");

  // A listener may end the reading by throwing.
  Recorder stopping;
  stopping.throw_on_long_line = true;
  AdaLineReader stopped(&stopping);
  stopped.set_text(long_line);
  std::string text;
  int number = 0;
  EXPECT_THROW(stopped.read_line(text, number), std::runtime_error);
}

TEST(LineReader, UnreadableFileIsAClearFailureAndAnEmptySource) {
  AdaLineReader reader;
  reader.set_text("old text\n");
  std::string error;
  EXPECT_FALSE(reader.open("/nonexistent/dir/file.adb", error));
  EXPECT_NE(error.find("/nonexistent/dir/file.adb"), std::string::npos);
  EXPECT_TRUE(read_all(reader).empty());
  EXPECT_FALSE(reader.open("/", error));  // a directory cannot be read as a file
}

TEST(LineReader, ReadsAFileWhole) {
  const std::string path = ::testing::TempDir() + "line_reader_test.adb";
  {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("procedure P is\r\n\r\nbegin -- start\n   null;\nend P;", f);
    std::fclose(f);
  }
  AdaLineReader reader;
  std::string error;
  ASSERT_TRUE(reader.open(path, error)) << error;
  EXPECT_EQ(read_all(reader), (std::vector<Line>{{1, "procedure P is"}, {3, "begin  "}, {4, "   null;"}, {5, "end P;"}}));
  EXPECT_EQ(reader.line_number(), 5);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace flawseek
