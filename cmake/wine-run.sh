#!/bin/sh
# Runs a Windows program under Wine for CTest. Wine's server and services
# are started first, detached from this process's pipes: started by the
# first test instead, they would inherit CTest's pipes and keep it waiting.
wineserver -p60 </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
WINEDEBUG=-all exec wine "$@"
