"""Reads what the static checks need from a PE file: machine, kind, subsystem and its version, imports by DLL
and exported names. Works on PE32 and PE32+ and never trusts an offset it has not bounds-checked."""
import struct

MACHINES = {0x14C: "i386", 0x8664: "x86-64"}
SUBSYSTEMS = {2: "gui", 3: "console"}
IMAGE_FILE_DLL = 0x2000


class PeError(Exception):
    pass


class PeImage:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        if self.data[:2] != b"MZ":
            raise PeError("no MZ header")
        pe = self._u32(0x3C)
        if self.data[pe:pe + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        machine, sections, _, _, _, optional_size, characteristics = struct.unpack_from("<HHIIIHH", self.data,
                                                                                        pe + 4)
        self.machine = MACHINES.get(machine, hex(machine))
        self.is_dll = bool(characteristics & IMAGE_FILE_DLL)
        opt = pe + 24
        magic = self._u16(opt)
        if magic not in (0x10B, 0x20B):
            raise PeError("unknown optional header magic %#x" % magic)
        self.pe32_plus = magic == 0x20B
        self.os_version = (self._u16(opt + 40), self._u16(opt + 42))
        self.subsystem_version = (self._u16(opt + 48), self._u16(opt + 50))
        self.subsystem = SUBSYSTEMS.get(self._u16(opt + 68), str(self._u16(opt + 68)))
        directories = opt + (112 if self.pe32_plus else 96)
        self.sections = []
        table = opt + optional_size
        for i in range(sections):
            _, vsize, vaddr, rsize, raw = struct.unpack_from("<8sIIII", self.data, table + 40 * i)
            self.sections.append((vaddr, max(vsize, rsize), raw, rsize))
        self.exports = self._exports(*struct.unpack_from("<II", self.data, directories))
        self.imports = self._imports(*struct.unpack_from("<II", self.data, directories + 8))

    def _u16(self, offset):
        if offset + 2 > len(self.data):
            raise PeError("truncated at %#x" % offset)
        return struct.unpack_from("<H", self.data, offset)[0]

    def _u32(self, offset):
        if offset + 4 > len(self.data):
            raise PeError("truncated at %#x" % offset)
        return struct.unpack_from("<I", self.data, offset)[0]

    def _u64(self, offset):
        if offset + 8 > len(self.data):
            raise PeError("truncated at %#x" % offset)
        return struct.unpack_from("<Q", self.data, offset)[0]

    def _offset(self, rva):
        for vaddr, size, raw, rsize in self.sections:
            if vaddr <= rva < vaddr + size and rva - vaddr < rsize:
                return raw + rva - vaddr
        raise PeError("address %#x lies in no section" % rva)

    def _name(self, rva):
        start = self._offset(rva)
        end = self.data.find(b"\0", start)
        if end < 0:
            raise PeError("unterminated name at %#x" % rva)
        return self.data[start:end].decode("ascii", "replace")

    def _exports(self, rva, size):
        if not rva:
            return []
        base = self._offset(rva)
        count, names = self._u32(base + 24), self._u32(base + 32)
        if count > 65536:
            raise PeError("implausible export count %d" % count)
        return [self._name(self._u32(self._offset(names) + 4 * i)) for i in range(count)]

    def _imports(self, rva, size):
        """{dll name in lower case: [function name, or "#ordinal"]}"""
        result = {}
        if not rva:
            return result
        entry = self._offset(rva)
        for _ in range(4096):
            lookup, _, _, name, thunk = struct.unpack_from("<IIIII", self.data, entry)
            if not name:
                return result
            functions = result.setdefault(self._name(name).lower(), [])
            position = self._offset(lookup or thunk)
            width, flag = (8, 1 << 63) if self.pe32_plus else (4, 1 << 31)
            for _ in range(65536):
                value = self._u64(position) if self.pe32_plus else self._u32(position)
                if not value:
                    break
                if value & flag:
                    functions.append("#%d" % (value & 0xFFFF))
                else:
                    functions.append(self._name((value & 0x7FFFFFFF) + 2))
                position += width
            entry += 20
        raise PeError("import table without end")
