#!/usr/bin/env bash
# The command line as a user meets it: help and version, question files checked without a
# display, the README's example, and a plain line instead of a crash where no window can open.
# Usage: commandline_test.sh MUDRACQ SOURCE_DIR VERSION
set -uo pipefail
game=$1 source=$2 version=$3
work=$(mktemp -d)
xvfb='' silent=''
cleanup() {
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null
    [[ -n $silent ]] && kill "$silent" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Runs the game with no display and no platform chosen; sets status, out and err.
run() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" >"$work/out" 2>"$work/err"
    status=$?
    out=$(<"$work/out")
    err=$(grep -v '^QStandardPaths: ' "$work/err")
}
expect() { # expect STATUS STREAM PATTERN WHAT
    local text=$out
    [[ $2 == err ]] && text=$err
    [[ $status == "$1" ]] || fail "$4: exit status $status, not $1"
    grep -qE -- "$3" <<<"$text" || fail "$4: no /$3/ in: $text"
}

run "$game" --help
expect 0 out '--check-questions <FILE>' "--help"
expect 0 out 'mudracq\(6\)' "--help names the manual page"
run "$game" --version
[[ $status == 0 && $out == "mudracq $version" ]] || fail "--version said '$out'"
run "$game" --questins x
expect 1 err "Unknown option 'questins'" "a mistyped option"
[[ $(wc -l <<<"$err") == 2 && -z $out ]] || fail "a mistyped option: $err"
# The program's own options are whole words after two dashes; one dash belongs to the toolkit.
for word in -reverze -hv -version -questions; do
    run "$game" "$word"
    expect 1 err "^mudracq: Unknown option '${word#-}'\.$" "$word"
done
run "$game" --questions x -style
expect 1 err "^mudracq: Missing value after '-style'\.$" "a toolkit option without its value"

# Runs the game until it is ended, with no display and no platform in the environment.
runs() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_DATA_HOME="$work/data" \
        timeout 2 "$@" 2>"$work/err"
    [[ $? == 124 ]] || fail "the game did not run: $*: $(<"$work/err")"
}
# The toolkit's own options reach the toolkit, with one dash or two.
runs "$game" -platform offscreen -reverse
runs "$game" --platform offscreen -session 1a2b_3c -style=fusion -widgetcount
runs "$game" -platform offscreen "$source/examples/pitanja.txt"

# The README shows the whole example file as it is, and the file can be played.
example=$source/examples/pitanja.txt
awk '/^```$/ { inside = !inside; if (!inside) exit; next } inside' "$source/README.md" \
    >"$work/readme-example.txt"
cmp -s "$work/readme-example.txt" "$example" || fail "the README's example differs from $example"
run "$game" --check-questions "$example"
expect 0 out "^group 5 \"PETA GRUPA\", line 105: 4 questions$" "the example"
expect 0 out "can be played\.$" "the example"

# Broken variants of it: each problem on its line, and the file refused.
sed '4s/\*$//' "$example" >"$work/unmarked.txt"
sed '21,25d' "$example" >"$work/short.txt"
for variant in "unmarked.txt:3: no answer ends with the \*" "short.txt:1: group 1 has 3 questions"; do
    run "$game" --check-questions "$work/${variant%%:*}"
    expect 1 out "^$work/$variant" "${variant%%:*}"
    expect 1 out "cannot be played: 1 problem\.$" "${variant%%:*}"
done
run "$game" --check-questions "$work/missing.txt"
expect 1 err "missing.txt: File not found$" "a missing file"
# A file name is passed on byte for byte, in any encoding; an empty one names no file.
odd="$work/ime"$'\xff\xfe'".txt"
cp "$example" "$odd"
run "$game" --check-questions "$odd"
expect 0 out "can be played\.$" "a file name that is not UTF-8"
# One file to play, given as a plain argument (as a file manager gives it) or after --questions.
for words in "a b" "--questions a b" "a --questions b"; do
    # shellcheck disable=SC2086 # the words are split on purpose
    run "$game" $words
    expect 1 err "^mudracq: one question file at a time$" "$words"
done
run "$game" --check-questions a b
expect 1 err "^mudracq: unexpected argument 'b'$" "a file beside --check-questions"
run "$game" ""
expect 1 err "^mudracq: a question file needs a name, not an empty one$" "an empty plain argument"
for option in --questions --check-questions; do
    run "$game" "$option" ""
    expect 1 err "^mudracq: $option needs a file name, not an empty one$" "$option \"\""
    [[ $(wc -l <<<"$err") == 1 && -z $out ]] || fail "$option \"\": $out$err"
done

# No window can open: one plain line and status 1, never an abort.
run "$game"
expect 1 err '^mudracq: no display' "no DISPLAY"
[[ $(wc -l <<<"$err") == 1 ]] || fail "no DISPLAY: $err"
run env DISPLAY=:65000 "$game"
expect 1 err '^mudracq: cannot open the display' "a display nobody serves"
if command -v Xvfb >/dev/null && command -v xauth >/dev/null; then
    # A server that wants a cookie the program does not have refuses it. The cookie is written
    # before the server starts, which reads it only then: the display number is chosen here,
    # the next one tried when another server holds it.
    for number in $(seq $((20000 + $$ % 20000)) 7 $((20000 + $$ % 20000 + 140))); do
        rm -f "$work/cookies" "$work/display"
        xauth -q -f "$work/cookies" add ":$number" . "$(mcookie)"
        exec 3>"$work/display"
        # -noreset: the game's display check is this server's only client, and a server that
        # resets when its last client leaves refuses the toolkit's connection that follows.
        Xvfb ":$number" -displayfd 3 -auth "$work/cookies" -nolisten tcp -noreset 2>/dev/null &
        xvfb=$!
        exec 3>&-
        for _ in $(seq 50); do
            [[ -s $work/display ]] && break
            kill -0 "$xvfb" 2>/dev/null || break
            sleep 0.1
        done
        [[ -s $work/display ]] && break
    done
    [[ -s $work/display ]] || fail "no X server could be started"
    run env DISPLAY=":$number" XAUTHORITY=/nonexistent "$game"
    expect 1 err '^mudracq: cannot open the display ".*": the X server refused' "a refusing server"
    [[ $(wc -l <<<"$err") == 1 ]] || fail "a refusing server: $err"
    runs env XAUTHORITY="$work/cookies" "$game" -display ":$number"

    # Displays the toolkit aborts or hangs on, each with its line. Sockets that take connections
    # and never answer stand for a hung X server (in its abstract name space) and a Wayland
    # compositor.
    hung=$((60000 + $$ % 5000))
    python3 -c 'import socket, sys, time
sockets = [socket.socket(socket.AF_UNIX) for _ in range(2)]
sockets[0].bind("\0/tmp/.X11-unix/X" + sys.argv[1])
sockets[1].bind(sys.argv[2])
for s in sockets:
    s.listen(8)
time.sleep(60)' "$hung" "$work/wayland" &
    silent=$!
    sleep 0.3
    while IFS='|' read -r setting line; do
        started=${EPOCHREALTIME//[.,]/} # microseconds
        # shellcheck disable=SC2086 # a setting is one or two words
        run env XAUTHORITY="$work/cookies" $setting timeout 20 "$game"
        expect 1 err "^mudracq: $line\$" "$setting"
        [[ $(wc -l <<<"$err") == 1 ]] || fail "$setting: $err"
        ((${EPOCHREALTIME//[.,]/} - started < 5000000)) || fail "$setting: took too long"
    done <<EOF
DISPLAY=:$number.5|cannot open the display ":$number\.5": the X server has no screen 5
QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=$work/wayland|no X display to open a window on: DISPLAY is not set
QT_QPA_PLATFORM=bogus|the windowing platform "bogus" is not installed
DISPLAY=:$hung|cannot open the display ":$hung": the X server does not answer
EOF
fi
# A platform that needs no display keeps working: the game runs until it is ended.
# The game itself writes only in its data folder, not where it is started nor in the home
# folder; the font library keeps its cache there as for any program.
mkdir -p "$work/home" "$work/here" "$work/runtime" && chmod 700 "$work/runtime"
runs env -C "$work/here" QT_QPA_PLATFORM=offscreen HOME="$work/home" \
    XDG_RUNTIME_DIR="$work/runtime" "$game"
written=$(find "$work/home" "$work/here" -mindepth 1 ! -path "$work/home/.cache*")
[[ -z $written && -d $work/data/MudracQ ]] || fail "the game wrote outside its data folder: $written"

((failures == 0)) && echo "command line: all checks passed"
exit $((failures > 0))
