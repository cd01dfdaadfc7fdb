"""Reading the master side of a pseudo-terminal, for the tests that run zus
or a test program on one (keyboard, key wait, console input).

A test puts tests/tools on sys.path and imports this module.
"""
import os
import select
import time


def _read_chunk(fd, wait):
    """The next bytes of fd, b"" when nothing came within wait seconds, or
    None when the other side is gone (Linux answers a read of a pty whose
    last slave is closed with EIO)."""
    ready, _, _ = select.select([fd], [], [], wait)
    if not ready:
        return b""
    try:
        chunk = os.read(fd, 4096)
    except OSError:
        return None
    return chunk or None


def read_until(fd, marker=None, timeout=10.0):
    """Reads fd until marker shows up in what was read, the other side goes
    away or timeout seconds pass, and returns every byte read. Without a
    marker it reads until the other side goes away."""
    data = b""
    deadline = time.time() + timeout
    while (marker is None or marker not in data) and time.time() < deadline:
        chunk = _read_chunk(fd, 0.1)
        if chunk is None:
            break
        data += chunk
    return data


def drain(fd, quiet=0.05):
    """Reads fd until it stays silent for quiet seconds; returns the bytes."""
    data = b""
    while True:
        chunk = _read_chunk(fd, quiet)
        if not chunk:
            return data
        data += chunk
