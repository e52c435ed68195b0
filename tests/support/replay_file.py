# A replay file's parts, for the shell tests: where the fish eaten are kept,
# and each input item with its tick, kind (the low four bits) and first byte.
class Replay:
    def __init__(self, path):
        self.data = bytearray(open(path, "rb").read())
        self.pos = 5
        if self.data[3] >= 2: self.skip(3)  # the program's version
        self.pos += 1 + 1 + 1 + 4  # level, switches, vibration, generator
        self.skip(4)  # best scores
        self.pos += 1  # ending
        self.fish_at = self.pos
        self.skip(2)  # fish, ticks
        size = self.varint()
        self.input = (self.pos, self.pos + size)

    def varint(self):
        value = shift = 0
        while True:
            byte = self.data[self.pos]; self.pos += 1
            value |= (byte & 0x7F) << shift; shift += 7
            if byte < 0x80: return value

    def skip(self, count):
        for _ in range(count): self.varint()

    def items(self):  # (tick, kind, place, value or None)
        self.pos, end = self.input
        tick = 0
        while self.pos < end:
            place, head = self.pos, self.varint()
            tick += head >> 4
            kind, value = head & 15, None
            if kind in (12, 13, 14): value = self.varint()
            elif kind == 15 and self.varint() == 0: self.skip(2)
            elif kind == 15:  # a run of presses: one tick on per bit set
                size = (self.varint() + 6) // 8
                tick += bin(int.from_bytes(self.data[self.pos:self.pos + size], "little")).count("1")
                self.pos += size
            yield tick, kind, place, value
