#pragma once

class QWidget;

// Asks the window manager for what the toolkit's flags alone do not get everywhere: a window
// offered neither minimise nor maximise (nor resize), and shown or not in the task bar and
// pagers. Where the desktop has no such request (Wayland, Windows, where a tool window already
// has no task-bar button) nothing is done. Creates the native window if it does not exist yet.
void decorerFenetre(QWidget& fenetre, bool dansLaBarreDesTaches);

// Whether a window must draw its own title bar to show only the buttons it has: on Wayland,
// where the toolkit's title bar has minimise and maximise buttons whatever the window's flags,
// and the compositor's (KWin's) a minimise button. Such a window asks for no frame at all.
bool barreDeTitreParLaFenetre();

// Whether the window system tells a window that it was minimised: not Wayland's.
bool reductionSignalee();
