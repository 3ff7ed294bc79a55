#pragma once

// The texts that the About box carries as designed, in UTF-8, every line ending in CR LF.

// The version history shown on the "Historique" page.
extern const char TexteAfficheur[];

// The support notice and the maker's contact details shown on the "Assistance technique" page.
extern const char TexteText1[];
