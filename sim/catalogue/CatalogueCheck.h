// What the launcher makes of one catalogue file: the programs it lists and each line of the file
// that leads to nothing, with the reason. It reads the file through the launcher's own parser and
// program table, so that its answer is the launcher's.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class CatalogueCheck {
public:
    enum class Reason {
        Comment,
        BeforeFirstSection, // a key line before any section header
        AfterEmptySection,  // a key line after "[]"
        EmptySection,       // the header "[]" itself
        SystemSection,      // a line of the reserved section
        BuiltInName,        // a line of a built-in program's section that is never read
        NoKeyLines,         // a header with no key line under it: no section is made
        KeyNotRead,         // a key the launcher never asks for
        Replaced,           // a value that a later line of the same key replaced
        AfterZeroByte,      // text past the zero byte that ends the text
        NotInCodePage,      // bytes that the device's code page has no character for
    };

    struct Row {
        int row; // from 1, in list order
        std::string name;
        std::string program;
        std::string image;
        std::string parameters;
        // Whether the program's and the image's file exist on the card; unset when no card was
        // given, and for the image also when the row names none.
        std::optional<bool> programExists;
        std::optional<bool> imageExists;
    };

    struct Dropped {
        std::size_t line; // from 1
        std::string text; // UTF-8, trimmed as the parser trims it
        Reason reason;
        std::size_t replacedBy = 0; // for Replaced: the line whose value counts
    };

    // Reads the catalogue file's bytes as the launcher reads them.
    explicit CatalogueCheck(const std::string& bytes);

    // Looks up each row's files on a card folder.
    void CheckFiles(const std::filesystem::path& cardDir);

    const std::vector<Row>& Rows() const { return m_rows; }
    // In the order of the file's lines.
    const std::vector<Dropped>& DroppedLines() const { return m_dropped; }

    // A short name for scripts ("key-not-read") and a phrase for people.
    static const char* Code(Reason reason);
    static std::string Explanation(const Dropped& dropped);

private:
    std::vector<Row> m_rows;
    std::vector<Dropped> m_dropped;
};
