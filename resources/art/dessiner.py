#!/usr/bin/env python3
"""Draws every picture of Tarvane into resources/images/.

A developer step: the PNG, ICO and SVG files it writes are kept in the repository, so building
the program needs neither Python nor Pillow. Run it again after changing a drawing:

    python3 resources/art/dessiner.py          (needs Pillow: Debian package python3-pil)

Each drawing is described in its own unit square and rendered at eight times the target size,
then reduced, so that the same drawing gives every size. The small icons are then mapped onto
the sixteen standard colours of the classic VGA palette.
"""

import math
import os
import struct

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

ICI = os.path.dirname(os.path.abspath(__file__))
SORTIE = os.path.join(os.path.dirname(ICI), "images")
SUR = 8  # supersampling factor

# The sixteen colours of the classic palette, in their usual order.
PALETTE_16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


# --- helpers ---------------------------------------------------------------------------------


def decaler(masque, dx, dy):
    """The mask moved by whole pixels, uncovered parts empty."""
    vide = Image.new("L", masque.size, 0)
    vide.paste(masque, (dx, dy))
    return vide


def en_relief(masque, corps, clair, sombre, contour, largeur):
    """Paints a shape with a light rim at the top left, a dark rim at the bottom right and an
    outline, the way buttons and tools are drawn on a classic desktop. Returns RGBA."""
    taille = masque.size
    image = Image.new("RGBA", taille, (0, 0, 0, 0))
    bord = masque
    for _ in range(largeur):  # one wide filter would be far slower than repeated small ones
        bord = bord.filter(ImageFilter.MaxFilter(3))
    image.paste(contour + (255,), (0, 0), bord)
    image.paste(corps + (255,), (0, 0), masque)
    haut_gauche = ImageChops.subtract(masque, decaler(masque, largeur, largeur))
    bas_droite = ImageChops.subtract(masque, decaler(masque, -largeur, -largeur))
    image.paste(clair + (255,), (0, 0), haut_gauche)
    image.paste(sombre + (255,), (0, 0), bas_droite)
    return image


def reduire(image, taille):
    return image.resize((taille, taille) if isinstance(taille, int) else taille, Image.LANCZOS)


def vers_palette_16(image):
    """Nearest of the sixteen colours for each pixel; half-transparent pixels become either
    fully transparent or fully opaque. Returns (indices, transparent) rows."""
    largeur, hauteur = image.size
    pixels = image.load()
    indices, transparents = [], []
    for y in range(hauteur):
        ligne_i, ligne_t = [], []
        for x in range(largeur):
            r, g, b, a = pixels[x, y]
            if a < 128:
                ligne_i.append(0)
                ligne_t.append(True)
                continue
            meilleur = min(range(16), key=lambda i: (PALETTE_16[i][0] - r) ** 2
                           + (PALETTE_16[i][1] - g) ** 2 + (PALETTE_16[i][2] - b) ** 2)
            ligne_i.append(meilleur)
            ligne_t.append(False)
        indices.append(ligne_i)
        transparents.append(ligne_t)
    return indices, transparents


def png_16_couleurs(indices, transparents, chemin):
    """A 4-bit PNG on the fixed palette. Transparency takes a palette slot that the drawing
    does not use, so the file keeps its sixteen entries."""
    hauteur, largeur = len(indices), len(indices[0])
    image = Image.new("P", (largeur, hauteur))
    utilises = {i for ligne in indices for i in ligne}
    libre = next((i for i in range(16) if i not in utilises), None)
    if libre is None:
        raise SystemExit("no free palette slot for transparency in " + chemin)
    palette = [composante for couleur in PALETTE_16 for composante in couleur]
    image.putpalette(palette)
    donnees = []
    for y in range(hauteur):
        for x in range(largeur):
            donnees.append(libre if transparents[y][x] else indices[y][x])
    image.putdata(donnees)
    image.save(chemin, bits=4, transparency=libre, optimize=False)
    return image


def bmp_ico_16_couleurs(indices, transparents):
    """One icon image as stored in an ICO file: a 4-bit bottom-up DIB with its AND mask."""
    hauteur, largeur = len(indices), len(indices[0])
    en_tete = struct.pack("<IiiHHIIiiII", 40, largeur, hauteur * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE_16)
    pas_xor = ((largeur * 4 + 31) // 32) * 4
    pas_and = ((largeur + 31) // 32) * 4
    xor, et = bytearray(), bytearray()
    for y in reversed(range(hauteur)):
        ligne = bytearray(pas_xor)
        for x in range(largeur):
            valeur = 0 if transparents[y][x] else indices[y][x]
            if x % 2 == 0:
                ligne[x // 2] |= valeur << 4
            else:
                ligne[x // 2] |= valeur
        xor += ligne
        ligne = bytearray(pas_and)
        for x in range(largeur):
            if transparents[y][x]:
                ligne[x // 8] |= 0x80 >> (x % 8)
        et += ligne
    return en_tete + palette + bytes(xor) + bytes(et)


def ecrire_ico(entrees, chemin):
    """entrees: list of (size, dib bytes)."""
    tete = struct.pack("<HHH", 0, 1, len(entrees))
    decalage = 6 + 16 * len(entrees)
    repertoire, corps = b"", b""
    for taille, dib in entrees:
        repertoire += struct.pack("<BBBBHHII", taille % 256, taille % 256, 16, 0, 1, 4, len(dib),
                                  decalage)
        decalage += len(dib)
        corps += dib
    with open(chemin, "wb") as fichier:
        fichier.write(tete + repertoire + corps)


def sur_fond(image, fond):
    """A 24-bit picture: the drawing laid on a plain background."""
    plat = Image.new("RGB", image.size, fond)
    plat.paste(image, (0, 0), image)
    return plat


# --- the spanner -----------------------------------------------------------------------------


class GeometrieCle:
    """The grey spanner of the program icon, in a 32-unit square: a ring end at the bottom left,
    an open jaw at the top right, seen at 45 degrees. Shared by the pixel renderings and the
    scalable one, so that both draw the same tool."""

    anneau, machoire = (8.5, 23.5), (22.0, 10.0)
    rayon_anneau, rayon_machoire = 6.0, 7.3
    demi_manche = 2.4  # half the handle's width
    rayon_trou = 2.9  # the ring's hexagonal hole
    ouverture = 2.8  # half the jaw's opening

    def __init__(self):
        dx, dy = self.machoire[0] - self.anneau[0], self.machoire[1] - self.anneau[1]
        longueur = math.hypot(dx, dy)
        self.u = (dx / longueur, dy / longueur)  # along the handle
        self.n = (-self.u[1], self.u[0])  # across it
        # The slot starts just past the head's centre and runs out of it, rounded at its bottom.
        self.fond_fente = self.vers(self.machoire, 0.5, 0)
        self.bout_fente = self.vers(self.machoire, 12, 0)

    def vers(self, origine, le_long, en_travers):
        """The point reached from origine by moving along the handle, then across it."""
        return (origine[0] + self.u[0] * le_long + self.n[0] * en_travers,
                origine[1] + self.u[1] * le_long + self.n[1] * en_travers)

    def trou(self):
        return [(self.anneau[0] + self.rayon_trou * math.cos(math.radians(60 * k + 15)),
                 self.anneau[1] + self.rayon_trou * math.sin(math.radians(60 * k + 15)))
                for k in range(6)]


def cle(taille):
    """The spanner rendered at taille pixels, relief included."""
    g = GeometrieCle()
    s = taille * SUR / 32.0
    c = SUR * taille // 32 if taille >= 32 else SUR // 2
    masque = Image.new("L", (taille * SUR, taille * SUR), 0)
    dessin = ImageDraw.Draw(masque)

    def point(p):
        return (p[0] * s, p[1] * s)

    def disque(centre, rayon, valeur):
        x, y = centre
        dessin.ellipse([(x - rayon) * s, (y - rayon) * s, (x + rayon) * s, (y + rayon) * s],
                       fill=valeur)

    d = g.demi_manche
    manche = [g.vers(g.anneau, 0, d), g.vers(g.machoire, 0, d), g.vers(g.machoire, 0, -d),
              g.vers(g.anneau, 0, -d)]
    dessin.polygon([point(p) for p in manche], fill=255)
    disque(g.anneau, g.rayon_anneau, 255)
    disque(g.machoire, g.rayon_machoire, 255)

    dessin.polygon([point(p) for p in g.trou()], fill=0)

    o = g.ouverture
    fente = [g.vers(g.fond_fente, 0, o), g.vers(g.bout_fente, 0, o), g.vers(g.bout_fente, 0, -o),
             g.vers(g.fond_fente, 0, -o)]
    dessin.polygon([point(p) for p in fente], fill=0)
    disque(g.fond_fente, o, 0)

    grand = en_relief(masque, (192, 192, 192), (255, 255, 255), (128, 128, 128), (0, 0, 0),
                      max(1, c))
    return reduire(grand, taille)


def contour_cle(g):
    """The spanner's outer edge, once around: straight lines and arcs of circle, as
    ("ligne", start, end) and ("arc", centre, radius, start angle, end angle), angles in radians
    in the picture's axes (y downwards), the arc turning from the start angle to the end one."""
    d, o = g.demi_manche, g.ouverture
    le_long_anneau = math.sqrt(g.rayon_anneau ** 2 - d ** 2)
    le_long_machoire = math.sqrt(g.rayon_machoire ** 2 - d ** 2)
    le_long_fente = math.sqrt(g.rayon_machoire ** 2 - o ** 2)
    p1 = g.vers(g.anneau, le_long_anneau, d)
    p2 = g.vers(g.machoire, -le_long_machoire, d)
    p3 = g.vers(g.machoire, le_long_fente, o)
    p4 = g.vers(g.fond_fente, 0, o)
    p5 = g.vers(g.fond_fente, 0, -o)
    p6 = g.vers(g.machoire, le_long_fente, -o)
    p7 = g.vers(g.machoire, -le_long_machoire, -d)
    p8 = g.vers(g.anneau, le_long_anneau, -d)

    def arc(centre, rayon, debut, fin, par):
        def angle(p):
            return math.atan2(p[1] - centre[1], p[0] - centre[0])
        a0 = angle(debut)
        vers_fin = (angle(fin) - a0) % (2 * math.pi)
        vers_par = (angle(par) - a0) % (2 * math.pi)
        a1 = a0 + vers_fin if vers_par < vers_fin else a0 - (2 * math.pi - vers_fin)
        return ("arc", centre, rayon, a0, a1)

    return [
        ("ligne", p1, p2),
        arc(g.machoire, g.rayon_machoire, p2, p3, g.vers(g.machoire, 0, g.rayon_machoire)),
        ("ligne", p3, p4),
        arc(g.fond_fente, o, p4, p5, g.vers(g.fond_fente, -o, 0)),
        ("ligne", p5, p6),
        arc(g.machoire, g.rayon_machoire, p6, p7, g.vers(g.machoire, 0, -g.rayon_machoire)),
        ("ligne", p7, p8),
        arc(g.anneau, g.rayon_anneau, p8, p1, g.vers(g.anneau, -g.rayon_anneau, 0)),
    ]


def polygone(segments, pas=math.radians(3)):
    """The edge as a closed list of points, arcs cut into short chords."""
    points = []
    for segment in segments:
        if segment[0] == "ligne":
            points.append(segment[1])
        else:
            _, centre, rayon, a0, a1 = segment
            morceaux = max(2, int(math.ceil(abs(a1 - a0) / pas)))
            for k in range(morceaux):
                a = a0 + (a1 - a0) * k / morceaux
                points.append((centre[0] + rayon * math.cos(a), centre[1] + rayon * math.sin(a)))
    return points


def dans_la_cle(p, boucles):
    """Even-odd test over the edges of the shape."""
    x, y = p
    dedans = False
    for boucle in boucles:
        for (x0, y0), (x1, y1) in zip(boucle, boucle[1:] + boucle[:1]):
            if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                dedans = not dedans
    return dedans


def aretes_en_relief(boucles, retrait):
    """The rims of the relief as polylines drawn retrait inside the edge: runs of edges that face
    the top left (lit, "clair") or the bottom right (in shadow, "sombre"). Edges that face the
    other two corners get no rim, as in the pixel renderings."""
    traits = []
    for boucle in boucles:
        aretes = []
        for a, b in zip(boucle, boucle[1:] + boucle[:1]):
            longueur = math.hypot(b[0] - a[0], b[1] - a[1])
            normale = ((b[1] - a[1]) / longueur, -(b[0] - a[0]) / longueur)
            milieu = ((a[0] + b[0]) / 2 + normale[0] * 0.01, (a[1] + b[1]) / 2 + normale[1] * 0.01)
            if dans_la_cle(milieu, boucles):
                normale = (-normale[0], -normale[1])  # outwards, away from the metal
            diagonale = (normale[0] + normale[1]) / math.sqrt(2)
            genre = "clair" if diagonale < -0.3 else "sombre" if diagonale > 0.3 else None
            aretes.append((a, b, normale, genre))
        # Start the walk where the kind changes, so that no run is cut in two.
        debut = next((i for i in range(len(aretes)) if aretes[i][3] != aretes[i - 1][3]), 0)
        aretes = aretes[debut:] + aretes[:debut]
        courant = None
        for a, b, normale, genre in aretes:
            if genre is None:
                courant = None
                continue
            if courant is None or courant[0] != genre:
                courant = (genre, [(a, normale)])
                traits.append(courant)
            courant[1].append((b, normale))
    # Each point moved inwards, at a corner along the mitre of its two edges. A point is kept
    # with the normal of the edge that ends there (the first one, of the edge that starts there).
    resultat = []
    for genre, points in traits:
        deplaces = []
        for k, (p, avant) in enumerate(points):
            apres = points[k + 1][1] if 0 < k < len(points) - 1 else avant
            mx, my = avant[0] + apres[0], avant[1] + apres[1]
            facteur = retrait / max(0.2, 1 + avant[0] * apres[0] + avant[1] * apres[1])
            deplaces.append((p[0] - mx * facteur, p[1] - my * facteur))
        resultat.append((genre, deplaces))
    return resultat


def cle_svg():
    """The spanner as a scalable picture: the same edge, outlined in black, grey metal, a light
    rim at the top left and a dark one at the bottom right. Only paths and strokes, which every
    icon renderer draws."""
    g = GeometrieCle()

    def nombre(v):
        return ("%.3f" % v).rstrip("0").rstrip(".")

    def pt(p):
        return nombre(p[0]) + "," + nombre(p[1])

    segments = contour_cle(g)
    chemin_svg = "M" + pt(segments[0][1])
    for segment in segments:
        if segment[0] == "ligne":
            chemin_svg += " L" + pt(segment[2])
        else:
            _, centre, rayon, a0, a1 = segment
            fin = (centre[0] + rayon * math.cos(a1), centre[1] + rayon * math.sin(a1))
            grand = 1 if abs(a1 - a0) > math.pi else 0
            sens = 1 if a1 > a0 else 0
            chemin_svg += " A%s,%s 0 %d %d %s" % (nombre(rayon), nombre(rayon), grand, sens, pt(fin))
    chemin_svg += " Z M" + " L".join(pt(p) for p in g.trou()) + " Z"

    couleurs = {"clair": "#ffffff", "sombre": "#808080"}
    traits = "".join(
        '\n  <polyline points="%s" fill="none" stroke="%s" stroke-width="1"'
        ' stroke-linejoin="round"/>' % (" ".join(pt(p) for p in points), couleurs[genre])
        for genre, points in aretes_en_relief([polygone(segments), g.trou()], 0.5))
    return """<?xml version="1.0" encoding="UTF-8"?>
<!-- Tarvane's spanner, written by resources/art/dessiner.py: edit the drawing there. -->
<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="32" height="32" viewBox="0 0 32 32">
  <title>Tarvane</title>
  <path d="%s" fill="#000000" fill-rule="evenodd" stroke="#000000" stroke-width="2"
        stroke-linejoin="round"/>
  <path d="%s" fill="#c0c0c0" fill-rule="evenodd"/>%s
</svg>
""" % (chemin_svg, chemin_svg, traits)


# --- the door --------------------------------------------------------------------------------


def porte(taille):
    """An arrow entering an open door, in a 41-unit square: the doorway on the right with its
    leaf swung towards the viewer, a green arrow coming from the left into the dark opening."""
    s = taille * SUR / 41.0
    image = Image.new("RGBA", (taille * SUR, taille * SUR), (0, 0, 0, 0))
    dessin = ImageDraw.Draw(image)

    def rect(x0, y0, x1, y1, couleur):
        dessin.rectangle([x0 * s, y0 * s, x1 * s - 1, y1 * s - 1], fill=couleur)

    def poly(points, couleur):
        dessin.polygon([(x * s, y * s) for x, y in points], fill=couleur)

    # Frame and dark opening.
    rect(15, 2, 35, 39, (96, 56, 24, 255))
    rect(17, 4, 33, 39, (24, 24, 40, 255))
    # A little light falling on the floor of the opening.
    poly([(17, 39), (33, 39), (33, 34), (20, 34)], (56, 56, 80, 255))
    # The leaf, hinged on the right jamb and open towards the viewer.
    poly([(33, 4), (40, 1), (40, 40), (33, 39)], (0, 0, 0, 255))
    poly([(33.6, 4.6), (39.4, 2.0), (39.4, 39.0), (33.6, 38.4)], (176, 112, 48, 255))
    poly([(34.6, 7.5), (38.4, 6.0), (38.4, 18.0), (34.6, 18.8)], (144, 88, 32, 255))
    poly([(34.6, 22.5), (38.4, 22.0), (38.4, 35.0), (34.6, 35.4)], (144, 88, 32, 255))
    rect(34.6, 20.0, 35.8, 23.0, (255, 224, 64, 255))  # the handle
    # The arrow, outlined so that it reads on any background.
    fleche = [(2, 17), (17, 17), (17, 11), (28, 21.5), (17, 32), (17, 26), (2, 26)]
    dessin.polygon([(x * s, y * s) for x, y in fleche], fill=(0, 64, 0, 255))
    interieur = [(3.4, 18.4), (18.4, 18.4), (18.4, 14.2), (26.0, 21.5), (18.4, 28.8),
                 (18.4, 24.6), (3.4, 24.6)]
    dessin.polygon([(x * s, y * s) for x, y in interieur], fill=(0, 192, 0, 255))
    reflet = [(3.4, 18.4), (18.4, 18.4), (18.4, 14.2), (20.2, 15.9), (19.8, 20.0), (3.4, 20.0)]
    dessin.polygon([(x * s, y * s) for x, y in reflet], fill=(128, 255, 128, 255))
    return reduire(image, taille)


# --- the association's logo ------------------------------------------------------------------


def police(noms, taille):
    for nom in noms:
        for dossier in ("/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/opentype/urw-base35"):
            chemin = os.path.join(dossier, nom)
            if os.path.exists(chemin):
                return ImageFont.truetype(chemin, taille)
    raise SystemExit("font not found: " + ", ".join(noms))


def logo_velk(echelle):
    """The logo of the association Velk, 192 by 65 units: an emblem (a white V over a green
    hill under a yellow sun, in a blue disc) and the initials V.E.Lk with the full name."""
    largeur, hauteur = 192 * echelle * SUR // 2, 65 * echelle * SUR // 2
    s = echelle * SUR / 2.0
    image = Image.new("RGB", (largeur, hauteur), (192, 192, 192))
    dessin = ImageDraw.Draw(image)

    def x(v):
        return v * s

    # A light cartouche with a dark edge.
    dessin.rounded_rectangle([x(2), x(2), x(190), x(63)], radius=x(6), fill=(0, 0, 96))
    dessin.rounded_rectangle([x(3.5), x(3.5), x(188.5), x(61.5)], radius=x(5),
                             fill=(248, 248, 232))
    # The emblem.
    cx, cy, r = 33.0, 32.5, 26.0
    dessin.ellipse([x(cx - r), x(cy - r), x(cx + r), x(cy + r)], fill=(0, 0, 96))
    r2 = r - 2.0
    dessin.ellipse([x(cx - r2), x(cy - r2), x(cx + r2), x(cy + r2)], fill=(32, 96, 200))
    dessin.ellipse([x(cx + 4), x(cy - 17), x(cx + 14), x(cy - 7)], fill=(255, 208, 0))
    # The hill, kept inside the disc by a mask.
    colline = Image.new("L", image.size, 0)
    ImageDraw.Draw(colline).ellipse([x(cx - 40), x(cy + 6), x(cx + 30), x(cy + 60)], fill=255)
    disque = Image.new("L", image.size, 0)
    ImageDraw.Draw(disque).ellipse([x(cx - r2), x(cy - r2), x(cx + r2), x(cy + r2)], fill=255)
    image.paste((40, 150, 60), (0, 0), ImageChops.multiply(colline, disque))
    v = [(cx - 15, cy - 14), (cx - 8, cy - 14), (cx, cy + 6), (cx + 8, cy - 14), (cx + 15, cy - 14),
         (cx + 3, cy + 16), (cx - 3, cy + 16)]
    dessin.polygon([(x(a), x(b)) for a, b in v], fill=(0, 0, 96))
    v_interieur = [(cx - 12.6, cy - 12.6), (cx - 9.0, cy - 12.6), (cx, cy + 10), (cx + 9.0, cy - 12.6),
                   (cx + 12.6, cy - 12.6), (cx + 2.0, cy + 14.4), (cx - 2.0, cy + 14.4)]
    dessin.polygon([(x(a), x(b)) for a, b in v_interieur], fill=(255, 255, 255))

    # The initials and the name.
    grande = police(["DejaVuSans-Bold.ttf", "NimbusSans-Bold.otf"], int(x(27)))
    petite = police(["DejaVuSans-Bold.ttf", "NimbusSans-Bold.otf"], int(x(10)))
    texte, sous_texte = "V.E.Lk", "Association Velk"
    boite = dessin.textbbox((0, 0), texte, font=grande)
    gauche = x(126) - (boite[2] - boite[0]) / 2 - boite[0]
    dessin.text((gauche + x(1.2), x(8) + x(1.2)), texte, font=grande, fill=(160, 160, 176))
    dessin.text((gauche, x(8)), texte, font=grande, fill=(0, 0, 128))
    boite = dessin.textbbox((0, 0), sous_texte, font=petite)
    gauche = x(126) - (boite[2] - boite[0]) / 2 - boite[0]
    dessin.line([x(72), x(42), x(180), x(42)], fill=(40, 150, 60), width=max(1, int(x(1.2))))
    dessin.text((gauche, x(46)), sous_texte, font=petite, fill=(64, 64, 64))
    return image.resize((192 * echelle // 2, 65 * echelle // 2), Image.LANCZOS)


# --- writing ---------------------------------------------------------------------------------


def chemin(nom):
    return os.path.join(SORTIE, nom)


def main():
    os.makedirs(SORTIE, exist_ok=True)

    # Program icon in sixteen colours at every size that trays and the icon theme ask for, so
    # that none is a blurred rescale; the ICO with the 16 and 32 pixels; larger renderings.
    entrees_ico = []
    for taille in (16, 22, 24, 32, 48):
        indices, transparents = vers_palette_16(cle(taille))
        png_16_couleurs(indices, transparents, chemin("tarvane-%d.png" % taille))
        if taille in (16, 32):
            entrees_ico.append((taille, bmp_ico_16_couleurs(indices, transparents)))
        if taille == 32:
            png_16_couleurs(indices, transparents, chemin("tarvane.png"))
    ecrire_ico(entrees_ico, chemin("tarvane.ico"))
    cle(64).save(chemin("tarvane@2x.png"))
    cle(256).save(chemin("tarvane-256.png"))
    with open(chemin("tarvane.svg"), "w", encoding="utf-8") as fichier:
        fichier.write(cle_svg())

    # The same spanner for the About box: 32 by 32 in 24-bit colour (with transparency).
    cle(32).save(chemin("dessin4.png"))

    # The door of the About box's close button: 41 by 41 in 24-bit colour, and twice as large.
    porte(41).save(chemin("quitter.png"))
    porte(82).save(chemin("quitter@2x.png"))

    # The association's logo: 192 by 65 in 256 colours, and twice as large.
    logo_velk(2).quantize(colors=256, method=Image.MEDIANCUT).save(chemin("velk.png"))
    logo_velk(4).quantize(colors=256, method=Image.MEDIANCUT).save(chemin("velk@2x.png"))


if __name__ == "__main__":
    main()
