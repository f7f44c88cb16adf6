#pragma once
#include "runtime/TPointLink.h"

// The program's own folder, with its trailing separator.
class TQorDir : public TElement {
public:
    void Dir(TData &Data, uint16_t Index);
};
