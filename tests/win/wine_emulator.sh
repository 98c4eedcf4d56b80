#!/bin/sh
# The Windows build's emulator for its tests: a test program under Wine, in the prefix and
# locale that run_windows_suites.sh prepared.
PATH=$PATH:/usr/lib/wine exec env LC_ALL=zh_CN.UTF-8 wine64 "$@"
