#!/bin/sh
# Checks the form of a Windows executable that is to be shipped: what `file`
# says of it must contain EXPECTED (e.g. "PE32 executable (console) Intel 80386"),
# and it may import only DLLs that every Windows has.
#
# usage: check_windows_exe.sh EXE "EXPECTED"
set -eu
exe=$1 expected=$2

form=$(file -b "$exe")
case $form in
*"$expected"*) ;;
*) echo "$exe: expected '$expected', file says: $form" >&2; exit 1 ;;
esac

imports=$(objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ -n "$imports" ] || { echo "$exe: objdump lists no imported DLLs" >&2; exit 1; }
for dll in $imports; do
  case $(echo "$dll" | tr '[:upper:]' '[:lower:]') in
  kernel32.dll | user32.dll | advapi32.dll | msvcrt.dll | ntdll.dll | ws2_32.dll | shell32.dll | bcrypt.dll) ;;
  *) echo "$exe: imports $dll, which Windows does not ship" >&2; exit 1 ;;
  esac
done
echo "$exe: $form; imports only $(echo $imports | tr ' ' ',')"
