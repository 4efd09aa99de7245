#include "sim/catalogue/CatalogueReport.h"

#include <cstdio>

namespace {

nlohmann::ordered_json Optional(const std::optional<bool>& value) {
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

// Control characters (a zero byte, a stray carriage return) written as \xNN, so that every
// dropped line stays on one line of the answer.
std::string Printable(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X",
                          unsigned(static_cast<unsigned char>(c)));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

std::string FileState(const std::optional<bool>& exists) {
    if (!exists)
        return "";
    return *exists ? "  (found)" : "  (missing)";
}

} // namespace

nlohmann::ordered_json CatalogueReport::Json(const CatalogueCheck& check) {
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (const CatalogueCheck::Row& r : check.Rows()) {
        nlohmann::ordered_json exists = nullptr;
        if (r.programExists)
            exists = {{"program", *r.programExists}, {"image", Optional(r.imageExists)}};
        rows.push_back({{"row", r.row},
                        {"name", r.name},
                        {"program", r.program},
                        {"image", r.image},
                        {"parameters", r.parameters},
                        {"exists", exists}});
    }
    nlohmann::ordered_json dropped = nlohmann::ordered_json::array();
    for (const CatalogueCheck::Dropped& d : check.DroppedLines()) {
        nlohmann::ordered_json entry = {
            {"line", d.line}, {"text", d.text}, {"reason", CatalogueCheck::Code(d.reason)}};
        if (d.reason == CatalogueCheck::Reason::Replaced)
            entry["replaced_by"] = d.replacedBy;
        dropped.push_back(entry);
    }
    return {{"rows", rows}, {"dropped", dropped}};
}

std::string CatalogueReport::Text(const CatalogueCheck& check) {
    std::string out = "Programs listed: " + std::to_string(check.Rows().size()) + "\n";
    for (const CatalogueCheck::Row& r : check.Rows()) {
        char number[16];
        std::snprintf(number, sizeof number, "%3d  ", r.row);
        out += number + Printable(r.name) + "\n";
        out += "       program     " + Printable(r.program) + FileState(r.programExists) + "\n";
        out += "       image       " + (r.image.empty() ? "(none)" : Printable(r.image)) +
               FileState(r.imageExists) + "\n";
        out += "       parameters  " + (r.parameters.empty() ? "(none)" : Printable(r.parameters)) +
               "\n";
    }
    out += "\nLines that lead to nothing: " + std::to_string(check.DroppedLines().size()) + "\n";
    for (const CatalogueCheck::Dropped& d : check.DroppedLines())
        out += "  line " + std::to_string(d.line) + ": " + CatalogueCheck::Explanation(d) + ": " +
               Printable(d.text) + "\n";
    return out;
}
