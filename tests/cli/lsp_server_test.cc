// The language server: its framing and positions on their own, then the
// built program driven over pipes as an editor drives it.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "lsp_documents.h"
#include "lsp_message_stream.h"
#include "program_runner.h"

namespace flawseek {
namespace {

using Json = nlohmann::json;
using testing::write_file;

std::string framed(const std::string& body) { return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body; }

// What the reader makes of a stream: "M:<body>", "B" (broken) or "E"
// ("E!" when the end came inside a message), one per call until the end.
std::vector<std::string> read_all(const std::string& stream, std::size_t limit) {
  std::istringstream in(stream);
  MessageReader reader(in, limit);
  std::vector<std::string> seen;
  std::string body;
  std::string problem;
  for (;;) {
    const MessageReader::Outcome outcome = reader.next(body, problem);
    if (outcome == MessageReader::Outcome::Message) {
      // A body that is not JSON sends the reader looking inside it.
      if (!Json::accept(body)) reader.resynchronise_after(body);
      seen.push_back("M:" + body);
    } else if (outcome == MessageReader::Outcome::Broken) {
      seen.push_back("B");
    } else {
      seen.push_back(problem.empty() ? "E" : "E!");
      return seen;
    }
  }
}

TEST(LspMessageReader, FindsEveryMessageAroundBrokenOnes) {
  const std::string good = framed("{}");
  const struct {
    std::string stream;
    std::vector<std::string> seen;
  } cases[] = {
      {good + "Content-Type: x\r\n" + framed("{\"a\":1}"), {"M:{}", "M:{\"a\":1}", "E"}},
      {"content-length:  2\n\n{}", {"M:{}", "E"}},
      {"garbage line\r\n" + good, {"B", "M:{}", "E"}},
      {"Content-Length: 2x\r\n\r\n{}" + good, {"B", "M:{}", "E"}},
      {"Content-Type: x\r\n\r\n{}" + good, {"B", "M:{}", "E"}},
      // Too large: skipped unread, and what follows it is read.
      {"Content-Length: 40\r\n\r\n" + std::string(40, 'x') + good, {"B", "M:{}", "E"}},
      // Cut short: the body runs into the next message, found inside it.
      {"Content-Length: 12\r\n\r\n{\"a\"" + good, {"M:{\"a\"Content-", "M:{}", "E"}},
      {"Content-Length: 9\r\n\r\n{}", {"E!"}},
      {"Content-Length: 2\r\n", {"E!"}},
      {std::string(3000, 'h') + good, {"B", "M:{}", "E"}},
  };
  for (const auto& one : cases) EXPECT_EQ(read_all(one.stream, 32), one.seen) << one.stream.substr(0, 60);
}

TEST(LspDocuments, PositionsCountUtf16UnitsOfTheLine) {
  // "é" is two bytes and one unit; the G clef four bytes and two units.
  const std::string text = "ab\r\n\xC3\xA9x\xF0\x9D\x84\x9Ey\nlast";
  const struct {
    TextPosition position;
    std::size_t offset;
  } cases[] = {{{0, 1}, 1}, {{0, 9}, 2}, {{1, 1}, 6}, {{1, 2}, 7}, {{1, 3}, 7}, {{1, 4}, 11},
               {{1, 5}, 12}, {{2, 4}, 17}, {{7, 0}, 17}};
  for (const auto& one : cases) {
    EXPECT_EQ(byte_offset_of(text, one.position), one.offset) << one.position.line << ":" << one.position.character;
  }
  EXPECT_EQ(utf16_length("\xC3\xA9x\xF0\x9D\x84\x9E\xFF"), 5);
  EXPECT_EQ(changed_text(text, {false, {{1, 1}, {1, 4}}, "-"}), "ab\r\n\xC3\xA9-y\nlast");
  EXPECT_EQ(changed_text(text, {false, {{2, 9}, {0, 0}}, "!"}), text + "!");
  EXPECT_EQ(changed_text(text, {true, {}, "new"}), "new");
}

// ---------------------------------------------------------------------------
// The program over pipes
// ---------------------------------------------------------------------------

class LspSession {
 public:
  explicit LspSession(const std::filesystem::path& directory) {
    ::signal(SIGPIPE, SIG_IGN);
    int to_server[2];
    int from_server[2];
    if (::pipe(to_server) != 0 || ::pipe(from_server) != 0) return;
    const std::string program = testing::flawseek_program();
    child_ = ::fork();
    if (child_ == 0) {
      ::dup2(to_server[0], STDIN_FILENO);
      ::dup2(from_server[1], STDOUT_FILENO);
      const int err = ::open("/dev/null", O_WRONLY);
      ::dup2(err, STDERR_FILENO);
      ::close(to_server[1]);
      ::close(from_server[0]);
      if (::chdir(directory.c_str()) != 0) ::_exit(127);
      ::execl(program.c_str(), program.c_str(), "lsp", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(to_server[0]);
    ::close(from_server[1]);
    in_ = to_server[1];
    out_ = from_server[0];
  }
  ~LspSession() {
    close_input();
    if (out_ >= 0) ::close(out_);
    (void)exit_status();
  }

  void send_raw(const std::string& bytes) { (void)!::write(in_, bytes.data(), bytes.size()); }
  void send(const Json& message) { send_raw(framed(message.dump())); }
  void request(int id, const std::string& method, Json params = Json::object()) {
    send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}});
  }
  void notify(const std::string& method, Json params) {
    send({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
  }
  void close_input() {
    if (in_ >= 0) ::close(in_);
    in_ = -1;
  }

  // The next message the server writes; none once it has ended.
  std::optional<Json> next() {
    std::string header;
    char c;
    while (header.find("\r\n\r\n") == std::string::npos) {
      if (::read(out_, &c, 1) != 1) return std::nullopt;
      header.push_back(c);
    }
    std::string body(std::stoul(header.substr(header.find(':') + 1)), '\0');
    for (std::size_t got = 0; got < body.size();) {
      const ssize_t read = ::read(out_, body.data() + got, body.size() - got);
      if (read <= 0) return std::nullopt;
      got += static_cast<std::size_t>(read);
    }
    return Json::parse(body);
  }
  // The answer to request `id`, passing over notifications.
  Json answer(int id) {
    for (std::optional<Json> message = next(); message; message = next()) {
      if (message->value("id", Json()) == id) return *message;
    }
    return {};
  }
  // The next diagnostics published for `uri`.
  Json diagnostics(const std::string& uri) {
    for (std::optional<Json> message = next(); message; message = next()) {
      if (message->value("method", "") == "textDocument/publishDiagnostics" && (*message)["params"]["uri"] == uri) {
        return (*message)["params"];
      }
    }
    return {};
  }
  int exit_status() {
    if (child_ <= 0) return -1;
    int raw = 0;
    while (::waitpid(child_, &raw, 0) < 0) {
    }
    child_ = -1;
    status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return status_;
  }

 private:
  pid_t child_ = -1;
  int in_ = -1;
  int out_ = -1;
  int status_ = -1;
};

std::string uri_of(const std::filesystem::path& path) { return "file://" + path.string(); }

void open_document(LspSession& session, const std::string& uri, const std::string& text) {
  session.notify("textDocument/didOpen",
                 {{"textDocument", {{"uri", uri}, {"languageId", "ada"}, {"version", 1}, {"text", text}}}});
}

void initialize(LspSession& session) {
  session.request(1, "initialize", {{"capabilities", Json::object()}});
  ASSERT_EQ(session.answer(1)["result"]["capabilities"]["textDocumentSync"]["change"], 2);
  session.notify("initialized", Json::object());
}

// Each diagnostic as "line:start-end code".
std::vector<std::string> places(const Json& published) {
  std::vector<std::string> shown;
  for (const Json& one : published["diagnostics"]) {
    shown.push_back(std::to_string(one["range"]["start"]["line"].get<int>()) + ":" +
                    std::to_string(one["range"]["start"]["character"].get<int>()) + "-" +
                    std::to_string(one["range"]["end"]["character"].get<int>()) + " " + one["code"].get<std::string>());
  }
  return shown;
}

std::string applied(std::string text, const Json& edits) {
  // From the last edit back, so the earlier positions still hold.
  std::vector<Json> ordered(edits.begin(), edits.end());
  std::sort(ordered.begin(), ordered.end(), [](const Json& a, const Json& b) {
    return std::pair(a["range"]["start"]["line"], a["range"]["start"]["character"]) >
           std::pair(b["range"]["start"]["line"], b["range"]["start"]["character"]);
  });
  for (const Json& edit : ordered) {
    const auto at = [&](const Json& position) {
      return byte_offset_of(text, {position["line"].get<std::int64_t>(), position["character"].get<std::int64_t>()});
    };
    const std::size_t start = at(edit["range"]["start"]);
    text.replace(start, at(edit["range"]["end"]) - start, edit["newText"].get<std::string>());
  }
  return text;
}

const std::string styled_body =
    "-->STYLE: TAVIK\n"
    "procedure Demo is\n"
    "begin\n"
    "   null;\n"
    "end Demo;\n";

TEST(LspServer, ChecksTheBufferAndFixesItsFindings) {
  testing::ScratchDirectory scratch;
  const std::filesystem::path file = scratch.path() / "demo.adb";
  write_file(file, styled_body);  // clean on disk
  const std::string uri = uri_of(file);
  LspSession session(scratch.path());
  initialize(session);

  const std::string buffer = "-->STYLE: TAVIK\nPROCEDURE Demo is\nBEGIN\n   null;\nend Demo;\n";
  open_document(session, uri, buffer);
  Json published = session.diagnostics(uri);
  EXPECT_EQ(published["version"], 1);
  EXPECT_EQ(places(published), (std::vector<std::string>{"1:0-9 style/bad-keyword", "2:0-5 style/bad-keyword"}));
  const Json& first = published["diagnostics"][0];
  EXPECT_EQ(first["severity"], 3);
  EXPECT_EQ(first["source"], "flawseek");
  EXPECT_EQ(first["message"], "reserved word `PROCEDURE` must be `procedure`");
  EXPECT_EQ(first["codeDescription"]["href"].get<std::string>().substr(0, 8), "https://");

  // A two-byte letter before NULL: its byte column 16 is UTF-16 character 14.
  session.notify("textDocument/didChange",
                 {{"textDocument", {{"uri", uri}, {"version", 2}}},
                  {"contentChanges", Json::array({{{"range", {{"start", {{"line", 3}, {"character", 3}}},
                                                              {"end", {{"line", 3}, {"character", 8}}}}},
                                                   {"text", "Put (\"\xC3\xA9\"); NULL;"}}})}});
  published = session.diagnostics(uri);
  EXPECT_EQ(published["version"], 2);
  EXPECT_EQ(places(published), (std::vector<std::string>{"1:0-9 style/bad-keyword", "2:0-5 style/bad-keyword",
                                                         "3:14-18 style/bad-keyword"}));
  // Put the text back but for the keywords, then mend them.
  session.notify("textDocument/didChange", {{"textDocument", {{"uri", uri}, {"version", 3}}},
                                            {"contentChanges", Json::array({{{"text", buffer}}})}});
  published = session.diagnostics(uri);
  ASSERT_EQ(published["version"], 3);
  ASSERT_EQ(published["diagnostics"].size(), 2u);
  session.request(2, "textDocument/codeAction",
                  {{"textDocument", {{"uri", uri}}},
                   {"range", published["diagnostics"][1]["range"]},
                   {"context", {{"diagnostics", Json::array({published["diagnostics"][1]})}}}});
  const Json actions = session.answer(2)["result"];
  ASSERT_EQ(actions.size(), 2u);
  EXPECT_EQ(actions[0]["kind"], "quickfix");
  EXPECT_EQ(applied(buffer, actions[0]["edit"]["changes"][uri]),
            "-->STYLE: TAVIK\nPROCEDURE Demo is\nbegin\n   null;\nend Demo;\n");
  EXPECT_EQ(actions[1]["kind"], "source.fixAll");
  EXPECT_EQ(applied(buffer, actions[1]["edit"]["changes"][uri]), styled_body);

  session.notify("textDocument/didClose", {{"textDocument", {{"uri", uri}}}});
  published = session.diagnostics(uri);
  EXPECT_TRUE(published["diagnostics"].empty());
  EXPECT_FALSE(published.contains("version"));
  session.request(3, "shutdown");
  EXPECT_TRUE(session.answer(3)["result"].is_null());
  session.notify("exit", Json::object());
  EXPECT_EQ(session.exit_status(), 0);
}

TEST(LspServer, PublishesEachResultWithTheVersionItWasMadeFrom) {
  testing::ScratchDirectory scratch;
  const std::string uri = uri_of(scratch.path() / "demo.adb");
  LspSession session(scratch.path());
  initialize(session);
  // Version v holds v % 4 upper-case NULLs, one finding each.
  const auto text_of = [](int version) {
    std::string text = "-->STYLE: TAVIK\nprocedure Demo is\nbegin\n";
    for (int line = 0; line < 3; ++line) text += line < version % 4 ? "   NULL;\n" : "   null;\n";
    return text + "end Demo;\n";
  };
  open_document(session, uri, text_of(1));
  // Sent at once: the checks fall behind and skip versions, never mislabel one.
  constexpr int last = 120;
  for (int version = 2; version <= last; ++version) {
    session.notify("textDocument/didChange", {{"textDocument", {{"uri", uri}, {"version", version}}},
                                              {"contentChanges", Json::array({{{"text", text_of(version)}}})}});
  }
  for (int seen = 0; seen < last;) {
    const Json published = session.diagnostics(uri);
    ASSERT_TRUE(published.contains("version"));
    const int version = published["version"];
    EXPECT_GT(version, seen);
    EXPECT_EQ(published["diagnostics"].size(), static_cast<std::size_t>(version % 4)) << version;
    seen = version;
  }
}

bool has_code(const Json& published, const std::string& code) {
  for (const Json& one : published["diagnostics"]) {
    if (one["code"] == code) return true;
  }
  return false;
}

TEST(LspServer, ChecksASpecificationWithItsBodyFromDiskOrBuffer) {
  testing::ScratchDirectory scratch;
  write_file(scratch.path() / "p.ads", "with Ada.Command_Line;\npackage P is\n   procedure Q;\nend P;\n");
  const std::string using_body =
      "package body P is\n   procedure Q is\n   begin\n      if Ada.Command_Line.Argument_Count > 0 then\n"
      "         null;\n      end if;\n   end Q;\nend P;\n";
  write_file(scratch.path() / "p.adb", using_body);
  const std::string spec = uri_of(scratch.path() / "p.ads");
  const std::string body = uri_of(scratch.path() / "p.adb");
  LspSession session(scratch.path());
  initialize(session);

  open_document(session, spec, testing::read_file(scratch.path() / "p.ads"));
  EXPECT_FALSE(has_code(session.diagnostics(spec), "unused-unit"));  // the body on disk uses it
  // The body's buffer no longer does: the specification's findings follow it.
  open_document(session, body, "package body P is\n   procedure Q is\n   begin\n      null;\n   end Q;\nend P;\n");
  EXPECT_TRUE(has_code(session.diagnostics(spec), "unused-unit"));
}

TEST(LspServer, ReadsTheProjectFileAndSurvivesABrokenOne) {
  testing::ScratchDirectory scratch;
  const std::filesystem::path project = scratch.path() / ".flawseek.toml";
  write_file(project, "ignore = [\"style/bad-keyword\"]\nexclude = [\"skipped.adb\"]\n");
  const std::string uri = uri_of(scratch.path() / "demo.adb");
  LspSession session(scratch.path());
  initialize(session);
  const std::string buffer = "-->STYLE: TAVIK\nPROCEDURE Demo is\nbegin\n   null;\nend Demo;\n";
  open_document(session, uri, buffer);
  EXPECT_TRUE(session.diagnostics(uri)["diagnostics"].empty());
  const std::string skipped = uri_of(scratch.path() / "skipped.adb");
  open_document(session, skipped, "procedure Skipped is\nbegin\n   return;\n   null;\nend Skipped;\n");
  EXPECT_TRUE(session.diagnostics(skipped)["diagnostics"].empty());

  write_file(project, "ignore = [\"style/bad-keyword\"\n");
  session.notify("workspace/didChangeWatchedFiles",
                 {{"changes", Json::array({{{"uri", uri_of(project)}, {"type", 2}}})}});
  const Json published = session.diagnostics(uri);
  EXPECT_EQ(places(published), (std::vector<std::string>{"0:0-15 project-file", "1:0-9 style/bad-keyword"}));
  EXPECT_NE(published["diagnostics"][0]["message"].get<std::string>().find(".flawseek.toml"), std::string::npos);
}

TEST(LspServer, AnswersBadInputWithAnErrorAndGoesOn) {
  const struct {
    std::string sent;
    int code;
  } cases[] = {
      {framed("{\"jsonrpc\":\"2.0\",\"id\":"), -32700},
      {framed("[1,2]"), -32600},
      {framed("{\"a\":" + std::string(600, '[') + std::string(600, ']') + "}"), -32600},
      {framed("{\"jsonrpc\":\"2.0\",\"id\":[],\"method\":\"shutdown\"}"), -32600},
      {framed("{\"jsonrpc\":\"2.0\",\"id\":7,\"method\":\"textDocument/codeAction\",\"params\":{}}"), -32602},
      {framed("{\"jsonrpc\":\"2.0\",\"id\":7,\"method\":\"no/such\"}"), -32601},
      // Cut short: the next message's header is found inside the body.
      {"Content-Length: 30\r\n\r\n{\"jsonrpc\":", -32700},
      {"Content-Length: 999999999999\r\n\r\n", -32700},
      {"not a header\r\n\r\n", -32700},
  };
  for (const auto& one : cases) {
    testing::ScratchDirectory scratch;
    LspSession session(scratch.path());
    initialize(session);
    // A huge message's bytes would swallow any request after it.
    const bool huge = one.sent.starts_with("Content-Length: 999");
    session.send_raw(one.sent);
    if (huge) {
      session.close_input();
    } else {
      session.request(9, "shutdown");
    }
    std::optional<Json> error = session.next();
    while (error && error->contains("method")) error = session.next();
    ASSERT_TRUE(error.has_value()) << one.sent;
    EXPECT_EQ((*error)["error"]["code"], one.code) << one.sent;
    if (huge) continue;
    EXPECT_TRUE(session.answer(9).contains("result")) << one.sent;
    session.notify("exit", Json::object());
    EXPECT_EQ(session.exit_status(), 0) << one.sent;
  }
}

TEST(LspServer, ExitWithoutShutdownFails) {
  testing::ScratchDirectory scratch;
  LspSession session(scratch.path());
  initialize(session);
  session.notify("exit", Json::object());
  EXPECT_EQ(session.exit_status(), 1);
}

}  // namespace
}  // namespace flawseek
