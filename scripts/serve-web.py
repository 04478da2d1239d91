#!/usr/bin/python3
"""Serves the browser build's folder on 127.0.0.1 only, with the types browsers
insist on (.wasm as application/wasm), and prints the page's address.

Usage: scripts/serve-web.py FOLDER [PORT]   (PORT 0: any free port)
The first line on standard output is the address, for scripts to read."""
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm', '.js': 'text/javascript',
                      '.replay': 'text/plain', '.script': 'text/plain', '.ttf': 'font/ttf',
                      '.webmanifest': 'application/manifest+json'}

    def end_headers(self):
        self.send_header('Cache-Control', 'no-cache')
        super().end_headers()

    def log_message(self, format, *args):  # quiet: the address is what matters
        pass


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    folder = sys.argv[1]
    port = int(sys.argv[2]) if len(sys.argv) == 3 else 0
    handler = functools.partial(Handler, directory=folder)
    with http.server.ThreadingHTTPServer(('127.0.0.1', port), handler) as server:
        print(f'http://127.0.0.1:{server.server_address[1]}/', flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == '__main__':
    main()
