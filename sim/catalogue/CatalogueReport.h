// The catalogue checker's answer as text for people or as JSON for scripts.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "sim/catalogue/CatalogueCheck.h"

class CatalogueReport {
public:
    // {"rows": [{"row", "name", "program", "image", "parameters", "exists"}],
    //  "dropped": [{"line", "text", "reason"}]}; "exists" is null without a card folder, else
    // {"program": bool, "image": bool or null when the row names no image}. A replaced value's
    // entry also has "replaced_by".
    static nlohmann::ordered_json Json(const CatalogueCheck& check);
    // The list, one block a row, then one line for each line that leads to nothing.
    static std::string Text(const CatalogueCheck& check);
};
