# Tries the Windows build from outside, under Wine in a Japanese locale and on an X server of its
# own: the portable zip unpacked into a folder whose name has Japanese characters and a space,
# its command line, its keys and the files it leaves, then the installer and the uninstaller.
# Prints the start-up times of the program and of a bare Qt window built the same way.
# Usage: windows.py <build-windows folder> <version> [<Linux build folder>] [unittest arguments]
# With a Linux build, the settings file both builds write after the same keys are compared.
import os, shutil, signal, statistics, struct, subprocess, sys, tempfile, time, unittest, zipfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from xsession import (LOG_LINE, ROOT, SETUP_KEYS, end_x_server, ini_lines, keys, keys_and_headers,
                      start, start_x_server, stop, wait_for, windows, xdotool)

OUT = Path(sys.argv.pop(1)).resolve()
VERSION = sys.argv.pop(1)
LINUX = Path(sys.argv.pop(1)).resolve() if len(sys.argv) > 1 and not sys.argv[1].startswith('-') else None
ZIP, SETUP = OUT / f'Numerisphere-{VERSION}-win64.zip', OUT / f'Numerisphere-{VERSION}-setup.exe'
PREFIX = Path(os.environ.get('WINEPREFIX', Path.home() / '.wine'))
WINE = dict(WINEDEBUG='-all', LANG='ja_JP.UTF-8', LC_ALL='ja_JP.UTF-8', WINEPREFIX=str(PREFIX))
# A profile name in code page 932 with characters of the NEC rows (①) and a wave dash (～).
NAME = '"8888888888888888888888888888888888888888888 誕生日①～"'.encode('cp932')


def wine_env():  # the X server's display is known only once it runs
    return dict(os.environ, **WINE)


def windows_path(path):
    return 'Z:' + str(path).replace('/', '\\')


def started_as(program):
    """The processes whose first argument is program, each with its other arguments."""
    found = []
    for entry in Path('/proc').iterdir():
        try:
            arguments = (entry / 'cmdline').read_bytes().decode().split('\0')
        except (OSError, UnicodeDecodeError):
            continue
        if entry.name.isdigit() and arguments[0] == program:
            found.append((int(entry.name), [argument for argument in arguments[1:] if argument]))
    return found


def settings_with_keys(ini):
    """The lines of the settings file, the window's place left out."""
    return [line for line in ini_lines(ini) if not line.startswith(b'WinPos')]


def unpacked(folder):
    """The portable program from the zip, unpacked into folder."""
    with zipfile.ZipFile(ZIP) as archive:
        archive.extractall(folder)
    return folder / f'Numerisphere-{VERSION}'


class Windows(unittest.TestCase):
    def setUp(self):
        self.dir = Path(tempfile.mkdtemp(prefix='ユーザー 1-', dir=ROOT))
        self.program = unpacked(self.dir)
        self.ini = self.program / 'nmr.ini'

    def run_program(self, *arguments):
        return subprocess.run(['wine', self.program / 'numerisphere.exe', *arguments],
                              env=wine_env(), capture_output=True, timeout=120)

    def start(self, executable, env=None, command=('wine',)):
        process = start([*command, executable], env=env or wine_env())
        self.addCleanup(stop, process)
        window = wait_for(lambda: windows(process), 'the main window', 120)[0]
        xdotool('windowfocus', '--sync', window)
        wait_for(lambda: xdotool('getwindowname', window) == ['Numerisphere'], 'the title')
        return process, window

    def same_keys(self, process, window, ini, shot=None):
        """Enter draws, logged beside the settings; Ctrl+O and Enter save the settings dialog;
        Ctrl+W ends the program. With shot, a picture of the window after the draw."""
        log = ini.parent / 'nmr.log'
        keys(window, 'Return')
        wait_for(lambda: log.exists() and LOG_LINE.search(log.read_bytes()), 'the draw logged')
        if shot:
            time.sleep(1)  # the display's animation ends
            subprocess.run(['import', '-window', window, shot], check=True, timeout=60)
        keys(window, 'ctrl+o')
        keys(wait_for(lambda: set(windows(process)) - {window}, 'the dialog').pop(), 'Return')
        wait_for(lambda: ini.exists() and b'\r\nBirthDay=' in ini.read_bytes(), 'the save')
        keys(window, 'ctrl+w')
        self.assertEqual(process.wait(60), 0)

    def test_the_portable_program_keeps_its_files_beside_itself(self):
        self.ini.write_bytes(b'[Probability]\r\nPB0=' + NAME + b'\r\n')
        process, window = self.start(self.program / 'numerisphere.exe')
        # F1 opens the help page through the shell, its path one argument whatever its folder's name.
        keys(window, 'F1')
        page = windows_path(self.program / 'nmr-help/_RESOURCE/main.htm')
        shell = wait_for(lambda: [pid for pid, arguments in started_as('explorer.exe') if arguments == [page]],
                         'the help page opened', 60)
        for pid in shell:
            os.kill(pid, signal.SIGKILL)
        self.same_keys(process, window, self.ini, OUT / 'main-window-wine.png')
        written = self.ini.read_bytes()
        self.assertEqual(written.count(b'\n'), written.count(b'\r\n'))
        self.assertIn(b'\r\nPB0=' + NAME + b'\r\n', written)
        self.assertEqual(keys_and_headers(self.ini)[-7:], [b'[Setup]', *SETUP_KEYS])
        # The program carries the icon the build drew, every size of it.
        icon, program = (OUT / 'build/icons/numerisphere.ico').read_bytes(), (self.program / 'numerisphere.exe').read_bytes()
        images = [icon[offset:offset + size] for size, offset in
                  (struct.unpack_from('<II', icon, 6 + 16 * entry + 8) for entry in range(struct.unpack_from('<H', icon, 4)[0]))]
        self.assertEqual([image[:4] in program and image in program for image in images], [True] * 6)
        log = (self.program / 'nmr.log').read_bytes()
        self.assertEqual(b''.join(b'%s | %s\r\n' % line for line in LOG_LINE.findall(log)), log)
        self.assertEqual(len(LOG_LINE.findall(log)), 1)
        if LINUX is None:
            self.skipTest('no Linux build to compare the settings file with')
        linux = Path(shutil.copytree(LINUX / 'bin', self.dir / 'linux'))
        (linux / 'nmr.ini').write_bytes(b'[Probability]\r\nPB0=' + NAME + b'\r\n')
        runtime = self.dir / 'run'
        runtime.mkdir(mode=0o700)
        env = dict(os.environ, XDG_RUNTIME_DIR=str(runtime), QT_QPA_PLATFORM='xcb')
        self.same_keys(*self.start(linux / 'numerisphere', env=env, command=()), linux / 'nmr.ini')
        self.assertEqual(settings_with_keys(self.ini), settings_with_keys(linux / 'nmr.ini'))

    def test_the_command_line_answers_in_the_console(self):
        text = lambda answer: (answer.returncode, answer.stdout.decode('cp932').replace('\r\n', '\n'),
                               answer.stderr.decode('cp932').replace('\r\n', '\n'))
        self.assertEqual(text(self.run_program('--version')), (0, f'Numerisphere {VERSION}\n', ''))
        status, out, error = text(self.run_program('--bogus'))
        self.assertEqual((status, out), (2, ''))
        self.assertIn('「numerisphere --help」で使い方を表示します', error)
        status, out, error = text(self.run_program('--draw', '5'))
        self.assertEqual((status, error), (0, ''))
        for line in out.splitlines():
            drawn = [int(number) for number in line.split()]
            self.assertTrue(len(drawn) == 6 and drawn == sorted(set(drawn)) and 1 <= drawn[0] and drawn[-1] <= 43, line)
        self.assertEqual(len(out.splitlines()), 5)
        # Past results into the database beside the program; a bad line gives status 1.
        results = self.dir / '当せん 結果.csv'
        results.write_bytes('第1回 2000/10/5 2 8 10 13 27 30 (39)\n2 1 2 3\n'.encode('cp932'))
        name = windows_path(results)
        self.assertEqual(text(self.run_program('--import', name)), (
            1, f'{name}: 新規 1 回、補完 0 回、登録済み 0 回、読めなかった行 1\n', f'{name}:2: 本数字が 6 つではありません\n'))
        self.assertTrue((self.program / 'nmr-history.sqlite').is_file())
        self.assertFalse(self.ini.exists())

    def test_the_installer_installs_and_the_uninstaller_keeps_the_users_files(self):
        installed = PREFIX / 'drive_c/Program Files/Numerisphere'
        shortcut = PREFIX / 'drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Numerisphere.lnk'
        # Whatever an earlier run that failed midway left in the prefix goes first.
        shutil.rmtree(installed, ignore_errors=True)
        shortcut.unlink(missing_ok=True)
        self.assertEqual(subprocess.run(['wine', SETUP, '/S'], env=wine_env(), timeout=300).returncode, 0)
        wait_for(lambda: (installed / 'Uninstall.exe').exists(), 'the installation', 120)
        self.assertTrue((installed / 'numerisphere.exe').is_file() and shortcut.is_file())
        appdata = [path for path in PREFIX.glob('drive_c/users/*/AppData/Roaming') if 'Public' not in str(path)][0]
        ini = appdata / 'Numerisphere/nmr.ini'
        ini.unlink(missing_ok=True)
        self.same_keys(*self.start(installed / 'numerisphere.exe'), ini)
        self.assertFalse((installed / 'nmr.ini').exists())
        subprocess.run(['wine', installed / 'Uninstall.exe', '/S'], env=wine_env(), timeout=120)
        wait_for(lambda: not installed.exists() and not shortcut.exists(), 'the uninstallation', 120)
        self.assertTrue(ini.is_file())


def start_up_times():
    """Until the window maps, under Wine: the median of five starts each after one to warm up."""
    program = unpacked(Path(tempfile.mkdtemp(dir=ROOT)))
    shutil.copy(OUT / 'build/nmr_barewindow.exe', program)
    times = {}
    for label, executable in (('Numerisphere', 'numerisphere.exe'), ('a bare Qt window', 'nmr_barewindow.exe')):
        seconds = []
        for _ in range(6):
            began = time.monotonic()
            process = start(['wine', program / executable], env=wine_env())
            wait_for(lambda: windows(process), 'a window', 120)
            seconds.append(time.monotonic() - began)
            stop(process)
        times[label] = statistics.median(seconds[1:])
    return ', '.join(f'{label} {value:.2f} s' for label, value in times.items())


if __name__ == '__main__':
    start_x_server()
    result = unittest.main(verbosity=2, exit=False).result
    if result.wasSuccessful():
        print(f'start-up under Wine until the window maps: {start_up_times()}')
    subprocess.run(['wineserver', '-k'], env=wine_env(), timeout=60)
    end_x_server()
    sys.exit(not result.wasSuccessful())
