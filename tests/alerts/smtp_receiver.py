#!/usr/bin/env python3
"""A mail server for tests on a loopback port.

It insists on STARTTLS (with the certificate and key given) and on a login
with the one user and password given, and prints every message it accepts
as one JSON line on standard output; "ready" once it listens.

    smtp_receiver.py --port N --cert CERT --key KEY --user U --password P
"""
import argparse
import json
import signal
import ssl
import threading

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword


class Keeper:
    async def handle_DATA(self, server, session, envelope):
        print(json.dumps({
            "from": envelope.mail_from,
            "to": envelope.rcpt_tos,
            "tls": session.ssl is not None,
            "authenticated": bool(session.authenticated),
            "data": envelope.content.decode("utf-8", "replace"),
        }), flush=True)
        return "250 Message accepted"


def main():
    parser = argparse.ArgumentParser()
    for option in ("--port", "--cert", "--key", "--user", "--password"):
        parser.add_argument(option, required=True)
    arguments = parser.parse_args()
    user = arguments.user.encode()
    password = arguments.password.encode()

    def authenticate(server, session, envelope, mechanism, data):
        accepted = (isinstance(data, LoginPassword) and data.login == user
                    and data.password == password)
        return AuthResult(success=accepted, handled=False)

    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(arguments.cert, arguments.key)
    controller = Controller(Keeper(), hostname="127.0.0.1", port=int(arguments.port),
                            tls_context=context, require_starttls=True, auth_required=True,
                            authenticator=authenticate)
    controller.start()
    print("ready", flush=True)
    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    signal.signal(signal.SIGINT, lambda *_: stop.set())
    stop.wait()
    controller.stop()


if __name__ == "__main__":
    main()
