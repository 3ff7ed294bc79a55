#pragma once

#include <string>

// The version block that the executable carries: numbers and descriptive texts (UTF-8).
struct BlocVersion {
    int majeure = 0;
    int mineure = 0;
    int revision = 0;
    int construction = 0;
    std::string FileVersion;
    std::string ProductVersion;
    std::string ProductName;
    std::string InternalName;
    std::string OriginalFilename;
    std::string Comments;
    std::string FileDescription;
    std::string LegalCopyright;
    std::string CompanyName;
    std::string LegalTrademarks;
};
