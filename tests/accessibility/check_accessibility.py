#!/usr/bin/python3
"""Checks that a student with a screen reader or a keyboard alone can take a quiz.

The checker starts the program, finds it in the AT-SPI tree (the tree Orca
reads) and goes through a quiz the way a student would: it presses buttons
through their AT-SPI actions and types with xdotool. In each window it
checks what a screen reader user and a keyboard user depend on:

  - the window is a top-level "frame" (a dialog box may be a "dialog" or
    "alert") with a title;
  - no control a student acts on is without a name;
  - each answer of a choice question is one control whose name holds the
    answer's text ("B: Designated port");
  - the question text and the exhibit are exposed whole through the Text
    interface, so that Orca can read them line by line;
  - the diagram picture carries a text description;
  - pressing Tab repeatedly reaches every control that takes the focus.

Every failure is printed as one line, "WINDOW: what is wrong", and the
checker goes on; it exits 1 when anything failed, 2 when it could not drive
the program to a window it was asked to check.

It is meant to run inside tests/accessibility/session.sh (through run.sh),
which provides the display, the D-Bus session and the AT-SPI bus.
"""

import argparse
import json
import os
import re
import subprocess
import sys
import time

import pyatspi

# The windows in the order a quiz meets them; --window picks some of them.
WINDOWS = [
    "welcome", "options", "question", "diagram", "answer", "typed-question",
    "exhibit", "result-box", "review", "results",
]

# Roles of the controls a student acts on: each needs a name.
ACTED_ON = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST,
    pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE,
    pyatspi.ROLE_TREE, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_SLIDER,
}
# Roles an answer control may have, whatever the window's design.
ANSWER_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TABLE_CELL,
}
# Containers whose items take the focus inside them (a list's rows): the
# container counts as one stop of the Tab order.
ITEM_CONTAINERS = {
    pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_TABLE,
    pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_PAGE_TAB_LIST,
}
DIALOG_ROLES = {pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT, pyatspi.ROLE_FILE_CHOOSER}


class DriveError(Exception):
    """The program could not be brought to the next window."""


def wait_until(condition, seconds, what):
    """Polls condition() until it returns something true, which it returns.

    Waiting on the condition itself (not a fixed pause) keeps the checker
    fast on a quiet machine and patient on a loaded one."""
    end = time.monotonic() + seconds
    while True:
        try:
            value = condition()
        except Exception:  # an object that went away while we looked
            value = None
        if value:
            return value
        if time.monotonic() > end:
            raise DriveError("timed out after %ss waiting for %s" % (seconds, what))
        time.sleep(0.05)


def squash(text):
    """Text with its white space made single spaces, for comparing."""
    return " ".join((text or "").split())


def short(text, length=50):
    text = squash(text)
    return text if len(text) <= length else text[:length - 3] + "..."


def states(obj):
    return obj.getState()


def is_showing(obj):
    s = states(obj)
    return s.contains(pyatspi.STATE_SHOWING) and s.contains(pyatspi.STATE_VISIBLE)


def walk(obj):
    """obj and its descendants that are on screen."""
    yield obj
    for child in obj:
        if child is not None and is_showing(child):
            yield from walk(child)


def text_of(obj):
    """The whole text obj exposes through the Text interface, or None."""
    try:
        text = obj.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, text.characterCount)


def describe(obj):
    """How a failure line names a control: its role and name or text, or for
    a control with neither, where it is in its window, to find it by."""
    name = obj.name or text_of(obj) or ""
    if name:
        return "%s '%s'" % (obj.getRoleName(), short(name, 40))
    try:
        # Screen positions, made relative to the top-level window (Qt 6.4
        # gives screen positions for window ones too).
        window = obj
        while window.parent is not None and window.parent.getRole() != pyatspi.ROLE_APPLICATION:
            window = window.parent
        box = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        origin = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return "unnamed %s (%dx%d at %d,%d in the window)" % (
            obj.getRoleName(), box.width, box.height, box.x - origin.x, box.y - origin.y)
    except (NotImplementedError, AttributeError):
        return "unnamed %s" % obj.getRoleName()


def do_action(obj, *names):
    """Performs obj's first AT-SPI action among names (Press, Toggle...)."""
    action = obj.queryAction()
    available = [action.getName(i) for i in range(action.nActions)]
    for name in names:
        if name in available:
            action.doAction(available.index(name))
            return
    raise DriveError("%s offers none of the actions %s (it has %s)" % (describe(obj), names, available))


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True, timeout=20)


class Checker:
    def __init__(self, program, bank_file, wanted, dump):
        self.bank_file = bank_file
        self.wanted = wanted
        self.dump = dump
        self.failures = []
        self.checked = []
        with open(bank_file, encoding="utf-8") as f:
            self.bank = json.load(f)
        self.process = subprocess.Popen([program, bank_file])
        self.app = wait_until(self.find_app, 30, "the program in the AT-SPI tree")

    # -- finding things ----------------------------------------------------

    def find_app(self):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def windows(self):
        if self.process.poll() is not None:
            raise DriveError("the program ended (status %s)" % self.process.returncode)
        return [w for w in self.app if w is not None and is_showing(w)]

    def window(self, pattern, seconds=15):
        """The program's top-level window, on screen, whose title or
        contents match pattern (a regular expression)."""
        regex = re.compile(pattern)

        def found():
            for w in self.windows():
                if regex.search(w.name or ""):
                    return w
            return None
        return wait_until(found, seconds, "a window matching /%s/" % pattern)

    def control(self, window, pattern, roles=None, seconds=10):
        """The control on screen in window whose name matches pattern."""
        regex = re.compile(pattern)

        def found():
            for obj in walk(window):
                if regex.search(obj.name or "") and (roles is None or obj.getRole() in roles):
                    return obj
            return None
        return wait_until(found, seconds, "a control matching /%s/ in '%s'" % (pattern, window.name))

    def press(self, window, pattern):
        do_action(self.control(window, pattern, {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON}), "Press", "Click")

    def set_box(self, window, pattern, checked):
        box = self.control(window, pattern, {pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON})
        if states(box).contains(pyatspi.STATE_CHECKED) != checked:
            # Space on the focused box, as a student would: Qt's AT-SPI
            # "Toggle" action flips the box without the click the program
            # acts on (keeping results is done on the click).
            self.activate(window)
            do_action(box, "SetFocus")
            wait_until(lambda: states(box).contains(pyatspi.STATE_FOCUSED), 10, "'%s' to take the focus" % box.name)
            xdotool("key", "--clearmodifiers", "space")
            wait_until(lambda: states(box).contains(pyatspi.STATE_CHECKED) == checked, 10,
                       "'%s' to be %s" % (box.name, "ticked" if checked else "unticked"))

    def focused(self, window):
        """The object of window that has the keyboard focus, or None.

        Qt marks the current row of a list and the current tab of a tab bar
        "focused" even while the focus is elsewhere, so the inside of such a
        container counts only when the container itself has the focus."""
        def search(obj):
            for child in obj:
                if child is None or not is_showing(child):
                    continue
                focused = states(child).contains(pyatspi.STATE_FOCUSED)
                if child.getRole() in ITEM_CONTAINERS:
                    if focused:
                        return search(child) or child
                    continue
                if focused:
                    # The deepest: a button box is "focused" with its button.
                    return search(child) or child
                found = search(child)
                if found is not None:
                    return found
            return None
        return search(window)

    def activate(self, window):
        """Gives window the keyboard focus, as a click on it would."""
        if states(window).contains(pyatspi.STATE_ACTIVE):
            return
        # The X window of the program with that title (compared here, as
        # xdotool's own patterns are POSIX regular expressions).
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid)],
                               timeout=20, capture_output=True, text=True).stdout.split()
        for x_window in found:
            title = subprocess.run(["xdotool", "getwindowname", x_window], timeout=20,
                                   capture_output=True, text=True).stdout.rstrip("\n")
            if title == window.name:
                subprocess.run(["xdotool", "windowactivate", "--sync", x_window], timeout=20,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                break
        wait_until(lambda: states(window).contains(pyatspi.STATE_ACTIVE), 10,
                   "'%s' to get the keyboard focus" % window.name)

    def dismiss_messages(self, expected):
        """Closes message boxes that came up on the way (a notice about the
        kept results), noting them; expected: the window the drive is on."""
        for w in self.windows():
            if w.getRole() in DIALOG_ROLES and w.name != expected.name:
                texts = [squash(o.name) for o in walk(w) if o.getRole() == pyatspi.ROLE_LABEL and o.name]
                print("note: a message box '%s' came up: %s" % (w.name, " / ".join(texts)))
                self.press(w, r"^(OK|Close)$")

    # -- what is reported --------------------------------------------------

    def fail(self, where, message):
        line = "%s: %s" % (where, message)
        self.failures.append(line)
        print("FAIL " + line, flush=True)

    def wants(self, where):
        return not self.wanted or where in self.wanted

    def all_checked(self):
        return self.wanted and all(w in self.checked for w in self.wanted)

    # -- the checks --------------------------------------------------------

    def check_window(self, where, window, roles=("frame",), question=None, exhibit=None, picture=False):
        if not self.wants(where):
            return
        self.checked.append(where)
        print("== %s (%s '%s')" % (where, window.getRoleName(), window.name), flush=True)
        if self.dump:
            self.dump_tree(window)
        if window.getRoleName() not in roles:
            self.fail(where, "the window's role is '%s', not %s" % (window.getRoleName(), " or ".join("'%s'" % r for r in roles)))
        if not squash(window.name):
            self.fail(where, "the window has no title")
        self.check_names(where, window)
        if question is not None:
            self.check_question(where, window, question)
        if exhibit is not None:
            self.check_whole_text(where, window, "the exhibit", exhibit)
        if picture:
            self.check_picture(where, window)
        self.check_tab_order(where, window)

    def check_names(self, where, window):
        for obj in walk(window):
            role = obj.getRole()
            # Read-only text is read, not acted on: only an editable one is an entry.
            entry = role == pyatspi.ROLE_TEXT and states(obj).contains(pyatspi.STATE_EDITABLE)
            if (role in ACTED_ON or entry) and not squash(obj.name):
                text = text_of(obj)
                shown = " (it shows '%s')" % short(text) if text and squash(text) else ""
                self.fail(where, "a %s has no accessible name%s" % ("text entry" if entry else obj.getRoleName(), shown))

    def texts_in(self, window):
        return [squash(text_of(o)) for o in walk(window) if text_of(o)]

    def check_whole_text(self, where, window, what, expected):
        expected = squash(expected)
        texts = self.texts_in(window)
        if any(expected in t for t in texts):
            return
        first_line = squash(expected.splitlines()[0] if expected else "")[:30]
        if any(first_line and first_line in t for t in texts):
            self.fail(where, "%s is exposed only in part through the Text interface" % what)
        else:
            self.fail(where, "%s ('%s') is not exposed through the Text interface" % (what, short(expected, 40)))

    def check_question(self, where, window, question):
        self.check_whole_text(where, window, "the question text", question["question"])
        if question.get("question_type") == "FILL_IN":
            return
        candidates = [o for o in walk(window) if o.getRole() in ANSWER_ROLES]
        for number, answer in enumerate(question["answers"], start=1):
            letter = "ABCDEF"[number - 1]
            wanted_text = squash(answer).lower()
            if any(wanted_text in squash(o.name).lower() for o in candidates):
                continue
            lettered = re.compile(r"^\W*(answer\s+)?%s\b" % letter, re.IGNORECASE)
            named = [o for o in candidates if lettered.search(squash(o.name))]
            if named:
                self.fail(where, "answer %d is named '%s', not its text ('%s')" % (number, named[0].name, short(answer, 40)))
            else:
                self.fail(where, "answer %d ('%s') has no control named with its text" % (number, short(answer, 40)))

    def check_picture(self, where, window):
        pictures = [o for o in walk(window) if o.getRole() in (pyatspi.ROLE_IMAGE, pyatspi.ROLE_ICON)]
        if not pictures:
            self.fail(where, "no image is exposed for the diagram")
        for picture in pictures:
            if not squash(picture.name) and not squash(picture.description):
                self.fail(where, "the diagram picture has no text description (accessible name or description)")

    def focus_stops(self, window):
        """The controls of window that take the keyboard focus: the stops
        Tab must reach."""
        stops = []

        def visit(obj, inside_container):
            for child in obj:
                if child is None or not is_showing(child):
                    continue
                s = states(child)
                takes_focus = s.contains(pyatspi.STATE_FOCUSABLE) and s.contains(pyatspi.STATE_SENSITIVE)
                # Labels and read-only text are read, not acted on: Qt may
                # mark them focusable, but Tab need not stop on them.
                role = child.getRole()
                read_only = role == pyatspi.ROLE_LABEL or (
                    role == pyatspi.ROLE_TEXT and not s.contains(pyatspi.STATE_EDITABLE))
                if takes_focus and not inside_container and not read_only:
                    stops.append(child)
                visit(child, inside_container or child.getRole() in ITEM_CONTAINERS)
        visit(window, False)
        return stops

    def stop_of(self, obj, stops):
        """The Tab stop obj belongs to: itself, or the list it is a row of."""
        paths = {s.path: s for s in stops}
        while obj is not None:
            if obj.path in paths:
                return paths[obj.path]
            obj = obj.parent
        return None

    @staticmethod
    def radio_group(button):
        """The radio buttons one Tab stop stands for: Tab enters a group of
        radio buttons once, at the ticked one, and the arrows move inside it.
        The group is the buttons the button is a member of, or else those
        beside it in the same parent."""
        for relation in button.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_MEMBER_OF:
                return [relation.getTarget(i) for i in range(relation.getNTargets())]
        return [c for c in button.parent if c is not None and c.getRole() == pyatspi.ROLE_RADIO_BUTTON]

    def check_tab_order(self, where, window):
        stops = self.focus_stops(window)
        if not stops:
            self.fail(where, "no control takes the keyboard focus")
            return
        self.activate(window)
        reached, order = set(), []
        stop_paths = {s.path for s in stops}

        def reach(obj):
            stop = self.stop_of(obj, stops)
            order.append(describe(stop if stop is not None else obj))
            if stop is None:
                return False
            came_round = stop.path in reached
            reached.add(stop.path)
            # A control whose focus goes to a part of it (a tab widget to its
            # tab bar) is reached with that part.
            outer = stop.parent
            while outer is not None and outer.path != window.path:
                if outer.path in stop_paths and states(outer).contains(pyatspi.STATE_FOCUSED):
                    reached.add(outer.path)
                outer = outer.parent
            if stop.getRole() == pyatspi.ROLE_RADIO_BUTTON:
                reached.update(b.path for b in self.radio_group(stop))
            return came_round

        current = self.focused(window)
        if current is None:
            self.fail(where, "no control has the keyboard focus when the window opens")
        else:
            reach(current)
        # One more press than there are stops: enough to come round once.
        for _ in range(len(stops) + 1):
            xdotool("key", "--clearmodifiers", "Tab")
            before = current

            def moved():
                now = self.focused(window)
                return now if now is not None and (before is None or now.path != before.path) else None
            try:
                current = wait_until(moved, 1.5, "the focus to move")
            except DriveError:
                current = self.focused(window)
                if current is None:
                    self.fail(where, "after Tab no control in the window has the keyboard focus")
                elif len(reached) < len(stops):
                    # Staying put is right only for a window of one control.
                    self.fail(where, "Tab leaves the focus on %s: the window's other controls are never reached" % describe(current))
                break
            if reach(current):
                break
        print("   Tab order: " + " -> ".join(order), flush=True)
        for stop in stops:
            if stop.path not in reached:
                self.fail(where, "Tab never reaches %s" % describe(stop))

    def dump_tree(self, window):
        def show(obj, depth):
            s = states(obj)
            flags = [pyatspi.stateToString(x) for x in (pyatspi.STATE_FOCUSABLE, pyatspi.STATE_FOCUSED,
                                                        pyatspi.STATE_EDITABLE, pyatspi.STATE_CHECKED) if s.contains(x)]
            text = text_of(obj)
            print("   %s%s name=%r%s %s" % ("  " * depth, obj.getRoleName(), obj.name,
                                            " text=%r" % short(text, 60) if text else "", " ".join(flags)))
            for child in obj:
                if child is not None and is_showing(child):
                    show(child, depth + 1)
        show(window, 0)

    # -- the drive through a quiz -------------------------------------------

    def question(self, bank_index):
        return self.bank["questions"][bank_index - 1]

    def run(self):
        bank_title = re.escape(self.bank["test_title"])
        welcome = self.window("^%s$" % bank_title)
        self.check_window("welcome", welcome)
        if self.all_checked():
            return
        self.press(welcome, r"^I Agree$")

        options = self.window(r"^Start the QUIZ$")
        self.check_window("options", options)
        if self.all_checked():
            return
        # A known order (quiz 1 asks bank questions 1, 5, 9...) and the
        # answers in the bank's order, so that the checker knows what is shown;
        # the answer window after every answer.
        self.set_box(options, r"^Quiz #1$", True)
        self.set_box(options, r"^Questions$", False)
        self.set_box(options, r"^Answers$", False)
        self.set_box(options, r"^WRONG\s*$", True)
        self.set_box(options, r"^RIGHT$", True)
        self.press(options, r"^Start the Quiz$")

        # Question 1 (bank question 1): a choice question with a diagram.
        first = self.question(1)
        quest = self.window(r"^Orvik Tests")
        self.control(quest, r"^NEXT")
        wait_until(lambda: any(squash(first["question"])[:40] in t for t in self.texts_in(quest)) or
                   self.control(quest, r"^Diagram #1$", seconds=0), 15, "the first question")
        self.check_window("question", quest, question=first)
        if self.all_checked():
            return
        self.press(quest, r"^Diagram #1$")
        diagram = self.window(r"^Diagram")
        self.check_window("diagram", diagram, picture=True)
        if self.all_checked():
            return
        self.press(diagram, r"^Close$")
        wait_until(lambda: not [w for w in self.windows() if w.name == diagram.name], 10, "the diagram to close")

        # No answer chosen: answered wrong, so the answer window comes.
        self.press(quest, r"^NEXT")
        answer = self.window(r"^The Answer$")
        self.check_window("answer", answer, roles=("frame", "dialog"))
        if self.all_checked():
            return
        self.press(answer, r"^Close$")

        # Question 2 (bank question 5): a typed question with an exhibit.
        second = self.question(5)
        quest = self.window(r"^Orvik Tests")
        wait_until(lambda: any(squash(second["question"])[:40] in t for t in self.texts_in(quest)) or
                   self.control(quest, r"^Exhibit #1$", seconds=0), 15, "the second question")
        self.check_window("typed-question", quest, question=second)
        if self.all_checked():
            return
        self.press(quest, r"^Exhibit #1$")
        exhibit = self.window(r"^Exhibit")
        folder = os.path.dirname(os.path.abspath(self.bank_file))
        with open(os.path.join(folder, second["exhibits"][0]), encoding="utf-8") as f:
            exhibit_text = f.read()
        self.check_window("exhibit", exhibit, exhibit=exhibit_text)
        if self.all_checked():
            return
        self.press(exhibit, r"^[Cc]lose$")
        wait_until(lambda: not [w for w in self.windows() if w.name == exhibit.name], 10, "the exhibit to close")
        # Type the answer as a student would; the Tab check may have left
        # tab characters in the box, so empty it first.
        self.activate(quest)
        entry = [o for o in walk(quest) if o.getRole() == pyatspi.ROLE_TEXT and states(o).contains(pyatspi.STATE_EDITABLE)]
        if entry:
            do_action(entry[0], "SetFocus")
            wait_until(lambda: states(entry[0]).contains(pyatspi.STATE_FOCUSED), 10, "the answer box to take the focus")
            xdotool("key", "--clearmodifiers", "ctrl+a", "BackSpace")
        xdotool("type", "--delay", "50", second["answers"][0])
        self.press(quest, r"^NEXT")
        answer = self.window(r"^The Answer$")
        self.press(answer, r"^Close$")

        # Quit the test: the result box.
        quest = self.window(r"^Orvik Tests")
        self.press(quest, r"^Quit Test$")
        result = self.window(r"^Test Complete!$")
        self.check_window("result-box", result, roles=("frame", "dialog", "alert"))
        if self.all_checked():
            return
        self.press(result, r"^Review answers$")

        review = self.window(r"^Review - ")
        self.check_window("review", review)
        if self.all_checked():
            return
        # Results are kept only when the student asks.
        self.set_box(review, r"^Keep my results on this computer$", True)
        self.dismiss_messages(review)
        self.press(review, r"^Close$")

        welcome = self.window("^%s$" % bank_title)
        self.press(welcome, r"^I Agree$")
        options = self.window(r"^Start the QUIZ$")
        self.press(options, r"^Results")
        results = self.window(r"^Results")
        self.check_window("results", results)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("program", help="the program to check (build/src/lan_switching_quiz)")
    parser.add_argument("--bank", required=True, help="a JSON bank whose quiz 1 starts with a choice question "
                        "with a diagram and then a typed question with an exhibit (the scenario bank)")
    parser.add_argument("--window", action="append", choices=WINDOWS, default=[],
                        help="check only this window (repeatable); the earlier ones are still gone through")
    parser.add_argument("--dump", action="store_true", help="print the AT-SPI tree of each window checked")
    arguments = parser.parse_args()

    started = time.monotonic()
    checker = Checker(arguments.program, arguments.bank, arguments.window, arguments.dump)
    status = 0
    try:
        checker.run()
    except DriveError as error:
        print("ERROR: could not go on after checking %s: %s" % (", ".join(checker.checked) or "nothing", error))
        status = 2
    finally:
        checker.stop()
    missing = [w for w in (arguments.window or WINDOWS) if w not in checker.checked]
    print("\n%d failure(s) in %d window(s) checked, in %.0f s" % (len(checker.failures), len(checker.checked),
                                                                 time.monotonic() - started))
    if missing:
        print("not checked: " + ", ".join(missing))
        status = 2
    for line in checker.failures:
        print("  " + line)
    if status == 0 and checker.failures:
        status = 1
    return status


if __name__ == "__main__":
    sys.exit(main())
