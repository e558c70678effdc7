// The language server with any bytes on its input, as an editor (or
// something posing as one) might send them: it never crashes or hangs, ends
// with 0 or 1, and everything it writes back is framed JSON.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "lsp_server.h"

namespace {

// Every message of `out` has its header, and its body parses as JSON.
bool well_framed(const std::string& out) {
  constexpr std::string_view header = "Content-Length: ";
  std::size_t at = 0;
  while (at < out.size()) {
    if (out.compare(at, header.size(), header) != 0) return false;
    const std::size_t end = out.find("\r\n\r\n", at);
    if (end == std::string::npos) return false;
    const std::size_t size = std::strtoull(out.c_str() + at + header.size(), nullptr, 10);
    const std::size_t body = end + 4;
    if (body + size > out.size()) return false;
    if (!nlohmann::json::accept(out.substr(body, size))) return false;
    at = body + size;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream out;
  const int status = flawseek::run_language_server(in, out);
  if (status != 0 && status != 1) std::abort();
  if (!well_framed(out.str())) std::abort();
  return 0;
}
