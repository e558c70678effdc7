// Reading framed messages byte by byte from whatever the editor sends, and
// writing them whole.
#include "lsp_message_stream.h"

#include <algorithm>
#include <array>

#include "platform/printable_text.h"

namespace flawseek {

namespace {

// Longer than any header an editor writes; a longer line is not a header.
constexpr std::size_t header_line_limit = 1024;
constexpr std::string_view length_header = "content-length:";

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_words(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A decimal length; none for anything else, or for more digits than any
// size can have.
bool parse_length(std::string_view text, std::size_t& length) {
  if (text.empty() || text.size() > 18) return false;
  length = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    length = length * 10 + static_cast<std::size_t>(c - '0');
  }
  return true;
}

std::string shown_line(std::string_view line) {
  constexpr std::size_t shown = 60;
  std::string text = printable(std::string(line.substr(0, shown)));
  if (line.size() > shown) text += "...";
  return text;
}

}  // namespace

int MessageReader::get() {
  if (again_at_ < again_.size()) return static_cast<unsigned char>(again_[again_at_++]);
  std::streambuf* buffer = in_.rdbuf();
  if (buffer == nullptr) return -1;
  const auto c = buffer->sbumpc();
  return c == std::char_traits<char>::eof() ? -1 : static_cast<unsigned char>(c);
}

bool MessageReader::read_line(std::string& line, bool& too_long) {
  line.clear();
  too_long = false;
  for (;;) {
    const int c = get();
    if (c < 0) return false;
    if (c == '\n') break;
    line.push_back(static_cast<char>(c));
    if (line.size() > header_line_limit) {
      too_long = true;
      return true;
    }
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool MessageReader::skip_to_header() {
  std::size_t matched = 0;
  for (;;) {
    const int c = get();
    if (c < 0) return false;
    const char seen = lower(static_cast<char>(c));
    // The header's first letter appears nowhere else in it, so a mismatch
    // can only restart the match at the letter just read.
    if (seen == length_header[matched]) {
      if (++matched == length_header.size()) break;
    } else {
      matched = seen == length_header[0] ? 1 : 0;
    }
  }
  again_ = std::string("Content-Length:") + again_.substr(again_at_);
  again_at_ = 0;
  return true;
}

bool MessageReader::read_body(std::size_t size, std::string& body) {
  body.resize(size);
  std::size_t got = 0;
  while (got < size && again_at_ < again_.size()) body[got++] = again_[again_at_++];
  std::streambuf* buffer = in_.rdbuf();
  while (got < size && buffer != nullptr) {
    const std::streamsize read = buffer->sgetn(body.data() + got, static_cast<std::streamsize>(size - got));
    if (read <= 0) break;
    got += static_cast<std::size_t>(read);
  }
  body.resize(got);
  return got == size;
}

bool MessageReader::skip(std::size_t size) {
  std::array<char, 65536> room;
  while (size > 0 && again_at_ < again_.size()) {
    ++again_at_;
    --size;
  }
  std::streambuf* buffer = in_.rdbuf();
  while (size > 0 && buffer != nullptr) {
    const std::streamsize read = buffer->sgetn(room.data(), static_cast<std::streamsize>(std::min(size, room.size())));
    if (read <= 0) return false;
    size -= static_cast<std::size_t>(read);
  }
  return size == 0;
}

MessageReader::Outcome MessageReader::next(std::string& body, std::string& problem) {
  body.clear();
  problem.clear();
  std::string line;
  bool too_long = false;
  bool in_header = false;
  bool length_known = false;
  std::size_t length = 0;
  for (;;) {
    if (!read_line(line, too_long)) {
      if (in_header || !line.empty()) problem = "the stream ended inside a message header";
      return Outcome::End;
    }
    // Blank lines between messages are let pass.
    if (line.empty() && !too_long) {
      if (in_header) break;
      continue;
    }
    in_header = true;
    const std::size_t colon = line.find(':');
    const std::string_view name = colon == std::string::npos ? std::string_view() : trimmed(std::string_view(line).substr(0, colon));
    const std::string_view value = colon == std::string::npos ? std::string_view() : trimmed(std::string_view(line).substr(colon + 1));
    bool garbled = too_long || colon == std::string::npos || name.empty();
    if (!garbled && same_words(name, "Content-Length")) {
      garbled = !parse_length(value, length);
      length_known = !garbled;
    }
    if (garbled) {
      problem = "garbled message header: " + shown_line(line);
      // Read again from the line's second byte: a header may start inside it.
      again_ = line.substr(std::min<std::size_t>(1, line.size())) + again_.substr(again_at_);
      again_at_ = 0;
      (void)skip_to_header();
      return Outcome::Broken;
    }
  }
  if (!length_known) {
    problem = "message header without Content-Length";
    (void)skip_to_header();
    return Outcome::Broken;
  }
  if (length > limit_) {
    problem = "message of " + std::to_string(length) + " bytes is larger than the limit of " +
              std::to_string(limit_) + " bytes; skipped";
    return skip(length) ? Outcome::Broken : Outcome::End;
  }
  if (!read_body(length, body)) {
    problem = "the stream ended inside a message (" + std::to_string(body.size()) + " of " + std::to_string(length) +
              " bytes)";
    body.clear();
    return Outcome::End;
  }
  return Outcome::Message;
}

void MessageReader::resynchronise_after(const std::string& body) {
  // The header may start inside the body and go on past its end, when the
  // length given was short by a few bytes.
  for (std::size_t at = 0; at < body.size(); ++at) {
    const std::string_view rest = std::string_view(body).substr(at, length_header.size());
    if (!same_words(rest, length_header.substr(0, rest.size()))) continue;
    again_ = body.substr(at) + again_.substr(again_at_);
    again_at_ = 0;
    return;
  }
}

MessageWriter::MessageWriter(std::ostream& out) : out_(out), thread_([this] { write_waiting(); }) {}

MessageWriter::~MessageWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void MessageWriter::write(std::string body) {
  {
    std::lock_guard lock(mutex_);
    waiting_.push_back(std::move(body));
  }
  wake_.notify_one();
}

void MessageWriter::write_waiting() {
  for (;;) {
    std::string body;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
      if (waiting_.empty()) return;
      body = std::move(waiting_.front());
      waiting_.pop_front();
    }
    out_ << "Content-Length: " << body.size() << "\r\n\r\n" << body;
    out_.flush();
  }
}

}  // namespace flawseek
