#!/usr/bin/env python3
"""The local update service: nginx over HTTPS on loopback, serving the version
document, the download-information documents, a package on one main host and
two mirrors, the product web pages, and a few broken update hosts for tests.

  demo_service.py start --dir DIR [--port P] [--package FILE] [--pad-to BYTES]
                         [--pad-seed TEXT] [--rate RATE]
  demo_service.py stop --dir DIR

`start` first stops a service still running from DIR (an interrupted earlier
run), then writes DIR/base_url (the update host), DIR/ca.pem (the CA that
signed the service's certificate) and DIR/package.json (digest, size, hosts)
and returns once nginx answers. A port counts as taken only when something
listens on it; the message then names the listener.
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


def port_bindable(port):
    """Whether nginx could bind the port now. nginx sets SO_REUSEADDR, so
    sockets of an earlier service still in TIME-WAIT do not count; only a
    listening socket does."""
    with socket.socket() as s:
        s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            s.bind(("127.0.0.1", port))
            return True
        except OSError:
            return False


def _listening_inodes(port):
    inodes = set()
    for table in ("/proc/net/tcp", "/proc/net/tcp6"):
        try:
            with open(table) as f:
                next(f)
                for line in f:
                    fields = line.split()
                    local, state, inode = fields[1], fields[3], fields[9]
                    if state == "0A" and int(local.rsplit(":", 1)[1], 16) == port:
                        inodes.add(inode)
        except OSError:
            pass
    return inodes


def listener_of(port):
    """Who listens on the port, as "NAME (pid N)" where the process can be
    found, else a plain description; None when nothing listens."""
    inodes = _listening_inodes(port)
    if not inodes:
        return None
    wanted = {"socket:[%s]" % i for i in inodes}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        fd_dir = "/proc/%s/fd" % pid
        try:
            for fd in os.listdir(fd_dir):
                if os.readlink(os.path.join(fd_dir, fd)) in wanted:
                    with open("/proc/%s/cmdline" % pid, "rb") as f:
                        cmd = f.read().replace(b"\0", b" ").decode(errors="replace").strip()
                    return "%s (pid %s)" % (cmd or "?", pid)
        except OSError:
            continue
    return "a process this user cannot see"


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
        write(path, padding(3 * 1024 * 1024 + 12345, b"kelo demo package"))
    return path


def padding(size, seed):
    """`size` bytes of fixed pseudo-random filler, so a padded package looks
    like a real one to the download and the digest."""
    out = bytearray()
    block = seed
    while len(out) < size:
        block = hashlib.sha256(block).digest()
        out += block * 64
    return bytes(out[:size])


def build_site(root, base, mirrors, package, pad_to=0, pad_seed=b"kelo padding"):
    with open(package, "rb") as f:
        data = f.read()
    if pad_to > len(data):
        # Bytes after the last section of a program are ignored by the loader.
        data += padding(pad_to - len(data), pad_seed)
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


def nginx_conf(d, root, ports, rate=""):
    servers = []
    for port in ports:
        servers.append("""
    server {
        listen 127.0.0.1:%d ssl;
        ssl_certificate %s;
        ssl_certificate_key %s;
        root %s;
        location / { index index.html; }
        location /files/ { %s }
        location /pl/ { default_type application/json; }
        # Answers the probe, then drops the connection of the next request
        # (444 closes it without a reply): a version document that cannot be
        # fetched after the host was chosen.
        location /case/version-once/ { limit_req zone=once; limit_req_status 444; }
    }""" % (port, os.path.join(d, "server.pem"), os.path.join(d, "server.key"), root,
            ("limit_rate %s;" % rate) if rate else ""))
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


def _service_pid(d):
    """The pid in DIR/nginx.pid when it names a live nginx master of this
    folder's configuration; a stale file naming a reused pid is ignored."""
    try:
        with open(os.path.join(d, "nginx.pid")) as f:
            pid = int(f.read().strip())
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            cmd = f.read().decode(errors="replace")
    except (OSError, ValueError):
        return None
    return pid if "nginx" in cmd and os.path.join(d, "nginx.conf") in cmd else None


def _alive(pid):
    try:
        os.kill(pid, 0)
    except OSError:
        return False
    # A zombie (an exited child of ours) counts as gone.
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().split(")")[-1].split()[0] != "Z"
    except OSError:
        return False


def stop(d):
    """Stops the service of DIR, if one runs (also one left behind by an
    interrupted earlier run), and waits until it is gone."""
    pid = _service_pid(d)
    if pid is not None:
        for sig, wait in ((signal.SIGQUIT, 50), (signal.SIGTERM, 30), (signal.SIGKILL, 30)):
            try:
                os.kill(pid, sig)
            except OSError:
                break
            for _ in range(wait):
                if not _alive(pid):
                    break
                time.sleep(0.1)
            if not _alive(pid):
                break
    try:
        os.remove(os.path.join(d, "nginx.pid"))
    except OSError:
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
    if not port_bindable(port):
        who = listener_of(port) or "another socket"
        print("port %d is taken by %s; stop it (or, for a service started with another --dir, run "
              "\"demo_service.py stop --dir THAT_DIR\") and try again" % (port, who), file=sys.stderr)
        return 1
    ports = [port] + [free_port() for _ in range(MIRRORS)]
    base = "https://127.0.0.1:%d" % port
    mirrors = ["https://127.0.0.1:%d" % p for p in ports[1:]]
    root = os.path.join(d, "www")
    shutil.rmtree(root, ignore_errors=True)
    package = args.package or demo_package(d)
    md5, size = build_site(root, base, mirrors, package, args.pad_to, args.pad_seed.encode())
    conf = os.path.join(d, "nginx.conf")
    write(conf, nginx_conf(d, root, ports, args.rate))
    started = subprocess.run(["nginx", "-p", d, "-c", conf], stderr=subprocess.PIPE, text=True)
    if started.returncode != 0:
        # A listener that appeared since the check above: nginx's own bind decides.
        print("nginx did not start: %s" % started.stderr.strip(), file=sys.stderr)
        return 1
    if not wait_ready(base + "/pl/version_dl.html", os.path.join(d, "ca.pem")):
        print("update service did not come up; see %s/error.log" % d, file=sys.stderr)
        return 1
    write(os.path.join(d, "base_url"), base)
    write(os.path.join(d, "package.json"), json.dumps({"md5": md5, "size": size, "base": base, "mirrors": mirrors}))
    print("update service %s (mirrors %s), package %d bytes, md5 %s" % (base, " ".join(mirrors), size, md5))
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("command", choices=["start", "stop"])
    parser.add_argument("--dir", required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--package")
    parser.add_argument("--pad-to", type=int, default=0, help="pad the package to this many bytes")
    parser.add_argument("--pad-seed", default="kelo padding", help="seed of the padding (a new seed, a new digest)")
    parser.add_argument("--rate", default="", help="nginx limit_rate per connection for the package, e.g. 4m")
    args = parser.parse_args()
    if args.command == "stop":
        stop(os.path.abspath(args.dir))
        return 0
    return start(args)


if __name__ == "__main__":
    sys.exit(main())
