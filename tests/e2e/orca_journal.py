#!/usr/bin/python3
"""Orca, the screen reader, for the end-to-end tests: started, and what it says read back.

  orca_journal.py run LOG [ORCA ARGUMENTS...]
        runs Orca with its debug log in LOG, written a line at a time
  orca_journal.py said LOG FROM PATTERN
        prints "LINE<TAB>UTTERANCE" for the first utterance after line FROM of LOG that PATTERN
        (a Python regular expression) matches whole; fails if there is none
  orca_journal.py spoken LOG FROM
        prints every utterance after line FROM, one a line

Orca opens its --debug-file with Python's default buffering, which holds the last few kilobytes
of what it says until it ends: a test that waits for a line would wait for nothing. The same
program is run here, with that one file opened line-buffered. Each utterance is a line
"HH:MM:SS.ffffff - SPEECH OUTPUT: 'TEXT'" followed by the voice's settings.
"""

import builtins
import re
import runpy
import sys

UTTERANCE = re.compile(r"^[0-9:.]+ - SPEECH OUTPUT: '(.*)' ?\{[^']*'[a-z]+':.*$")


def ligne_a_ligne(fichier, mode="r", *args, **kwargs):
    if "w" in mode and "b" not in mode and not args and "buffering" not in kwargs:
        kwargs["buffering"] = 1
    return builtins.open(fichier, mode, *args, **kwargs)


def run(log, arguments):
    sys.argv = ["orca", "--debug-file", log] + arguments
    sys.path[0] = "/usr/bin"  # as if started as itself: nothing of this folder is imported
    runpy.run_path("/usr/bin/orca", init_globals={"open": ligne_a_ligne}, run_name="__main__")


def utterances(log, after):
    with open(log, encoding="utf-8", errors="replace") as lignes:
        for numero, ligne in enumerate(lignes, 1):
            if numero > after:
                trouve = UTTERANCE.match(ligne.rstrip("\n"))
                if trouve:
                    yield numero, trouve.group(1)


if __name__ == "__main__":
    if len(sys.argv) >= 3 and sys.argv[1] == "run":
        run(sys.argv[2], sys.argv[3:])
    elif len(sys.argv) == 5 and sys.argv[1] == "said":
        motif = re.compile(sys.argv[4])
        for numero, texte in utterances(sys.argv[2], int(sys.argv[3])):
            if motif.fullmatch(texte):
                print(f"{numero}\t{texte}")
                sys.exit(0)
        sys.exit(1)
    elif len(sys.argv) == 4 and sys.argv[1] == "spoken":
        for _, texte in utterances(sys.argv[2], int(sys.argv[3])):
            print(texte)
    else:
        sys.exit(__doc__)
