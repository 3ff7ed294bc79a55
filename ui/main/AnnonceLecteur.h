#pragma once

class QString;
class QWidget;

// Tells a screen reader TEXTE, news about SOURCE, while the keyboard focus stays where it is; the
// reader speaks it after what it says of the focus. Nothing is made or sent while no reader
// listens, and nothing changes on screen.
//
// From Qt 6.8 this is the toolkit's own announcement, which Orca 48 speaks. Before it, no event
// of Qt's says "speak this": the text is shown to the reader as a notification, an object of the
// window that appears with the text as its name, which Orca 43 speaks as it comes ("notification
// 15,24 euros") and keeps among the notifications it lists.
void annoncerAuLecteur(QWidget& source, const QString& texte);
