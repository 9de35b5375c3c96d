#!/usr/bin/python3
"""Records what the Orca screen reader says while a student goes through the
program with the keyboard: one scenario, one transcript.

Run through tools/orca-listen.sh, which provides the private display, D-Bus
session and AT-SPI bus. Orca is started with no speech server (so nothing is
heard and no speech-dispatcher is started) and a debug log: Orca writes each
utterance to that log as a "SPEECH OUTPUT: '...'" line whether or not a
speech server is there, and the transcript is those lines, grouped under the
step of the scenario that caused them.

The student's actions are key presses sent with xdotool. AT-SPI is used only
to know when a window has opened, and to put the focus on a named option
(so that a scenario does not depend on the options window's Tab order, which
is to change).
"""

import argparse
import json
import os
import re
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ left in the source tree
sys.path.insert(0, os.path.join(HERE, "..", "tests", "accessibility"))
import check_accessibility as ca  # noqa: E402  (the waiting and finding helpers)
import pyatspi  # noqa: E402

SCENARIO_BANK = os.path.join(HERE, "..", "src", "bank", "scenarios", "scenarios.json")

# Orca's settings: no speech server (its name empty), no braille, and no
# echo of the keys pressed, so that what is said is what Orca says about the
# program (the key names came between a key and its effect and made the
# transcript hard to read).
ORCA_SETTINGS = {
    "general": {
        "speechServerFactory": "", "speechFactoryModules": [], "enableSpeech": True,
        "enableBraille": False, "enableKeyEcho": False, "enableEchoByCharacter": False,
        "enableEchoByWord": False, "firstStart": False,
        "profile": ["Default", "default"], "activeProfile": ["Default", "default"],
        "startingProfile": ["Default", "default"],
    },
    "profiles": {"default": {"profile": ["Default", "default"], "pronunciations": {}, "keybindings": {}}},
    "pronunciations": {},
    "keybindings": {},
}
# Orca runs this file from its settings folder at start (its documented
# customization hook). Orca's debug log is block-buffered: lines would reach
# the file kilobytes late, and the transcript would put speech under the
# wrong step. Line buffering makes each line readable as soon as it is said.
ORCA_CUSTOMIZATIONS = """\
import orca.debug
if orca.debug.debugFile:
    orca.debug.debugFile.reconfigure(line_buffering=True)
"""
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)'\s*(voice=\S+)?\s*\{")


class Listener:
    def __init__(self, program, bank, log_path):
        self.log_path = log_path
        settings_dir = os.path.join(os.environ["A11Y_SESSION_DIR"], "orca")
        os.makedirs(settings_dir, exist_ok=True)
        with open(os.path.join(settings_dir, "user-settings.conf"), "w", encoding="utf-8") as f:
            json.dump(ORCA_SETTINGS, f)
        with open(os.path.join(settings_dir, "orca-customizations.py"), "w", encoding="utf-8") as f:
            f.write(ORCA_CUSTOMIZATIONS)
        self.orca = subprocess.Popen(["orca", "--replace", "-u", settings_dir, "--debug-file", log_path, "-d", "braille"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.wait_for_speech(30, "Orca to start")
        self.consumed = len(self.spoken())  # "Screen reader on." is not the program's
        # The program's own checker class starts the program and finds it in
        # the AT-SPI tree; none of its checks is run here.
        self.driver = ca.Checker(program, bank, ["none"], False)
        self.sections = []  # (title, [spoken lines])

    # -- Orca's log ----------------------------------------------------------

    def spoken(self):
        try:
            with open(self.log_path, encoding="utf-8", errors="replace") as f:
                log = f.read()
        except FileNotFoundError:
            return []
        return [m.group(1) for m in SPOKEN.finditer(log)]

    def wait_for_speech(self, seconds, what):
        """Waits until Orca has said something new and then been quiet for a
        moment (1.5 s): the speech that an action causes comes in a burst, the
        window's title and then, up to a second later, the focused control."""
        before = getattr(self, "consumed", len(self.spoken()))
        try:
            ca.wait_until(lambda: len(self.spoken()) > before, seconds, what)
        except ca.DriveError:
            return False  # nothing said: the transcript shows that
        last, quiet_since = len(self.spoken()), time.monotonic()
        end = time.monotonic() + 20
        while time.monotonic() - quiet_since < 1.5 and time.monotonic() < end:
            time.sleep(0.1)
            now = len(self.spoken())
            if now != last:
                last, quiet_since = now, time.monotonic()
        return True

    # -- the student's actions -----------------------------------------------

    def step(self, title, action=None, expect_speech=True):
        """Does action, waits for what Orca says about it, and files those
        lines under title."""
        if action:
            action()
        if expect_speech:
            self.wait_for_speech(4, "Orca to speak after: " + title)
        # Everything said since the last step: speech that came while the
        # program was starting belongs to the first step.
        spoken = self.spoken()
        self.sections.append((title, spoken[self.consumed:]))
        self.consumed = len(spoken)

    def keys(self, *keys):
        return lambda: ca.xdotool("key", "--clearmodifiers", *keys)

    def type(self, text):
        return lambda: ca.xdotool("type", "--delay", "80", text)

    def window(self, pattern):
        window = self.driver.window(pattern)
        self.driver.activate(window)
        return window

    def focus(self, window_pattern, control_pattern):
        """Puts the focus on a named control, through AT-SPI."""
        def action():
            window = self.window(window_pattern)
            ca.do_action(self.driver.control(window, control_pattern), "SetFocus")
        return action

    def set_box(self, window_pattern, control_pattern, checked):
        """Ticks or unticks a box: focus on it, then Space if needed."""
        window = self.window(window_pattern)
        box = self.driver.control(window, control_pattern)
        self.step("focus on '%s'" % box.name, self.focus(window_pattern, control_pattern))
        if ca.states(box).contains(pyatspi.STATE_CHECKED) != checked:
            self.step("Space", self.keys("space"))

    def transcript(self, scenario):
        lines = ["# What Orca says: scenario '%s'" % scenario,
                 "# Each heading is the student's action; under it, each line Orca spoke, in order.", ""]
        for title, spoken in self.sections:
            lines.append("## " + title)
            lines.extend("    " + s for s in spoken) if spoken else lines.append("    (nothing)")
            lines.append("")
        return "\n".join(lines)

    def stop(self):
        self.driver.stop()
        for process in (self.orca,):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()


# -- the scenarios ----------------------------------------------------------

def start_quiz(listener, quiz):
    """From the welcome window to the first question of quiz (1-4), questions
    and answers in the bank's order, and the answer window after every
    answer, right or wrong."""
    listener.step("the welcome window opens", lambda: listener.window(".+"))
    listener.step("Return on 'I Agree'", listener.keys("Return"))
    listener.window(r"^Start the QUIZ$")
    listener.step("focus on 'Quiz #%d', Space" % quiz,
                  lambda: (listener.focus(r"^Start the QUIZ$", r"^Quiz #%d$" % quiz)(), ca.xdotool("key", "space")))
    listener.set_box(r"^Start the QUIZ$", r"^Questions$", False)
    listener.set_box(r"^Start the QUIZ$", r"^Answers$", False)
    listener.set_box(r"^Start the QUIZ$", r"^WRONG\s*$", True)
    listener.set_box(r"^Start the QUIZ$", r"^RIGHT$", True)
    listener.step("focus on 'Start the Quiz'", listener.focus(r"^Start the QUIZ$", r"^Start the Quiz$"))
    listener.step("Return: the quiz starts", listener.keys("Return"))
    listener.window(r"^Orvik Tests")


def welcome(listener, bank):
    """The welcome and options windows, gone through with Tab."""
    listener.step("the welcome window opens", lambda: listener.window(".+"))
    for n in range(3):
        listener.step("Tab", listener.keys("Tab"))
    listener.step("Return on 'I Agree'", listener.keys("Return"))
    listener.window(r"^Start the QUIZ$")
    for n in range(9):
        listener.step("Tab", listener.keys("Tab"))


def questions(listener, bank):
    """Two choice questions (quiz 4: bank questions 4 and 8): the first
    answered wrong, with the answer window; the second answered right."""
    start_quiz(listener, 4)
    for number, index in ((1, 4), (2, 8)):
        question = bank["questions"][index - 1]
        for n in range(len(question["answers"]) + 3):
            listener.step("Tab", listener.keys("Tab"))
        right = ["ABCDEF"[c - 1] for c in question["correct"]]
        if number == 1:
            letters = [next(l for l in "ABCDEF" if l not in right)]
        else:
            letters = right
        for letter in letters:
            listener.step("key %s (choose answer %s)" % (letter.lower(), letter), listener.keys(letter.lower()))
        listener.step("Return: NEXT (answered %s)" % ("wrong" if number == 1 else "right"), listener.keys("Return"))
        listener.window(r"^The Answer$")
        listener.step("Return: close the answer window", listener.keys("Return"))
        listener.window(r"^Orvik Tests")


def typed(listener, bank):
    """A typed question (quiz 2 starts with bank question 2)."""
    start_quiz(listener, 2)
    question = bank["questions"][1]
    for n in range(5):
        listener.step("Tab", listener.keys("Tab"))
    listener.step("type '%s'" % question["answers"][0], listener.type(question["answers"][0]))
    listener.step("Return: NEXT", listener.keys("Return"))
    listener.window(r"^The Answer$")
    listener.step("Return: close the answer window", listener.keys("Return"))


SCENARIOS = {"welcome": welcome, "questions": questions, "typed": typed}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    parser.add_argument("program")
    parser.add_argument("transcript", help="the file to write the transcript to")
    arguments = parser.parse_args()

    with open(SCENARIO_BANK, encoding="utf-8") as f:
        bank = json.load(f)
    log_path = os.path.join(os.environ["A11Y_SESSION_DIR"], "orca-debug.log")
    listener = Listener(arguments.program, SCENARIO_BANK, log_path)
    status = 0
    try:
        SCENARIOS[arguments.scenario](listener, bank)
    except ca.DriveError as error:
        print("ERROR: the scenario stopped: %s" % error, file=sys.stderr)
        listener.sections.append(("(the scenario stopped here: %s)" % error, []))
        status = 2
    finally:
        listener.stop()
    with open(arguments.transcript, "w", encoding="utf-8") as f:
        f.write(listener.transcript(arguments.scenario) + "\n")
    if os.environ.get("ORCA_LISTEN_KEEP_LOG"):
        os.replace(log_path, arguments.transcript + ".orca-debug.log")
    print("transcript: %s (%d utterances)" % (arguments.transcript, sum(len(s) for _, s in listener.sections)))
    return status


if __name__ == "__main__":
    sys.exit(main())
