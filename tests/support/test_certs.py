#!/usr/bin/env python3
"""Makes a throw-away certificate authority and two server certificates with
openssl: one for 127.0.0.1 and one for another host name (for host-name
mismatch cases). Used by the local test servers and the benchmarks.

Usage: test_certs.py DIR  -> writes DIR/ca.pem, DIR/server.{pem,key},
                             DIR/other.{pem,key}
"""
import os
import subprocess
import sys


def _run(args, cwd):
    subprocess.run(args, cwd=cwd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def _leaf(folder, name, subject, san):
    ext = os.path.join(folder, name + ".ext")
    with open(ext, "w") as f:
        f.write("basicConstraints=CA:FALSE\n"
                "keyUsage=critical,digitalSignature,keyEncipherment\n"
                "extendedKeyUsage=serverAuth\n"
                "subjectAltName=%s\n" % san)
    _run(["openssl", "req", "-newkey", "rsa:2048", "-nodes", "-keyout", name + ".key",
          "-out", name + ".csr", "-subj", subject], folder)
    _run(["openssl", "x509", "-req", "-in", name + ".csr", "-CA", "ca.pem", "-CAkey", "ca.key",
          "-CAcreateserial", "-out", name + ".pem", "-days", "3", "-sha256", "-extfile", name + ".ext"],
         folder)


def make_certs(folder):
    """Creates the files once; returns the folder."""
    os.makedirs(folder, exist_ok=True)
    if os.path.exists(os.path.join(folder, "other.pem")):
        return folder
    _run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.pem",
          "-days", "3", "-sha256", "-subj", "/CN=Kelo Loopback Test CA",
          "-addext", "basicConstraints=critical,CA:TRUE",
          "-addext", "keyUsage=critical,keyCertSign,cRLSign"], folder)
    _leaf(folder, "server", "/CN=127.0.0.1", "IP:127.0.0.1,DNS:localhost")
    _leaf(folder, "other", "/CN=other.example", "DNS:other.example")
    return folder


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    print(make_certs(sys.argv[1]))
