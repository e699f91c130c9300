#!/usr/bin/env python3
"""The program by keyboard alone, checked through AT-SPI (run by tools/ci-a11y.sh).

Builds a model of two variables and a rate relationship with keys only,
animates and stops it, zeroes the clock and saves it; reads every object of
the model canvas back from the accessibility tree; then builds the same model
with the mouse in a fresh program and requires the two files to be equal.
    keyboard_only.py KORVEL WORKDIR
"""
import os
import subprocess
import sys
import time

import pyatspi

korvel, work = sys.argv[1:3]
failures = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what)
    if not ok:
        failures.append(what)


def xdo(*args):
    subprocess.run(["xdotool", *args], check=True)


def keys(*names):
    xdo("key", "--delay", "200", *names)
    time.sleep(0.7)


def wait_for(what, find, timeout=30):
    end = time.time() + timeout
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.3)
    sys.exit("FAIL  " + what)


def nodes(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from nodes(child)


def find(role, name=None):
    """The first node of the program's tree with that role (and name)."""
    for app in pyatspi.Registry.getDesktop(0):
        if app is None:
            continue
        for n in nodes(app):
            if role in (None, n.getRoleName()) and name in (None, n.name):
                return n
    return None


def centre(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x + e.width // 2, e.y + e.height // 2


def start():
    program = subprocess.Popen([korvel], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for("the main window in the accessibility tree",
             lambda: find("frame", "Korvel - SemNome.KRL"))
    xdo("search", "--sync", "--name", "Korvel - SemNome.KRL", "windowactivate", "--sync")
    time.sleep(1)
    return program


def save_through_dialog(path):
    wait_for("the save dialog", lambda: find("dialog"))
    time.sleep(0.5)
    xdo("type", "--delay", "30", path)
    keys("Return")
    wait_for("the saved file " + path, lambda: os.path.exists(path))
    time.sleep(0.5)


# Keys alone.
by_keys = os.path.join(work, "teclado.KRL")
program = start()
keys("c", "Return", "l", "Return")
keys("t", "Tab", "Return", "Tab", "Tab", "Return")
keys("F5")
time.sleep(1)
keys("shift+F5", "F9")

canvas = wait_for("the model canvas", lambda: find("canvas", "Modelo"))
children = [canvas.getChildAtIndex(i) for i in range(canvas.childCount)]
check(len(children) == 3, "the canvas holds two variables and one relationship")
for child in children:
    value = ""
    try:
        value = " = %g" % child.queryValue().currentValue
    except NotImplementedError:
        pass
    print("      %s: %s%s" % (child.getRoleName(), child.name, value))
names = sorted(c.name for c in children)
check(names == ["Nome para Nome, taxa, mesma direção, normal",
                "Nome, variável contínua, só positivos, nível 0,00",
                "Nome, variável liga-desliga, só positivos, nível 0,00"],
      "each object says its kind, range and level")
check(find("push button", "Animar") is not None
      and find("push button", "Animar").description == "Tecla F5",
      "the toolbar's buttons have names and keys")
graph = find("chart", "Gráfico")
check(graph is not None and graph.description == "Nenhuma variável desenhada",
      "the graph panel sums itself up")
clock = find("label", "0")
check(clock is not None and clock.description == "Relógio", "the clock says its ticks")

keys("alt+a", "s")
save_through_dialog(by_keys)
program.terminate()
program.wait()

# The mouse, at the places the keys chose.
with open(by_keys, "rb") as f:
    lines = f.read().decode("latin-1").split("\r\n")
places = [(int(lines[i + 3]), int(lines[i + 4]))
          for i, line in enumerate(lines) if line.startswith("VARIAVEL-----")]
by_mouse = os.path.join(work, "mouse.KRL")
program = start()
canvas = wait_for("the model canvas", lambda: find("canvas", "Modelo"))
e = canvas.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def click(x, y):
    xdo("mousemove", "--sync", str(x), str(y), "click", "1")
    time.sleep(0.5)


def click_button(name):
    click(*centre(find(None, name)))


for tool, (x, y) in zip(["Variável contínua", "Variável liga-desliga"], places):
    click_button(tool)
    click(e.x + x, e.y + y)
click_button("Relacionamento de taxa")
for x, y in places:
    click(e.x + x, e.y + y)
click_button("Salvar")
save_through_dialog(by_mouse)
program.terminate()
program.wait()

with open(by_mouse, "rb") as f:
    same = f.read() == open(by_keys, "rb").read()
check(same, "the file built by keys equals the one built with the mouse")
if not same:
    subprocess.run(["diff", by_keys, by_mouse])
sys.exit(1 if failures else 0)
