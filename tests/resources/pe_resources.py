"""Reads the resources of a PE file (32- or 64-bit) and decodes dialog templates, icons and the
version resource.

Kept free of any Windows call so the shipped 32-bit program can be examined on the build
machine, where no 32-bit Windows code can run.
"""
import struct

RT_ICON = 3
RT_DIALOG = 5
RT_GROUP_ICON = 14
RT_VERSION = 16


class FormatError(Exception):
    pass


def _u16(data, at):
    if at + 2 > len(data):
        raise FormatError("read past the end at 0x%x" % at)
    return struct.unpack_from("<H", data, at)[0]


def _u32(data, at):
    if at + 4 > len(data):
        raise FormatError("read past the end at 0x%x" % at)
    return struct.unpack_from("<I", data, at)[0]


class PeImage:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise FormatError("no MZ header")
        pe = _u32(data, 0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise FormatError("no PE signature")
        self.machine = _u16(data, pe + 4)
        sections = _u16(data, pe + 6)
        optional_size = _u16(data, pe + 20)
        optional = pe + 24
        self.magic = _u16(data, optional)
        if self.magic == 0x10B:
            directories = optional + 96
        elif self.magic == 0x20B:
            directories = optional + 112
        else:
            raise FormatError("unknown optional header magic 0x%x" % self.magic)
        self.resource_rva = _u32(data, directories + 2 * 8)
        self.resource_size = _u32(data, directories + 2 * 8 + 4)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            at = table + 40 * i
            virtual_size, virtual_address, raw_size, raw_pointer = struct.unpack_from("<IIII", data, at + 8)
            self.sections.append((virtual_address, max(virtual_size, raw_size), raw_pointer, raw_size))

    def offset(self, rva):
        for virtual_address, span, raw_pointer, raw_size in self.sections:
            if virtual_address <= rva < virtual_address + span:
                if rva - virtual_address >= raw_size:
                    raise FormatError("rva 0x%x lies in uninitialised data" % rva)
                return raw_pointer + rva - virtual_address
        raise FormatError("rva 0x%x is in no section" % rva)


def _directory_name(data, base, entry_name):
    if entry_name & 0x80000000:
        at = base + (entry_name & 0x7FFFFFFF)
        length = _u16(data, at)
        return data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
    return entry_name


def _directory_entries(data, base, at):
    named = _u16(data, at + 12)
    ids = _u16(data, at + 14)
    for i in range(named + ids):
        name, target = struct.unpack_from("<II", data, at + 16 + 8 * i)
        yield _directory_name(data, base, name), target


def read_resources(path):
    """Every resource as a dict with type, name, language and bytes, in directory order.
    Names and types are ints for ordinals and str for names."""
    with open(path, "rb") as f:
        image = PeImage(f.read())
    data = image.data
    if image.resource_rva == 0:
        return image, []
    base = image.offset(image.resource_rva)
    found = []
    for type_, type_target in _directory_entries(data, base, base):
        if not type_target & 0x80000000:
            raise FormatError("type level entry is not a directory")
        for name, name_target in _directory_entries(data, base, base + (type_target & 0x7FFFFFFF)):
            if not name_target & 0x80000000:
                raise FormatError("name level entry is not a directory")
            for language, leaf in _directory_entries(data, base, base + (name_target & 0x7FFFFFFF)):
                if leaf & 0x80000000:
                    raise FormatError("language level entry is a directory")
                rva, size, codepage, _ = struct.unpack_from("<IIII", data, base + leaf)
                start = image.offset(rva)
                found.append({"type": type_, "name": name, "language": language,
                              "codepage": codepage, "bytes": data[start:start + size]})
    return image, found


def _sz_or_ord(data, at):
    """A template's name-or-ordinal field: (value, next offset)."""
    first = _u16(data, at)
    if first == 0xFFFF:
        return _u16(data, at + 2), at + 4
    end = at
    while _u16(data, end) != 0:
        end += 2
    return data[at:end].decode("utf-16-le"), end + 2


def _align4(at):
    return (at + 3) & ~3


def parse_dialog(data):
    """A classic or extended dialog template as a dict, its controls in template order.
    'length' is where the last control ends, so trailing bytes can be noticed."""
    extended = len(data) >= 4 and _u16(data, 0) == 1 and _u16(data, 2) == 0xFFFF
    d = {"extended": extended}
    if extended:
        d["help_id"], d["ex_style"], d["style"] = struct.unpack_from("<III", data, 4)
        count = _u16(data, 16)
        d["rect"] = struct.unpack_from("<hhhh", data, 18)
        at = 26
    else:
        d["style"], d["ex_style"] = struct.unpack_from("<II", data, 0)
        count = _u16(data, 8)
        d["rect"] = struct.unpack_from("<hhhh", data, 10)
        at = 18
    d["menu"], at = _sz_or_ord(data, at)
    d["class"], at = _sz_or_ord(data, at)
    d["caption"], at = _sz_or_ord(data, at)
    d["font"] = None
    if d["style"] & 0x40:  # DS_SETFONT
        if extended:
            points, weight, italic, charset = struct.unpack_from("<HHBB", data, at)
            at += 6
        else:
            points, weight, italic, charset = _u16(data, at), None, None, None
            at += 2
        face, at = _sz_or_ord(data, at)
        d["font"] = {"points": points, "weight": weight, "italic": italic, "charset": charset, "face": face}
    d["controls"] = []
    for _ in range(count):
        at = _align4(at)
        c = {}
        if extended:
            c["help_id"], c["ex_style"], c["style"] = struct.unpack_from("<III", data, at)
            c["rect"] = struct.unpack_from("<hhhh", data, at + 12)
            c["id"] = struct.unpack_from("<i", data, at + 20)[0]
            at += 24
        else:
            c["style"], c["ex_style"] = struct.unpack_from("<II", data, at)
            c["rect"] = struct.unpack_from("<hhhh", data, at + 8)
            c["id"] = struct.unpack_from("<h", data, at + 16)[0]
            at += 18
        c["class"], at = _sz_or_ord(data, at)
        c["text"], at = _sz_or_ord(data, at)
        extra = _u16(data, at)
        at += 2 + extra
        c["extra"] = extra
        d["controls"].append(c)
    d["length"] = at
    return d


def parse_group_icon(data):
    """GRPICONDIR: (reserved, type, entries), each entry a dict."""
    reserved, type_, count = struct.unpack_from("<HHH", data, 0)
    entries = []
    for i in range(count):
        width, height, colours, reserved_b, planes, bits, size, image_id = \
            struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i)
        entries.append({"width": width, "height": height, "colours": colours, "reserved": reserved_b,
                        "planes": planes, "bits": bits, "size": size, "id": image_id})
    return {"reserved": reserved, "type": type_, "entries": entries, "length": 6 + 14 * count}


def parse_icon_image(data):
    """The BITMAPINFOHEADER of an icon image and the sizes of what follows it."""
    fields = struct.unpack_from("<IiiHHIIiiII", data, 0)
    names = ("header_size", "width", "height", "planes", "bits", "compression", "image_size",
             "x_ppm", "y_ppm", "colours_used", "colours_important")
    header = dict(zip(names, fields))
    palette = [struct.unpack_from("<BBBB", data, 40 + 4 * i) for i in range(16)]
    header["palette"] = [(r << 16) | (g << 8) | b for b, g, r, _ in palette]
    header["palette_reserved"] = [x for _, _, _, x in palette]
    return header


def parse_version_info(data, at=0, path=""):
    """A VS_VERSIONINFO as version.dll walks it: (path of keys, value) for every block in file
    order, text values as str and binary ones as bytes."""
    length, value_length, text = struct.unpack_from("<HHH", data, at)
    key, value_at = _sz_or_ord(data, at + 6)
    value_at, size = _align4(value_at), 2 * value_length if text else value_length
    value = data[value_at:value_at + size]
    blocks = [(path + key, value.decode("utf-16-le").rstrip("\0") if text else value)]
    child = _align4(value_at + size)
    while child < at + length:
        blocks += parse_version_info(data, child, path + key + "/")
        child = _align4(child + _u16(data, child))
    return blocks
