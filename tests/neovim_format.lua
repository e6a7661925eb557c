-- Formats the current buffer through vornette-format --lsp as a Neovim
-- user does: the whole buffer, or with VORNETTE_LINES=A:B only those lines
-- (range formatting), then writes the file and quits. Exit status 2 when
-- the server never answered.
local lines = os.getenv('VORNETTE_LINES')
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
