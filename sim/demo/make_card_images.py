#!/usr/bin/env python3
"""Writes the co-processor images of the sample card (sim/card): deterministic bytes, a SHA-256
chain seeded with each program's name, so the images can be made again byte for byte."""
import hashlib
import os
import sys

IMAGES = [("App/NorvaneApp.bin", 8192)] + [
    (f"{folder}/{name}.bin", 4096)
    for folder, name in [("Zentra", "Zentra"), ("Quilbar", "QbRun"), ("Ovik", "Ovik"),
                         ("MarlSweep", "MarlSweep"), ("PellGather", "PellGather"),
                         ("Tersen", "Tersen"), ("RoundelProbe", "RoundelProbe"),
                         ("Kest", "Kest"), ("PellTape", "PellTape"), ("Varnet", "Varnet"),
                         ("DriftLogger", "DriftLogger")]]


def image(seed: str, size: int) -> bytes:
    out, block = b"", seed.encode()
    while len(out) < size:
        block = hashlib.sha256(block).digest()
        out += block
    return out[:size]


def main() -> None:
    card = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "card")
    for path, size in IMAGES:
        target = os.path.join(card, "Norvane", path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(image(os.path.splitext(os.path.basename(path))[0], size))


if __name__ == "__main__":
    main()
