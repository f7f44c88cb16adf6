#pragma once
#include <string>

#include "runtime/TPointLink.h"

// The folder for the program's data file FileName: the folder on the Folder
// input (the program's own) when the file can be created and replaced there,
// otherwise the folder SubFolder of the user's local application data, made
// when missing. A program in Program Files may not write beside itself.
// Decided at the first read (the first download at start) and kept for the
// run, so that every download and every parse use the same file.
class TQorDataDir : public TElement {
public:
    std::string FileName;
    std::string SubFolder;

    TPointLink Folder;

    void Dir(TData &Data, uint16_t Index);

private:
    bool Decided = false;
    std::string Chosen;
};
