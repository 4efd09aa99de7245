#include "launcher/QProgramCatalogue.h"

#include <iterator>

#include "res/resource.h"

namespace {

struct BuiltInProgram {
    const wchar_t* name;
    const wchar_t* program;
    const wchar_t* bin;
    UINT bitmap;
};

// The programs every list shows, in list order.
constexpr BuiltInProgram kBuiltIns[] = {
    {L"Zentra", L"\\Storage Card\\Norvane\\Zentra\\Zentra.exe",
     L"\\Storage Card\\Norvane\\Zentra\\Zentra.bin", IDB_ZENTRA},
    {L"Quilbar", L"\\Storage Card\\Norvane\\Quilbar\\QbRun.exe",
     L"\\Storage Card\\Norvane\\Quilbar\\QbRun.bin", IDB_QUILBAR},
    {L"Ovik", L"\\Storage Card\\Norvane\\Ovik\\Ovik.exe",
     L"\\Storage Card\\Norvane\\Ovik\\Ovik.bin", IDB_OVIK},
    {L"Marl Sweep", L"\\Storage Card\\Norvane\\MarlSweep\\MarlSweep.exe",
     L"\\Storage Card\\Norvane\\MarlSweep\\MarlSweep.bin", IDB_MARL_SWEEP},
    {L"Pell Gather", L"\\Storage Card\\Norvane\\PellGather\\PellGather.exe",
     L"\\Storage Card\\Norvane\\PellGather\\PellGather.bin", IDB_PELL_GATHER},
    {L"Tersen", L"\\Storage Card\\Norvane\\Tersen\\Tersen.exe",
     L"\\Storage Card\\Norvane\\Tersen\\Tersen.bin", IDB_TERSEN},
    {L"Roundel Probe", L"\\Storage Card\\Norvane\\RoundelProbe\\RoundelProbe.exe",
     L"\\Storage Card\\Norvane\\RoundelProbe\\RoundelProbe.bin", IDB_ROUNDEL_PROBE},
    {L"Kest", L"\\Storage Card\\Norvane\\Kest\\Kest.exe",
     L"\\Storage Card\\Norvane\\Kest\\Kest.bin", IDB_KEST},
    {L"Pell Tape", L"\\Storage Card\\Norvane\\PellTape\\PellTape.exe",
     L"\\Storage Card\\Norvane\\PellTape\\PellTape.bin", IDB_PELL_TAPE},
    {L"Varnet", L"\\Storage Card\\Norvane\\Varnet\\Varnet.exe",
     L"\\Storage Card\\Norvane\\Varnet\\Varnet.bin", IDB_VARNET},
};

// Catalogue sections that never become extra programs. The third built-in row goes by its long
// name here, so sections "Ovik" and "Varnet" are listed as extra programs.
constexpr const wchar_t* kBuiltInSectionNames[] = {
    L"Zentra", L"Quilbar",       L"Ovikon", L"Marl Sweep", L"Pell Gather",
    L"Tersen", L"Roundel Probe", L"Kest",   L"Pell Tape",
};

} // namespace

std::vector<QProgramCatalogue::Program> QProgramCatalogue::Programs(const QIniFile& ini) {
    std::vector<Program> programs;
    const CString zentraPara = ini.GetValue(L"Zentra", L"Para");
    for (std::size_t row = 0; row < std::size(kBuiltIns); ++row) {
        const BuiltInProgram& p = kBuiltIns[row];
        programs.push_back({p.name, p.program, p.bin, row == 0 ? zentraPara : CString(), p.bitmap});
    }
    for (QIniFile::POSITION pos = ini.GetStartPosition(); pos;) {
        const CString name = ini.GetNextSection(pos);
        if (name == kReservedSection || IsBuiltInSection(name))
            continue;
        programs.push_back({name, ini.GetValue(name, L"Program"), ini.GetValue(name, L"Bin"),
                            ini.GetValue(name, L"Para"), IDB_EXTRA_PROGRAM});
    }
    return programs;
}

bool QProgramCatalogue::IsBuiltInSection(const CString& name) {
    for (const wchar_t* builtIn : kBuiltInSectionNames)
        if (name == builtIn)
            return true;
    return false;
}
