#!/usr/bin/python3
"""Static check of the shipped i686 files: nothing a Pentium cannot run.

The simulator's own machines were Pentium-class: the original Pentium (P5)
has the 486's instructions, the x87 with its 8087-era compares, cmpxchg8b,
rdtsc and cpuid, and nothing of the Pentium Pro (P6) on.  An instruction it
lacks is an invalid opcode there, which ends the program (in the module's
case, the simulator) the first time it runs.  This check disassembles every
code section of each file (i686-w64-mingw32-objdump) and fails on:

  P6:   cmov*, fcmov*, fcomi*/fucomi*, sysenter/sysexit, rdpmc, and the
        multi-byte nop (0F 1F) and the other hint nops of 0F 18..1F;
  MMX:  any use of an MMX register, emms, and 3DNow! (femms, pf*, ...);
  SSE:  any use of an xmm/ymm/zmm or mask register, and the instructions of
        SSE and later that name none (fences, prefetches, fxsave, mxcsr,
        fisttp, movnti, popcnt, lzcnt, crc32, movbe, the BMI group, ...).

(A rep prefix before bsf, which later processors read as tzcnt, is not
counted: every processor since the 386 runs it as bsf, and the compiler
emits it only where the operand is not zero, where the two agree.)

Each instruction found is named by the function that holds it: objdump's
label from the file's symbol table, or, in a file without one, the nearest
symbol before it in the linker's map (FILE's name with .map for its
extension, if there is one beside it) or its exports.

Prints, per file, its size and its counts of P6, MMX and SSE instructions,
then one line per function holding any; exits 1 if any file holds one.

Usage: /usr/bin/python3 check_pentium.py FILE...
"""
import bisect
import os
import re
import subprocess
import sys

OBJDUMP = 'i686-w64-mingw32-objdump'

PREFIXES = {'rep', 'repz', 'repe', 'repnz', 'repne', 'lock', 'data16', 'data32', 'addr16',
            'addr32', 'cs', 'ds', 'es', 'fs', 'gs', 'ss', 'notrack', 'bnd', 'xacquire',
            'xrelease', '{vex}', '{vex3}', '{evex}'}

P6_PREFIXES = ('cmov', 'fcmov', 'fcomi', 'fucomi')
P6_NAMES = {'sysenter', 'sysexit', 'rdpmc', 'nopw', 'nopl', 'nopq', 'prefetchwt1'}
# 0F 18..0F 1F: the hint nops, which objdump shows as nop with an operand (or
# as a prefetch hint or endbr32); the one-byte nop (90) is the 8086's.
HINT_NOP = re.compile(r'^nop[a-z]*\s+\S')

MMX_NAMES = {'emms', 'femms', 'pavgusb', 'pmulhrw', 'prefetch', 'prefetchw', 'pi2fd', 'pi2fw',
             'pf2id', 'pf2iw', 'pswapd'}
MMX_PREFIXES = ('pfacc', 'pfadd', 'pfcmp', 'pfmax', 'pfmin', 'pfmul', 'pfnacc', 'pfpnacc',
                'pfrcp', 'pfrsq', 'pfsub', 'pfsubr')

SSE_NAMES = {
    'sfence', 'lfence', 'mfence', 'clflush', 'clflushopt', 'clwb', 'prefetchnta', 'prefetcht0',
    'prefetcht1', 'prefetcht2', 'ldmxcsr', 'stmxcsr', 'vldmxcsr', 'vstmxcsr', 'fxsave',
    'fxrstor', 'fxsave64', 'fxrstor64', 'xsave', 'xrstor', 'xsaveopt', 'xgetbv', 'fisttp',
    'fisttps', 'fisttpl', 'fisttpll', 'fisttpq', 'movnti', 'popcnt', 'lzcnt', 'crc32', 'crc32b',
    'crc32w', 'crc32l', 'movbe', 'andn', 'bextr', 'blsi', 'blsmsk', 'blsr', 'bzhi', 'mulx',
    'pdep', 'pext', 'rorx', 'sarx', 'shlx', 'shrx', 'adcx', 'adox', 'rdrand', 'rdseed',
    'endbr32', 'endbr64', 'monitor', 'mwait', 'rdtscp', 'rdpid'}
VECTOR_REGISTER = re.compile(r'%(?:[xyz]mm\d+|k[0-7]\b)')
MMX_REGISTER = re.compile(r'%mm[0-7]\b')

# objdump -d -w -C --no-show-raw-insn: "addr <symbol>:" and "  addr:\tinsn".
LABEL = re.compile(r'^([0-9a-f]+) <(.*)>:$')
INSTRUCTION = re.compile(r'^\s*([0-9a-f]+):\t(.*)$')
SECTION = re.compile(r'^Disassembly of section (\S+):$')


def kind_of(text):
    """'P6', 'MMX', 'SSE' or None for one instruction as objdump prints it."""
    words = text.split()
    while words and words[0] in PREFIXES:
        words.pop(0)
    if not words:
        return None
    mnemonic = words[0]
    rest = ' '.join(words[1:])
    if VECTOR_REGISTER.search(rest) or mnemonic.startswith('v') and mnemonic in SSE_NAMES:
        return 'SSE'
    if mnemonic in SSE_NAMES:
        return 'SSE'
    if MMX_REGISTER.search(rest) or mnemonic in MMX_NAMES or mnemonic.startswith(MMX_PREFIXES):
        return 'MMX'
    if mnemonic.startswith(P6_PREFIXES) or mnemonic in P6_NAMES:
        return 'P6'
    if HINT_NOP.match(' '.join(words)):
        return 'P6'
    return None


# A GNU ld map: an input section's line (" .text$name  0xADDRESS  0xSIZE
# file", its name alone on a line when long, the rest on the next), and a
# symbol's line (blanks, 0xADDRESS, blanks, the name, demangled).
MAP_SECTION = re.compile(r'^ (\.text\S*)(?:\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*))?$')
MAP_SECTION_REST = re.compile(r'^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$')
MAP_SYMBOL = re.compile(r'^\s+0x([0-9a-f]+)\s+([^\s0].*)$')


def map_symbols(path):
    """(address, name) pairs, sorted, from the GNU ld map beside the file:
    its symbols, and the code sections of the object files (a function of
    its own section, built with -ffunction-sections, is named by it; a
    library built without its local symbols, by its object file)."""
    stem = os.path.splitext(path)[0]
    symbols = []
    for candidate in (stem + '.map', path + '.map'):
        if not os.path.exists(candidate):
            continue
        with open(candidate, errors='replace') as map_file:
            lines = map_file.read().split('\n')
        start = next((i for i, line in enumerate(lines)
                      if line.startswith('Linker script and memory map')), len(lines))
        section = None
        for line in lines[start:]:
            match = MAP_SECTION.match(line)
            if match:
                section = match.group(1)
                if match.group(2) is None:
                    continue            # the rest on the next line
                rest = match.groups()[1:]
            else:
                match = MAP_SECTION_REST.match(line) if section else None
                if not match:
                    section = None
                    match = MAP_SYMBOL.match(line)
                    if match and ' = ' not in line and 'PROVIDE' not in line:
                        symbols.append((int(match.group(1), 16), 1, match.group(2)))
                    continue
                rest = match.groups()
            address, size, source = int(rest[0], 16), int(rest[1], 16), rest[2]
            if size:
                name = section.split('$', 1)[1] if '$' in section else None
                # A symbol at the same address names it better: it sorts after.
                symbols.append((address, 0, ('_' + name if name.startswith('_Z') else name)
                                if name else f'code of {os.path.basename(source)}'))
            section = None
        break
    demangle_all(name for _, _, name in symbols)
    symbols.sort()
    return [(address, demangled(name)) for address, _, name in symbols]


def export_symbols(path):
    try:
        import pefile
    except ImportError:
        return []
    try:
        pe = pefile.PE(path, fast_load=True)
        pe.parse_data_directories(
            directories=[pefile.DIRECTORY_ENTRY['IMAGE_DIRECTORY_ENTRY_EXPORT']])
    except (OSError, pefile.PEFormatError):
        return []
    exports = getattr(pe, 'DIRECTORY_ENTRY_EXPORT', None)
    base = pe.OPTIONAL_HEADER.ImageBase
    return sorted((base + s.address, s.name.decode()) for s in exports.symbols
                  if s.name) if exports else []


def section_function(name):
    """The function of a section of its own (.text$NAME), named as in the source."""
    return demangled('_' + name) if name.startswith('_Z') else demangled(name)


class Namer:
    """The function that holds an address, for a file without a symbol table."""

    def __init__(self, path):
        self.symbols = None
        self.path = path

    def name(self, address, label):
        if self.symbols is None:
            self.symbols = map_symbols(self.path) or export_symbols(self.path)
        at = bisect.bisect_right([a for a, _ in self.symbols], address) - 1
        if at >= 0:
            return self.symbols[at][1]
        return f'code of {label} without a name' if label else 'code without a name'


# Data the linker places inside .text: the exception tables and the
# constructor and destructor lists.  Never run, so not read as code.
DATA_IN_CODE = re.compile(r'^(?:\.gcc_except_table|\.gcc_exc|\.[cd]tors?\b|_*[CD]TOR_LIST__)')


_demangled = {}


def demangle_all(names):
    """Demangles the C++ names among names in one run of c++filt."""
    wanted = sorted({n for n in names if n.lstrip('_').startswith('Z') and n not in _demangled})
    if not wanted:
        return
    result = subprocess.run(['i686-w64-mingw32-c++filt', '--strip-underscore'],
                            input='\n'.join(wanted) + '\n', capture_output=True, text=True)
    lines = result.stdout.split('\n') if result.returncode == 0 else []
    for i, name in enumerate(wanted):
        text = lines[i].strip() if i < len(lines) else ''
        _demangled[name] = re.sub(r'@\d+$', '', text or name)


def demangled(name):
    """A C++ name as written in the source; other names as they are."""
    if not name.lstrip('_').startswith('Z'):
        return re.sub(r'@\d+$', '', name)
    if name not in _demangled:
        demangle_all([name])
    return _demangled.get(name, name)


def function_name(label, address, namer):
    """The function that holds address, from the label above it."""
    if label and label.startswith('.text$'):
        # A function of its own section (inline, template): the section's
        # name is the function's.
        return section_function(label[len('.text$'):])
    if label is None or label.startswith('.'):
        # A label that is only a section's name says nothing of the function.
        return namer.name(address, label)
    return re.sub(r'@\d+$', '', label)     # a stdcall name's argument bytes


def scan(path):
    """{kind: count} and {(function, kind): [instructions]} of one file."""
    result = subprocess.run([OBJDUMP, '-d', '-w', '-C', '--no-show-raw-insn', path],
                            capture_output=True, text=True, errors='replace')
    if result.returncode != 0:
        raise OSError(result.stderr.strip() or f'{OBJDUMP} failed on {path}')
    counts = {'P6': 0, 'MMX': 0, 'SSE': 0}
    found = {}
    demangle_all('_' + n for n in re.findall(r'^[0-9a-f]+ <\.text\$(_Z[^>]*)>:$', result.stdout,
                                             re.MULTILINE))
    namer = Namer(path)
    label, data = None, False
    for line in result.stdout.splitlines():
        match = LABEL.match(line)
        if match:
            label = match.group(2)
            data = bool(DATA_IN_CODE.match(label))
            continue
        if SECTION.match(line):
            label, data = None, False
            continue
        match = INSTRUCTION.match(line)
        if not match or data:
            continue
        text = match.group(2).split('#')[0].strip()
        kind = kind_of(text)
        if kind is None:
            continue
        counts[kind] += 1
        function = function_name(label, int(match.group(1), 16), namer)
        found.setdefault((function, kind), []).append((match.group(1), ' '.join(text.split())))
    return counts, found


def main(paths):
    if not paths:
        print('usage: check_pentium.py FILE...', file=sys.stderr)
        return 2
    status = 0
    for path in paths:
        name = os.path.basename(path)
        try:
            size = os.path.getsize(path)
            counts, found = scan(path)
        except OSError as error:
            print(f'check_pentium: {name}: cannot disassemble: {error}')
            status = 1
            continue
        total = sum(counts.values())
        print(f'check_pentium: {name}: {size} bytes ({size / 1024:.1f} KB); instructions a '
              f'Pentium lacks: {counts["P6"]} P6, {counts["MMX"]} MMX, {counts["SSE"]} SSE')
        for (function, kind), instructions in sorted(found.items()):
            shown = ', '.join(sorted(set(i.split()[0] for _, i in instructions)))
            address, first = instructions[0]
            print(f'check_pentium: {name}: {function}: {len(instructions)} {kind} ({shown}); '
                  f'first at {address}: {first}')
        if total:
            status = 1
    return status


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
