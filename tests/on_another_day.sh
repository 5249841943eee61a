#!/bin/sh
# Runs every test program of a folder with the computer's clock moved to another day, so that
# a test or a sample classifier that depends on the day the tests run fails now rather than on
# that day. The programs run directly, one after the other; each prints only its failures.
# Their database files go to a folder in memory when there is one (/dev/shm), which spares the
# disk the synchronous writes of three more runs of the suite.
#
# usage: on_another_day.sh FAKETIME FOLDER DAY   (DAY as yyyy-mm-dd)
set -u
if [ $# -ne 3 ]; then
    echo "usage: $0 FAKETIME FOLDER DAY" >&2
    exit 2
fi
faketime=$1
folder=$2
day=$3
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export QT_QPA_PLATFORM
if [ -d /dev/shm ] && [ -w /dev/shm ] && work=$(mktemp -d /dev/shm/on_another_day.XXXXXX); then
    trap 'rm -rf "$work"' EXIT
    TMPDIR=$work
    export TMPDIR
fi

status=0
ran=0
for program in "$folder"/*; do
    [ -f "$program" ] && [ -x "$program" ] || continue
    ran=$((ran + 1))
    if ! output=$("$faketime" -m "$day 10:00:00" "$program" --gtest_brief=1 2>&1); then
        echo "$(basename "$program") fails on $day:"
        printf '%s\n' "$output" | tail -n 60
        status=1
    fi
done
if [ "$ran" -eq 0 ]; then
    echo "no test program in $folder" >&2
    exit 1
fi
[ "$status" -eq 0 ] && echo "$ran test programs pass on $day"
exit $status
