# SPDX-License-Identifier: 0BSD
"""Runs ROMs in BlastEm on a private X server (Xvfb) and captures the
screen once the picture holds still.

BlastEm reads its settings from $HOME/.config/blastem/blastem.cfg: a copy
of the packaged defaults with vsync on and OpenGL off (else a dialog about
vsync covers the picture), the window stretched to its size, and the
borders cut off, so that a 320 x 224 window shows the 320 x 224 pixels of
the picture one to one. Everything lives in a temporary directory, and
every process is ended by its own id."""
import os
import re
import select
import signal
import subprocess
import sys
import tempfile
import time

import screen

BLASTEM = '/usr/games/blastem'
DEFAULTS = '/etc/blastem/default.cfg'
# (section, setting, value): the borders above and below a 224-line
# picture, which the emulator draws in 243 lines (NTSC) or 294 (PAL).
SETTINGS = [
    ('video', 'vsync', 'on'), ('video', 'gl', 'off'), ('video', 'aspect', 'stretch'),
    ('ntsc', 'top', '11'), ('ntsc', 'bottom', '8'), ('pal', 'top', '38'), ('pal', 'bottom', '32'),
]


def settings(defaults):
    """The packaged settings with those of SETTINGS changed; each must be found once."""
    for section, name, value in SETTINGS:
        pattern = r'(%s \{.*?\n\s*)%s [^\n]*' % (section, name)
        defaults, found = re.subn(pattern, r'\g<1>%s %s' % (name, value), defaults, count=1, flags=re.S)
        if not found:
            raise RuntimeError('%s: no setting %s in section %s' % (DEFAULTS, name, section))
    return defaults


def version():
    return subprocess.run([BLASTEM, '-v'], stdin=subprocess.DEVNULL, capture_output=True, text=True,
                          timeout=10).stdout.strip()


class Emulator:
    def __init__(self, timeout=30.0):
        self.timeout = timeout

    def __enter__(self):
        self.directory = tempfile.TemporaryDirectory(prefix='venk-rom-')
        home = self.directory.name
        os.makedirs(os.path.join(home, '.config', 'blastem'))
        os.mkdir(os.path.join(home, 'run'), 0o700)
        with open(DEFAULTS) as defaults, open(os.path.join(home, '.config', 'blastem', 'blastem.cfg'), 'w') as out:
            out.write(settings(defaults.read()))
        self.environment = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, '.config'),
                                XDG_DATA_HOME=os.path.join(home, 'data'), XDG_RUNTIME_DIR=os.path.join(home, 'run'),
                                SDL_AUDIODRIVER='dummy')
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ['Xvfb', '-displayfd', str(write_end), '-screen', '0', '%dx%dx24' % (screen.WIDTH, screen.HEIGHT),
             '-nolisten', 'tcp'], pass_fds=[write_end], stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(write_end)
        # A termination ends the run through __exit__, which ends the processes.
        signal.signal(signal.SIGTERM, lambda *_: sys.exit('terminated'))
        with os.fdopen(read_end) as display:  # the number comes once the server takes clients
            number = display.readline().strip() if select.select([display], [], [], 30)[0] else ''
        if not number:
            self.__exit__()
            raise RuntimeError('Xvfb did not start')
        self.environment['DISPLAY'] = ':' + number
        return self

    def __exit__(self, *_):
        end(self.xvfb, grace=5.0)
        self.directory.cleanup()

    def dump(self):
        return subprocess.run(['xwd', '-root', '-silent'], env=self.environment, check=True,
                              capture_output=True, timeout=10).stdout

    def capture(self, rom, region='U', still=1.0, tries=3):
        """Runs the ROM (region U for NTSC, E for PAL) until the screen shows
        something other than one colour and stays the same for `still`
        seconds; returns it as rows of RGB. Now and then, on a busy machine,
        BlastEm runs but its window stays black: then it is started again."""
        for _ in range(tries - 1):
            try:
                return self.capture_once(rom, region, still)
            except TimeoutError as error:
                print('emulator.py: %s; again' % error, file=sys.stderr)
        return self.capture_once(rom, region, still)

    def capture_once(self, rom, region, still):
        log = open(os.path.join(self.directory.name, 'blastem.log'), 'w+')
        blastem = subprocess.Popen([BLASTEM, '-g', '-r', region, rom, str(screen.WIDTH), str(screen.HEIGHT)],
                                   env=self.environment, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                                   start_new_session=True)
        try:
            deadline = time.monotonic() + self.timeout
            last, since, state = None, None, 'no picture'
            while time.monotonic() < deadline:
                if blastem.poll() is not None:
                    log.seek(0)
                    raise RuntimeError('blastem stopped (%d): %s' % (blastem.returncode, log.read()))
                dump = self.dump()
                now = time.monotonic()
                pixels = screen.xwd_pixels(dump)
                if pixels != last:
                    last, since, state = pixels, now, 'a picture that kept changing'
                elif now - since >= still:
                    picture = screen.read_xwd(dump)
                    if len({pixel for row in picture for pixel in row}) > 1:
                        return picture
                    state = 'one colour'
                time.sleep(0.1)
            log.seek(0)
            raise TimeoutError('%s: no still picture within %.0f s, only %s; blastem said: %s'
                               % (rom, self.timeout, state, log.read().strip() or 'nothing'))
        finally:
            end(blastem)
            log.close()


def end(process, grace=0.0):
    """Ends a process this module started and those it started itself: it
    was started as the leader of a group of its own, whose id the system
    keeps while any of them lives, even once the leader has ended. With a
    grace time, it is asked first (an X server then removes its socket)."""
    if grace:
        signal_group(process, signal.SIGTERM)
        try:
            process.wait(grace)
            return
        except subprocess.TimeoutExpired:
            pass
    signal_group(process, signal.SIGKILL)
    process.wait()


def signal_group(process, number):
    try:
        os.killpg(process.pid, number)
    except ProcessLookupError:
        pass
