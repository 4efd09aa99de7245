// norvane-rc: compiles the launcher's resource script into a C++ source linked into the
// program. Usage: norvane-rc SCRIPT -o OUTPUT --symbol NAME [--depfile FILE]
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "tools/rc/CppWriter.h"
#include "tools/rc/RcError.h"
#include "tools/rc/ScriptParser.h"

namespace {

// Writes next to the target and renames, so a failed run never leaves half a file behind.
bool WriteFile(const std::filesystem::path& path, const std::string& text) {
    const std::filesystem::path temporary = path.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) {
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    return !error;
}

// Make-style dependency line: the generated source depends on every file the script read.
std::string DepfileText(const std::string& output, const std::vector<std::string>& files) {
    auto escape = [](const std::string& path) {
        std::string out;
        for (char c : path) {
            if (c == ' ' || c == '#' || c == '\\') {
                out += '\\';
            }
            out += c;
        }
        return out;
    };
    std::string text = escape(output) + ":";
    for (const std::string& file : files) {
        text += " \\\n  " + escape(std::filesystem::absolute(file).lexically_normal().string());
    }
    return text + "\n";
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"Compiles a resource script into a C++ source."};
    std::string script;
    std::string output;
    std::string symbol;
    std::string depfile;
    app.add_option("script", script, "the .rc file")->required();
    app.add_option("-o,--output", output, "the C++ source to write")->required();
    app.add_option("--symbol", symbol, "name of the ResourceModuleData object")->required();
    app.add_option("--depfile", depfile, "also write the files read, as a make rule");
    CLI11_PARSE(app, argc, argv);

    try {
        const ResourceScript compiled = ScriptParser::Compile(script);
        const std::string name = std::filesystem::path(script).filename().string();
        if (!WriteFile(output, CppWriter::Write(compiled, symbol, name))) {
            std::cerr << output << ": error: cannot write the output\n";
            return 1;
        }
        if (!depfile.empty() && !WriteFile(depfile, DepfileText(output, compiled.dependencies))) {
            std::cerr << depfile << ": error: cannot write the dependency file\n";
            return 1;
        }
    } catch (const RcError& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
