#!/usr/bin/env python3
"""The local update service started, used and restarted the way the main job
does it: on a fixed port, again at once after a stop (the port then still has
connections in TIME-WAIT), again while an interrupted run's service is alive,
and refused with the listener named when something else listens."""
import http.client
import json
import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SERVICE = os.path.join(HERE, "..", "..", "tools", "demo-service", "demo_service.py")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def running(pid):
    """Alive and not a zombie (a daemon's exit may stay unreaped here)."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def service(*args):
    return subprocess.run([sys.executable, SERVICE] + list(args), capture_output=True, text=True, timeout=120)


def open_version(d, port):
    """One HTTPS request on a kept-alive connection, returned open: when the
    service stops, nginx closes it first, and the port is left with a socket
    in TIME-WAIT, as after a real run."""
    context = ssl.create_default_context(cafile=os.path.join(d, "ca.pem"))
    connection = http.client.HTTPSConnection("127.0.0.1", port, context=context, timeout=10)
    connection.request("GET", "/pl/version_dl.html")
    response = connection.getresponse()
    return connection, json.loads(response.read())


def fetch_version(d, port):
    connection, document = open_version(d, port)
    connection.close()
    return document


def plain_bind_fails(port):
    with socket.socket() as s:
        try:
            s.bind(("127.0.0.1", port))
            return False
        except OSError:
            return True


class DemoServiceRestart(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="kelo-service-")
        os.chmod(self.dir, 0o755)  # nginx's workers run as another user
        self.addCleanup(shutil.rmtree, self.dir, True)
        self.addCleanup(service, "stop", "--dir", self.dir)

    def start(self, port):
        return service("start", "--dir", self.dir, "--port", str(port))

    def test_restart_on_the_same_port_right_after_a_stop(self):
        port = free_port()
        first = self.start(port)
        self.assertEqual(first.returncode, 0, first.stderr)
        connection, document = open_version(self.dir, port)
        self.assertEqual(document["info_64"], "dl_info_64.json")
        service("stop", "--dir", self.dir)
        # Closed without a TLS close_notify, so the orphaned server side ends
        # in TIME-WAIT instead of being reset.
        connection.sock.shutdown(socket.SHUT_RDWR)
        connection.close()
        # What used to stop the second start: a bind without SO_REUSEADDR fails.
        self.assertTrue(plain_bind_fails(port), "no TIME-WAIT left; the case is not exercised")

        second = self.start(port)
        self.assertEqual(second.returncode, 0, second.stderr)
        self.assertEqual(fetch_version(self.dir, port)["update_path"], "/pl/")

    def test_service_left_by_an_interrupted_run_is_replaced(self):
        port = free_port()
        self.assertEqual(self.start(port).returncode, 0)
        with open(os.path.join(self.dir, "nginx.pid")) as f:
            old_pid = int(f.read())
        again = self.start(port)  # no stop in between: the old nginx still listens
        self.assertEqual(again.returncode, 0, again.stderr)
        with open(os.path.join(self.dir, "nginx.pid")) as f:
            self.assertNotEqual(int(f.read()), old_pid)
        self.assertFalse(running(old_pid))
        fetch_version(self.dir, port)

    def test_a_real_listener_is_named(self):
        with socket.socket() as listener:
            listener.bind(("127.0.0.1", 0))
            listener.listen()
            port = listener.getsockname()[1]
            result = self.start(port)
        self.assertEqual(result.returncode, 1)
        self.assertIn("port %d is taken by" % port, result.stderr)
        self.assertIn("(pid %d)" % os.getpid(), result.stderr)
        self.assertFalse(os.path.exists(os.path.join(self.dir, "nginx.pid")))


if __name__ == "__main__":
    unittest.main()
