"""The real game under Xvfb: start-up log, window size, and the ways it ends.

Usage: test_startup.py <path to quarx>"""
import os
import re
import sys
import time
import unittest

from quarx_run import QuarxRun, assert_in_order

BINARY = None

STARTUP_LINES = [
    "timer", "rbow", "rbow init", "SDL_init video",
    re.compile(r"SDL_GetVideoInfo = \d+x\d+ @ \d+ bpp"),
    "Setting video mode: 640x480x24 fl=2",
    "SDL_SetVideoMode seems to be 1",
    re.compile(r"Screen BPP: \d+"),
    re.compile(r"Vendor     : .*"), re.compile(r"Renderer   : .*"),
    re.compile(r"Version    : .*"), re.compile(r"Extensions : .*"),
    re.compile(r"SDL_GL_RED_SIZE: requested 8, got \d+"),
    re.compile(r"SDL_GL_GREEN_SIZE: requested 8, got \d+"),
    re.compile(r"SDL_GL_BLUE_SIZE: requested 8, got \d+"),
    re.compile(r"SDL_GL_DEPTH_SIZE: requested 24, got \d+"),
    re.compile(r"SDL_GL_DOUBLEBUFFER: requested 1, got \d+"),
    "get accurate timer - 1st call", "flip - 1st call",
    re.compile(r"BGRA ext (NOT )?supported"),
    re.compile(r"Texture size limit: \d+"),
    "init fbo", "2D VP", "OGRB init [OK]",
    "Cptn", "Network", "Input", "Window mode", "Create DXin", "sdl_grab",
    "reptr", "getexe", "cd", re.compile(r"set cdir to: /.*"),
    re.compile(r"exepath=curdir= /.*"),
    "Init Finalized",
]

SHUTDOWN_LINES = ["Shut down VXL", "vxl is shut down", "exit"]


class StartupTest(unittest.TestCase):
    def setUp(self):
        self.run_ = QuarxRun(BINARY)

    def tearDown(self):
        self.run_.close()

    def started(self):
        self.assertTrue(self.run_.wait_for_line("Init Finalized"), self.run_.output())
        return self.run_.window_id()

    def test_log_window_size_and_quit_event(self):
        wid = self.started()
        lines = self.run_.lines()
        assert_in_order(lines, STARTUP_LINES)
        exe_dir = [l for l in lines if l.startswith("exepath=curdir= ")][0].split(" ", 1)[1]
        self.assertEqual(exe_dir, os.path.dirname(os.path.realpath(BINARY)))
        w, h, _, _ = self.run_.window_geometry(wid)
        self.assertEqual((w, h), (640, 480))
        # What the close button and SIGTERM deliver: an SDL quit event.
        self.run_.terminate()
        self.assertEqual(self.run_.wait(), 0)
        lines = self.run_.lines()
        assert_in_order(lines, SHUTDOWN_LINES)
        self.assertNotIn("VXL Error", self.run_.output())
        self.assertEqual(lines[-1], "exit")

    def test_escape_does_not_quit_but_alt_f4_does(self):
        wid = self.started()
        w, h, x, y = self.run_.window_geometry(wid)
        self.run_.xdotool("mousemove", str(x + w // 2), str(y + h // 2))
        self.run_.xdotool("keydown", "Escape")
        time.sleep(0.5)
        self.run_.xdotool("keyup", "Escape")
        time.sleep(1.0)
        self.assertIsNone(self.run_.proc.poll(), "Escape ended the game")
        self.run_.xdotool("keydown", "Alt_L", "keydown", "F4")
        try:
            self.assertEqual(self.run_.wait(timeout=15), 0)
        finally:
            self.run_.xdotool("keyup", "F4", "keyup", "Alt_L")
        assert_in_order(self.run_.lines(), SHUTDOWN_LINES)


if __name__ == "__main__":
    BINARY = sys.argv.pop(1)
    unittest.main(verbosity=2)
