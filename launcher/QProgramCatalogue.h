// The programs the launcher lists: the built-in programs in their fixed order, whatever the card
// holds, then one extra program for each catalogue section that is neither reserved nor a
// built-in program's, in the order of the catalogue file.
#pragma once

#include <vector>

#include "launcher/QIniFile.h"
#include "platform/kernel/CString.h"
#include "platform/kernel/WinTypes.h"

class QProgramCatalogue {
public:
    struct Program {
        CString name;
        CString program; // the executable's device path
        CString bin;     // the co-processor image's device path; empty for none
        CString para;    // the command line's parameters
        UINT bitmap;     // the list icon's bitmap resource
    };

    // The section of the catalogue that holds the system's settings, never a program.
    static constexpr const wchar_t* kReservedSection = L"System";

    // The list's programs from a loaded catalogue. Only the first built-in program takes
    // parameters, its section's "Para".
    static std::vector<Program> Programs(const QIniFile& ini);
    // Whether a section's name is that of a built-in program, whose section never becomes an
    // extra program.
    static bool IsBuiltInSection(const CString& name);
};
