// The language server's answer to an edit: a 5,000-line body open in the
// server, one line inserted or removed by an incremental didChange, timed
// until its publishDiagnostics arrives. The server runs in this process on
// pipes, as an editor would drive it.
#include <benchmark/benchmark.h>
#include <ext/stdio_filebuf.h>
#include <unistd.h>

#include <filesystem>
#include <istream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <thread>

#include "lsp_server.h"

namespace flawseek {
namespace {

using Json = nlohmann::json;

// A package body of procedures with loops, ifs, calls and a few upper-case
// keywords for the style rules to find, about `lines` long.
std::string bench_source(int lines) {
  std::string text = "-->STYLE: TAVIK\nwith Ada.Text_IO;\npackage body Bench_Unit is\n";
  for (int number = 0; static_cast<int>(std::count(text.begin(), text.end(), '\n')) < lines - 1; ++number) {
    const std::string name = "Step_" + std::to_string(number);
    text += "   procedure " + name + " (Count : in out Integer) is\n";
    text += "      Total : Integer := 0;\n";
    text += number % 10 == 0 ? "   BEGIN\n" : "   begin\n";
    text += "      for Index in 1 .. Count loop\n";
    text += "         if Index mod 2 = 0 then\n";
    text += "            Total := Total + Index;\n";
    text += "         else\n";
    text += "            Total := Total - 1;\n";
    text += "         end if;\n";
    text += "      end loop;\n";
    text += "      Count := Total;\n";
    text += "      Ada.Text_IO.Put_Line (Integer'Image (Total));\n";
    text += "   end " + name + ";\n";
  }
  return text + "end Bench_Unit;\n";
}

class PipedServer {
 public:
  PipedServer() {
    int to_server[2];
    int from_server[2];
    if (::pipe(to_server) != 0 || ::pipe(from_server) != 0) return;
    to_server_ = to_server[1];
    from_server_ = from_server[0];
    in_buffer_ = std::make_unique<__gnu_cxx::stdio_filebuf<char>>(to_server[0], std::ios::in);
    out_buffer_ = std::make_unique<__gnu_cxx::stdio_filebuf<char>>(from_server[1], std::ios::out);
    in_ = std::make_unique<std::istream>(in_buffer_.get());
    out_ = std::make_unique<std::ostream>(out_buffer_.get());
    server_ = std::thread([this] { (void)run_language_server(*in_, *out_); });
  }
  ~PipedServer() {
    send({{"jsonrpc", "2.0"}, {"method", "exit"}});
    ::close(to_server_);
    server_.join();
    ::close(from_server_);
  }

  void send(const Json& message) {
    const std::string body = message.dump();
    const std::string framed = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    (void)!::write(to_server_, framed.data(), framed.size());
  }
  Json next() {
    std::string header;
    char c;
    while (header.find("\r\n\r\n") == std::string::npos && ::read(from_server_, &c, 1) == 1) header.push_back(c);
    if (header.find(':') == std::string::npos) return {};
    std::string body(std::stoul(header.substr(header.find(':') + 1)), '\0');
    for (std::size_t got = 0; got < body.size();) {
      const ssize_t read = ::read(from_server_, body.data() + got, body.size() - got);
      if (read <= 0) return {};
      got += static_cast<std::size_t>(read);
    }
    return Json::parse(body);
  }
  // The diagnostics published for `version`; their count.
  std::size_t published(std::int64_t version) {
    for (Json message = next(); !message.is_null(); message = next()) {
      if (message.value("method", "") == "textDocument/publishDiagnostics" &&
          message["params"].value("version", -1) == version) {
        return message["params"]["diagnostics"].size();
      }
    }
    return 0;
  }

 private:
  int to_server_ = -1;
  int from_server_ = -1;
  std::unique_ptr<__gnu_cxx::stdio_filebuf<char>> in_buffer_;
  std::unique_ptr<__gnu_cxx::stdio_filebuf<char>> out_buffer_;
  std::unique_ptr<std::istream> in_;
  std::unique_ptr<std::ostream> out_;
  std::thread server_;
};

void BM_DidChangeToDiagnostics(benchmark::State& state) {
  const std::string text = bench_source(static_cast<int>(state.range(0)));
  const std::string uri =
      "file://" + (std::filesystem::temp_directory_path() / "flawseek-lsp-bench" / "bench_unit.adb").string();
  PipedServer server;
  server.send({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", {{"capabilities", Json::object()}}}});
  (void)server.next();
  server.send({{"jsonrpc", "2.0"}, {"method", "initialized"}, {"params", Json::object()}});
  std::int64_t version = 1;
  server.send({{"jsonrpc", "2.0"},
               {"method", "textDocument/didOpen"},
               {"params", {{"textDocument", {{"uri", uri}, {"languageId", "ada"}, {"version", version}, {"text", text}}}}}});
  std::size_t diagnostics = server.published(version);
  const Json at_line_3 = {{"start", {{"line", 3}, {"character", 0}}}, {"end", {{"line", 3}, {"character", 0}}}};
  const Json line_3 = {{"start", {{"line", 3}, {"character", 0}}}, {"end", {{"line", 4}, {"character", 0}}}};
  for (auto _ : state) {
    ++version;
    // A comment line put in and taken out again, in turn.
    const bool insert = version % 2 == 0;
    const Json change = insert ? Json{{"range", at_line_3}, {"text", "   -- edited\n"}} : Json{{"range", line_3}, {"text", ""}};
    server.send({{"jsonrpc", "2.0"},
                 {"method", "textDocument/didChange"},
                 {"params", {{"textDocument", {{"uri", uri}, {"version", version}}}, {"contentChanges", Json::array({change})}}}});
    diagnostics = server.published(version);
  }
  state.counters["diagnostics"] = static_cast<double>(diagnostics);
  state.counters["lines"] = static_cast<double>(std::count(text.begin(), text.end(), '\n'));
}
BENCHMARK(BM_DidChangeToDiagnostics)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace flawseek

BENCHMARK_MAIN();
