#!/usr/bin/env python3
"""The layers of src/ include only downward.

    tools/layering.py SRC_DIR

Each folder of SRC_DIR is a layer; a source file of a layer may include headers of the
layers below it and of its own, as the table says, and nothing else of SRC_DIR. base/ is pure
logic: it includes no header of the system's C API (no <windows.h> nor any other <....h>).
Lists every include that breaks this, with its file and line; exits 1 when there is one.
"""
import pathlib
import re
import sys

# The layers each layer may include (its own included). The resource script of app/ names
# its pictures in app/res/.
ALLOWED = {
    "base": {"base"},
    "framework": {"framework", "base"},
    "components": {"components", "framework", "base"},
    "capture": {"capture", "framework", "base"},
    "forms": {"forms", "components", "capture", "framework", "base"},
    "app": {"app", "res", "forms", "components", "capture", "framework", "base"},
}
SOURCES = {".h", ".cpp", ".rc"}
QUOTED = re.compile(r'^\s*#\s*include\s+"([^"/]+)/[^"]*"')
SYSTEM_C = re.compile(r"^\s*#\s*include\s+<([^>]+\.h)>")


def Faults(src):
    faults = []
    for layer_dir in sorted(p for p in src.iterdir() if p.is_dir()):
        layer = layer_dir.name
        if layer not in ALLOWED:
            faults.append(f"{layer_dir}: a folder that is no known layer")
            continue
        for path in sorted(layer_dir.rglob("*")):
            if path.suffix not in SOURCES:
                continue
            for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
                quoted = QUOTED.match(line)
                if quoted and quoted.group(1) not in ALLOWED[layer]:
                    faults.append(f"{path}:{number}: {layer}/ includes {quoted.group(1)}/, a layer above it")
                system = SYSTEM_C.match(line)
                if layer == "base" and system:
                    faults.append(f"{path}:{number}: base/ includes <{system.group(1)}>, a system header")
    return faults


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    src = pathlib.Path(sys.argv[1])
    faults = Faults(src)
    for fault in faults:
        print(fault)
    layers = sum(1 for p in src.iterdir() if p.is_dir())
    print(f"layering: {len(faults)} wrong-way include(s) in {layers} layers")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
