#!/usr/bin/python3
# What the player sees without speech, read through the accessibility bus: "told", one message
# naming speech-dispatcher; "played", no message any more and the word placed by Space.
import os
import re
import sys

import pyatspi

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'smoke'))
from atspitree import nodes  # noqa: E402


found = nodes()
told = [n for n in found if 'speech-dispatcher' in (n.name or '') and
        n.getRoleName() in ('label', 'alert', 'dialog', 'text')]
dialogs = [n for n in found if n.getRoleName() in ('alert', 'dialog') and
           n.getState().contains(pyatspi.STATE_SHOWING)]
if sys.argv[1] == 'told':
    if len(told) != 1:
        sys.exit('%d messages name speech-dispatcher, not one' % len(told))
else:
    if told or dialogs:
        sys.exit('a message is still or again on show')
    cells = [n.name for n in found if re.match(r'row \d, column \d: 李子', n.name or '')]
    if not cells:
        sys.exit('the word was not placed: the game does not play on')
