# What the end-to-end runs share: an X server of their own (Xvfb), the programs they start, keys
# sent with xdotool, waits for a condition, and reading the settings file. Every wait and every other program run has a
# time bound. Whatever ends the run (a failure, ctest's timeout), no process and no folder stays
# behind: each case ends its programs, and at exit whatever is left ends, the X server last,
# asked to end (SIGTERM) so that it removes its lock file.
import atexit, os, re, shutil, signal, subprocess, tempfile, time
from pathlib import Path

SCREEN = (1024, 768)
SETUP_KEYS = [b'Log', b'Display', b'Level', b'WinPos', b'WinPosX', b'WinPosY']
LOG_LINE = re.compile(rb'(\d\d/\d\d/\d\d \d\d:\d\d:\d\d) \| (\d\d(?: \d\d){5})')

children = []
ROOT = Path(tempfile.mkdtemp(prefix='numerisphere-e2e-'))
signal.signal(signal.SIGTERM, signal.default_int_handler)


def stop(child):
    child.terminate()
    try: child.wait(10)
    except subprocess.TimeoutExpired: child.kill(), child.wait()


atexit.register(shutil.rmtree, ROOT, ignore_errors=True)
atexit.register(lambda: [stop(child) for child in reversed(children)])


def wait_for(condition, what, seconds=20):
    deadline = time.monotonic() + seconds
    while not (result := condition()):
        if time.monotonic() > deadline:
            raise AssertionError(f'waited {seconds} s in vain for {what}')
        time.sleep(0.05)
    return result


def xdotool(*arguments):
    return subprocess.run(['xdotool', *arguments], capture_output=True, text=True,
                          timeout=20).stdout.split()


def start(command, **options):
    child = subprocess.Popen(command, **options)
    children.append(child)
    return child


def start_x_server():
    # -noreset: otherwise the server resets when its last client leaves, and the next start
    # fails at random. It writes its display number once it accepts clients.
    read, write = os.pipe()
    start(['Xvfb', '-displayfd', str(write), '-screen', '0', '%dx%dx24' % SCREEN, '-nolisten',
           'tcp', '-noreset'], pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as server:
        os.environ['DISPLAY'] = ':' + server.readline().strip()


def end_x_server():
    # The programs first, then the X server, which must leave no lock file behind.
    for child in reversed(children):
        stop(child)
    lock = Path('/tmp/.X%s-lock' % os.environ['DISPLAY'].lstrip(':'))
    if lock.exists():
        raise AssertionError(f'the X server left {lock} behind')


def ini_lines(path):
    return path.read_bytes().split(b'\r\n')


def keys_and_headers(path):
    return [line.split(b'=')[0] if b'=' in line else line for line in ini_lines(path) if line]


def windows(process):
    return xdotool('search', '--onlyvisible', '--pid', str(process.pid))


def keys(window, *names):
    xdotool('windowfocus', '--sync', window, 'key', '--clearmodifiers', *names)
