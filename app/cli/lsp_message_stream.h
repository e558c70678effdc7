// The language server's framing: each message is a header ("Content-Length:
// N", an empty line) and N bytes of JSON. The reader survives any stream: a
// garbled header, a body cut short, one too large to hold; each is reported
// and the reader finds the next header.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <istream>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>

namespace flawseek {

// Larger bodies are skipped unread: no editor sends a document this big.
inline constexpr std::size_t lsp_message_limit = std::size_t{64} << 20;

class MessageReader {
 public:
  enum class Outcome { Message, Broken, End };

  explicit MessageReader(std::istream& in, std::size_t limit = lsp_message_limit) : in_(in), limit_(limit) {}

  // The next message's body (Message), or why the stream held none where
  // one should be (Broken: `problem` says what; the reader has moved past
  // it), or the end of the stream (End; `problem` says whether it came
  // inside a message).
  Outcome next(std::string& body, std::string& problem);

  // The last body was not JSON: most likely it was cut short and ran into
  // the next message, whose header is then read again from inside it.
  void resynchronise_after(const std::string& body);

 private:
  int get();
  // A header line without its end of line; false at the end of the stream.
  // A line longer than any header is cut at the limit and marked garbled.
  bool read_line(std::string& line, bool& too_long);
  // Drops bytes up to the next "Content-Length:", which is read again.
  bool skip_to_header();
  // Reads `size` bytes into `body`; false at the end of the stream.
  bool read_body(std::size_t size, std::string& body);
  bool skip(std::size_t size);

  std::istream& in_;
  std::size_t limit_;
  // Bytes taken back to be read again before the stream's.
  std::string again_;
  std::size_t again_at_ = 0;
};

// Writes framed messages in the order given, on a thread of its own: an
// editor that is slow to read (or writes everything before it reads) then
// never holds up the reading of its messages or the checks.
class MessageWriter {
 public:
  explicit MessageWriter(std::ostream& out);
  // Writes what waits, then ends the thread.
  ~MessageWriter();
  MessageWriter(const MessageWriter&) = delete;
  MessageWriter& operator=(const MessageWriter&) = delete;

  void write(std::string body);

 private:
  void write_waiting();

  std::ostream& out_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::string> waiting_;
  bool stopping_ = false;
  std::thread thread_;  // last: it starts once the rest is made
};

}  // namespace flawseek
