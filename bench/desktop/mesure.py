#!/usr/bin/python3
"""Measures the tray programs on an X server with an XEmbed tray (Xvfb and trayer, started by
scripts/bench.sh), and prints the figures as one JSON object.

  mesure.py startup PANEL RUNS NAME=PROGRAM...   exec to icon docked, and VmRSS 2 s later;
                                                 the programs alternate, one unmeasured start
                                                 of each first
  mesure.py startup-dbus PANEL RUNS NAME=PROGRAM...
                                                 the same on the StatusNotifierItem tray of
                                                 DBUS_SESSION_BUS_ADDRESS: exec to the item
                                                 registered with its watcher
  mesure.py latency PANEL RUNS PROGRAM           left click on the icon to window mapped and
                                                 drawn, the first click after start (a fresh
                                                 start each run) and later ones; Return on
                                                 Convertir to the amount drawn in Euros
  mesure.py docked PANEL SECONDS COMMAND...      starts COMMAND (a program, possibly behind a
                                                 profiler), waits at most SECONDS for its icon
                                                 to dock, prints the libraries that the process
                                                 has mapped then, and ends it
  mesure.py idle PANEL SECONDS NAME=PROGRAM...   CPU ticks and context switches of every thread
                                                 while resting in the tray, over two windows of
                                                 SECONDS; a NAME ending in "+used" is first
                                                 shown, used and hidden

The X server is read and driven through libX11 and libXtst with ctypes: the polls are X requests
on one open connection, not processes started, so that they cost the measured programs little.
Programs run without a session bus and with accessibility off, as on a desktop without assistive
technologies; the converted amount is therefore read from the screen, not through AT-SPI.
"""

import ctypes
import json
import os
import signal
import subprocess
import sys
import time

Window = ctypes.c_ulong


class XWindowAttributes(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_int), ("y", ctypes.c_int),
        ("width", ctypes.c_int), ("height", ctypes.c_int),
        ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
        ("visual", ctypes.c_void_p), ("root", Window),
        ("c_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
        ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
        ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
        ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
        ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int),
        ("all_event_masks", ctypes.c_long), ("your_event_mask", ctypes.c_long),
        ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int),
        ("screen", ctypes.c_void_p),
    ]


class XImageHead(ctypes.Structure):
    """The leading fields of XImage, those read here."""
    _fields_ = [
        ("width", ctypes.c_int), ("height", ctypes.c_int),
        ("xoffset", ctypes.c_int), ("format", ctypes.c_int),
        ("data", ctypes.c_void_p),
        ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
        ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
    ]


IS_VIEWABLE = 2
Z_PIXMAP = 2
ALL_PLANES = 0xFFFFFFFF

ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)


class Ecran:
    """One connection to the X server: window queries, screen reads, synthetic input."""

    def __init__(self):
        x11 = ctypes.CDLL("libX11.so.6")
        xtst = ctypes.CDLL("libXtst.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XDefaultRootWindow.restype = Window
        x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x11.XQueryTree.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(Window),
                                   ctypes.POINTER(Window), ctypes.POINTER(ctypes.POINTER(Window)),
                                   ctypes.POINTER(ctypes.c_uint)]
        x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, Window,
                                             ctypes.POINTER(XWindowAttributes)]
        x11.XTranslateCoordinates.argtypes = [ctypes.c_void_p, Window, Window, ctypes.c_int,
                                              ctypes.c_int, ctypes.POINTER(ctypes.c_int),
                                              ctypes.POINTER(ctypes.c_int), ctypes.POINTER(Window)]
        x11.XFetchName.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(ctypes.c_char_p)]
        x11.XGetImage.restype = ctypes.POINTER(XImageHead)
        x11.XGetImage.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_int,
                                  ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x11.XFree.argtypes = [ctypes.c_void_p]
        x11.XFlush.argtypes = [ctypes.c_void_p]
        x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x11.XStringToKeysym.restype = ctypes.c_ulong
        x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x11.XSetErrorHandler.argtypes = [ERROR_HANDLER]
        xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                              ctypes.c_int, ctypes.c_ulong]
        xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                              ctypes.c_ulong]
        xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                           ctypes.c_ulong]
        self.x11, self.xtst = x11, xtst
        # A window that goes away between two requests is an answer, not a reason to exit.
        self._ignorer = ERROR_HANDLER(lambda display, event: 0)
        x11.XSetErrorHandler(self._ignorer)
        self.d = x11.XOpenDisplay(None)
        if not self.d:
            sys.exit("cannot open the X display")
        self.root = x11.XDefaultRootWindow(self.d)

    def enfants(self, fenetre):
        racine, parent = Window(), Window()
        liste = ctypes.POINTER(Window)()
        nombre = ctypes.c_uint()
        if not self.x11.XQueryTree(self.d, fenetre, ctypes.byref(racine), ctypes.byref(parent),
                                   ctypes.byref(liste), ctypes.byref(nombre)):
            return []
        resultat = [liste[i] for i in range(nombre.value)]
        if liste:
            self.x11.XFree(liste)
        return resultat

    def attributs(self, fenetre):
        a = XWindowAttributes()
        if not self.x11.XGetWindowAttributes(self.d, fenetre, ctypes.byref(a)):
            return None
        return a

    def visible(self, fenetre):
        a = self.attributs(fenetre)
        return a is not None and a.map_state == IS_VIEWABLE

    def nom(self, fenetre):
        texte = ctypes.c_char_p()
        if not self.x11.XFetchName(self.d, fenetre, ctypes.byref(texte)) or not texte.value:
            return None
        nom = texte.value.decode("utf-8", "replace")
        self.x11.XFree(texte)
        return nom

    def centre(self, fenetre):
        a = self.attributs(fenetre)
        x, y, enfant = ctypes.c_int(), ctypes.c_int(), Window()
        self.x11.XTranslateCoordinates(self.d, fenetre, self.root, 0, 0, ctypes.byref(x),
                                       ctypes.byref(y), ctypes.byref(enfant))
        return x.value + a.width // 2, y.value + a.height // 2

    def image(self, fenetre, x, y, largeur, hauteur):
        """The pixels of a rectangle of a mapped window, as bytes."""
        img = self.x11.XGetImage(self.d, fenetre, x, y, largeur, hauteur, ALL_PLANES, Z_PIXMAP)
        if not img:
            return None
        tete = img.contents
        donnees = ctypes.string_at(tete.data, tete.bytes_per_line * tete.height)
        self.x11.XFree(tete.data)
        self.x11.XFree(img)
        return donnees

    def icones_accueillies(self, panneau):
        """The icons that the tray's panel holds, shown: mapped windows in its sockets."""
        return [icone for socle in self.enfants(panneau) for icone in self.enfants(socle)
                if self.visible(icone)]

    def icone_accueillie(self, panneau):
        icones = self.icones_accueillies(panneau)
        return icones[0] if icones else None

    def nouvelle_icone(self, panneau, connues):
        nouvelles = [i for i in self.icones_accueillies(panneau) if i not in connues]
        return nouvelles[0] if nouvelles else None

    def fenetre_nommee(self, nom):
        for fenetre in self.enfants(self.root):
            if self.visible(fenetre) and self.nom(fenetre) == nom:
                return fenetre
        return None

    def cliquer(self, x, y, bouton=1):
        self.xtst.XTestFakeMotionEvent(self.d, -1, x, y, 0)
        self.xtst.XTestFakeButtonEvent(self.d, bouton, 1, 0)
        self.xtst.XTestFakeButtonEvent(self.d, bouton, 0, 0)
        self.x11.XFlush(self.d)

    def code(self, touche):
        return self.x11.XKeysymToKeycode(self.d, self.x11.XStringToKeysym(touche.encode()))

    def appuyer(self, touche, relacher=True):
        self.xtst.XTestFakeKeyEvent(self.d, self.code(touche), 1, 0)
        if relacher:
            self.xtst.XTestFakeKeyEvent(self.d, self.code(touche), 0, 0)
        self.x11.XFlush(self.d)

    def relacher(self, touche):
        self.xtst.XTestFakeKeyEvent(self.d, self.code(touche), 0, 0)
        self.x11.XFlush(self.d)

    def combinaison(self, modificateur, touche):
        self.xtst.XTestFakeKeyEvent(self.d, self.code(modificateur), 1, 0)
        self.appuyer(touche)
        self.relacher(modificateur)

    def taper(self, texte):
        for caractere in texte:
            self.appuyer(caractere)
            time.sleep(0.02)


def attendre(condition, secondes, quoi, pas=0.0005):
    """Polls CONDITION every PAS seconds; returns its first true value, with the instant it came."""
    limite = time.monotonic() + secondes
    while True:
        valeur = condition()
        if valeur:
            return valeur, time.perf_counter()
        if time.monotonic() > limite:
            raise TimeoutError(f"no answer after {secondes} s: {quoi}")
        time.sleep(pas)


def environnement():
    """The programs' environment: French settings, this X server, no session bus, no AT-SPI."""
    env = {
        "DISPLAY": os.environ["DISPLAY"],
        "QT_QPA_PLATFORM": "xcb",
        "QT_ACCESSIBILITY": "0",
        "HOME": os.environ["BENCH_HOME"],
        "XDG_RUNTIME_DIR": os.environ["BENCH_RUNTIME"],
        "PATH": "/usr/local/bin:/usr/bin:/bin",
        "LANG": "fr_FR.UTF-8",
        "LANGUAGE": "fr",
    }
    if os.environ.get("BENCH_LC_ALL"):
        env["LC_ALL"] = os.environ["BENCH_LC_ALL"]
    return env


def lancer(programme, bus=False):
    env = environnement()
    if bus:
        env["DBUS_SESSION_BUS_ADDRESS"] = os.environ["DBUS_SESSION_BUS_ADDRESS"]
    return subprocess.Popen([programme], env=env, cwd=os.environ["BENCH_HOME"],
                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


def arreter(ecran, panneau, *processus):
    """SIGTERM (SIGKILL after 5 s), then waits until the tray is empty again."""
    for p in processus:
        p.send_signal(signal.SIGTERM)
    for p in processus:
        try:
            p.wait(5)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()
    attendre(lambda: ecran.icone_accueillie(panneau) is None, 10, "the tray to be empty", 0.01)


def vmrss_ko(pid):
    with open(f"/proc/{pid}/status") as f:
        for ligne in f:
            if ligne.startswith("VmRSS:"):
                return int(ligne.split()[1])
    raise RuntimeError(f"no VmRSS for {pid}")


def demarrer_et_mesurer(ecran, panneau, programme):
    debut = time.perf_counter()
    processus = lancer(programme)
    _, accueillie = attendre(lambda: ecran.icone_accueillie(panneau), 30,
                             f"the icon of {programme} to dock", 0.002)
    time.sleep(2)
    rss = vmrss_ko(processus.pid)
    arreter(ecran, panneau, processus)
    return (accueillie - debut) * 1000, rss


class TrayDBus:
    """The watcher's list of items, asked through one connection to the session bus."""

    def __init__(self):
        import dbus
        self.watcher = dbus.SessionBus().get_object("org.kde.StatusNotifierWatcher",
                                                    "/StatusNotifierWatcher")

    def elements(self):
        return list(self.watcher.Get("org.kde.StatusNotifierWatcher",
                                     "RegisteredStatusNotifierItems",
                                     dbus_interface="org.freedesktop.DBus.Properties", timeout=5))


def demarrer_et_mesurer_dbus(tray, programme):
    debut = time.perf_counter()
    processus = lancer(programme, bus=True)
    _, inscrit = attendre(tray.elements, 30, f"the item of {programme} to register", 0.002)
    time.sleep(2)
    rss = vmrss_ko(processus.pid)
    processus.send_signal(signal.SIGTERM)
    processus.wait(5)
    attendre(lambda: not tray.elements(), 10, "the watcher to drop the item", 0.01)
    return (inscrit - debut) * 1000, rss


def demarrage(ecran, panneau, tours, programmes, dbus=False):
    if dbus:
        tray = TrayDBus()
        mesurer = lambda programme: demarrer_et_mesurer_dbus(tray, programme)  # noqa: E731
    else:
        mesurer = lambda programme: demarrer_et_mesurer(ecran, panneau, programme)  # noqa: E731
    resultats = {nom: {"dock_ms": [], "rss_kb": []} for nom, _ in programmes}
    for nom, programme in programmes:  # caches filled, not counted
        mesurer(programme)
    for tour in range(tours):
        ordre = programmes if tour % 2 == 0 else list(reversed(programmes))
        for nom, programme in ordre:
            temps, rss = mesurer(programme)
            resultats[nom]["dock_ms"].append(round(temps, 2))
            resultats[nom]["rss_kb"].append(rss)
            print(f"  {nom}: docked in {temps:.1f} ms, VmRSS {rss} kB", file=sys.stderr)
    return {"startup": resultats}


# The Euros field's place in the main window, in pixels (its design's twips divided by 15), less
# its frame, so that only the text drawn inside is compared.
EUROS = (136 + 3, 16 + 3, 113 - 6, 25 - 6)
# The row of buttons, drawn when the window shows; the focus is then in Francs, not on a button.
BOUTONS = (0, 48, 255, 25)


def latences(ecran, panneau, tours, programme):
    processus = lancer(programme)
    try:
        icone, _ = attendre(lambda: ecran.icone_accueillie(panneau), 30, "the icon to dock")
        time.sleep(1)  # start-up settled, and the tray's panel resized to the icon
        ix, iy = ecran.centre(icone)

        # The first show finds the window and its picture (first clicks are timed apart, below,
        # each after a fresh start). Alt+Q and Alt+E are the mnemonics of the window's Quitter
        # (hides it) and Effacer (empties both fields) buttons.
        ecran.cliquer(ix, iy)
        fenetre, _ = attendre(lambda: ecran.fenetre_nommee("Tarvane"), 10, "the window to show")
        time.sleep(0.5)
        boutons = ecran.image(fenetre, *BOUTONS)  # the window as drawn, where no caret blinks
        carte, dessin = [], []
        for _ in range(tours):
            time.sleep(0.3)
            ecran.combinaison("Alt_L", "q")  # Quitter hides the window
            attendre(lambda: not ecran.visible(fenetre), 10, "the window to hide")
            time.sleep(0.3)
            debut = time.perf_counter()
            ecran.cliquer(ix, iy)
            _, vue = attendre(lambda: ecran.visible(fenetre), 10, "the window to show")
            _, dessinee = attendre(lambda: ecran.image(fenetre, *BOUTONS) == boutons, 10,
                                   "the window to be drawn")
            carte.append(round((vue - debut) * 1000, 2))
            dessin.append(round((dessinee - debut) * 1000, 2))
            print(f"  click to window mapped: {carte[-1]:.1f} ms, drawn: {dessin[-1]:.1f} ms",
                  file=sys.stderr)

        # Conversion: Effacer, 100 in Francs, Return to Euros, Return to Convertir, Return.
        time.sleep(0.3)

        def preparer():
            ecran.combinaison("Alt_L", "e")  # Effacer: both fields emptied, focus in Francs
            time.sleep(0.2)
            ecran.taper("100")
            ecran.appuyer("Return")
            time.sleep(0.05)
            ecran.appuyer("Return")
            time.sleep(0.3)  # Euros has lost its caret and is drawn empty

        def euros():
            return ecran.image(fenetre, *EUROS)

        preparer()
        vide = euros()
        ecran.appuyer("Return")
        time.sleep(0.5)
        converti = euros()
        if converti == vide:
            raise RuntimeError("the converted amount did not show in the Euros field")
        conversion = []
        for _ in range(tours):
            preparer()
            if euros() != vide:
                raise RuntimeError("the Euros field is not empty before converting")
            debut = time.perf_counter()
            ecran.appuyer("Return", relacher=False)
            _, ecrit = attendre(lambda: euros() == converti, 10, "the amount in Euros")
            ecran.relacher("Return")
            conversion.append(round((ecrit - debut) * 1000, 2))
            print(f"  Return on Convertir to amount drawn: {conversion[-1]:.1f} ms",
                  file=sys.stderr)
    finally:
        arreter(ecran, panneau, processus)
    # The first click after start pays for what start-up leaves to the window's first showing:
    # a fresh start for each, one copy at a time.
    premiere_carte, premier_dessin = [], []
    for _ in range(tours):
        vue, dessinee = premier_clic(ecran, panneau, programme, boutons)
        premiere_carte.append(round(vue, 2))
        premier_dessin.append(round(dessinee, 2))
        print(f"  first click after start to window mapped: {vue:.1f} ms, drawn: {dessinee:.1f} ms",
              file=sys.stderr)
    return {"latency": {"first_click_to_window_mapped_ms": premiere_carte,
                        "first_click_to_window_drawn_ms": premier_dessin,
                        "click_to_window_mapped_ms": carte, "click_to_window_drawn_ms": dessin,
                        "convert_to_result_ms": conversion}}


def premier_clic(ecran, panneau, programme, boutons):
    """Starts PROGRAM, lets its start settle, clicks its icon once: milliseconds from the click
    to the window mapped, and to its row of buttons drawn as BOUTONS shows it."""
    processus = lancer(programme)
    try:
        icone, _ = attendre(lambda: ecran.icone_accueillie(panneau), 30, "the icon to dock")
        time.sleep(1)  # start-up settled, and the tray's panel resized to the icon
        ix, iy = ecran.centre(icone)
        debut = time.perf_counter()
        ecran.cliquer(ix, iy)
        fenetre, vue = attendre(lambda: ecran.fenetre_nommee("Tarvane"), 10, "the window to show")
        _, dessinee = attendre(lambda: ecran.image(fenetre, *BOUTONS) == boutons, 10,
                               "the window to be drawn")
        return (vue - debut) * 1000, (dessinee - debut) * 1000
    finally:
        arreter(ecran, panneau, processus)


def fils(pid):
    """Per thread: name, CPU ticks (utime + stime), voluntary and involuntary context switches."""
    resultat = {}
    for tid in os.listdir(f"/proc/{pid}/task"):
        base = f"/proc/{pid}/task/{tid}"
        try:
            with open(f"{base}/comm") as f:
                nom = f.read().strip()
            with open(f"{base}/stat") as f:
                champs = f.read().rsplit(")", 1)[1].split()
            ticks = int(champs[11]) + int(champs[12])  # fields 14 and 15 of stat
            volontaires = involontaires = 0
            with open(f"{base}/status") as f:
                for ligne in f:
                    if ligne.startswith("voluntary_ctxt_switches:"):
                        volontaires = int(ligne.split()[1])
                    elif ligne.startswith("nonvoluntary_ctxt_switches:"):
                        involontaires = int(ligne.split()[1])
        except FileNotFoundError:
            continue
        resultat[tid] = (nom, ticks, volontaires, involontaires)
    return resultat


def servir(ecran, icone):
    """Shows the window, converts 100 francs, hides it again: every control has been used."""
    ecran.cliquer(*ecran.centre(icone))
    fenetre, _ = attendre(lambda: ecran.fenetre_nommee("Tarvane"), 10, "the window to show")
    time.sleep(0.3)
    ecran.taper("100")
    for _ in range(3):
        ecran.appuyer("Return")
        time.sleep(0.1)
    ecran.combinaison("Alt_L", "q")
    attendre(lambda: not ecran.visible(fenetre), 10, "the window to hide")
    ecran.cliquer(0, 400)  # the pointer leaves the icon: no tooltip pending


def repos(ecran, panneau, secondes, programmes):
    processus = []
    try:
        for nom, programme in programmes:
            connues = ecran.icones_accueillies(panneau)
            p = lancer(programme)
            processus.append((nom, p))
            icone, _ = attendre(lambda: ecran.nouvelle_icone(panneau, connues), 30,
                                f"the icon of {nom} to dock")
            if nom.endswith("+used"):
                time.sleep(1)  # the tray's panel resized to the icon
                servir(ecran, icone)
        # Two windows of SECONDS each, from 5 s after the last start: the first still holds what
        # start-up (or use) left to come, the second is the steady state.
        time.sleep(5)
        instantanes = [{nom: fils(p.pid) for nom, p in processus}]
        for _ in range(2):
            time.sleep(secondes)
            instantanes.append({nom: fils(p.pid) for nom, p in processus})
        resultats = {}
        for nom, p in processus:
            fenetres = []
            for avant, apres in zip(instantanes, instantanes[1:]):
                lignes = []
                for tid, (fil, ticks, vol, invol) in sorted(apres[nom].items(),
                                                            key=lambda e: int(e[0])):
                    _, t0, v0, i0 = avant[nom].get(tid, (fil, 0, 0, 0))
                    lignes.append({"thread": fil, "tid": int(tid), "ticks": ticks - t0,
                                   "voluntary": vol - v0, "nonvoluntary": invol - i0,
                                   "new": tid not in avant[nom]})
                fenetres.append(lignes)
                print(f"  {nom}: {lignes}", file=sys.stderr)
            resultats[nom] = {"seconds": secondes, "windows": fenetres}
        return {"idle": resultats}
    finally:
        arreter(ecran, panneau, *(p for _, p in processus))


def accueillie(ecran, panneau, secondes, commande):
    processus = subprocess.Popen(commande, env={**environnement(), **{
        k: v for k, v in os.environ.items() if k.startswith(("LD_DEBUG", "VALGRIND"))}},
        cwd=os.environ["BENCH_HOME"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    try:
        debut = time.perf_counter()
        attendre(lambda: ecran.icone_accueillie(panneau), secondes, f"{commande} to dock", 0.01)
        with open(f"/proc/{processus.pid}/maps") as f:
            bibliotheques = sorted({l.split()[-1] for l in f if ".so" in l.split()[-1]})
        return {"dock_s": round(time.perf_counter() - debut, 2), "libraries": bibliotheques}
    finally:
        # A tracer leaves its program running when it is ended itself: end the program first.
        for enfant in enfants(processus.pid):
            os.kill(enfant, signal.SIGTERM)
        arreter(ecran, panneau, processus)


def enfants(pid):
    trouves = []
    for entree in os.listdir("/proc"):
        try:
            with open(f"/proc/{entree}/stat") as f:
                if int(f.read().rsplit(")", 1)[1].split()[1]) == pid:
                    trouves.append(int(entree))
        except (OSError, ValueError, IndexError):
            pass
    return trouves


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    commande, panneau, nombre = sys.argv[1], int(sys.argv[2], 0), int(sys.argv[3])
    ecran = Ecran()
    programmes = [tuple(a.split("=", 1)) for a in sys.argv[4:]]
    if commande == "startup":
        resultat = demarrage(ecran, panneau, nombre, programmes)
    elif commande == "startup-dbus":
        resultat = demarrage(ecran, panneau, nombre, programmes, dbus=True)
    elif commande == "latency":
        resultat = latences(ecran, panneau, nombre, sys.argv[4])
    elif commande == "idle":
        resultat = repos(ecran, panneau, nombre, programmes)
    elif commande == "docked":
        resultat = accueillie(ecran, panneau, nombre, sys.argv[4:])
    else:
        sys.exit(__doc__)
    print(json.dumps(resultat))


if __name__ == "__main__":
    main()
