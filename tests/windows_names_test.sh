#!/usr/bin/env bash
# The Windows programs under Wine with folder and file names in any letters,
# inside Windows-1252 (the ANSI code page here) and outside it: vornette.exe
# formats a file there with the Vornette.ini beside it (its console lines in
# the ANSI code page where that holds the name), vornette-format.exe finds
# the folder's own from inside it in every mode, and its language server
# does for a document whose URI percent-encodes the name. Each program holds
# exactly one manifest.
# Usage: tests/windows_names_test.sh VORNETTE_EXE VORNETTE_FORMAT_EXE SOURCE_DIR
set -euo pipefail
format=$2
for exe in "$1" "$2"; do
  [ "$(grep -ao '<assembly' "$exe" | wc -l)" = 1 ] || { echo "FAIL: $exe holds no one manifest"; exit 1; }
done
. "$3/tests/scratch_path.sh"
install_program "$1"
# Wine reads UTF-8 names only under a UTF-8 locale.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
printf '[Indent]\nIndentWidth=3\n' >"$work/bin/Vornette.ini"
program='def a()\r\nx=1\r\nend\r\n'
for row in plain:UTF-8 Ölçü:CP1252 żółw:UTF-8 机器人:UTF-8; do
  name=${row%:*} dir=$work/${row%:*}/ws
  mkdir -p "$dir" && cd "$dir" && printf '[Indent]\nIndentWidth=4\n' >Vornette.ini
  printf "$program" >"$name.src"
  [ "$(vornette "$name.src" | tail -1)" = "$(printf 'Debug: Done file "%s.src".\r' "$name" | iconv -t "${row#*:}")" ] ||
    fail "$name: vornette's console line"
  [ "$(printf "$program")" = "$(cat "$name.src~")" ] || fail "$name: no backup"
  [ "$(cat "$name.src")" = "$(printf 'def a()\r\n   x = 1\r\nend\r')" ] || fail "$name: vornette formatted $(cat "$name.src")"
  printf "$program" >"$name.src"
  [ "$(vornette-format --check "$name.src")" = "$name.src" ] || fail "$name: --check"
  vornette-format --print-config "$name.src" | grep -q "ws.Vornette.ini" || fail "$name: --print-config"
  vornette-format -i "$name.src" && grep -q '^    x = 1' "$name.src" || fail "$name: -i"
  replies=$(python3 -c 'import json, sys, urllib.parse
uri = "file:///z%3A" + urllib.parse.quote(sys.argv[1])
for body in [{"id": 1, "method": "initialize", "params": {"capabilities": {}}},
             {"method": "textDocument/didOpen", "params": {"textDocument": {"uri": uri, "text": "def a()\nx=1\n"}}},
             {"id": 2, "method": "textDocument/formatting", "params": {"textDocument": {"uri": uri}}},
             {"id": 3, "method": "shutdown"}, {"method": "exit"}]:
    text = json.dumps(dict(body, jsonrpc="2.0"))
    sys.stdout.write(f"Content-Length: {len(text)}\r\n\r\n{text}")' "$dir/$name.src" | vornette-format --lsp)
  [[ $replies == *'"newText":"    x = 1"'* ]] || fail "$name: the server answered $replies"
done
echo "1 passed, 0 failed"
