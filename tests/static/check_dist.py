"""Static checks of a program folder (dist) for one architecture, run on every machine: each binary is a PE
image of that architecture and of the right kind and subsystem, imports by name only from system DLLs (or
the folder's own) and only what the committed export list allows, and the libraries export the names their
callers look up."""
import argparse
import os
import sys

from pe_image import PeError, PeImage

MACHINE = {"x86": "i386", "x64": "x86-64"}
CONSOLE_PROGRAMS = {"vurconf.exe"}
# Looked up with GetProcAddress by these plain names: the starter calls the monitor's hook entry, the
# monitor and the scanner the engines', every windowed program the picture library's.
EXPORTS = {
    "watch.dll": {"HookProc"},
    "vurscan.dll": {"InitDialersDatabase", "ScanDialers"},
    "vurheur.dll": {"CheckHeuristically"},
    "vurjpeg.dll": {"DecodeJpegPicture"},
}
# Windows 95 and NT 4 load no image that asks for a newer subsystem.
MAX_SUBSYSTEM_X86 = (4, 0)


def load_exports(path):
    """({dll: {name: note}}, {dll: {name}} of the x64 section)"""
    allowed, x64, section = {}, {}, None
    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip()
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1].lower()
                continue
            if section == "x64":
                dll, name = line.split()
                x64.setdefault(dll.lower(), set()).add(name)
            elif section:
                name, _, note = line.partition("  ")
                allowed.setdefault(section, {})[name.strip()] = note.strip()
    return allowed, x64


def is_wide_call(name):
    return len(name) > 1 and name.endswith("W") and name[-2].islower()


def check_binary(path, arch, allowed, x64, own, problems, judged):
    name = os.path.basename(path)
    lower = name.lower()
    try:
        image = PeImage(path)
    except (PeError, OSError) as e:
        problems.append("%s: not a readable PE image (%s)" % (name, e))
        return
    if image.machine != MACHINE[arch]:
        problems.append("%s: machine %s, expected %s" % (name, image.machine, MACHINE[arch]))
    if image.pe32_plus != (arch == "x64"):
        problems.append("%s: %s image" % (name, "PE32+" if image.pe32_plus else "PE32"))
    if image.is_dll != lower.endswith(".dll"):
        problems.append("%s: image kind does not match its extension" % name)
    if not image.is_dll:
        wanted = "console" if lower in CONSOLE_PROGRAMS else "gui"
        if image.subsystem != wanted:
            problems.append("%s: subsystem %s, expected %s" % (name, image.subsystem, wanted))
    if arch == "x86" and image.subsystem_version > MAX_SUBSYSTEM_X86:
        problems.append("%s: subsystem version %d.%d, Windows 95 and NT 4 need 4.0" % ((name,) +
                                                                                       image.subsystem_version))
    for dll, functions in sorted(image.imports.items()):
        if dll in own:
            # The folder's own libraries (the scanner imports the engines): every name must be exported as is,
            # or the system refuses to start the program.
            try:
                exported = set(PeImage(os.path.join(os.path.dirname(path), own[dll])).exports)
            except (PeError, OSError):
                continue  # reported as not readable by its own check
            for function in sorted(set(functions) - exported):
                problems.append("%s imports %s!%s, which that library does not export" % (name, dll, function))
            continue
        if dll not in allowed:
            problems.append("%s imports %s, which is no system DLL of the list" % (name, dll))
            continue
        for function in functions:
            if function.startswith("#"):
                problems.append("%s imports %s from %s by ordinal" % (name, function, dll))
            elif function in allowed[dll]:
                note = allowed[dll][function]
                if is_wide_call(function) and dll != "msvcrt.dll":
                    if not note.startswith("9x-stub:"):
                        problems.append("%s imports the wide call %s without a judgement in the list" %
                                        (name, function))
                    judged.add("%s!%s" % (dll, function))
            elif arch == "x64" and function in x64.get(dll, ()):
                pass
            else:
                problems.append("%s imports %s!%s, which the list does not have for Windows 95 and NT 4" %
                                (name, dll, function))
    missing = EXPORTS.get(lower, set()) - set(image.exports)
    for export in sorted(missing):
        problems.append("%s does not export %s under that name (it exports %s)" % (name, export,
                                                                                   sorted(image.exports)))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("dist")
    parser.add_argument("--arch", choices=sorted(MACHINE), required=True)
    parser.add_argument("--exports", default=os.path.join(os.path.dirname(__file__), "win95_nt4_exports.txt"))
    args = parser.parse_args()
    allowed, x64 = load_exports(args.exports)
    problems, judged, checked, found = [], set(), 0, set()
    for root, _, files in os.walk(args.dist):
        own = {f.lower(): f for f in files}
        for name in sorted(files):
            if name.lower().endswith((".exe", ".dll")):
                checked += 1
                found.add(name.lower())
                check_binary(os.path.join(root, name), args.arch, allowed, x64, own, problems, judged)
    for library in sorted(set(EXPORTS) - found):
        problems.append("%s is missing from the folder" % library)
    for p in problems:
        print("FAILED: " + p)
    for call in sorted(judged):
        print("judged wide call: " + call)
    print("checked %d binaries of %s, %d problems" % (checked, args.arch, len(problems)))
    return 1 if problems or not checked else 0


if __name__ == "__main__":
    sys.exit(main())
