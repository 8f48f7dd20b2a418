#!/usr/bin/python3
"""Static checks of the built gauge module.

Reads PELMORA.GAU without loading it: machine, exports and imports, the
records the simulator reads (followed pointer by pointer from Linkage, at the
preferred image base), and the resources.  Prints one line per failed check,
"check_module: <what>: got X, expected Y", and exits 1 on any failure;
otherwise prints the number of checks passed and exits 0.

Usage: /usr/bin/python3 check_module.py build/win32/PELMORA.GAU
"""
import struct
import sys

import pefile

from load_time_imports import LOAD_TIME_IMPORTS


class Matcher:
    """An expected value that is a property rather than a number."""

    def __init__(self, text, test):
        self.text, self.test = text, test

    def __str__(self):
        return self.text


# Set per module: code pointers are tested against its executable sections.
CODE = Matcher('a pointer into code', None)
WRITABLE = Matcher('a writable section', lambda value: value is True)
ZEROS = Matcher('0', lambda value: not any(value) if isinstance(value, (tuple, bytes)) else value == 0)

LOAD_TIME_DLL = Matcher('a DLL of Windows 95 and NT 4.0', lambda name: name in LOAD_TIME_IMPORTS)

# ---- Record layouts: (field, struct format) in order, little-endian, packed.
# Fields named host_* or zero_* are 0 in the module as built; a record with
# host_* fields must lie in writable data, since the simulator fills them.


def variable_ref(name):
    """A VariableRef: the module sets the id; the value and the rest are the host's."""
    return [(name, 'I'), ('host_' + name, '24s')]


ELEMENT_BASE = [
    ('kind', 'I'), ('bitmap', 'I'), ('x', 'i'), ('y', 'i'), ('host_16', '2I'),
    ('offset_x', 'i'), ('offset_y', 'i'), ('gauge', 'I'), ('host_36', 'I'),
    ('children', 'I'), ('failures', 'I'), ('image_flags', 'I'), ('zero_52', 'I'), ('zero_56', 'I'),
]

LAYOUTS = {
    'linkage': (48, [('id', 'I'), ('start', 'I'), ('stop', 'I'), ('zero_12', '3I'), ('gauges', '6I')]),
    'header': (120, [
        ('version', 'I'), ('name', 'I'), ('elements', 'I'),
        ('query', 'I'), ('install', 'I'), ('initialize', 'I'), ('update', 'I'),
        ('generate', 'I'), ('draw', 'I'), ('kill', 'I'),
        ('zero_40', 'I'), ('default_width', 'I'), ('zero_48', '8I'), ('mouse', 'I'), ('zero_84', '9I')]),
    'static': (96, ELEMENT_BASE + [('host_60', '36s')]),
    'needle': (236, ELEMENT_BASE + variable_ref('variable') + [
        ('zero_88', '24s'), ('scale', 'I'), ('scale_count', 'I'), ('turn_limit', 'I'),
        ('host_124', '100s'), ('callback', 'I'), ('zero_228', '2I')]),
    'string': (320, ELEMENT_BASE + variable_ref('variable_0') + variable_ref('variable_1')
               + variable_ref('variable_2') + [
        ('zero_144', '40s'), ('host_text', 'I'), ('zero_188', 'I'),
        ('box_width', 'I'), ('box_height', 'I'), ('zero_200', '2I'),
        ('text_colour', 'I'), ('background_colour', 'I'), ('highlight_colour', 'I'),
        ('host_220', '28s'), ('font_face', '32s'), ('font_weight', 'I'), ('char_set', 'I'),
        ('draw_flags', 'I'), ('max_length', 'I'), ('zero_296', '16s'), ('callback', 'I'),
        ('zero_316', 'I')]),
    'slider': (192, ELEMENT_BASE + variable_ref('x_variable') + [
        ('zero_88', 'I'), ('x_scale', 'd'), ('zero_100', 'I')] + variable_ref('y_variable') + [
        ('zero_132', 'I'), ('y_scale', 'd'), ('host_144', '48s')]),
    'icon': (136, ELEMENT_BASE + variable_ref('variable') + [
        ('zero_88', 'I'), ('switching_mode', 'I'), ('zero_96', '16s'), ('picture_count', 'I'),
        ('zero_116', '16s'), ('callback', 'I')]),
    'scale_point': (24, [('x', 'i'), ('y', 'i'), ('value', 'd'), ('host_16', '2I')]),
    'failure': (12, [('failure', 'I'), ('action', 'I'), ('zero', 'I')]),
    'area': (44, [
        ('kind', 'I'), ('x', 'i'), ('y', 'i'), ('width', 'i'), ('height', 'i'), ('cursor', 'i'),
        ('help_id', 'I'), ('flags', 'I'), ('zero_32', 'I'), ('callback', 'I'), ('zero_40', 'I')]),
    'bitmap_info': (40, [
        ('size', 'I'), ('width', 'i'), ('height', 'i'), ('planes', 'H'), ('bit_count', 'H'),
        ('compression', 'I'), ('image_size', 'I'), ('x_ppm', 'i'), ('y_ppm', 'i'),
        ('colours_used', 'I'), ('colours_important', 'I')]),
}
for _size, _fields in LAYOUTS.values():
    assert struct.calcsize('<' + ''.join(f for _, f in _fields)) == _size

KINDS = {'static': 0, 'needle': 1, 'string': 2, 'slider': 3, 'icon': 4}
NO_BITMAP = 0xFFFFFFFF
LEFT_CLICK = 0x20000000
CURSOR_HAND = 5

# ---- What the records hold ----


def element(label, layout, bitmap, x, y, image_flags, children=(), failures=None,
            offset=(0, 0), scale=None, **fields):
    """An element: its layout's fields, its children and failure list, a needle's dial."""
    fields.update(kind=KINDS[layout], bitmap=bitmap, x=x, y=y, offset_x=offset[0],
                  offset_y=offset[1], image_flags=image_flags)
    if scale is not None:
        fields['scale_count'] = len(scale)
    return dict(label=label, layout=layout, fields=fields, children=children,
                failures=failures, scale=scale)


def slider(label, bitmap, x, y, x_axis=(0, 0.0), y_axis=(0, 0.0)):
    return element(label, 'slider', bitmap, x, y, 3, x_variable=x_axis[0], x_scale=x_axis[1],
                   y_variable=y_axis[0], y_scale=y_axis[1])


def area(kind, x=0, y=0, width=0, height=0, cursor=-1, help_id=0, flags=0, callback=0):
    return dict(kind=kind, x=x, y=y, width=width, height=height, cursor=cursor,
                help_id=help_id, flags=flags, callback=callback)


def parent(x=0, y=0, width=0, height=0, help_id=0):
    return area(1, x, y, width, height, help_id=help_id)


def click(x, y, width, height):
    return area(2, x, y, width, height, cursor=CURSOR_HAND, flags=LEFT_CLICK, callback=CODE)


CLOSE, END = area(3), area(0)
FUEL_FAILURES = [(20, 2), (10, 1)]
TEMPERATURE_FAILURES = [(20, 3)]

GAUGES = [
    ('V1', element('picture', 'static', 4096, 0, 0, 1),
     [parent(help_id=0xAB0D), click(0, 0, 80, 25), CLOSE, END]),
    ('Control_Surfaces', element('background', 'static', 0x1300, 0, 0, 1, children=[
        slider('slider 1', 0x1400, 20, 44, y_axis=(783, -100.0)),
        slider('slider 2', 0x1500, 95, 6, x_axis=(784, 100.0)),
        slider('slider 3', 0x1600, 98, 46, y_axis=(782, -70.0)),
        slider('slider 4', 0x1700, 94, 83, x_axis=(786, 80.0))]),
     [parent(), parent(0, 0, 44, 94, 0xAB53), CLOSE, parent(60, 0, 76, 16, 0xAB5C), CLOSE,
      parent(82, 16, 32, 62, 0xAB53), CLOSE, parent(60, 78, 76, 16, 0xAB78), CLOSE, CLOSE, END]),
    ('Fuel', element('background', 'static', 0x1800, 9, 0, 1, failures=FUEL_FAILURES, children=[
        element('needle', 'needle', 0x2000, 150, 150, 3, offset=(6, 12), failures=FUEL_FAILURES,
                scale=[(30, 182, 0.0), (119, 47, 25.0), (246, 93, 50.0), (241, 221, 75.0)],
                variable=386, turn_limit=6, callback=CODE)]),
     [parent(help_id=0xAB26), CLOSE, END]),
    ('Fuel_Selector', element('background', 'static', 0x2100, 0, 0, 0x11, children=[
        element('knob', 'icon', 0x2100, 0, 0, 3, variable=307, switching_mode=3,
                picture_count=4, callback=CODE)]),
     [parent(help_id=0xAB2D), click(0, 0, 39, 48), CLOSE, END]),
    ('Temperature', element('background', 'static', 0x2200, 0, 0, 1, children=[
        element('readout', 'string', NO_BITMAP, 28, 9, 6, failures=TEMPERATURE_FAILURES,
                variable_0=350, variable_1=335, variable_2=0, box_width=60, box_height=29,
                text_colour=0x0000FF, background_colour=0x000000, highlight_colour=0x5C5C5C,
                font_face=b'Courier New'.ljust(32, b'\0'), font_weight=400, char_set=1,
                draw_flags=0x25, max_length=3, callback=CODE),
        element('unit marker', 'icon', 0x2300, 99, 9, 0, failures=TEMPERATURE_FAILURES,
                variable=335, switching_mode=0, picture_count=2, callback=CODE)]),
     [parent(help_id=0xAA1A), CLOSE, END]),
]

LIFECYCLE = ('query', 'install', 'initialize', 'update', 'generate', 'draw', 'kill')
VERSION_STRINGS = {'FileDescription': 'Flight Simulator 98 Gauge', 'FileVersion': '1.0.0',
                   'ProductVersion': '1.0.0'}
US_ENGLISH = 0x409


class Unreadable(Exception):
    pass


def shown(value):
    if isinstance(value, int) and not isinstance(value, bool) and abs(value) >= 0x10000:
        return hex(value)
    if isinstance(value, (bytes, bytearray)):
        return repr(bytes(value).rstrip(b'\0'))
    return str(value)


class Checker:
    def __init__(self, pe):
        self.pe = pe
        self.base = pe.OPTIONAL_HEADER.ImageBase
        self.passed = self.failed = 0

    # ---- reporting ----

    def check(self, what, got, expected):
        if expected is CODE:
            ok = self.in_code(got)
        elif isinstance(expected, Matcher):
            ok = expected.test(got)
        else:
            ok = got == expected
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print(f'check_module: {what}: got {shown(got)}, expected {shown(expected)}')
        return ok

    # ---- reading the image ----

    def section_of(self, va):
        return self.pe.get_section_by_rva(va - self.base) if va >= self.base else None

    def writable(self, va, size):
        """Whether all size bytes at va lie in one writable section."""
        section = self.section_of(va)
        return (section is not None
                and va + size - self.base <= section.VirtualAddress + section.Misc_VirtualSize
                and bool(section.Characteristics
                         & pefile.SECTION_CHARACTERISTICS['IMAGE_SCN_MEM_WRITE']))

    def in_code(self, va):
        section = self.section_of(va)
        return section is not None and bool(
            section.Characteristics & pefile.SECTION_CHARACTERISTICS['IMAGE_SCN_MEM_EXECUTE'])

    def read(self, va, size):
        """size bytes at va; the part of a section beyond its file data reads as 0."""
        section = self.section_of(va)
        rva = va - self.base
        if section is None or rva + size > section.VirtualAddress + section.Misc_VirtualSize:
            raise Unreadable(va)
        offset = self.pe.get_offset_from_rva(rva)
        end_of_file_data = section.PointerToRawData + section.SizeOfRawData
        return self.pe.__data__[offset:min(offset + size, end_of_file_data)].ljust(size, b'\0')

    def string_at(self, va, room=64):
        try:
            return self.read(va, room).split(b'\0')[0].decode('ascii', 'replace')
        except Unreadable:
            return None

    def record(self, what, va, layout, expected=None):
        """Reads one record, checks its zero fields and expected fields; None if unreadable."""
        size, fields = LAYOUTS[layout]
        try:
            data = self.read(va, size)
        except Unreadable:
            self.check(f'{what}: pointer', va, 'a readable record')
            return None
        # The simulator writes its own fields at run time: read-only data would fault.
        if any(name.startswith('host') for name, _ in fields):
            self.check(f'{what}: section', self.writable(va, size), WRITABLE)
        values, at = {}, 0
        for name, fmt in fields:
            unpacked = struct.unpack_from('<' + fmt, data, at)
            values[name] = unpacked[0] if len(unpacked) == 1 else unpacked
            at += struct.calcsize('<' + fmt)
            if name.startswith(('zero', 'host')):
                self.check(f'{what}.{name}', values[name], ZEROS)
        for name, want in (expected or {}).items():
            self.check(f'{what}.{name}', values[name], want)
        return values

    def pointers(self, what, va, count):
        """A 0-terminated array of count pointers; the pointers, or [] if unreadable."""
        try:
            words = struct.unpack(f'<{count + 1}I', self.read(va, 4 * (count + 1)))
        except Unreadable:
            self.check(f'{what}: pointer', va, 'a readable array')
            return []
        self.check(f'{what}[{count}]', words[-1], 0)
        return list(words[:-1])

    # ---- the records ----

    def element_tree(self, what, va, tree, header_va):
        what = f'{what} {tree["label"]}'
        values = self.record(what, va, tree['layout'], dict(tree['fields'], gauge=header_va))
        if values is None:
            return
        if not tree['children']:
            self.check(f'{what}.children', values['children'], 0)
        else:
            children = self.pointers(f'{what}.children', values['children'], len(tree['children']))
            for child_va, child in zip(children, tree['children']):
                self.element_tree(what + ' >', child_va, child, header_va)
        if tree['failures'] is None:
            self.check(f'{what}.failures', values['failures'], 0)
        else:
            rules = tree['failures'] + [(0, 0)]
            for i, (failure, action) in enumerate(rules):
                self.record(f'{what}.failures[{i}]', values['failures'] + 12 * i, 'failure',
                            dict(failure=failure, action=action))
        for i, (x, y, value) in enumerate(tree['scale'] or ()):
            self.record(f'{what}.scale[{i}]', values['scale'] + 24 * i, 'scale_point',
                        dict(x=x, y=y, value=value))

    def gauge(self, name, header_va, top, mouse):
        """Checks one gauge; returns its lifecycle routine pointers."""
        header = self.record(f'{name} header', header_va, 'header',
                             dict({r: CODE for r in LIFECYCLE}, version=700, default_width=100))
        if header is None:
            return []
        self.check(f'{name} header.name', self.string_at(header['name']), name)
        elements = self.pointers(f'{name} elements', header['elements'], 1)
        if elements:
            self.element_tree(name, elements[0], top, header_va)
        for i, want in enumerate(mouse):
            self.record(f'{name} mouse[{i}]', header['mouse'] + 44 * i, 'area', want)
        return [(name, r, header[r]) for r in LIFECYCLE]

    def linkage(self, va):
        linkage = self.record('Linkage', va, 'linkage', dict(id=0x13, start=CODE, stop=CODE))
        if linkage is None:
            return
        table = linkage['gauges']
        self.check(f'Linkage.gauges[{len(GAUGES)}]', table[len(GAUGES)], 0)
        routines = []
        for header_va, (name, top, mouse) in zip(table, GAUGES):
            routines += self.gauge(name, header_va, top, mouse)
        # Each gauge has its own seven routines, so each hands over its own element.
        pointers = [p for _, _, p in routines]
        for name, routine, pointer in routines:
            self.check(f'{name} header.{routine}: gauges naming it', pointers.count(pointer), 1)

    # ---- the file as a whole ----

    def exports_and_imports(self):
        self.check('machine', self.pe.FILE_HEADER.Machine, pefile.MACHINE_TYPE['IMAGE_FILE_MACHINE_I386'])
        exports = getattr(self.pe, 'DIRECTORY_ENTRY_EXPORT', None)
        symbols = {s.name.decode(): s.address for s in exports.symbols if s.name} if exports else {}
        self.check('exports', sorted(symbols), ['ImportTable', 'Linkage'])
        # Windows 95 and NT 4.0 give a DLL that the simulator loads with
        # LoadLibrary no room for its static thread data: a module with a TLS
        # directory would fault at its first use of it.
        tls = self.pe.OPTIONAL_HEADER.DATA_DIRECTORY[
            pefile.DIRECTORY_ENTRY['IMAGE_DIRECTORY_ENTRY_TLS']]
        self.check('TLS directory', tls.VirtualAddress, 0)
        for entry in getattr(self.pe, 'DIRECTORY_ENTRY_IMPORT', []):
            dll = entry.dll.decode().lower()
            if not self.check('imported DLL', dll, LOAD_TIME_DLL):
                continue
            allowed = LOAD_TIME_IMPORTS[dll]
            for function in entry.imports:
                name = function.name.decode() if function.name else f'ordinal {function.ordinal}'
                self.check(f'import from {dll}', name,
                           Matcher('a function Windows 95 and NT 4.0 have', allowed.__contains__))
        return {name: self.base + rva for name, rva in symbols.items()}

    def import_table(self, va):
        try:
            data = self.read(va, 16)
        except Unreadable:
            data = b''
        self.check('ImportTable', data.hex(' '), struct.pack('<4I', 0x0F, 0, 0, 0).hex(' '))
        self.check('ImportTable: section', self.writable(va, 16), WRITABLE)

    def resources(self):
        found = {}
        directory = getattr(self.pe, 'DIRECTORY_ENTRY_RESOURCE', None)
        for kind in directory.entries if directory else []:
            for entry in kind.directory.entries:
                key = str(entry.name) if entry.name is not None else entry.id
                found[(kind.id, key)] = entry.directory.entries[0].data
        dialog = pefile.RESOURCE_TYPE['RT_DIALOG']
        bitmap = pefile.RESOURCE_TYPE['RT_BITMAP']
        version = pefile.RESOURCE_TYPE['RT_VERSION']
        self.check('dialog TESTDIALOG', (dialog, 'TESTDIALOG') in found, True)
        picture = found.get((bitmap, 4096))
        if not self.check('bitmap 4096', picture is not None, True):
            return
        info = LAYOUTS['bitmap_info']
        data = self.pe.get_data(picture.struct.OffsetToData, picture.struct.Size)
        header = dict(zip([n for n, _ in info[1]], struct.unpack_from('<IiiHHIIiiII', data.ljust(40, b'\0'))))
        for name, want in dict(size=40, width=90, height=25, planes=1, bit_count=8, compression=0).items():
            self.check(f'bitmap 4096 {name}', header[name], want)
        self.check('bitmap 4096 colours', header['colours_used'] or 1 << header['bit_count'], 256)
        row = (90 * 8 + 31) // 32 * 4
        self.check('bitmap 4096 bytes', len(data), 40 + 256 * 4 + row * 25)
        block = found.get((version, 1))
        self.check('version block language', block and (block.sublang << 10 | block.lang), US_ENGLISH)
        strings, translations = {}, []
        for info_list in getattr(self.pe, 'FileInfo', []):
            for item in info_list:
                for table in getattr(item, 'StringTable', []):
                    self.check('version string table language', int(table.LangID[:4], 16), US_ENGLISH)
                    strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
                for var in getattr(item, 'Var', []):
                    translations += var.entry.values()
        for name, want in VERSION_STRINGS.items():
            self.check(f'version {name}', strings.get(name), want)
        self.check('version translation language',
                   [int(t.split()[0], 16) for t in translations][:1], [US_ENGLISH])


def main(argv):
    if len(argv) != 2:
        print('usage: check_module.py PELMORA.GAU', file=sys.stderr)
        return 2
    try:
        pe = pefile.PE(argv[1])
    except (OSError, pefile.PEFormatError) as error:
        print(f'check_module: {argv[1]}: cannot read the module: {error}')
        return 1
    checker = Checker(pe)
    exports = checker.exports_and_imports()
    if 'ImportTable' in exports:
        checker.import_table(exports['ImportTable'])
    if 'Linkage' in exports:
        checker.linkage(exports['Linkage'])
    checker.resources()
    if checker.failed:
        return 1
    print(f'check_module: {checker.passed} checks passed')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
