// norvane-catalogue: says what the launcher will list from a catalogue file, and why each
// other line of it leads to nothing, by the launcher's own reading of the file.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>

#include <CLI/CLI.hpp>

#include "launcher/QIniFile.h"
#include "sim/catalogue/CatalogueCheck.h"
#include "sim/catalogue/CatalogueReport.h"

namespace {

namespace fs = std::filesystem;

int Fail(const std::string& text) {
    std::cerr << "norvane-catalogue: " << text << "\n";
    return 1;
}

// The file's bytes, or nothing with the reason in error. The launcher refuses what it cannot
// open and files over its size limit; a folder, a device or a pipe is no catalogue either.
std::optional<std::string> ReadCatalogue(const fs::path& file, std::string& error) {
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (ec || !fs::exists(status)) {
        error = file.string() + ": no such file";
        return std::nullopt;
    }
    if (fs::is_directory(status)) {
        error = file.string() + ": is a folder";
        return std::nullopt;
    }
    if (!fs::is_regular_file(status)) {
        error = file.string() + ": not a regular file";
        return std::nullopt;
    }
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec) {
        error = file.string() + ": " + ec.message();
        return std::nullopt;
    }
    if (size > QIniFile::kMaxFileSize) {
        error = file.string() + ": " + std::to_string(size) + " bytes, over the " +
                std::to_string(QIniFile::kMaxFileSize) + " bytes the launcher reads";
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        error = file.string() + ": cannot be read";
        return std::nullopt;
    }
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"norvane-catalogue: the program list the launcher builds from a catalogue file "
                 "(NorvaneApp.ini), and each line of the file that leads to nothing, with the "
                 "reason. Exit status 0 when the file is read, 1 when it cannot be."};
    std::string file;
    std::string cardDir;
    bool json = false;
    app.add_option("FILE", file, "the catalogue file")->required();
    app.add_option("--card", cardDir,
                   "a card folder (as norvane-sim --card takes): says whether each program's "
                   "executable and image exist on it");
    app.add_flag("--json", json,
                 "JSON for scripts: {\"rows\": [{\"row\", \"name\", \"program\", \"image\", "
                 "\"parameters\", \"exists\"}], \"dropped\": [{\"line\", \"text\", \"reason\"}]}");
    CLI11_PARSE(app, argc, argv);

    std::error_code ec;
    if (!cardDir.empty() && !fs::is_directory(cardDir, ec))
        return Fail(cardDir + ": not a folder");
    std::string error;
    const std::optional<std::string> bytes = ReadCatalogue(file, error);
    if (!bytes)
        return Fail(error);

    CatalogueCheck check(*bytes);
    if (!cardDir.empty())
        check.CheckFiles(cardDir);
    if (json)
        std::cout << CatalogueReport::Json(check).dump(2) << "\n";
    else
        std::cout << CatalogueReport::Text(check);
    return 0;
}
