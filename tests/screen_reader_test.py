#!/usr/bin/python3
"""Plays the game by ear, as a blind player would with a screen reader.

On a private session bus, with the desktop's accessibility bus and a virtual
screen of its own, the window is opened on a copy of the game's data folder
and played through the accessibility bus alone: controls are found by their
names and pressed through their actions, lists are chosen from through their
selection, and everything the player learns comes from the bus's events: the
story lines, the news of the message line, money, status and battle, and the
focus. It reads the opening to its end, reaches the first town, the tavern,
takes a request, travels until a monster bars the way, drives it off and
arrives.

    screen_reader_test.py KIRAVEL GAME_DIR
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

# A step waits this long for what it expects to hear; nothing is timed.
PATIENCE_MS = 60000
SESSION_MARK = "KIRAVEL_SCREEN_READER_SESSION"
NAME = "ミンヤ"


def in_own_session():
    """Runs the test again inside a session bus of its own."""
    if os.environ.get(SESSION_MARK):
        return
    env = dict(os.environ, **{SESSION_MARK: "1"})
    env.pop("DBUS_SESSION_BUS_ADDRESS", None)
    env.pop("AT_SPI_BUS_ADDRESS", None)
    os.execvpe("dbus-run-session", ["dbus-run-session", "--", sys.executable] + sys.argv, env)


class Failure(Exception):
    pass


def start_screen(children):
    """An X server of its own; its display number comes through a pipe once it is ready."""
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                               "-nolisten", "tcp"], pass_fds=(write,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    children.append(server)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read, 16)
        if not chunk:
            raise Failure("the virtual screen did not start")
        number += chunk
    os.close(read)
    return ":" + number.decode().strip()


def start_window_manager(display, work, children):
    """Openbox gives the window the focus, as a desktop would; it says when it is up."""
    ready = os.path.join(work, "openbox-ready")
    os.mkfifo(ready)
    manager = subprocess.Popen(["openbox", "--startup", "sh -c 'echo > %s'" % ready],
                               env=dict(os.environ, DISPLAY=display),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    children.append(manager)
    with open(ready) as fifo:
        fifo.read()


def start_accessibility_bus():
    """The session bus starts at-spi-bus-launcher on the first question for
    the accessibility bus's address, and answers once it is up."""
    subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                    "/org/a11y/bus", "org.a11y.Bus.GetAddress"], check=True,
                   stdout=subprocess.DEVNULL)


def data_folder(game_dir, work):
    folder = os.path.join(work, "game")
    os.makedirs(folder)
    for part in ("img", "txt"):
        shutil.copytree(os.path.join(game_dir, part), os.path.join(folder, part))
    shutil.copy(os.path.join(game_dir, "bgm.wav"), folder)
    return folder


def story_lines(folder, scene):
    """The text lines of a scene as the player is to hear them."""
    with open(os.path.join(folder, "txt", scene + ".dat"), encoding="cp932") as script:
        lines = [line.rstrip("\r\n") for line in script]
    heard = []
    for line in lines:
        if line.startswith(("tugi", ">end")):
            break
        if line.startswith((">p", ">img", "--", ">html")) or not line:
            continue
        heard.append(line.replace("-m", NAME))
    return heard


class Ear:
    """What the player hears from the bus, event by event."""

    def __init__(self, pyatspi, GLib):
        self.pyatspi = pyatspi
        self.GLib = GLib
        self.lines = []        # story lines, in order
        self.page_ended = False
        self.news = []         # pieces of news, in order
        self.focused = []      # names of what took the focus
        self.app = None
        pyatspi.Registry.registerEventListener(self.heard, "object:text-changed:insert",
                                               "focus:", "object:state-changed:focused")

    def heard(self, event):
        try:
            app = event.host_application
            if app is None or app.name != "kiravel":
                return
            self.app = app
            if event.type.startswith("object:text-changed:insert"):
                self.text(event)
            elif event.type.startswith("object:state-changed:focused") and event.detail1 == 1:
                self.focused.append(event.source.name)
        except Exception as fault:  # an object gone meanwhile is no finding
            print("bus:", fault, file=sys.stderr)

    def text(self, event):
        role = event.source.getRole()
        inserted = str(event.any_data)
        if role == self.pyatspi.ROLE_STATUS_BAR:
            self.news.append(inserted)
        elif role == self.pyatspi.ROLE_LABEL:
            for line in inserted.split("\n"):
                ended = line.endswith("（ページの終わり）")
                line = line.replace("（ページの終わり）", "")
                if line:
                    self.lines.append(line)
                self.page_ended = self.page_ended or ended

    def until(self, what, condition):
        """Listens until the condition holds; fails after PATIENCE_MS."""
        expired = []
        timer = self.GLib.timeout_add(PATIENCE_MS, lambda: expired.append(True) or False)
        context = self.GLib.MainContext.default()
        try:
            while not condition():
                if expired:
                    raise Failure("never heard " + what + "; last news: " + " | ".join(self.news[-5:]))
                context.iteration(True)
        finally:
            if not expired:
                self.GLib.source_remove(timer)

    def news_since(self, count, words):
        return any(words in piece for piece in self.news[count:])


class Player:
    def __init__(self, ear):
        self.ear = ear
        self.pyatspi = ear.pyatspi

    def find(self, name, role=None, prefix=False):
        def matches(node):
            if node is None:
                return False
            named = node.name.startswith(name) if prefix else node.name == name
            return named and (role is None or node.getRole() == role) and \
                node.getState().contains(self.pyatspi.STATE_SHOWING)
        found = self.pyatspi.findDescendant(self.ear.app, matches)
        if found is None:
            raise Failure("no control named " + name)
        return found

    def press(self, name, prefix=False):
        control = self.find(name, prefix=prefix)
        actions = control.queryAction()
        for i in range(actions.nActions):
            if actions.getName(i) == "Press":
                actions.doAction(i)
                return
        raise Failure(name + " cannot be pressed")

    def choose(self, list_name, row):
        item = self.find(list_name, self.pyatspi.ROLE_LIST).getChildAtIndex(row)
        actions = item.queryAction()
        for i in range(actions.nActions):
            # A list's item is chosen by toggling it.
            if actions.getName(i) == "Toggle":
                actions.doAction(i)
                return
        raise Failure("cannot choose item %d of %s" % (row, list_name))

    def items(self, list_name):
        listed = self.find(list_name, self.pyatspi.ROLE_LIST)
        return [listed.getChildAtIndex(i).name for i in range(listed.childCount)]

    def all_controls(self):
        found = []
        def walk(node):
            for child in node:
                if child is None:
                    continue
                found.append(child)
                walk(child)
        walk(self.ear.app)
        return found


def read_scene(ear, player, expected):
    """Reads the scene to its end. At the text speed a new game starts with
    every line waits for the player, who reads on by pressing the picture."""
    start = len(ear.news)
    ear.until("the scene's first line", lambda: ear.lines)
    while not ear.news_since(start, "イベント終了"):
        heard = len(ear.lines)
        player.press("絵：", prefix=True)
        ear.until("the next line or the scene's end",
                  lambda: len(ear.lines) > heard or ear.news_since(start, "イベント終了"))
    if not ear.news_since(0, "イベント開始"):
        raise Failure("the scene's start was never said")
    if not ear.page_ended:
        raise Failure("no page's end was ever said")
    if ear.lines != expected:
        raise Failure("the story was heard as\n  " + "\n  ".join(ear.lines) +
                      "\nnot as\n  " + "\n  ".join(expected))


JAPANESE = re.compile(r"[\u3000-\u9fff\uff00-\uffef]")


def check_focus(ear):
    """Wherever a mode change put the focus, the screen reader had a name to say."""
    for name in ear.focused:
        if not JAPANESE.search(name or ""):
            raise Failure("the focus went to something named %r" % name)


def check_names(player):
    """Every control the player can reach has a Japanese name."""
    pyatspi = player.pyatspi
    for control in player.all_controls():
        state = control.getState()
        if not (state.contains(pyatspi.STATE_FOCUSABLE) and state.contains(pyatspi.STATE_SHOWING)):
            continue
        if not JAPANESE.search(control.name or ""):
            raise Failure("a %s has no Japanese name: %r" % (control.getRoleName(), control.name))


def travel_until_battle(ear, player):
    """Travels between the first two towns until a monster bars the way."""
    for journey in range(40):
        start = len(ear.news)
        # The courier starts in the first town; each journey goes to the other.
        player.choose("街", 1 - journey % 2)
        player.press("旅をする")
        ear.until("the journey's end or a monster",
                  lambda: ear.news_since(start, "ここは") or ear.news_since(start, "魔物が出現した"))
        if ear.news_since(start, "魔物が出現した"):
            return
    raise Failure("no monster in 40 journeys")


def fight(ear, player):
    if ear.focused[-1] != "笛を吹く":
        raise Failure("the battle put the focus on " + repr(ear.focused[-1]))
    for blow in range(200):
        start = len(ear.news)
        player.press("笛を吹く")
        ear.until("the flute's answer or the monster's attack", lambda: len(ear.news) > start)
        if ear.news_since(start, "魔物を追っ払った！"):
            break
    else:
        raise Failure("the monster was never driven off")
    start = len(ear.news)
    player.press("魔物を追っ払った！")
    ear.until("the arrival", lambda: ear.news_since(start, "ここは"))


def play(kiravel, game_dir):
    in_own_session()
    children = []
    work = tempfile.mkdtemp(prefix="kiravel-ear-")
    try:
        display = start_screen(children)
        start_window_manager(display, work, children)
        start_accessibility_bus()
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import GLib
        import pyatspi
        ear = Ear(pyatspi, GLib)
        folder = data_folder(game_dir, work)
        seed = os.path.join(work, "seed.scenario")
        with open(seed, "w") as scenario:
            scenario.write("seed 20261207\n")
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", HOME=work,
                   XDG_CONFIG_HOME=os.path.join(work, "config"),
                   XDG_DATA_HOME=os.path.join(work, "data"),
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", SDL_AUDIODRIVER="dummy")
        # Under AddressSanitizer: the X keyboard library gives strndup key
        # names without an end, as strndup allows; strict string checks
        # would take that for an overflow.
        if "ASAN_OPTIONS" in env:
            env["ASAN_OPTIONS"] += ":strict_string_checks=0"
        game = subprocess.Popen([kiravel, "--data", folder, "--mute", "--window", "--play", seed],
                                env=env, stdout=subprocess.DEVNULL)
        children.append(game)
        player = Player(ear)

        ear.until("the window", lambda: ear.app is not None and ear.focused)
        player.press("イージーモードで始める（LV EASY）")
        read_scene(ear, player, story_lines(folder, "opn"))
        ear.until("the town", lambda: ear.news_since(0, "ここは"))
        check_names(player)

        start = len(ear.news)
        player.press("酒場に行く")
        ear.until("the tavern", lambda: ear.news_since(start, "酒場"))
        check_names(player)
        player.choose("依頼", 0)
        player.press("依頼登録")
        ear.until("the request taken", lambda: ear.news_since(start, "仕事 1件"))

        for rumour in range(20):
            if len(player.items("街")) >= 2:
                break
            start = len(ear.news)
            player.press("街に行く")
            ear.until("the rumours", lambda: len(ear.news) > start)
        else:
            raise Failure("no second town in 20 rumours")
        travel_until_battle(ear, player)
        fight(ear, player)
        check_names(player)
        check_focus(ear)
        print("heard %d story lines and this news:\n  %s\nthe focus went to:\n  %s" %
              (len(ear.lines), "\n  ".join(ear.news), "\n  ".join(ear.focused)))
    finally:
        for child in reversed(children):
            child.terminate()
            child.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    try:
        play(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
    except Failure as failure:
        print("screen reader test:", failure, file=sys.stderr)
        sys.exit(1)
