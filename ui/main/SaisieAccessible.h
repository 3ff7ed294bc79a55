#pragma once

// The program's line edits as screen readers read them. Qt's own interface reports every run of
// text attributes as empty, starting and ending at the offset asked for; a reader that reads the
// text run by run (Orca 43 does, to find each run's language) then drops the last character and
// speaks "123" for 1234. This one answers as Qt's does in every other respect, and reports the one
// run a line edit has: its whole text.
//
// Installed once, before the first field is built; Qt calls it only when a reader asks for a
// field, so that nothing of it runs, or is loaded, while no reader listens.
void installerSaisieAccessible();
