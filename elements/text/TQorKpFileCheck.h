#pragma once
#include <string>

#include "runtime/TPointLink.h"

// Whether the file named on FileName can be DGD.txt (IsDgdFile of
// DgdFileCheck.h, the check every download passes): onGood or onBad, each with
// the file's name. A missing file is a bad one. Only the first bytes past the
// size bound are read, so that a huge file is turned down without being loaded.
class TQorKpFileCheck : public TElement {
public:
    std::string FFileName; // the property; FileName names the input

    TPointLink FileName;
    TPointLink onGood;
    TPointLink onBad;

    void doCheck(TData &Data, uint16_t Index);
};
