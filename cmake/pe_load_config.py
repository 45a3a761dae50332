#!/usr/bin/env python3
"""Post-link step: points the PE header's Load Configuration Directory at _load_config_used.

binutils 2.40 links the structure but leaves the directory entry empty, so Windows would never read it. The entry
gets the structure's address and the size its first field gives; the header checksum is made again. Reads the
symbol from the image's COFF symbol table, so it runs before stripping. Changes nothing else, so the output depends
on the linked bytes alone.
"""
import struct
import sys

LOAD_CONFIG_ENTRY = 10
I386 = 0x14C
SYMBOL_RECORD = 18


def fail(message):
    sys.exit(f"pe_load_config: {message}")


def checksum(image, field):
    """The PE header checksum: 16-bit one's-complement-style sum of the file without its own field, plus its size."""
    data = image[:field] + b"\0\0\0\0" + image[field + 4:]
    if len(data) % 2:
        data += b"\0"
    total = 0
    for (word,) in struct.iter_unpack("<H", data):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    return (total + len(image)) & 0xFFFFFFFF


def main(path):
    image = bytearray(open(path, "rb").read())
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        fail(f"{path} is not a PE image")
    machine, sections, symbols_at, symbol_count, optional_size = struct.unpack_from("<HHxxxxIIH", image, pe + 4)
    optional = pe + 24
    pe32_plus = struct.unpack_from("<H", image, optional)[0] == 0x20B
    directories = optional + (112 if pe32_plus else 96)
    # NumberOfRvaAndSizes, the field before the directories: the header must have room for entry 10.
    entries = struct.unpack_from("<I", image, directories - 4)[0]
    if entries <= LOAD_CONFIG_ENTRY:
        fail(f"{path} has {entries} data directory entries, too few to hold the load configuration's")
    section_table = optional + optional_size
    # Each section: its address, the size of its bytes in the file, and where they start.
    section = [struct.unpack_from("<12xIII", image, section_table + 40 * i) for i in range(sections)]

    name = b"__load_config_used" if machine == I386 else b"_load_config_used"
    strings = symbols_at + SYMBOL_RECORD * symbol_count
    found = None
    index = 0
    while symbols_at and index < symbol_count:
        short, value, number, aux = struct.unpack_from("<8sIhxxxB", image, symbols_at + SYMBOL_RECORD * index)
        if short[:4] == b"\0\0\0\0":
            start = strings + struct.unpack_from("<I", short, 4)[0]
            symbol = bytes(image[start:image.index(b"\0", start)])
        else:
            symbol = short.rstrip(b"\0")
        if symbol == name and number > 0:
            found = (number - 1, value)
            break
        index += 1 + aux
    if not found:
        fail(f"{path} has no {name.decode()} symbol (stripped already, or the structure was not linked in)")

    virtual_address, raw_size, raw_at = section[found[0]]
    rva = virtual_address + found[1]
    size = struct.unpack_from("<I", image, raw_at + found[1])[0]
    if size == 0:
        fail(f"{name.decode()} says it is 0 bytes: its first field, the structure's size, is not set")
    if found[1] + size > raw_size:
        fail(f"{name.decode()} says it is {size} bytes, more than its section holds")
    entry = directories + 8 * LOAD_CONFIG_ENTRY
    present = struct.unpack_from("<II", image, entry)
    if present not in ((0, 0), (rva, size)):
        fail(f"the directory entry already holds {present[0]:#x}, {present[1]:#x}, not {rva:#x}, {size:#x}")
    struct.pack_into("<II", image, entry, rva, size)
    field = optional + 64
    struct.pack_into("<I", image, field, checksum(image, field))
    open(path, "wb").write(image)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        fail("usage: pe_load_config.py PROGRAM.exe")
    main(sys.argv[1])
