"""A loopback HTTP server that serves an RSS feed which changes with every
request: the item titles carry a running number and the body's length
varies, so that every download writes a different file. Used by the
crash and soak tests, which run kivhost against it.

    with FeedServer() as server:
        url = server.url("/feed.xml")
"""

import http.server
import random
import threading


class _Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):  # noqa: N802 (the name http.server calls)
        server = self.server
        with server.lock:
            server.count += 1
            count = server.count
        padding = "p" * server.random.randrange(0, server.largest_pad)
        items = "".join(
            f"<item><title>Item {count}.{i}</title><description>{padding}</description></item>" for i in range(5))
        body = (f'<?xml version="1.0" encoding="utf-8"?>\n<rss version="2.0"><channel>'
                f"<title>Feed {count}</title>{items}</channel></rss>\n").encode()
        self.send_response(200)
        self.send_header("Content-Type", "application/rss+xml")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, format, *args):  # noqa: A002 (the base class's name)
        pass


class FeedServer:
    def __init__(self, largest_pad=100000, seed=1):
        self._server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), _Handler)
        self._server.daemon_threads = True
        self._server.lock = threading.Lock()
        self._server.count = 0
        self._server.random = random.Random(seed)
        self._server.largest_pad = max(1, largest_pad)
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._server.shutdown()
        self._server.server_close()

    def url(self, path):
        host, port = self._server.server_address[:2]
        return f"http://{host}:{port}{path}"

    @property
    def requests(self):
        with self._server.lock:
            return self._server.count
