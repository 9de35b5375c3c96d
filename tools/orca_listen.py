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
# A bank of matching questions.
MATCHING_BANK = os.path.join(HERE, "..", "tests", "accessibility", "matching-bank.json")

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
# An utterance of several lines (a message box's text) goes on over the
# log's next lines, each indented to the width of the log's time stamps.
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)'\s*(voice=\S+)?\s*\{", re.DOTALL)
CONTINUED = re.compile(r"\n {18}")


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
        return [CONTINUED.sub("\n", m.group(1)) for m in SPOKEN.finditer(log)]

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

    def listen(self, title, seconds):
        """Presses nothing: waits up to seconds for what Orca says by itself
        (a timer's warning), and files it under title."""
        self.step(title, lambda: self.wait_for_speech(seconds, title))

    def tab_to(self, window_pattern, roles, most=10):
        """Tab until the focus is on a control of one of roles (at most most
        times); each Tab is a step."""
        for n in range(most):
            self.step("Tab", self.keys("Tab"))
            focused = self.driver.focused(self.window(window_pattern))
            # A table's cell has the focus with its table: either counts.
            if focused is not None and roles & {focused.getRole(), focused.parent and focused.parent.getRole()}:
                return True
        return False

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
            # An utterance of several lines: its next lines indented further.
            for s in spoken:
                lines.extend(("    " if n == 0 else "      ") + line for n, line in enumerate(l for l in s.split("\n") if l.strip()))
            if not spoken:
                lines.append("    (nothing)")
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

def start_quiz(listener, quiz, exam_minutes=None, window_when_right=True):
    """From the welcome window to the first question of quiz (1-4), questions
    and answers in the bank's order, and the answer window after every wrong
    answer and, if window_when_right, every right one; an exam of
    exam_minutes if given."""
    listener.step("the welcome window opens", lambda: listener.window(".+"))
    listener.step("Return on 'I Agree'", listener.keys("Return"))
    listener.window(r"^Start the QUIZ$")
    listener.step("focus on 'Quiz #%d', Space" % quiz,
                  lambda: (listener.focus(r"^Start the QUIZ$", r"^Quiz #%d$" % quiz)(), ca.xdotool("key", "space")))
    listener.set_box(r"^Start the QUIZ$", r"^Questions$", False)
    listener.set_box(r"^Start the QUIZ$", r"^Answers$", False)
    listener.set_box(r"^Start the QUIZ$", r"^WRONG\s*$", True)
    listener.set_box(r"^Start the QUIZ$", r"^RIGHT$", window_when_right)
    if exam_minutes:
        listener.set_box(r"^Start the QUIZ$", r"^Exam mode$", True)
        listener.step("focus on the time limit", listener.focus(r"^Start the QUIZ$", r"^Time limit in minutes$"))
        listener.step("Ctrl+A, type '%d'" % exam_minutes,
                      lambda: (ca.xdotool("key", "--clearmodifiers", "ctrl+a"), listener.type(str(exam_minutes))()))
    listener.step("focus on 'Start the Quiz'", listener.focus(r"^Start the QUIZ$", r"^Start the Quiz$"))
    listener.step("Return: the quiz starts", listener.keys("Return"))
    listener.window(r"^Orvik Tests")


def welcome(listener, bank):
    """The welcome and options windows, gone through with Tab."""
    listener.step("the welcome window opens", lambda: listener.window(".+"))
    # Round its five stops: the title and author boxes, the bank, I Agree, Exit.
    for n in range(5):
        listener.step("Tab", listener.keys("Tab"))
    listener.step("Return on 'I Agree'", listener.keys("Return"))
    listener.window(r"^Start the QUIZ$")
    for n in range(9):
        listener.step("Tab", listener.keys("Tab"))


def questions(listener, bank):
    """Two choice questions (quiz 4: bank questions 4 and 8): the first
    answered wrong, with the answer window, read line by line; the second
    answered right, without it (as the options start: the answer window
    only when wrong), so that the verdict comes with the third question."""
    start_quiz(listener, 4, window_when_right=False)
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
        if number == 1:
            listener.window(r"^The Answer$")
            listener.step("Tab (to the answer's text)", listener.keys("Tab"))
            for n in range(2):
                listener.step("Down", listener.keys("Down"))
            listener.step("Tab (back to Close)", listener.keys("Tab"))
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


def answer_first(listener, bank, right=True):
    """Quiz 1's first question (bank question 1, a choice question with a
    diagram): its answer key, then NEXT; the answer window closed if it comes."""
    question = bank["questions"][0]
    letter = "ABCDEF"[question["correct"][0] - 1]
    if not right:
        letter = next(l for l in "ABCDEF" if "ABCDEF".index(l) + 1 not in question["correct"])
    listener.step("key %s (choose answer %s)" % (letter.lower(), letter), listener.keys(letter.lower()))
    listener.step("Return: NEXT", listener.keys("Return"))
    if [w for w in listener.driver.windows() if w.name == "The Answer"]:
        listener.window(r"^The Answer$")
        listener.step("Return: close the answer window", listener.keys("Return"))
    listener.window(r"^Orvik Tests")


def exam(listener, bank):
    """A 2-minute exam (quiz 1): the first question answered, then the clock
    left to run until "1 minute left" and "Time is up" have been said and
    the result box has come."""
    start_quiz(listener, 1, exam_minutes=2)
    answer_first(listener, bank)
    end = time.monotonic() + 150
    while time.monotonic() < end and not any("Test Complete" in s for s in listener.spoken()):
        listener.listen("(no key: the clock runs)", max(1, end - time.monotonic()))
    listener.listen("(no key: after the time is up)", 5)


def matching(listener, bank):
    """A matching question (quiz 1 of a small bank): a meaning chosen for
    each item with Down, Tab to the next list, the last pair left wrong,
    then NEXT and the answer window."""
    start_quiz(listener, 1)
    for item in range(3):
        if item:
            listener.step("Tab (the next item's list)", listener.keys("Tab"))
        listener.step("Down (a meaning for item %d)" % (item + 1), listener.keys("Down"))
    listener.step("Return: NEXT", listener.keys("Return"))
    listener.window(r"^The Answer$")
    listener.step("Tab (to the answer's text)", listener.keys("Tab"))
    for n in range(3):
        listener.step("Down", listener.keys("Down"))


def exhibit(listener, bank):
    """Quiz 1's second question (bank question 5), typed, with an exhibit:
    the exhibit opened with its button, Tab to its text, Down twice."""
    start_quiz(listener, 1)
    answer_first(listener, bank)
    listener.step("focus on 'Exhibit #1'", listener.focus(r"^Orvik Tests", r"^Exhibit #1$"))
    listener.step("Return: open the exhibit", listener.keys("Return"))
    listener.window(r"^Exhibit")
    listener.tab_to(r"^Exhibit", {pyatspi.ROLE_TEXT, pyatspi.ROLE_DOCUMENT_TEXT, pyatspi.ROLE_PARAGRAPH})
    for n in range(2):
        listener.step("Down", listener.keys("Down"))
    listener.step("Escape: close the exhibit", listener.keys("Escape"))


def quit_to_review(listener, bank):
    """Quiz 1: the first question answered wrong, the second (typed, where
    the focus then is) right, the quiz quit, and 'Review answers' chosen in
    the result box."""
    start_quiz(listener, 1)
    answer_first(listener, bank, right=False)
    answer = bank["questions"][4]["answers"][0]
    listener.step("type '%s'" % answer, listener.type(answer))
    listener.step("Return: NEXT", listener.keys("Return"))
    listener.window(r"^The Answer$")
    listener.step("Return: close the answer window", listener.keys("Return"))
    listener.window(r"^Orvik Tests")
    listener.step("focus on 'Quit Test'", listener.focus(r"^Orvik Tests", r"^Quit Test$"))
    listener.step("Return: quit", listener.keys("Return"))
    listener.window(r"^Test Complete!$")
    listener.step("focus on 'Review answers'", listener.focus(r"^Test Complete!$", r"^Review answers$"))
    listener.step("Return: review", listener.keys("Return"))
    listener.window(r"^Review - ")


def review(listener, bank):
    """The review window after a quiz quit: Down and Up through the questions,
    Tab to the selected question's detail and Down through it, then Tab to
    the score-by-topic table."""
    quit_to_review(listener, bank)
    listener.step("Down", listener.keys("Down"))
    listener.step("Up", listener.keys("Up"))
    listener.tab_to(r"^Review - ", {pyatspi.ROLE_TEXT, pyatspi.ROLE_DOCUMENT_TEXT, pyatspi.ROLE_PARAGRAPH})
    for n in range(3):
        listener.step("Down (in the detail)", listener.keys("Down"))
    listener.tab_to(r"^Review - ", {pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE})
    listener.step("Down (in the table)", listener.keys("Down"))


def results(listener, bank):
    """'Keep my results' ticked in the review window, then the options
    window's 'Results...', gone through with Tab."""
    quit_to_review(listener, bank)
    listener.set_box(r"^Review - ", r"^Keep my results on this computer$", True)
    for w in listener.driver.windows():
        if w.getRole() in ca.DIALOG_ROLES and not w.name.startswith("Review - "):
            listener.step("Return: close the message '%s'" % w.name, listener.keys("Return"))
    listener.step("focus on 'Close'", listener.focus(r"^Review - ", r"^Close$"))
    # Space: Return on a focused button that is not the window's default
    # does nothing here (nor on 'Results...').
    listener.step("Space: close the review", listener.keys("space"))
    listener.window("^%s$" % re.escape(bank["test_title"]))
    listener.step("Return on 'I Agree'", listener.keys("Return"))
    listener.window(r"^Start the QUIZ$")
    listener.step("focus on 'Results...'", listener.focus(r"^Start the QUIZ$", r"^Results"))
    listener.step("Space: the results window", listener.keys("space"))
    listener.window(r"^Results")
    for n in range(4):
        listener.step("Tab", listener.keys("Tab"))
    # On the page tabs: Right; then Tab into that page and Down.
    for name, key in (("Tab", "Tab"), ("Right (on the page tabs)", "Right"), ("Tab", "Tab"), ("Down", "Down")):
        listener.step(name, listener.keys(key))


SCENARIOS = {"welcome": welcome, "questions": questions, "typed": typed,
             "exam": exam, "exhibit": exhibit, "review": review, "results": results, "matching": matching}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    parser.add_argument("program")
    parser.add_argument("transcript", help="the file to write the transcript to")
    arguments = parser.parse_args()

    with open(SCENARIO_BANK, encoding="utf-8") as f:
        bank = json.load(f)
    log_path = os.path.join(os.environ["A11Y_SESSION_DIR"], "orca-debug.log")
    listener = Listener(arguments.program, MATCHING_BANK if arguments.scenario == "matching" else SCENARIO_BANK,
                        log_path)
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
