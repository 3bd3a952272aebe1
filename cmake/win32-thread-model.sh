#!/bin/sh
# Runs a compile or link command of the posix thread model's mingw-w64
# compiler with the win32 thread model's in its place. The .gau is built this
# way: its runtime then imports only what Windows XP's system DLLs export,
# where the posix model's libwinpthread imports GetTickCount64 (Windows Vista).
compiler=$1
shift
case "$compiler" in
    *-posix) compiler="${compiler%-posix}-win32" ;;
esac
exec "$compiler" "$@"
