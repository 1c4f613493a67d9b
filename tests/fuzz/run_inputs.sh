#!/bin/sh
# run_inputs.sh PROGRAM FOLDER...: runs every file of the folders (those that exist)
# once through a libFuzzer program, which runs the files it is given and stops at the
# first one that fails. No file at all is a failure too.
set -eu
program=$1
shift
files=""
for dir in "$@"; do
    [ -d "$dir" ] && files="$files $(find "$dir" -maxdepth 1 -type f | sort | tr '\n' ' ')"
done
if [ -z "$(echo "$files" | tr -d ' ')" ]; then
    echo "no inputs in $*" >&2
    exit 1
fi
# The repository paths hold no spaces: word splitting is the list of files.
# shellcheck disable=SC2086
exec "$program" $files
