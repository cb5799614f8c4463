#!/usr/bin/env python3
"""The local update service: nginx over HTTPS on loopback, serving the version
document, the download-information documents, a package on one main host and
two mirrors, the product web pages, and a few broken update hosts for tests.

  demo_service.py start --dir DIR [--port P] [--package FILE]
  demo_service.py stop --dir DIR

`start` writes DIR/base_url (the update host) and DIR/ca.pem (the CA that
signed the service's certificate) and returns once nginx answers.
"""
import argparse
import hashlib
import json
import os
import shutil
import signal
import socket
import ssl
import subprocess
import sys
import time
import urllib.request

MIRRORS = 2


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def port_free(port):
    with socket.socket() as s:
        try:
            s.bind(("127.0.0.1", port))
            return True
        except OSError:
            return False


def run(*cmd):
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def make_certificates(d):
    """A private CA and a server certificate for 127.0.0.1 / localhost."""
    ca_key, ca, key, cert = (os.path.join(d, n) for n in ("ca.key", "ca.pem", "server.key", "server.pem"))
    if os.path.exists(cert):
        return
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", ca_key, "-out", ca,
        "-days", "3650", "-subj", "/CN=Kelo Demo CA")
    csr = os.path.join(d, "server.csr")
    ext = os.path.join(d, "server.ext")
    with open(ext, "w") as f:
        f.write("subjectAltName=IP:127.0.0.1,DNS:localhost\nbasicConstraints=CA:FALSE\n"
                "keyUsage=digitalSignature,keyEncipherment\nextendedKeyUsage=serverAuth\n")
    run("openssl", "req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", csr, "-subj", "/CN=127.0.0.1")
    run("openssl", "x509", "-req", "-in", csr, "-CA", ca, "-CAkey", ca_key, "-CAcreateserial", "-out", cert,
        "-days", "3650", "-extfile", ext)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("utf-8"))


def demo_package(d):
    """A stand-in package when none is given: 3 MB of fixed pseudo-random bytes."""
    path = os.path.join(d, "demo-package.bin")
    if not os.path.exists(path):
        seed = b"kelo demo package"
        out = bytearray()
        block = seed
        while len(out) < 3 * 1024 * 1024 + 12345:
            block = hashlib.sha256(block).digest()
            out += block * 64
        write(path, bytes(out[:3 * 1024 * 1024 + 12345]))
    return path


def build_site(root, base, mirrors, package):
    with open(package, "rb") as f:
        data = f.read()
    md5 = hashlib.md5(data).hexdigest()
    name = "KeloVoice_full_" + md5[:8] + ".exe"
    write(os.path.join(root, "files", name), data)

    def info(size=len(data), digest=md5, updater=None, backups=None):
        doc = {"size": size, "md5": digest,
               "updater": updater if updater is not None else base + "/files/" + name,
               "backupupdater": backups if backups is not None else
               [{"updater": m + "/files/" + name} for m in mirrors]}
        return json.dumps(doc, indent=2)

    version = {"update_path": "/pl/", "info": "dl_info.json", "info_64": "dl_info_64.json", "version": "1.0.0"}
    write(os.path.join(root, "pl", "version_dl.html"), json.dumps(version, indent=2))
    write(os.path.join(root, "pl", "dl_info.json"), info())
    write(os.path.join(root, "pl", "dl_info_64.json"), info())
    write(os.path.join(root, "im", "index.html"), "<html><body><h1>KeloVoice</h1></body></html>")
    write(os.path.join(root, "im", "agreement.html"), "<html><body><h1>KeloVoice agreement</h1></body></html>")

    # Broken update hosts, each a path under the same server: the host base
    # URL may carry a path, and the documents are looked up below it.
    cases = {
        "html": ("<html><body>maintenance</body></html>", None),
        "version-not-object": ("[\"update_path\", \"/pl/\"]", None),
        "info-missing": (json.dumps({"update_path": "/pl/", "info": "nothing.json", "info_64": "nothing.json"}), None),
        "info-bad-md5": (json.dumps(dict(version)), info(digest="0" * 31)),
        "info-wrong-md5": (json.dumps(dict(version)), info(digest="0123456789abcdef0123456789abcdef")),
        "info-size-zero": (json.dumps(dict(version)), info(size=0)),
        "info-bitness": (json.dumps({"update_path": "/pl/", "info": "a32.json", "info_64": "a64.json"}), None),
        "version-once": (json.dumps(dict(version)), info()),
        # Two mebibytes: more than the client takes for a document.
        "info-huge": (json.dumps(dict(version)), info()[:-1] + " " * (2 << 20) + "}"),
    }
    for case, (version_doc, info_doc) in cases.items():
        write(os.path.join(root, "case", case, "pl", "version_dl.html"), version_doc)
        if info_doc is not None:
            for doc in ("dl_info.json", "dl_info_64.json"):
                write(os.path.join(root, "case", case, "pl", doc), info_doc)
    write(os.path.join(root, "case", "info-bitness", "pl", "a32.json"), info(digest="3" * 32))
    write(os.path.join(root, "case", "info-bitness", "pl", "a64.json"), info(digest="6" * 32))
    return md5, len(data)


def nginx_conf(d, root, ports):
    servers = []
    for port in ports:
        servers.append("""
    server {
        listen 127.0.0.1:%d ssl;
        ssl_certificate %s;
        ssl_certificate_key %s;
        root %s;
        location / { index index.html; }
        location /pl/ { default_type application/json; }
        # Answers the probe, then drops the connection of the next request
        # (444 closes it without a reply): a version document that cannot be
        # fetched after the host was chosen.
        location /case/version-once/ { limit_req zone=once; limit_req_status 444; }
    }""" % (port, os.path.join(d, "server.pem"), os.path.join(d, "server.key"), root))
    return """
worker_processes 1;
pid %(d)s/nginx.pid;
error_log %(d)s/error.log;
daemon on;
events { worker_connections 256; }
http {
    access_log %(d)s/access.log;
    client_body_temp_path %(d)s/tmp;
    proxy_temp_path %(d)s/tmp;
    fastcgi_temp_path %(d)s/tmp;
    uwsgi_temp_path %(d)s/tmp;
    scgi_temp_path %(d)s/tmp;
    types { text/html html; application/json json; application/octet-stream exe bin; }
    default_type application/octet-stream;
    sendfile on;
    keepalive_timeout 5;
    limit_req_zone $server_port zone=once:1m rate=1r/m;
%(servers)s
}
""" % {"d": d, "servers": "".join(servers)}


def stop(d):
    pid_file = os.path.join(d, "nginx.pid")
    if not os.path.exists(pid_file):
        return
    try:
        with open(pid_file) as f:
            pid = int(f.read().strip())
        os.kill(pid, signal.SIGQUIT)
        for _ in range(50):
            os.kill(pid, 0)
            time.sleep(0.1)
    except (OSError, ValueError):
        pass


def wait_ready(url, ca):
    context = ssl.create_default_context(cafile=ca)
    for _ in range(100):
        try:
            with urllib.request.urlopen(url, context=context, timeout=2) as r:
                r.read()
                return True
        except OSError:
            time.sleep(0.1)
    return False


def start(args):
    d = os.path.abspath(args.dir)
    os.makedirs(os.path.join(d, "tmp"), exist_ok=True)
    stop(d)
    make_certificates(d)
    port = args.port or free_port()
    for _ in range(50):  # a service stopped just before may still hold it
        if port_free(port):
            break
        time.sleep(0.1)
    else:
        print("port %d is taken" % port, file=sys.stderr)
        return 1
    ports = [port] + [free_port() for _ in range(MIRRORS)]
    base = "https://127.0.0.1:%d" % port
    mirrors = ["https://127.0.0.1:%d" % p for p in ports[1:]]
    root = os.path.join(d, "www")
    shutil.rmtree(root, ignore_errors=True)
    package = args.package or demo_package(d)
    md5, size = build_site(root, base, mirrors, package)
    conf = os.path.join(d, "nginx.conf")
    write(conf, nginx_conf(d, root, ports))
    subprocess.run(["nginx", "-p", d, "-c", conf], check=True)
    if not wait_ready(base + "/pl/version_dl.html", os.path.join(d, "ca.pem")):
        print("update service did not come up; see %s/error.log" % d, file=sys.stderr)
        return 1
    write(os.path.join(d, "base_url"), base)
    print("update service %s (mirrors %s), package %d bytes, md5 %s" % (base, " ".join(mirrors), size, md5))
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("command", choices=["start", "stop"])
    parser.add_argument("--dir", required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--package")
    args = parser.parse_args()
    if args.command == "stop":
        stop(os.path.abspath(args.dir))
        return 0
    return start(args)


if __name__ == "__main__":
    sys.exit(main())
