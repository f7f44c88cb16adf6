#include "TQorFor.h"

// The counter runs in 64 bits so that a bound near the ends of the integer
// range ends the loop instead of wrapping into an endless one; the value
// handed on wraps to 32 bits like every integer of the program.
void TQorFor::doFor(TData &Data, uint16_t)
{
    if (InData == 0)
        Data.dtNull();

    Counter = ReadInteger(Data, Start, FStart);
    int64_t last = ReadInteger(Data, End, FEnd);
    int64_t counter = Counter;

    if (Step > 0) {
        if (IncludeEnd == 0)
            last = last - 1;
        while (counter <= last) {
            CallEventInt(onEvent, Counter);
            counter += Step;
            Counter = static_cast<int32_t>(counter);
        }
    } else if (Step < 0) {
        if (IncludeEnd == 0)
            last = last + 1;
        while (counter >= last) {
            CallEventInt(onEvent, Counter);
            counter += Step;
            Counter = static_cast<int32_t>(counter);
        }
    }

    ForwardInt(Data, onStop, Counter);
}
