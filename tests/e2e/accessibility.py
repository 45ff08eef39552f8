# Walks the AT-SPI tree of the running program, then of its settings dialog, as a screen reader
# would: every interactive control must have a name, and the 43 level sliders 43 distinct names.
# Prints what is heard, in order. Run by accessibility.sh.
import re
import subprocess
import sys
import time

import pyatspi

INTERACTIVE = {getattr(pyatspi, 'ROLE_' + role) for role in ('PUSH_BUTTON', 'CHECK_BOX', 'SCROLL_BAR', 'SLIDER', 'TEXT', 'LIST', 'COMBO_BOX', 'MENU', 'MENU_ITEM', 'CHECK_MENU_ITEM')}


def controls(node):
    if node is None:
        return
    if node.getRole() in INTERACTIVE and node.getState().contains(pyatspi.STATE_SHOWING):
        yield node
    for child in node:
        yield from controls(child)


def heard(window):
    found = list(controls(window))
    for control in found:
        value = control.queryValue().currentValue if 'Value' in pyatspi.listInterfaces(control) else ''
        print(f'  {control.getRoleName()}: "{control.name}" {value} {control.description}'.rstrip())
    nameless = [control.getRoleName() for control in found if not control.name]
    if nameless:
        sys.exit(f'controls without a name: {nameless}')
    return found


def window(title):
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name.lower() == 'numerisphere':
                for frame in app:
                    if frame is not None and title in frame.name:
                        return frame
        time.sleep(0.1)
    sys.exit(f'no window of the program titled {title}')


print('main window:')
main = heard(window('Numerisphere'))
if not any(control.name == '強さ' for control in main) or not any(control.name == '表示' for control in main):
    sys.exit('the strength slider or the display is not named')
subprocess.run(['xdotool', 'key', '--clearmodifiers', 'ctrl+g'], check=True)
time.sleep(0.5)
display = next(control for control in main if control.name == '表示').queryText()
shown = display.getText(0, display.characterCount)
print(f'  after a draw, "表示" reads: {shown}')
if not re.fullmatch(r'\d\d( \d\d){5}', shown):
    sys.exit('the display does not read as a draw')
subprocess.run(['xdotool', 'key', '--clearmodifiers', 'ctrl+o'], check=True)
print('settings dialog:')
time.sleep(1)  # the chances in the descriptions follow after a pause
sliders = [c.name for c in heard(window('の設定')) if c.name.startswith('数字')]
if len(set(sliders)) != 43:
    sys.exit(f'{len(set(sliders))} distinct level slider names instead of 43')
subprocess.run(['xdotool', 'key', 'Escape'], check=True)
