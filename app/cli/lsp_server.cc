// The language server: the protocol's messages, the open documents, and the
// checking thread that turns their texts into diagnostics.
#include "lsp_server.h"

#include <signal.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <iostream>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <thread>

#include "build_info.h"
#include "driver/document_check.h"
#include "findings/findings_list.h"
#include "lsp_code_actions.h"
#include "lsp_diagnostics.h"
#include "lsp_documents.h"
#include "lsp_json.h"
#include "lsp_message_stream.h"
#include "lsp_project_settings.h"
#include "output/finding_records.h"
#include "platform/overlay_disk.h"
#include "platform/utf8_text.h"

namespace flawseek {

namespace {

using Json = nlohmann::json;

// ---------------------------------------------------------------------------
// The protocol's error codes
// ---------------------------------------------------------------------------

constexpr int parse_error = -32700;
constexpr int invalid_request = -32600;
constexpr int method_not_found = -32601;
constexpr int invalid_params = -32602;
constexpr int internal_error = -32603;
constexpr int server_not_initialized = -32002;

constexpr int message_error = 1;
constexpr int message_warning = 2;

// Whether `body` nests arrays and objects deeper than `limit`: such a
// message is refused before it is parsed, since writing parts of it back
// (a code action repeats its diagnostic) would recurse as deep.
bool nested_deeper_than(std::string_view body, int limit) {
  int depth = 0;
  bool in_string = false;
  for (std::size_t at = 0; at < body.size(); ++at) {
    const char c = body[at];
    if (in_string) {
      if (c == '\\') {
        ++at;
      } else if (c == '"') {
        in_string = false;
      }
    } else if (c == '"') {
      in_string = true;
    } else if (c == '[' || c == '{') {
      if (++depth > limit) return true;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return false;
}

// The params' textDocument and its uri, each null when missing.
struct DocumentParams {
  const Json* item;
  const std::string* uri;
};
DocumentParams document_params(const Json& params) {
  const Json* item = member(params, "textDocument");
  return {item, item != nullptr ? string_member(*item, "uri") : nullptr};
}

std::string directory_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// ---------------------------------------------------------------------------
// The server
// ---------------------------------------------------------------------------

class LanguageServer {
 public:
  LanguageServer(std::istream& in, std::ostream& out, OverlayDisk& overlay)
      : reader_(in), writer_(out), overlay_(overlay), worker_([this] { check_documents(); }) {}
  ~LanguageServer() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
  }

  int run();

 private:
  struct Document {
    OpenDocument open;
    // The findings last published, of the text they were made from.
    std::vector<DocumentFinding> findings;
  };

  // ---- Messages
  void on_message(const std::string& body);
  void on_request(const Json& id, const std::string& method, const Json& params);
  void on_notification(const std::string& method, const Json& params);
  void send(const Json& message);
  void respond(const Json& id, Json result);
  void respond_error(const Json& id, int code, const std::string& message);
  void notify(const char* method, Json params);
  // What went wrong with a notification, which has no answer: the editor's log.
  void log_message(int type, const std::string& text);

  // ---- Requests and notifications; each says what is wrong with its
  // params, or nothing
  Json initialize_result(const Json& params);
  std::string code_actions(const Json& params, Json& actions);
  std::string did_open(const Json& params);
  std::string did_change(const Json& params);
  std::string did_save(const Json& params);
  std::string did_close(const Json& params);
  void did_change_watched_files(const Json& params);
  void recheck_all();

  // ---- Checks
  void schedule_locked(const std::string& path);
  void check_documents();
  void check_document(const std::string& path);
  void publish_locked(const Document& document);

  MessageReader reader_;
  MessageWriter writer_;
  OverlayDisk& overlay_;
  ProjectSettings projects_;
  bool initialized_ = false;
  bool shut_down_ = false;
  bool exit_ = false;
  bool watch_registration_ = false;  // the editor lets the server ask to watch files

  // Shared with the checking thread.
  std::mutex mutex_;
  std::condition_variable wake_;
  std::map<std::string, Document, std::less<>> documents_;  // by path
  std::deque<std::string> pending_;                         // paths, each once
  bool stopping_ = false;

  // The checking thread's own.
  DocumentCheck check_;
  ScanResult result_;
  LineStarts lines_;
  std::thread worker_;  // last: it starts once everything else is made
};

int LanguageServer::run() {
  std::string body;
  std::string problem;
  while (!exit_) {
    const MessageReader::Outcome outcome = reader_.next(body, problem);
    if (outcome == MessageReader::Outcome::Message) {
      on_message(body);
      continue;
    }
    if (!problem.empty()) {
      std::cerr << "flawseek lsp: " << problem << "\n";
      respond_error(nullptr, parse_error, problem);
    }
    if (outcome == MessageReader::Outcome::End) break;
  }
  return shut_down_ ? 0 : 1;
}

void LanguageServer::on_message(const std::string& body) {
  constexpr int depth_limit = 512;
  if (nested_deeper_than(body, depth_limit)) {
    respond_error(nullptr, invalid_request, "the message nests more than " + std::to_string(depth_limit) + " levels deep");
    return;
  }
  const Json message = Json::parse(body, nullptr, /*allow_exceptions=*/false);
  if (message.is_discarded()) {
    respond_error(nullptr, parse_error, "the message is not JSON");
    reader_.resynchronise_after(body);
    return;
  }
  if (!message.is_object()) {
    respond_error(nullptr, invalid_request, "a message must be a JSON object");
    return;
  }
  const Json* id = member(message, "id");
  const bool id_valid = id != nullptr && (id->is_string() || id->is_number_integer());
  const Json* method = member(message, "method");
  if (method == nullptr && id != nullptr && (member(message, "result") || member(message, "error"))) {
    return;  // the editor's answer to a request of ours
  }
  const Json null_id;
  const Json& answer_id = id_valid ? *id : null_id;
  if (id != nullptr && !id_valid) {
    respond_error(null_id, invalid_request, "the id must be a number or a string");
    return;
  }
  const std::string* version = string_member(message, "jsonrpc");
  if (method == nullptr || !method->is_string() || version == nullptr || *version != "2.0") {
    const std::string why = method == nullptr || !method->is_string() ? "the message names no method"
                                                                      : "the message is not JSON-RPC 2.0";
    if (id != nullptr) {
      respond_error(answer_id, invalid_request, why);
    } else {
      log_message(message_error, why);
    }
    return;
  }
  static const Json no_params = Json::object();
  const Json* params = member(message, "params");
  if (params != nullptr && !params->is_object() && !params->is_array() && !params->is_null()) {
    if (id != nullptr) {
      respond_error(answer_id, invalid_params, "params must be an object or an array");
    } else {
      log_message(message_error, "params must be an object or an array");
    }
    return;
  }
  const Json& given = params != nullptr && !params->is_null() ? *params : no_params;
  const std::string& name = method->get_ref<const std::string&>();
  // Nothing the editor sends should throw; if something does, the message
  // fails and the server goes on.
  try {
    if (id != nullptr) {
      on_request(answer_id, name, given);
    } else {
      on_notification(name, given);
    }
  } catch (const std::exception& error) {
    std::cerr << "flawseek lsp: " << name << ": " << error.what() << "\n";
    if (id != nullptr) respond_error(answer_id, internal_error, name + ": " + error.what());
  }
}

void LanguageServer::on_request(const Json& id, const std::string& method, const Json& params) {
  if (method == "initialize") {
    if (initialized_) {
      respond_error(id, invalid_request, "the server is initialized already");
      return;
    }
    respond(id, initialize_result(params));
    initialized_ = true;
    return;
  }
  if (!initialized_) {
    respond_error(id, server_not_initialized, "the server is not initialized");
    return;
  }
  if (shut_down_) {
    respond_error(id, invalid_request, "the server is shut down");
    return;
  }
  if (method == "shutdown") {
    shut_down_ = true;
    respond(id, nullptr);
    return;
  }
  if (method == "textDocument/codeAction") {
    Json actions = Json::array();
    if (const std::string error = code_actions(params, actions); !error.empty()) {
      respond_error(id, invalid_params, error);
    } else {
      respond(id, std::move(actions));
    }
    return;
  }
  respond_error(id, method_not_found, "unknown method " + method);
}

void LanguageServer::on_notification(const std::string& method, const Json& params) {
  if (method == "exit") {
    exit_ = true;
    return;
  }
  if (!initialized_ || shut_down_) return;
  std::string error;
  if (method == "initialized") {
    if (watch_registration_) {
      const Json watchers = Json::array({{{"globPattern", "**/.flawseek.toml"}}, {{"globPattern", "**/*.{ads,adb,ada,adq}"}}});
      send({{"jsonrpc", "2.0"},
            {"id", "flawseek/watch"},
            {"method", "client/registerCapability"},
            {"params",
             {{"registrations", Json::array({{{"id", "flawseek/watch"},
                                              {"method", "workspace/didChangeWatchedFiles"},
                                              {"registerOptions", {{"watchers", watchers}}}}})}}}});
    }
  } else if (method == "textDocument/didOpen") {
    error = did_open(params);
  } else if (method == "textDocument/didChange") {
    error = did_change(params);
  } else if (method == "textDocument/didSave") {
    error = did_save(params);
  } else if (method == "textDocument/didClose") {
    error = did_close(params);
  } else if (method == "workspace/didChangeConfiguration") {
    recheck_all();
  } else if (method == "workspace/didChangeWatchedFiles") {
    did_change_watched_files(params);
  }
  // Anything else ($/cancelRequest among it: every request is answered at
  // once) needs nothing done.
  if (!error.empty()) log_message(message_error, method + ": " + error);
}

// ---------------------------------------------------------------------------
// Writing
// ---------------------------------------------------------------------------

void LanguageServer::send(const Json& message) {
  // A finding's words hold the source's bytes; they are made UTF-8 on the
  // way in, and anything that is not is replaced rather than thrown at.
  writer_.write(message.dump(-1, ' ', false, Json::error_handler_t::replace));
}

void LanguageServer::respond(const Json& id, Json result) {
  send({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

void LanguageServer::respond_error(const Json& id, int code, const std::string& message) {
  send({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", utf8_text(message)}}}});
}

void LanguageServer::notify(const char* method, Json params) {
  send({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
}

void LanguageServer::log_message(int type, const std::string& text) {
  std::cerr << "flawseek lsp: " << text << "\n";
  notify("window/logMessage", {{"type", type}, {"message", utf8_text(text)}});
}

// ---------------------------------------------------------------------------
// Requests
// ---------------------------------------------------------------------------

Json LanguageServer::initialize_result(const Json& params) {
  const Json* capabilities = member(params, "capabilities");
  const Json* workspace = capabilities != nullptr ? member(*capabilities, "workspace") : nullptr;
  const Json* watched = workspace != nullptr ? member(*workspace, "didChangeWatchedFiles") : nullptr;
  const Json* dynamic = watched != nullptr ? member(*watched, "dynamicRegistration") : nullptr;
  watch_registration_ = dynamic != nullptr && dynamic->is_boolean() && dynamic->get<bool>();
  return {{"capabilities",
           {{"positionEncoding", "utf-16"},
            {"textDocumentSync", {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
            {"codeActionProvider", {{"codeActionKinds", Json::array({"quickfix", "source.fixAll"})}}}}},
          {"serverInfo", {{"name", "flawseek"}, {"version", build_info::product_version}}}};
}

std::string LanguageServer::code_actions(const Json& params, Json& actions) {
  const std::string* uri = document_params(params).uri;
  if (uri == nullptr) return "textDocument.uri is missing";
  if (!range_of(member(params, "range"))) return "range is missing or not a range";
  const Json* context = member(params, "context");
  if (context == nullptr || !context->is_object()) return "context is missing";
  const Json* diagnostics = member(*context, "diagnostics");
  if (diagnostics != nullptr && !diagnostics->is_array()) return "context.diagnostics is not an array";
  const std::optional<std::string> path = path_of_uri(*uri);
  std::shared_ptr<const std::string> text;
  std::vector<DocumentFinding> findings;
  {
    std::lock_guard lock(mutex_);
    const auto found = path ? documents_.find(*path) : documents_.end();
    if (found == documents_.end()) return {};
    text = found->second.open.text;
    findings = found->second.findings;
  }
  actions = code_actions_for(*uri, *text, findings, *context);
  return {};
}

// ---------------------------------------------------------------------------
// Documents
// ---------------------------------------------------------------------------

std::string LanguageServer::did_open(const Json& params) {
  const auto [item, uri] = document_params(params);
  const std::string* text = item != nullptr ? string_member(*item, "text") : nullptr;
  const std::optional<std::int64_t> version = item != nullptr ? integer_member(*item, "version") : std::nullopt;
  if (uri == nullptr || text == nullptr || !version) return "textDocument needs uri, version and text";
  const std::optional<std::string> path = path_of_uri(*uri);
  if (!path) return "only file: URIs are checked, not " + *uri;
  std::lock_guard lock(mutex_);
  Document& document = documents_[*path];
  document.open = OpenDocument{*uri, *path, *version, std::make_shared<const std::string>(*text)};
  document.findings.clear();
  overlay_.put(*path, document.open.text);
  schedule_locked(*path);
  return {};
}

std::string LanguageServer::did_change(const Json& params) {
  const auto [item, uri] = document_params(params);
  const std::optional<std::int64_t> version = item != nullptr ? integer_member(*item, "version") : std::nullopt;
  const Json* changes = member(params, "contentChanges");
  if (uri == nullptr || !version || changes == nullptr || !changes->is_array()) {
    return "needs textDocument.uri, textDocument.version and contentChanges";
  }
  std::vector<TextChange> parsed;
  for (const Json& change : *changes) {
    const std::string* text = string_member(change, "text");
    if (text == nullptr) return "a change without text";
    TextChange& one = parsed.emplace_back();
    one.text = *text;
    if (const Json* range = member(change, "range")) {
      const std::optional<TextRange> given = range_of(range);
      if (!given) return "a change whose range is not a range";
      one.whole = false;
      one.range = *given;
    }
  }
  const std::optional<std::string> path = path_of_uri(*uri);
  std::lock_guard lock(mutex_);
  const auto found = path ? documents_.find(*path) : documents_.end();
  if (found == documents_.end()) return "the document is not open: " + *uri;
  Document& document = found->second;
  std::string text = *document.open.text;
  for (const TextChange& change : parsed) text = changed_text(text, change);
  document.open.text = std::make_shared<const std::string>(std::move(text));
  document.open.version = *version;
  overlay_.put(*path, document.open.text);
  schedule_locked(*path);
  return {};
}

std::string LanguageServer::did_save(const Json& params) {
  const std::string* uri = document_params(params).uri;
  if (uri == nullptr) return "textDocument.uri is missing";
  const std::optional<std::string> path = path_of_uri(*uri);
  std::lock_guard lock(mutex_);
  if (path && documents_.contains(*path)) schedule_locked(*path);
  return {};
}

std::string LanguageServer::did_close(const Json& params) {
  const std::string* uri = document_params(params).uri;
  if (uri == nullptr) return "textDocument.uri is missing";
  const std::optional<std::string> path = path_of_uri(*uri);
  if (!path) return {};
  {
    std::lock_guard lock(mutex_);
    const auto found = documents_.find(*path);
    if (found == documents_.end()) return "the document is not open: " + *uri;
    documents_.erase(found);
    overlay_.remove(*path);
    std::erase(pending_, *path);
    notify("textDocument/publishDiagnostics", {{"uri", *uri}, {"diagnostics", Json::array()}});
  }
  // The other half of its pair, if open, now meets the file on disk.
  const DocumentUnit unit = document_unit(*path);
  std::lock_guard lock(mutex_);
  for (const std::string& other : {unit.file, unit.body}) {
    if (other != *path && documents_.contains(other)) schedule_locked(other);
  }
  return {};
}

void LanguageServer::did_change_watched_files(const Json& params) {
  const Json* changes = member(params, "changes");
  if (changes == nullptr || !changes->is_array()) return;
  bool project_changed = false;
  std::vector<std::string> directories;
  for (const Json& change : *changes) {
    const std::string* uri = string_member(change, "uri");
    const std::optional<std::string> path = uri != nullptr ? path_of_uri(*uri) : std::nullopt;
    if (!path) continue;
    if (path->ends_with("/.flawseek.toml")) project_changed = true;
    directories.push_back(directory_of(*path));
  }
  if (project_changed) {
    recheck_all();
    return;
  }
  // A source changed on disk: the open documents beside it may pair with it.
  std::lock_guard lock(mutex_);
  for (const auto& [path, document] : documents_) {
    if (std::find(directories.begin(), directories.end(), directory_of(path)) != directories.end()) {
      schedule_locked(path);
    }
  }
}

void LanguageServer::recheck_all() {
  projects_.forget_all();
  std::lock_guard lock(mutex_);
  for (const auto& [path, document] : documents_) schedule_locked(path);
}

// ---------------------------------------------------------------------------
// Checks
// ---------------------------------------------------------------------------

void LanguageServer::schedule_locked(const std::string& path) {
  // A document waiting already is checked at its newest text when its turn
  // comes: edits made meanwhile cost no check of their own.
  if (std::find(pending_.begin(), pending_.end(), path) == pending_.end()) pending_.push_back(path);
  wake_.notify_one();
}

void LanguageServer::check_documents() {
  for (;;) {
    std::string path;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
      if (stopping_) return;
      path = std::move(pending_.front());
      pending_.pop_front();
    }
    try {
      check_document(path);
    } catch (const std::exception& error) {
      std::cerr << "flawseek lsp: the check of " << path << " failed: " << error.what() << "\n";
    }
  }
}

void LanguageServer::check_document(const std::string& path) {
  const std::shared_ptr<const DocumentSettings> settings = projects_.for_directory(directory_of(path));
  if (settings->excluded.matches(path)) {
    std::lock_guard lock(mutex_);
    if (const auto found = documents_.find(path); found != documents_.end()) {
      found->second.findings.clear();
      publish_locked(found->second);
    }
    return;
  }
  DocumentUnit unit = document_unit(path);
  // An excluded other half is never read: the document stands alone.
  if (!unit.body.empty() && settings->excluded.matches(unit.file == path ? unit.body : unit.file)) {
    unit = DocumentUnit{path, {}, unit.is_adq, unit.file == path};
  }

  // The open documents of the unit as the check reads them: what it finds
  // is published only while they are still at these versions.
  struct Snapshot {
    std::string path;
    std::int64_t version;
    std::shared_ptr<const std::string> text;
  };
  std::vector<Snapshot> snapshots;
  {
    std::lock_guard lock(mutex_);
    for (const std::string& file : {unit.file, unit.body}) {
      const auto found = file.empty() ? documents_.end() : documents_.find(file);
      if (found == documents_.end()) continue;
      snapshots.push_back({file, found->second.open.version, found->second.open.text});
      // This check covers the other half's waiting edits too.
      std::erase(pending_, file);
    }
  }
  if (snapshots.empty()) return;

  DocumentCheckRequest request;
  request.file = unit.file;
  request.body = unit.body;
  request.is_adq = unit.is_adq;
  request.prepare = settings->prepare && unit.specification;
  request.settings = settings->scan;
  request.reference_directories = settings->reference_directories;
  check_.check(request, result_);

  FindingsList list;
  list.set_style_details_kept(true);
  list.set_list_unchecked_style_state(true, settings->list_unchecked_style);
  list.set_reported_kinds(&settings->reported);
  list.apply(result_.findings);
  const std::vector<FindingRecord> records = ordered_findings(list);

  for (const Snapshot& snapshot : snapshots) {
    std::vector<DocumentFinding> findings;
    lines_.index(*snapshot.text);
    if (!settings->project_error.empty()) {
      findings.push_back(document_notice(message_error, settings->project_error, lines_));
    }
    for (const std::string& warning : settings->project_warnings) {
      findings.push_back(document_notice(message_warning, warning, lines_));
    }
    add_document_findings(records, snapshot.path, lines_, findings);
    std::lock_guard lock(mutex_);
    const auto found = documents_.find(snapshot.path);
    // A newer text waits for its own check; this result is of the past.
    if (found == documents_.end() || found->second.open.version != snapshot.version ||
        found->second.open.text != snapshot.text) {
      continue;
    }
    found->second.findings = std::move(findings);
    publish_locked(found->second);
  }
}

void LanguageServer::publish_locked(const Document& document) {
  Json diagnostics = Json::array();
  for (const DocumentFinding& finding : document.findings) diagnostics.push_back(diagnostic_json(finding));
  notify("textDocument/publishDiagnostics",
         {{"uri", document.open.uri}, {"version", document.open.version}, {"diagnostics", std::move(diagnostics)}});
}

}  // namespace

int run_language_server(std::istream& in, std::ostream& out) {
  // Reading must not flush `out` behind the checking thread's back.
  in.tie(nullptr);
  OverlayDisk overlay(disk());
  const ScopedDisk overlaid(overlay);
  LanguageServer server(in, out, overlay);
  return server.run();
}

int run_language_server_on_standard_streams() {
  std::ios_base::sync_with_stdio(false);
  // A log line on standard error would flush standard output, which only
  // the writing thread may touch.
  std::cerr.tie(nullptr);
  // An editor gone away shows as a failed write, not a killed server.
  ::signal(SIGPIPE, SIG_IGN);
  return run_language_server(std::cin, std::cout);
}

}  // namespace flawseek
