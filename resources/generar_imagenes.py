#!/usr/bin/env python3
"""Writes the window's artwork as SVG files into resources/imagenes/.

The pictures are drawn here as code so that the lists (arrow strips, head
tints) stay consistent; run it again after a change and commit the SVGs.
"""
import math
import os
import random

DESTINO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "imagenes")

VERDE = "#008000"   # unlit arrow parts
MARINO = "#000080"  # their outline
LIMA = "#00ff00"    # detected
AMARILLO = "#ffff00"  # sent


def svg(ancho, alto, cuerpo, defs=""):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{ancho}" height="{alto}" '
            f'viewBox="0 0 {ancho} {alto}">\n'
            + (f"<defs>\n{defs}</defs>\n" if defs else "")
            + cuerpo + "</svg>\n")


def escribir(nombre, contenido):
    with open(os.path.join(DESTINO, nombre + ".svg"), "w", encoding="utf-8") as f:
        f.write(contenido)


def brillo(ident):
    # A soft highlight over the upper half of a shape.
    return (f'<linearGradient id="{ident}" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#ffffff" stop-opacity="0.55"/>'
            '<stop offset="0.5" stop-color="#ffffff" stop-opacity="0.08"/>'
            '<stop offset="1" stop-color="#000000" stop-opacity="0.12"/></linearGradient>\n')


def pieza(camino, color):
    return (f'<path d="{camino}" fill="{color}" stroke="{MARINO}" stroke-width="1.5" stroke-linejoin="round"/>\n'
            f'<path d="{camino}" fill="url(#brillo)"/>\n')


# ---- Arrow strips --------------------------------------------------------

# Up/down strip, 30 x 160: the picture sits centred in a 32 x 162 control, so
# the clickable regions (control x 6..28, y 10..60 and 100..150) are picture
# x 5..27, y 9..59 and 99..149.
FLECHA_ARRIBA = "M15 9 L27 33 L20 33 L20 59 L10 59 L10 33 L3 33 Z"
FLECHA_ABAJO = "M15 150 L27 126 L20 126 L20 100 L10 100 L10 126 L3 126 Z"


def flechas_arriba_abajo(indice):
    arriba, punto, abajo = VERDE, VERDE, VERDE
    if indice == 1:
        punto = LIMA
    elif indice == 2:
        arriba = LIMA
    elif indice == 3:
        abajo = LIMA
    elif indice == 4:
        punto = AMARILLO
    elif indice == 5:
        arriba = AMARILLO
    elif indice == 6:
        abajo = AMARILLO
    cuerpo = pieza(FLECHA_ARRIBA, arriba)
    cuerpo += (f'<circle cx="15" cy="79.5" r="9" fill="{punto}" stroke="{MARINO}" stroke-width="1.5"/>\n'
               '<circle cx="15" cy="79.5" r="9" fill="url(#brillo)"/>\n')
    cuerpo += pieza(FLECHA_ABAJO, abajo)
    return svg(30, 160, cuerpo, brillo("brillo"))


# Left/right strip, 160 x 30, centred in a 160 x 32 control: regions x 10..60
# and 100..150, picture y 5..27.
FLECHA_IZQUIERDA = "M9 15 L33 3 L33 10 L60 10 L60 20 L33 20 L33 27 Z"
FLECHA_DERECHA = "M151 15 L127 3 L127 10 L100 10 L100 20 L127 20 L127 27 Z"


def flechas_izquierda_derecha(indice):
    izquierda, derecha = VERDE, VERDE
    if indice == 1:
        izquierda = LIMA
    elif indice == 2:
        derecha = LIMA
    elif indice == 3:
        izquierda = AMARILLO
    elif indice == 4:
        derecha = AMARILLO
    return svg(160, 30, pieza(FLECHA_IZQUIERDA, izquierda) + pieza(FLECHA_DERECHA, derecha), brillo("brillo"))


# ---- Head seen from above ------------------------------------------------

TINTES = [
    ("#e6e6e6", "#a9a9a9", "#6e6e6e"),  # grey: idle
    ("#d8fbff", "#5fd3e0", "#17808c"),  # cyan: contacts read
    ("#ffd6d6", "#ea6a6a", "#9a2222"),  # red: no contact values
]


def surcos(lado, oscuro):
    """Sulci of one hemisphere: smooth wavy strokes kept inside it (the
    toolkit's SVG has no clipping), the same in every tint."""
    azar = random.Random(7 if lado < 0 else 11)
    trazos = []
    for fila in range(9):
        y = 55 + fila * 21
        # Half-width of the brain at this height, from the ellipse it fills.
        mitad = 78 * math.sqrt(max(0.0, 1 - ((y - 139) / 101) ** 2))
        inicio, fin = 7, mitad - 9
        if fin - inicio < 12:
            continue
        puntos = []
        for paso in range(5):
            x = 110 + lado * (inicio + (fin - inicio) * paso / 4)
            puntos.append((x, y + azar.uniform(-6, 6)))
        d = f"M{puntos[0][0]:.1f} {puntos[0][1]:.1f}"
        for (xa, ya), (xb, yb) in zip(puntos, puntos[1:]):
            d += f" Q{(xa + xb) / 2:.1f} {(ya + yb) / 2 + azar.uniform(-9, 9):.1f} {xb:.1f} {yb:.1f}"
        trazos.append(f'<path d="{d}" fill="none" stroke="{oscuro}" stroke-width="1.6" '
                      'stroke-linecap="round" opacity="0.75"/>')
    return "\n".join(trazos) + "\n"


def casco(indice):
    claro, medio, oscuro = TINTES[indice]
    defs = (
        '<radialGradient id="piel" cx="0.45" cy="0.4" r="0.65">'
        '<stop offset="0" stop-color="#fbe7d3"/><stop offset="1" stop-color="#e2b48c"/></radialGradient>\n'
        f'<radialGradient id="cerebro" cx="0.5" cy="0.42" r="0.6">'
        f'<stop offset="0" stop-color="{claro}"/><stop offset="1" stop-color="{medio}"/></radialGradient>\n'
    )
    cuerpo = (
        # Ears and nose first, the head's outline over them.
        '<ellipse cx="11" cy="130" rx="9" ry="20" fill="url(#piel)" stroke="#9c6b4a" stroke-width="2"/>\n'
        '<ellipse cx="209" cy="130" rx="9" ry="20" fill="url(#piel)" stroke="#9c6b4a" stroke-width="2"/>\n'
        '<path d="M96 22 L110 3 L124 22 Z" fill="url(#piel)" stroke="#9c6b4a" stroke-width="2" stroke-linejoin="round"/>\n'
        '<ellipse cx="110" cy="135" rx="98" ry="117" fill="url(#piel)" stroke="#9c6b4a" stroke-width="2"/>\n'
    )
    for lado, contorno in ((-1, "M108 38 C70 34 34 60 30 118 C27 170 48 228 108 240 Z"),
                           (1, "M112 38 C150 34 186 60 190 118 C193 170 172 228 112 240 Z")):
        cuerpo += f'<path d="{contorno}" fill="url(#cerebro)"/>\n'
        cuerpo += surcos(lado, oscuro)
        cuerpo += f'<path d="{contorno}" fill="none" stroke="{oscuro}" stroke-width="2.2" stroke-linejoin="round"/>\n'
    return svg(220, 256, cuerpo, defs)


# ---- Chart legend --------------------------------------------------------

def leyenda():
    cuerpo = ('<rect x="0" y="0" width="20" height="130" fill="#ffffff"/>\n'
              '<path d="M20 0.5 H0.5 V129.5 H20" fill="none" stroke="#000000" stroke-width="1" '
              'shape-rendering="crispEdges"/>\n')
    trazo = 'stroke="#000000" stroke-width="1" stroke-linejoin="miter"'
    # dash, disc, arrows up, down, left, right; centred at x 10.5 and y 19..119
    cuerpo += f'<rect x="5.5" y="17.5" width="10" height="3" fill="#000000" {trazo}/>\n'
    cuerpo += f'<circle cx="10.5" cy="39.5" r="5" fill="#0000ff" {trazo}/>\n'
    flechas = [
        (59, "#ff0000", "M10.5 54.5 L15.5 59.5 L12.5 59.5 L12.5 64.5 L8.5 64.5 L8.5 59.5 L5.5 59.5 Z"),
        (79, "#008000", "M10.5 84.5 L15.5 79.5 L12.5 79.5 L12.5 74.5 L8.5 74.5 L8.5 79.5 L5.5 79.5 Z"),
        (99, "#ff00ff", "M5.5 99.5 L10.5 94.5 L10.5 97.5 L15.5 97.5 L15.5 101.5 L10.5 101.5 L10.5 104.5 Z"),
        (119, "#008080", "M15.5 119.5 L10.5 114.5 L10.5 117.5 L5.5 117.5 L5.5 121.5 L10.5 121.5 L10.5 124.5 Z"),
    ]
    for _, color, camino in flechas:
        cuerpo += f'<path d="{camino}" fill="{color}" {trazo}/>\n'
    return svg(20, 130, cuerpo)


# ---- Button glyphs (16 x 16) ---------------------------------------------

def carpeta():
    defs = ('<linearGradient id="tapa" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#fff3a0"/><stop offset="1" stop-color="#f2c230"/></linearGradient>\n'
            '<linearGradient id="fondo" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#e9b830"/><stop offset="1" stop-color="#c8901a"/></linearGradient>\n')
    cuerpo = ('<path d="M1.5 3.5 H6 L7.5 5 H13.5 V13.5 H1.5 Z" fill="url(#fondo)" stroke="#8a5d0a" '
              'stroke-linejoin="round"/>\n'
              '<path d="M1.5 13.5 L4 7.5 H15.5 L13.5 13.5 Z" fill="url(#tapa)" stroke="#8a5d0a" '
              'stroke-linejoin="round"/>\n')
    return svg(16, 16, cuerpo, defs)


def centrar():
    cuerpo = ('<rect x="1.5" y="3.5" width="3" height="9" rx="0.5" fill="#20a020" stroke="#0b5a0b"/>\n'
              '<rect x="11.5" y="3.5" width="3" height="9" rx="0.5" fill="#20a020" stroke="#0b5a0b"/>\n'
              '<rect x="5.5" y="5.5" width="5" height="5" fill="#e02020" stroke="#7a0a0a"/>\n')
    return svg(16, 16, cuerpo)


# ---- Tool-bar images (24 x 24) -------------------------------------------

def goma():
    defs = ('<linearGradient id="g" x1="0" y1="0" x2="1" y2="1">'
            '<stop offset="0" stop-color="#ff9eb5"/><stop offset="1" stop-color="#e0486e"/></linearGradient>\n')
    cuerpo = (
        '<path d="M3 17 L12 8 L19 15 L13 21 H7 Z" fill="url(#g)" stroke="#7a1f36" stroke-width="1.2" '
        'stroke-linejoin="round"/>\n'
        '<path d="M3 17 L7 21 H13 L8.5 16.5 Z" fill="#4a7fd8" stroke="#1f3e7a" stroke-width="1.2" '
        'stroke-linejoin="round"/>\n'
        '<path d="M7 22.5 H20" stroke="#777" stroke-width="1" stroke-linecap="round"/>\n'
    )
    for x, y, r in ((17, 4, 3), (21.5, 9, 2), (12.5, 3, 1.6)):
        cuerpo += (f'<path d="M{x} {y - r} L{x + r * 0.3} {y - r * 0.3} L{x + r} {y} L{x + r * 0.3} {y + r * 0.3} '
                   f'L{x} {y + r} L{x - r * 0.3} {y + r * 0.3} L{x - r} {y} L{x - r * 0.3} {y - r * 0.3} Z" '
                   'fill="#ffd21f" stroke="#c08a00" stroke-width="0.6"/>\n')
    return svg(24, 24, cuerpo, defs)


def lupa():
    defs = ('<radialGradient id="v" cx="0.35" cy="0.35" r="0.7">'
            '<stop offset="0" stop-color="#ffffff"/><stop offset="1" stop-color="#9fd0f5"/></radialGradient>\n')
    cuerpo = ('<path d="M14.5 14.5 L21 21" stroke="#5a3a1a" stroke-width="4" stroke-linecap="round"/>\n'
              '<circle cx="10" cy="10" r="7" fill="url(#v)" stroke="#3c4a5a" stroke-width="2"/>\n'
              '<path d="M6.5 8.5 A4 4 0 0 1 9 6" fill="none" stroke="#ffffff" stroke-width="1.5" '
              'stroke-linecap="round"/>\n')
    return svg(24, 24, cuerpo, defs)


def disquete():
    defs = ('<linearGradient id="d" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#5a7fd0"/><stop offset="1" stop-color="#2c4a9a"/></linearGradient>\n')
    cuerpo = ('<path d="M3 3.5 H18 L21 6.5 V20.5 H3 Z" fill="url(#d)" stroke="#172a5c" stroke-width="1.2" '
              'stroke-linejoin="round"/>\n'
              '<rect x="7" y="3.5" width="10" height="6" fill="#d8dde6" stroke="#172a5c" stroke-width="0.8"/>\n'
              '<rect x="13.5" y="4.5" width="2" height="4" fill="#2c4a9a"/>\n'
              '<rect x="6" y="12.5" width="12" height="8" rx="0.8" fill="#ffffff" stroke="#172a5c" '
              'stroke-width="0.8"/>\n'
              '<path d="M8 15 H16 M8 17.5 H14" stroke="#9aa4b8" stroke-width="0.9"/>\n')
    return svg(24, 24, cuerpo, defs)


def libro_ayuda():
    defs = ('<linearGradient id="l" x1="0" y1="0" x2="1" y2="0">'
            '<stop offset="0" stop-color="#6a2a9a"/><stop offset="1" stop-color="#9a4ad0"/></linearGradient>\n')
    cuerpo = ('<path d="M5 3 H19 V21 H6.5 A1.5 1.5 0 0 1 5 19.5 Z" fill="url(#l)" stroke="#3a1060" '
              'stroke-width="1.2" stroke-linejoin="round"/>\n'
              '<path d="M6.5 18 H19 V21 H6.5 A1.5 1.5 0 0 1 6.5 18 Z" fill="#f4f0e6" stroke="#3a1060" '
              'stroke-width="1"/>\n'
              '<path d="M9.5 8.2 A2.7 2.7 0 1 1 13.2 10.6 C12.4 11 12.2 11.6 12.2 12.6" fill="none" '
              'stroke="#ffd700" stroke-width="2.2" stroke-linecap="round"/>\n'
              '<circle cx="12.2" cy="15.3" r="1.3" fill="#ffd700"/>\n')
    return svg(24, 24, cuerpo, defs)


def cerebro_lateral(escala=1.0):
    """Brain seen from the side, lobes in colour; drawn on a 24 x 24 grid."""
    lobulos = [
        # frontal, parietal, occipital, temporal, cerebellum
        ("M3.2 12.5 C2 7.5 5.5 3.5 10.5 3.3 L11 11.5 L7 14.5 C5 14.6 3.8 13.8 3.2 12.5 Z", "#3b82f6"),
        ("M10.5 3.3 C14.5 3 18 4.5 19.5 7.5 L15 11 L11 11.5 Z", "#facc15"),
        ("M19.5 7.5 C21.5 10 21.5 13.5 19.8 15.5 L15.5 13.5 L15 11 Z", "#ef4444"),
        ("M7 14.5 L11 11.5 L15 11 L15.5 13.5 C14 16 10.5 17 7 14.5 Z", "#22c55e"),
        ("M15.5 13.5 L19.8 15.5 C19 18 16 18.6 14.6 16.6 Z", "#a855f7"),
    ]
    cuerpo = f'<g transform="scale({escala})">\n'
    cuerpo += ('<path d="M12.5 15.5 C12.5 18 13 20 12 21.5 L14.6 21.5 C14.8 19.5 14.6 17.5 14.6 16.6 Z" '
               'fill="#b0a090" stroke="#4a3a2a" stroke-width="0.8"/>\n')
    for camino, color in lobulos:
        cuerpo += f'<path d="{camino}" fill="{color}" stroke="#2a2a2a" stroke-width="0.8" stroke-linejoin="round"/>\n'
    cuerpo += ('<path d="M6 7 C7.5 8 7 9.5 8.5 10 M13 5.5 C13.5 7 15 7 15.5 8.5 M9 13 C10.5 12.8 12 13.5 13 13" '
               'fill="none" stroke="#1a1a1a" stroke-width="0.6" stroke-linecap="round" opacity="0.6"/>\n')
    cuerpo += "</g>\n"
    return cuerpo


def todoterreno():
    defs = ('<linearGradient id="c" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#2fb5b5"/><stop offset="1" stop-color="#0f6f6f"/></linearGradient>\n')
    cuerpo = ('<path d="M2 15.5 V11 L5 10.5 L7.5 6 H15 L17.5 10.5 L21.5 11.5 V15.5 Z" fill="url(#c)" '
              'stroke="#063c3c" stroke-width="1.1" stroke-linejoin="round"/>\n'
              '<path d="M8.4 7.2 H11 V10.3 H6.8 Z M12 7.2 H14.4 L16 10.3 H12 Z" fill="#cfeffa" stroke="#063c3c" '
              'stroke-width="0.6"/>\n'
              '<rect x="14.5" y="4.5" width="4" height="1.3" fill="#063c3c"/>\n')
    for x in (6.5, 17):
        cuerpo += (f'<circle cx="{x}" cy="16.5" r="3.6" fill="#2a2a2a" stroke="#000" stroke-width="0.8"/>\n'
                   f'<circle cx="{x}" cy="16.5" r="1.5" fill="#c8c8c8"/>\n')
    return svg(24, 24, cuerpo, defs)


def casco_rojo():
    defs = ('<radialGradient id="r" cx="0.38" cy="0.3" r="0.75">'
            '<stop offset="0" stop-color="#ff8a80"/><stop offset="0.5" stop-color="#e02020"/>'
            '<stop offset="1" stop-color="#8a0a0a"/></radialGradient>\n')
    cuerpo = ('<path d="M3 16 C3 8 7.5 3.5 13 3.5 C18.5 3.5 21.5 8 21.5 13.5 L21.5 17 L13 17 L11 20 H4.5 '
              'C3.5 20 3 19 3 16 Z" fill="url(#r)" stroke="#5a0505" stroke-width="1.2" stroke-linejoin="round"/>\n'
              '<path d="M13 9 H21.3 L21.5 14 H13.5 C12.5 14 12 13.5 12 12.5 V10 C12 9.4 12.4 9 13 9 Z" '
              'fill="#2a3440" stroke="#111" stroke-width="0.8"/>\n'
              '<path d="M14 10 H19" stroke="#8fb0d0" stroke-width="0.9" stroke-linecap="round"/>\n'
              '<path d="M5 8 C6.5 5.5 9 4.5 11 4.5" fill="none" stroke="#ffffff" stroke-width="1.2" '
              'stroke-linecap="round" opacity="0.7"/>\n')
    return svg(24, 24, cuerpo, defs)


def mano():
    defs = ('<linearGradient id="m" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#ffe0c0"/><stop offset="1" stop-color="#f0b07a"/></linearGradient>\n')
    cuerpo = ('<path d="M9 21.5 L6 15.5 C5.3 14.2 6.5 13 7.6 13.8 L9.5 15.5 V4.2 C9.5 2.6 12 2.6 12 4.2 V11 '
              'C12 10 14.3 10 14.3 11 V11.8 C14.3 10.8 16.6 10.8 16.6 11.8 V12.6 C16.6 11.6 19 11.6 19 12.6 '
              'V17.5 C19 19.5 18 20.5 17.5 21.5 Z" fill="url(#m)" stroke="#7a4a20" stroke-width="1.1" '
              'stroke-linejoin="round"/>\n'
              '<path d="M12 11 V14 M14.3 11.8 V14 M16.6 12.6 V14.2" stroke="#7a4a20" stroke-width="0.7" '
              'stroke-linecap="round"/>\n')
    return svg(24, 24, cuerpo, defs)


def main():
    os.makedirs(DESTINO, exist_ok=True)
    for i in range(7):
        escribir(f"flechas_aa{i}", flechas_arriba_abajo(i))
    for i in range(5):
        escribir(f"flechas_id{i}", flechas_izquierda_derecha(i))
    for i in range(3):
        escribir(f"casco{i}", casco(i))
    escribir("leyenda", leyenda())
    escribir("carpeta", carpeta())
    escribir("centrar", centrar())
    barras = [goma(), lupa(), disquete(), libro_ayuda(), svg(24, 24, cerebro_lateral()), todoterreno(),
              casco_rojo(), mano()]
    for i, contenido in enumerate(barras):
        escribir(f"toolbar{i}", contenido)
    escribir("icono", svg(24, 24, cerebro_lateral()))


if __name__ == "__main__":
    main()
