// The picture format table: which graphic class reads which file extension.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/TGraphic.h"

namespace automenu {

class TFileFormatsList {
public:
    struct Row {
        std::string extension;  // lower case, no dot
        std::function<std::unique_ptr<TGraphic>()> create;
    };

    // The one table of the program, created on first use with its rows.
    static const TFileFormatsList& Instance();

    // The row for an extension (compared lower-cased, last-registered row
    // first), or null.
    const Row* Find(const std::string& extension) const;
    // Every extension, in the order of the table.
    std::vector<std::string> Extensions() const;

private:
    TFileFormatsList();
    void Add(std::string extension, std::function<std::unique_ptr<TGraphic>()> create);

    std::vector<Row> m_rows;
};

// The extension of a file name: after the last "." that stands after the
// last "\", ":" and "/"; empty when there is none. Case kept.
std::string PictureFileExtension(const std::string& file_name);

}  // namespace automenu
