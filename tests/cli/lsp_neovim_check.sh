#!/usr/bin/env bash
# The language server in a real editor: headless Neovim, set up by the
# sample data/lsp/flawseek-nvim.lua, starts `flawseek lsp` on an Ada buffer;
# its style/bad-keyword diagnostic must arrive and the quick fix offered for
# it must mend the line. Skipped (77) when nvim is not installed.
#
#   lsp_neovim_check.sh NVIM_SAMPLE PROGRAM
set -uo pipefail

sample="$1"
program="$2"
if ! command -v nvim >/dev/null 2>&1; then
  echo "lsp_neovim_check: nvim is not installed; skipped"
  exit 77
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
printf -- '-->STYLE: TAVIK\nPROCEDURE Demo is\nbegin\n   null;\nend Demo;\n' >"$scratch/demo.adb"
cat >"$scratch/check.lua" <<'LUA'
local sample, file, result = os.getenv('FLAWSEEK_SAMPLE'), os.getenv('FLAWSEEK_FILE'), os.getenv('FLAWSEEK_RESULT')
local function finish(text)
  local out = io.open(result, 'w')
  out:write(text)
  out:close()
  vim.cmd('qall!')
end
local function check()
vim.cmd('luafile ' .. vim.fn.fnameescape(sample))
vim.cmd('edit ' .. vim.fn.fnameescape(file))
-- Started with -u NONE, the editor detects no file type by itself.
vim.cmd('setfiletype ada')
local buffer = vim.api.nvim_get_current_buf()
local function code_of(diagnostic)
  return diagnostic.code or (diagnostic.user_data and diagnostic.user_data.lsp and diagnostic.user_data.lsp.code)
end
local found
-- The bound only keeps a broken server from hanging the suite.
vim.wait(60000, function()
  for _, diagnostic in ipairs(vim.diagnostic.get(buffer)) do
    if code_of(diagnostic) == 'style/bad-keyword' then
      found = diagnostic
      return true
    end
  end
  return false
end, 20)
if not found then return finish('no style/bad-keyword diagnostic arrived') end
local client = vim.lsp.get_active_clients()[1]
-- As vim.lsp.buf.code_action asks: the line's diagnostics in the protocol's terms.
local line_diagnostics = vim.lsp.diagnostic.get_line_diagnostics(buffer, found.lnum)
local params = {
  textDocument = { uri = vim.uri_from_bufnr(buffer) },
  range = line_diagnostics[1].range,
  context = { diagnostics = line_diagnostics, only = { 'quickfix' } },
}
local answer = client.request_sync('textDocument/codeAction', params, 60000, buffer)
local actions = answer and answer.result or {}
if #actions ~= 1 then return finish('expected one quick fix, got ' .. vim.inspect(answer)) end
vim.lsp.util.apply_workspace_edit(actions[1].edit, 'utf-16')
finish(vim.api.nvim_buf_get_lines(buffer, 1, 2, true)[1])
end
-- A Lua error would leave the headless editor waiting for input.
local ok, error = pcall(check)
if not ok then finish('error: ' .. tostring(error)) end
LUA

PATH="$(cd "$(dirname "$program")" && pwd):$PATH" FLAWSEEK_SAMPLE="$sample" FLAWSEEK_FILE="$scratch/demo.adb" FLAWSEEK_RESULT="$scratch/result" \
  nvim --headless -n -u NONE -i NONE -c "luafile $scratch/check.lua" >/dev/null 2>&1 </dev/null
got="$(cat "$scratch/result" 2>/dev/null)"
if [[ $got != "procedure Demo is" ]]; then
  echo "lsp_neovim_check: expected the fixed line 'procedure Demo is', got: ${got:-nothing}" >&2
  exit 1
fi
echo "lsp_neovim_check: the diagnostic arrived and its fix applied"
