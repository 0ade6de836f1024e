#!/usr/bin/python3
"""What a blind player hears: the screen reader Orca itself runs on a desktop session (see
desktop_session.sh), speaking through speech-dispatcher into a PulseAudio sink nobody listens to,
while a game is played with real key presses. What Orca said at each step is read from the lines
"SPEECH OUTPUT: '...'" of its debug log, printed, and checked.
Usage: orca_check.py GAME QUESTION_FILE. Exits with 77 when Orca, speech-dispatcher, PulseAudio
or the bus's Python binding is missing, or when Orca does not start: it refuses to while another
Orca of the same user runs, on any session of the machine."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

try:
    import pyatspi
except ImportError:
    print("skipped: no Python binding of the accessibility bus")
    sys.exit(77)

sys.dont_write_bytecode = True  # the source tree stays clean
from atspi_tree import game_on_bus, press, pump, showing  # noqa: E402

for program in ("orca", "speech-dispatcher", "pulseaudio", "pactl"):
    if not shutil.which(program):
        print(f"skipped: {program} is not installed")
        sys.exit(77)

TAB, RETURN, DOWN, F2, F4, SHIFT, ALT = 0xFF09, 0xFF0D, 0xFF54, 0xFFBF, 0xFFC1, 1, 8
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*)'( voice=\S+)?(\{.*\})?$")
failures = []


class Speech:
    """What Orca writes to its debug log, read on as it grows."""

    def __init__(self, path):
        self.path = path
        self.offset = 0

    def new(self):
        """The utterances logged since the last call, in order."""
        with open(self.path, encoding="utf-8", errors="replace") as log:
            log.seek(self.offset)
            lines = log.read().splitlines()
            self.offset = log.tell()
        return [m.group(1) for m in map(SPOKEN.search, lines) if m]


def listen(speech, seconds=2.5):
    """What Orca says until it has been quiet a while."""
    said, quiet = [], 0.0
    while quiet < seconds:
        pump(0.1)
        fresh = speech.new()
        said += fresh
        quiet = 0.0 if fresh else quiet + 0.1
    return said


def step(speech, what, keys, *expected):
    """Presses the keys, prints what Orca said and checks it said each expected text, in order;
    a callable stands for a text read from the window once the keys are pressed."""
    for key in keys:
        press(*key) if isinstance(key, tuple) else press(key)
        pump(0.3)
    said = listen(speech)
    heard = " | ".join(said)
    wanted = [text() if callable(text) else text for text in expected]
    position, ok = 0, True
    for text in wanted:
        found = heard.find(text, position)
        ok = ok and found >= 0
        position = found + len(text) if found >= 0 else position
    print(("ok    " if ok else "FAIL  ") + f"{what}: Orca says {said}")
    if not ok:
        failures.append(what)
        print(f"      expected, in order: {wanted}")
    return heard


class Game:
    """The game's windows as the accessibility bus shows them."""

    def __init__(self, app):
        self.app = app

    def main(self):
        return next(w for w in self.app if w is not None and w.getRoleName() == "frame")

    def answers(self, state=None):
        return [a.name for a in showing(self.main(), "radio button")
                if state is None or a.getState().contains(state)]

    def question(self):
        return showing(self.main(), "text")[0].queryText().getText(0, -1)

    def iq(self):
        return next(a.name for a in showing(self.main(), "label") if a.name.startswith("IQ: "))


def right_answers(path):
    """Each question of the file with its right answer, marked by a trailing '*'."""
    lines = open(path, encoding="utf-8").read().splitlines()
    return {line[2:-1]: next(a[:-1] for a in lines[i + 1:i + 5] if a.endswith("*"))
            for i, line in enumerate(lines) if line.startswith("-")}


def select(game, wanted):
    """From the answers or Odgovori, Down until an answer the test wants is selected."""
    for _ in range(5):
        if any(map(wanted, game.answers(pyatspi.STATE_CHECKED))):
            return
        if not game.answers(pyatspi.STATE_FOCUSED):
            press(TAB, SHIFT)
            pump(0.3)
        press(DOWN)
        pump(0.5)


def play(game, speech, rights):
    step(speech, "the game starts", [], game.main().name, game.question())
    shown = game.answers()
    step(speech, "Tab to the answers", [TAB], shown[0])
    step(speech, "Down", [DOWN], "Odgovori", shown[1])
    right = rights[game.question()]
    select(game, lambda answer: answer == right)
    listen(speech)
    step(speech, "Enter", [RETURN], "TACAN odgovor!!!")
    step(speech, "Enter closes the box", [RETURN], "Pitanje 2", game.iq, game.question)

    # Mini pomoc, the third aid after Odgovori: one wrong answer goes.
    step(speech, "Mini pomoc", [TAB, TAB, TAB, RETURN], "Mini pomoc", "Yes")
    step(speech, "Mini pomoc confirmed", [RETURN], game.iq,
         lambda: ", ".join(game.answers()))
    step(speech, "F2", [F2], "Pitanje 1", "IQ: 20", game.question)

    # The windows of text are read from their first line: Top 10 from row 1, not row 10.
    for keys, title, first in (([(0x69, ALT), 0x74], "Highscores", "1: (IQ "),
                               ([(0x70, ALT), 0x70], "Pravila kviza", "OSNOVNA PRAVILA"),
                               ([(0x70, ALT), DOWN, RETURN], "Info", "Autor kviza")):
        step(speech, f"the '{title}' window", keys, f"{title} dialog", "read only text" if
             title == "Highscores" else "text", first)
        step(speech, f"Alt+F4 closes '{title}'", [(F4, ALT)], game.main().name)

    select(game, lambda answer: answer != rights[game.question()])
    listen(speech)
    step(speech, "a wrong answer", [RETURN], "Odgovor NETACAN !!!")
    step(speech, "Enter", [RETURN], "Tacan odgovor je")
    step(speech, "Enter: the name entry", [RETURN], "Cestitamo!!!", "Upisi svoje ime")
    final = game.iq()
    step(speech, "a name, Enter", [0x41, 0x6E, 0x61, RETURN], final, "Pitanje 1", "IQ: 20",
         game.question)


def other_orcas():
    return subprocess.run(["pgrep", "-u", str(os.getuid()), "-x", "orca"],
                          capture_output=True).returncode == 0


def start(home, env, argv):
    return subprocess.Popen(argv, env=env, cwd=home, stdout=subprocess.DEVNULL,
                            stderr=subprocess.STDOUT)


def main():
    game, questions = map(os.path.abspath, sys.argv[1:3])
    home = tempfile.mkdtemp()
    runtime = os.path.join(home, "run")
    os.makedirs(runtime, mode=0o700)
    env = dict(os.environ, HOME=home, XDG_DATA_HOME=os.path.join(home, "data"),
               XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_CACHE_HOME=os.path.join(home, "cache"), XDG_RUNTIME_DIR=runtime)
    os.makedirs(os.path.join(env["XDG_DATA_HOME"], "orca"))
    log = os.path.join(home, "orca.log")
    # Orca buffers its log; the customizations it runs at start-up reopen it line by line.
    with open(os.path.join(env["XDG_DATA_HOME"], "orca", "orca-customizations.py"), "w") as f:
        f.write("import orca.debug\n"
                "orca.debug.debugFile.flush()\n"
                "orca.debug.debugFile = open(orca.debug.debugFile.name, 'a', buffering=1)\n")
    children = []
    try:
        children.append(start(home, env, [
            "pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "-n",
            "--load=module-null-sink sink_name=orca_null", "--load=module-native-protocol-unix"]))
        for _ in range(50):
            if subprocess.run(["pactl", "info"], env=env, capture_output=True).returncode == 0:
                break
            time.sleep(0.1)
        children.append(start(home, env, ["speech-dispatcher", "-s", "-t", "0"]))
        # Orca starts only where no other Orca of the user runs, on any session of the machine;
        # --replace would kill them all, a player's own screen reader among them. Another test's
        # Orca is waited for.
        for _ in range(120):
            if not other_orcas():
                break
            time.sleep(0.5)
        else:
            print("skipped: another Orca runs for this user")
            return 77
        children.append(start(home, env, ["orca", "--debug-file=" + log]))
        for _ in range(300):
            time.sleep(0.1)
            if os.path.exists(log) and "Screen reader on" in open(log, errors="replace").read():
                break
        else:
            print("skipped: Orca did not start (another Orca of this user may have come first)")
            return 77
        speech = Speech(log)
        listen(speech, 1.0)
        children.append(start(home, dict(env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"),
                              [game, questions]))
        app = game_on_bus()
        if app is None:
            print("FAIL  the game reaches the accessibility bus")
            return 1
        play(Game(app), speech, right_answers(questions))
    finally:
        for child in reversed(children):
            child.terminate()
            try:
                child.wait(5)
            except subprocess.TimeoutExpired:
                child.kill()
        if os.path.exists(log):  # kept where CTest runs the test, for a look after a failure
            shutil.copy(log, "orca_check.log")
        shutil.rmtree(home, ignore_errors=True)
    print(f"{len(failures)} failures")
    return 1 if failures else 0


sys.exit(main())
