#!/usr/bin/python3
"""bench/rapport.py on made-up figures: its verdicts and sentences follow the figures."""

import json
import os
import subprocess
import sys
import tempfile
import unittest

RAPPORT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "rapport.py")


def fil(nom, tid, reveils=0):
    return {"thread": nom, "tid": tid, "ticks": 0, "voluntary": reveils, "nonvoluntary": 0,
            "new": False}


def ecrire(dossier, dock, rss, clic_ms, reveils, charge="0.10 0.10 0.10", premier_ms=None,
           dbus=None):
    """dock and rss: (Tarvane, floor); premier_ms: the first click after start (default
    clic_ms); reveils: Tarvane's main-thread wake-ups, first window; dbus: (dock, rss) on a
    D-Bus tray, if measured."""
    def json_dans(nom, contenu):
        with open(os.path.join(dossier, nom), "w") as f:
            json.dump(contenu, f)

    with open(os.path.join(dossier, "machine.env"), "w") as f:
        f.write(f"nproc=2\nload_before={charge}\nload_after={charge}\n")
    banc = [{"run_name": nom, "aggregate_name": "median", "real_time": 500, "cpu_time": 500,
             "time_unit": "ns"} for nom in ("worked/Francs=100/rules", "worked/Francs=100/qt",
                                            "junk/letters/64/rules", "junk/letters/64/qt")]
    json_dans("conversion.json", {"context": {"num_cpus": 2, "library_build_type": "release"},
                                  "benchmarks": banc})
    json_dans("startup.json", {"startup": {
        "Tarvane": {"dock_ms": [dock[0]] * 3, "rss_kb": [rss[0]] * 3},
        "floor": {"dock_ms": [dock[1]] * 3, "rss_kb": [rss[1]] * 3}}})
    if dbus is not None:
        json_dans("startup-dbus.json", {"startup": {
            "Tarvane": {"dock_ms": [dbus[0][0]] * 3, "rss_kb": [dbus[1][0]] * 3},
            "floor": {"dock_ms": [dbus[0][1]] * 3, "rss_kb": [dbus[1][1]] * 3}}})
    premier_ms = clic_ms if premier_ms is None else premier_ms
    json_dans("latency.json", {"latency": {"first_click_to_window_mapped_ms": [1.0] * 3,
                                           "first_click_to_window_drawn_ms": [premier_ms] * 3,
                                           "click_to_window_mapped_ms": [1.0] * 3,
                                           "click_to_window_drawn_ms": [clic_ms] * 3,
                                           "convert_to_result_ms": [2.0] * 3}})
    repos = {"Tarvane": {"seconds": 60, "windows": [[fil("Tarvane", 1, reveils)],
                                                    [fil("Tarvane", 1)]]},
             "floor": {"seconds": 60, "windows": [[fil("floor", 2, 1)], [fil("floor", 2)]]}}
    json_dans("idle.json", {"idle": repos})
    json_dans("idle-used.json", {"idle": {}})


def rapport(**figures):
    with tempfile.TemporaryDirectory() as dossier:
        ecrire(dossier, **figures)
        return subprocess.run([sys.executable, RAPPORT, dossier], check=True,
                              capture_output=True, text=True).stdout


def ligne(texte, debut):
    return next(l for l in texte.splitlines() if l.startswith(debut))


class Rapport(unittest.TestCase):
    def test_targets_followTheFigures(self):
        cas = [
            # dock, rss, click: start verdict, memory verdict, click verdict
            ((60, 56), (26000, 24000), 3.5, ("met", "met", "met")),
            ((81, 56), (30000, 24000), 45.0, ("**not met**", "**not met**", "**not met**")),
            ((61.6, 56), (26400, 24000), 29.9, ("met", "met", "met")),  # on the limits
        ]
        for dock, rss, clic, attendus in cas:
            with self.subTest(dock=dock, rss=rss, clic=clic):
                texte = rapport(dock=dock, rss=rss, clic_ms=clic, reveils=0)
                depart = ligne(texte, "| Exec to icon docked")
                memoire = ligne(texte, "| Resident memory")
                self.assertIn(f"= {dock[0] / dock[1]:.2f} | ≤ 1.10 | {attendus[0]} |", depart)
                self.assertIn(f"= {rss[0] / rss[1]:.2f} | ≤ 1.10 | {attendus[1]} |", memoire)
                for quand in ("first after start", "later"):
                    clic_ligne = ligne(texte, f"| Click on the icon → window drawn, {quand}")
                    self.assertIn(f"| < 30 ms | {attendus[2]} |", clic_ligne)

    def test_dbusTray_judgedOnItsOwnRows_onlyWhenMeasured(self):
        sans = rapport(dock=(60, 56), rss=(24000, 24000), clic_ms=3.0, reveils=0)
        avec = rapport(dock=(60, 56), rss=(24000, 24000), clic_ms=3.0, reveils=0,
                       dbus=((40, 30), (25000, 24000)))
        self.assertNotIn("D-Bus", sans)
        self.assertIn("= 1.33 | ≤ 1.10 | **not met** |",
                      ligne(avec, "| Exec to item registered, D-Bus"))
        self.assertIn("= 1.04 | ≤ 1.10 | met |", ligne(avec, "| Resident memory, D-Bus"))
        self.assertIn("= 1.07 | ≤ 1.10 | met |", ligne(avec, "| Exec to icon docked, XEmbed"))

    def test_firstClick_isJudgedApartFromLaterOnes(self):
        texte = rapport(dock=(60, 56), rss=(24000, 24000), clic_ms=3.0, premier_ms=31.0,
                        reveils=0)
        self.assertIn("31.0 ms | < 30 ms | **not met** |",
                      ligne(texte, "| Click on the icon → window drawn, first after start"))
        self.assertIn("3.0 ms | < 30 ms | met |",
                      ligne(texte, "| Click on the icon → window drawn, later"))
        self.assertIn("First click: the median, 31.0 ms, does **not** meet it", texte)

    def test_sentences_followTheFigures(self):
        calme = rapport(dock=(60, 56), rss=(24000, 24000), clic_ms=3.0, reveils=1)
        charge = rapport(dock=(60, 56), rss=(24000, 24000), clic_ms=3.0, reveils=4,
                         charge="1.80 1.00 1.00")
        self.assertIn("The machine was quiet", calme)
        self.assertIn("The machine was loaded (1-minute load 1.80", charge)
        self.assertIn("gets there 4.0 ms later than the floor", calme)
        self.assertIn("no more than the floor's", calme)
        self.assertIn("more than the floor's (1 and 0): the difference is Tarvane's own", charge)
        self.assertNotIn("debug build", calme)


if __name__ == "__main__":
    unittest.main()
