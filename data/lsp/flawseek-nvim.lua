-- flawseek as Neovim's language server for Ada buffers: put this file in
-- ~/.config/nvim/plugin/ (or require it from init.lua). The project is the
-- directory of the nearest .flawseek.toml or .git above the file.
local function root_of(buffer)
  local file = vim.api.nvim_buf_get_name(buffer)
  local marker = vim.fn.findfile('.flawseek.toml', vim.fn.fnamemodify(file, ':p:h') .. ';')
  if marker == '' then marker = vim.fn.finddir('.git', vim.fn.fnamemodify(file, ':p:h') .. ';') end
  return marker ~= '' and vim.fn.fnamemodify(marker, ':p:h') or vim.fn.getcwd()
end

local config = { name = 'flawseek', cmd = { 'flawseek', 'lsp' } }
local started -- Neovim 0.7: the one client, attached to every Ada buffer

vim.api.nvim_create_autocmd('FileType', {
  pattern = 'ada',
  callback = function(args)
    config.root_dir = root_of(args.buf)
    if vim.lsp.start then
      -- Neovim 0.8 and later: starts the client or reuses the running one.
      vim.lsp.start(config, { bufnr = args.buf })
    else
      -- Neovim 0.7 has vim.lsp.start_client and vim.lsp.buf_attach_client only.
      started = started or vim.lsp.start_client(config)
      vim.lsp.buf_attach_client(args.buf, started)
    end
  end,
})
