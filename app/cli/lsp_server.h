// flawseek lsp: the language server. It reads the editor's messages on one
// thread, keeps the open documents' texts, and checks them on another: each
// document's newest version only, a newer edit making the older result
// void, so reading never waits on a check. Diagnostics come from the
// buffers, a specification checked with its body; quick fixes are the
// findings' mechanical mends.
#pragma once

#include <istream>
#include <ostream>

namespace flawseek {

// Serves the protocol on `in` and `out` until the exit notification or the
// end of `in`: 0 after a shutdown request, 1 without one. The analysis reads
// the open documents through a disk overlay put in place for the duration;
// nothing but protocol messages is written to `out`.
int run_language_server(std::istream& in, std::ostream& out);

// The same on the process's standard input and output.
int run_language_server_on_standard_streams();

}  // namespace flawseek
