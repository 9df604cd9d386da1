#!/usr/bin/env python3
"""Runs clang-tidy over every compiled unit of the tree, in parallel, and
skips a unit whose last check was clean and whose inputs are unchanged.

A unit's inputs are its source, every header it includes (the compiler's
dependency list that ninja keeps), its compile command, every .clang-tidy
of the tree and the clang-tidy version; a unit is skipped only when a hash of
all of them matches the one stored after its last clean check. The dependency
list is trusted only when the unit's object file is newer than the source and
every header in it, i.e. when the list was written for what is on disk now;
otherwise the unit is checked and nothing is stored for it.

The store lives in the build folder (estilo-tidy.json), so a fresh clone
checks everything. Exits 1 on any finding, 2 on a usage error.

Usage: scripts/revision-tidy.py <build-dir> [-j N]
"""

import argparse
import concurrent.futures
import hashlib
import json
import os
import re
import shlex
import subprocess
import sys
import time

RAIZ = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CARPETAS = ("src", "tests", "bench", "tools", "firmware")
ALMACEN = "estilo-tidy.json"
# The folder of the compile commands clang-tidy reads, inside the build folder.
ORDENES = "estilo-tidy"
CABECERA_PRECOMPILADA = "cmake_pch.hxx"
HALLAZGO = re.compile(r"(warning|error): ")


def unidades(build):
    """The compile commands of the tree's own sources."""
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as f:
        entradas = json.load(f)
    prefijos = tuple(os.path.join(RAIZ, c) + os.sep for c in CARPETAS)
    return [e for e in entradas if os.path.abspath(e["file"]).startswith(prefijos)]


def argumentos(entrada):
    """The compile command without GCC's precompiled header, which clang cannot
    read: clang-tidy parses each unit whole, so a unit must also include what
    it uses."""
    args = entrada["arguments"] if "arguments" in entrada else shlex.split(entrada["command"])
    resultado = []
    saltar = False
    for i, a in enumerate(args):
        if saltar:
            saltar = False
        elif a == "-Winvalid-pch":
            pass
        elif a == "-include" and i + 1 < len(args) and args[i + 1].endswith(CABECERA_PRECOMPILADA):
            saltar = True
        else:
            resultado.append(a)
    return resultado


def objeto(entrada):
    args = argumentos(entrada)
    for i, a in enumerate(args):
        if a == "-o" and i + 1 < len(args):
            return os.path.normpath(os.path.join(entrada["directory"], args[i + 1]))
    return None


def dependencias(build):
    """Object file -> the headers and source its last compile read, from ninja."""
    try:
        salida = subprocess.run(["ninja", "-C", build, "-t", "deps"], capture_output=True, text=True,
                                check=True).stdout
    except (OSError, subprocess.CalledProcessError):
        return {}
    resultado = {}
    actual = None
    for linea in salida.splitlines():
        if not linea.strip():
            actual = None
        elif not linea.startswith(" "):
            actual = os.path.normpath(os.path.join(build, linea.split(":", 1)[0]))
            resultado[actual] = []
        elif actual is not None:
            resultado[actual].append(os.path.normpath(os.path.join(build, linea.strip())))
    return resultado


class Huellas:
    """Content hashes, each file read once."""

    def __init__(self):
        self.FHuellas = {}

    def de(self, ruta):
        if ruta not in self.FHuellas:
            try:
                with open(ruta, "rb") as f:
                    self.FHuellas[ruta] = hashlib.sha256(f.read()).hexdigest()
            except OSError:
                self.FHuellas[ruta] = "ausente"
        return self.FHuellas[ruta]


def comun():
    """What every unit's check depends on: the tool and its configuration."""
    h = hashlib.sha256()
    h.update(subprocess.run(["clang-tidy", "--version"], capture_output=True, text=True).stdout.encode())
    for carpeta, subcarpetas, ficheros in os.walk(RAIZ):
        subcarpetas[:] = sorted(d for d in subcarpetas if d != ".git" and not d.startswith("build"))
        if ".clang-tidy" in ficheros:
            ruta = os.path.join(carpeta, ".clang-tidy")
            h.update(ruta.encode())
            with open(ruta, "rb") as f:
                h.update(f.read())
    return h.hexdigest()


def clave(fuente, entradas, deps, base, huellas):
    """The unit's hash over every compile command of its source (a source
    built twice with different definitions has two), or None when a
    dependency list may be out of date."""
    h = hashlib.sha256(base.encode())
    leidos = {fuente}
    for entrada in entradas:
        obj = objeto(entrada)
        if obj is None or obj not in deps:
            return None
        try:
            momento = os.stat(obj).st_mtime_ns
            if any(os.stat(r).st_mtime_ns > momento for r in [fuente] + deps[obj]):
                return None
        except OSError:
            return None
        h.update(entrada["directory"].encode())
        h.update("\0".join(argumentos(entrada)).encode())
        leidos.update(deps[obj])
    for ruta in sorted(leidos):
        h.update(ruta.encode())
        h.update(huellas.de(ruta).encode())
    return h.hexdigest()


def escribir_ordenes(build, entradas):
    """The compile commands clang-tidy reads: the tree's units, as argumentos()
    gives them."""
    carpeta = os.path.join(build, ORDENES)
    os.makedirs(carpeta, exist_ok=True)
    ordenes = [{"directory": e["directory"], "file": e["file"], "arguments": argumentos(e)} for e in entradas]
    guardar(os.path.join(carpeta, "compile_commands.json"), ordenes)
    return carpeta


def revisar(ordenes, fuente):
    inicio = time.monotonic()
    # The commands are GCC's: a warning option only GCC knows is not a finding.
    r = subprocess.run(["clang-tidy", "-p", ordenes, "--quiet", "--extra-arg=-Wno-unknown-warning-option", fuente],
                       capture_output=True, text=True)
    texto = re.sub(r"\x1b\[[0-9;]*m", "", r.stdout + r.stderr)
    limpio = r.returncode == 0 and not HALLAZGO.search(texto)
    return limpio, texto, time.monotonic() - inicio


def main():
    p = argparse.ArgumentParser(description="clang-tidy over the tree, skipping unchanged clean units")
    p.add_argument("build")
    p.add_argument("-j", type=int, default=os.cpu_count() or 1)
    opciones = p.parse_args()
    build = os.path.abspath(opciones.build)
    if not os.path.isfile(os.path.join(build, "compile_commands.json")):
        print(f"no {build}/compile_commands.json: build first", file=sys.stderr)
        return 2

    ruta_almacen = os.path.join(build, ALMACEN)
    try:
        with open(ruta_almacen, encoding="utf-8") as f:
            almacen = json.load(f)
    except (OSError, ValueError):
        almacen = {}

    todas = {}
    entradas = unidades(build)
    for e in entradas:
        todas.setdefault(os.path.abspath(e["file"]), []).append(e)
    ordenes = escribir_ordenes(build, entradas)
    deps = dependencias(build)
    base = comun()
    huellas = Huellas()
    pendientes = []
    nuevo = {}
    for fuente, entradas in sorted(todas.items()):
        k = clave(fuente, entradas, deps, base, huellas)
        if k is not None and almacen.get(fuente) == k:
            nuevo[fuente] = k
        else:
            pendientes.append((fuente, k))
    print(f"clang-tidy: {len(todas)} units, {len(todas) - len(pendientes)} unchanged since a clean check, "
          f"{len(pendientes)} to check on {opciones.j} jobs", flush=True)

    fallidas = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, opciones.j)) as grupo:
        tareas = {grupo.submit(revisar, ordenes, f): (f, k) for f, k in pendientes}
        for n, tarea in enumerate(concurrent.futures.as_completed(tareas), 1):
            fuente, k = tareas[tarea]
            limpio, texto, segundos = tarea.result()
            nombre = os.path.relpath(fuente, RAIZ)
            print(f"[{n}/{len(pendientes)}] {nombre} ({segundos:.1f} s){'' if limpio else ' FINDINGS'}", flush=True)
            if limpio:
                if k is not None:
                    nuevo[fuente] = k
            else:
                fallidas.append((nombre, texto))
            # Kept after every unit, so an interrupted run keeps what it checked.
            if k is not None and limpio:
                guardar(ruta_almacen, nuevo)
    guardar(ruta_almacen, nuevo)

    for nombre, texto in fallidas:
        print(f"== {nombre}", file=sys.stderr)
        print(texto.rstrip(), file=sys.stderr)
    if fallidas:
        print(f"clang-tidy found faults in {len(fallidas)} units", file=sys.stderr)
        return 1
    return 0


def guardar(ruta, almacen):
    temporal = ruta + ".tmp"
    with open(temporal, "w", encoding="utf-8") as f:
        json.dump(almacen, f, indent=0, sort_keys=True)
    os.replace(temporal, ruta)


if __name__ == "__main__":
    sys.exit(main())
