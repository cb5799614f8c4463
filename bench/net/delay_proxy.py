#!/usr/bin/env python3
"""A TCP proxy that makes loopback look like a wide-area link.

  delay_proxy.py --listen PORT --target PORT --delay-ms D [--rate BYTES_PER_S]

Every byte is delivered D ms after the proxy read it, in both directions, so
a round trip costs 2 x D. A new connection carries no data for one extra round
trip (the TCP handshake a real link would need before the first byte). With
--rate, each connection's downstream is paced to that many bytes a second.
Slow start is not modelled, which flatters new connections.
"""
import argparse
import asyncio
import time


async def pipe(reader, writer, delay, rate):
    queue = asyncio.Queue()

    async def deliver():
        sent, started = 0, None
        while True:
            due, chunk = await queue.get()
            if chunk is None:
                break
            wait = due - time.monotonic()
            if wait > 0:
                await asyncio.sleep(wait)
            if rate:
                started = started or time.monotonic()
                ahead = (sent + len(chunk)) / rate - (time.monotonic() - started)
                if ahead > 0:
                    await asyncio.sleep(ahead)
                sent += len(chunk)
            writer.write(chunk)
            await writer.drain()
        writer.close()

    task = asyncio.ensure_future(deliver())
    try:
        while True:
            chunk = await reader.read(65536)
            if not chunk:
                break
            queue.put_nowait((time.monotonic() + delay, chunk))
    except (ConnectionError, OSError):
        pass
    queue.put_nowait((time.monotonic() + delay, None))
    try:
        await task
    except (ConnectionError, OSError):
        pass


async def serve(args):
    delay = args.delay_ms / 1000.0

    async def handle(client_reader, client_writer):
        await asyncio.sleep(2 * delay)  # the handshake's round trip
        try:
            up_reader, up_writer = await asyncio.open_connection("127.0.0.1", args.target)
        except OSError:
            client_writer.close()
            return
        await asyncio.gather(pipe(client_reader, up_writer, delay, 0),
                             pipe(up_reader, client_writer, delay, args.rate))

    server = await asyncio.start_server(handle, "127.0.0.1", args.listen)
    async with server:
        await server.serve_forever()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--listen", type=int, required=True)
    parser.add_argument("--target", type=int, required=True)
    parser.add_argument("--delay-ms", type=float, default=0.0, help="one-way delay")
    parser.add_argument("--rate", type=float, default=0.0, help="bytes per second per connection, 0: none")
    asyncio.run(serve(parser.parse_args()))


if __name__ == "__main__":
    main()
