#pragma once
#include <cstdint>
#include <vector>

#include "TPointLink.h"

// One event in, OutCount out, in index order; each output gets its own copy.
class TQorHub : public TElement {
public:
    uint8_t OutCount = 0;
    uint8_t InCount = 0;
    std::vector<TPointLink> onEvent;

    void SetOutCount(uint8_t Count);

    void doEvent(TData &Data, uint16_t Index);
};
