#pragma once

class QCoreApplication;

// The toolkit's own texts (a text field's context menu, the standard buttons) in French, as
// the rest of the interface, whatever language the user's session is in. Numbers and dates keep
// following the user's regional settings: only texts are translated, QLocale is left alone.
// Where the translations are not installed, the toolkit's English texts stay and the program
// runs on. Returns whether they were loaded.
bool InstallerTraductionsFrancaises(QCoreApplication& application);
