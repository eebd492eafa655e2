#!/bin/sh
# Fails when a Windows program imports a DLL of the compiler's runtime (libstdc++, libgcc,
# winpthread: every one named lib*.dll), which would have to ship beside it.
#
#   no-runtime-dlls.sh OBJDUMP PROGRAM...
set -eu
objdump=$1
shift
status=0
for program in "$@"; do
    imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
    if [ -z "$imports" ]; then
        echo "no-runtime-dlls: $program: no imports found; is it a Windows program?" >&2
        status=1
        continue
    fi
    runtime=$(printf '%s\n' "$imports" | grep -i '^lib' || true)
    echo "$(basename "$program"): $(printf '%s\n' "$imports" | tr '\n' ' ')"
    if [ -n "$runtime" ]; then
        echo "no-runtime-dlls: $program needs $(printf '%s\n' "$runtime" | tr '\n' ' ')beside it" >&2
        status=1
    fi
done
exit $status
