-- Formats the current buffer through vornette-format --lsp as a Neovim
-- user does: the whole buffer, or with VORNETTE_LINES=A:B only those lines
-- (range formatting), then writes the file and quits. Before that, the
-- block warnings Neovim shows for the buffer go to the file
-- VORNETTE_DIAGNOSTICS names, one a line as LINE:COLUMN: warning: TEXT.
-- Exit status 2 when the server never answered.
local lines = os.getenv('VORNETTE_LINES')
local published = false
local show = vim.lsp.handlers['textDocument/publishDiagnostics']
vim.lsp.handlers['textDocument/publishDiagnostics'] = function(...)
  published = true
  return show(...)
end
local id = vim.lsp.start_client({
  name = 'vornette',
  cmd = { 'vornette-format', '--lsp' },
  root_dir = vim.fn.getcwd(),
})
vim.lsp.buf_attach_client(0, id)
local client = vim.lsp.get_client_by_id(id)
if not vim.wait(5000, function() return client.initialized end, 20) then
  io.stderr:write('the server did not initialize\n')
  vim.cmd('cquit 2')
end
local diagnostics = os.getenv('VORNETTE_DIAGNOSTICS')
if diagnostics ~= nil then
  vim.wait(5000, function() return published end, 20)
  local out = io.open(diagnostics, 'w')
  for _, d in ipairs(vim.diagnostic.get(0)) do
    if d.source == 'vornette' and d.severity == vim.diagnostic.severity.WARN then
      out:write(string.format('%d:%d: warning: %s\n', d.lnum + 1, d.col + 1, d.message))
    end
  end
  out:close()
end
if lines == nil then
  vim.lsp.buf.formatting_sync(nil, 5000)
else
  local first, last = lines:match('(%d+):(%d+)')
  local tick = vim.b.changedtick
  vim.lsp.buf.range_formatting({}, { tonumber(first), 0 }, { tonumber(last), 0 })
  -- The range request is answered later; an unchanged buffer waits it out.
  vim.wait(2000, function() return vim.b.changedtick ~= tick end, 20)
end
vim.cmd('write!')
vim.lsp.stop_client(id)
vim.cmd('qall!')
