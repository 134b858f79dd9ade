#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer that its own layer does not use.

The layer table is the one the build declares (cmake/Layers.cmake writes it to layers.txt):
    name: folder... | used-layer...
A file in a layer's folder may include headers of that layer's folders and of the folders of the
layers it uses, directly or through others; every folder of src/ holding sources must belong to a
layer. Usage: check-layers.py SOURCE_DIR LAYERS_TXT
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def read_layers(path):
    layers = {}
    with open(path, encoding='utf-8') as table:
        for line in table:
            line = line.strip()
            if not line:
                continue
            name, rest = line.split(':', 1)
            folders, uses = rest.split('|', 1)
            layers[name.strip()] = (folders.split(), uses.split())
    return layers


def reachable(layers, name, seen=None):
    seen = set() if seen is None else seen
    if name not in seen:
        seen.add(name)
        for used in layers.get(name, ((), ()))[1]:
            reachable(layers, used, seen)
    return seen


def main(source_dir, layers_txt):
    layers = read_layers(layers_txt)
    layer_of = {folder: name for name, (folders, _) in layers.items() for folder in folders}
    src = os.path.join(source_dir, 'src')
    faults = []
    for folder_path, _, files in sorted(os.walk(src)):
        folder = os.path.relpath(folder_path, src)
        sources = sorted(f for f in files if f.endswith(('.cpp', '.h')))
        if not sources:
            continue
        if folder not in layer_of:
            faults.append(f'src/{folder}: a folder of sources that no layer lists')
            continue
        layer = layer_of[folder]
        allowed = {f for used in reachable(layers, layer) for f in layers[used][0]}
        for name in sources:
            with open(os.path.join(folder_path, name), encoding='utf-8', errors='replace') as text:
                for number, line in enumerate(text, 1):
                    match = INCLUDE.match(line)
                    if not match or '/' not in match.group(1):
                        continue
                    target = os.path.dirname(match.group(1))
                    if target in allowed:
                        continue
                    where = f'src/{folder}/{name}:{number}'
                    if target in layer_of:
                        faults.append(f'{where}: {layer} includes {match.group(1)} of '
                                      f'{layer_of[target]}, which {layer} does not use')
                    else:
                        faults.append(f'{where}: includes {match.group(1)}, of no layer')
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
