#!/usr/bin/python3
# Reads the game's cells and status bar through the accessibility bus, as a screen reader
# does, and checks what the keys before did: notes 1 and 2 in the first cell, every empty cell
# noted after Ctrl+Shift+N, and no note of the word placed there in a cell that sees it.
import re
import sys

import pyatspi

from atspitree import nodes


def cells():
    found = {}
    for node in nodes():
        m = re.match(r'row (\d), column (\d): (.*)', node.name or '')
        if m:
            found[(int(m.group(1)), int(m.group(2)))] = m.group(3)
    return found


def notes(text):
    return text.split('notes: ')[1].split(', ') if 'notes: ' in text else []


stage = sys.argv[1]
shown = cells()
if len(shown) != 81:
    sys.exit('the bus shows %d cells, not 81' % len(shown))
if stage == 'notes':
    if shown[(1, 1)] != 'empty, notes: apple, pear':
        sys.exit('row 1, column 1 is heard as %r' % shown[(1, 1)])
elif stage == 'placed':
    placed = shown[(1, 1)]
    empty = [k for k, v in shown.items() if v.startswith('empty')]
    if any('notes: ' not in shown[k] for k in empty):
        sys.exit('an empty cell has no notes after Ctrl+Shift+N')
    sees = [k for k in shown if k != (1, 1) and (k[0] == 1 or k[1] == 1 or
                                                 (k[0] <= 3 and k[1] <= 3))]
    if any(placed in notes(shown[k]) for k in sees):
        sys.exit('%s is still noted in a cell that sees it' % placed)
elif stage == 'hint':
    said = [n.name for n in nodes() if n.getRoleName() == 'label' and
            re.search(r'row \d, column \d', n.name or '')]
    if not said:
        sys.exit('the status bar names no cell after Ctrl+H')
print(stage, 'ok')
