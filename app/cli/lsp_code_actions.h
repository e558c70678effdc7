// The code actions the server offers for a document's findings: a quick fix
// for each diagnostic the editor names whose finding has a mechanical mend,
// and one action that applies every mend of the document, offered only when
// the whole set is proved sound on the text. Edits are in UTF-16 positions
// of the document's text.
#pragma once

#include <nlohmann/json.hpp>

#include <span>
#include <string>
#include <string_view>

#include "lsp_diagnostics.h"

namespace flawseek {

// `context` is the request's CodeActionContext (its diagnostics and the
// kinds it wants, both optional); `findings` are the ones last published
// for `text`, the document's text now.
nlohmann::json code_actions_for(const std::string& uri, std::string_view text,
                                std::span<const DocumentFinding> findings, const nlohmann::json& context);

}  // namespace flawseek
