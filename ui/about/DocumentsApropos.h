#pragma once

// What the About box's buttons open. The captions of three of them show the very address that
// they open, so captions and targets are made from the same constants.
inline constexpr char AdresseEMail[] = "etienne.exemple@example.org";
inline constexpr char SiteAuteur[] = "http://www.example.org/tarvane/";
inline constexpr char SiteVelk[] = "http://velk.example.com/";

// The association's documents, named without a directory: they are looked for in the current
// directory. The file names are written exactly as the files are shipped.
inline constexpr char DocumentVelk[] = "Le_velk_.txt";
inline constexpr char DocumentAdhesion[] = "Adhesion.txt";
inline constexpr char DocumentAide[] = "Le_Velk_.hlp";
inline constexpr char DocumentPage[] = "Le_Velk_.htm";
