#include "TQorReplace.h"

void TQorReplace::doReplace(TData &Data, uint16_t)
{
    Text = ReadString(Data, Str, std::string());
    const std::string sub = ReadString(Data, SubStr, FSubStr);
    const std::string dest = ReadString(Data, Dest, FDest);

    if (!Text.empty() && !sub.empty()) {
        // The result is built beside the source rather than edited in place, so
        // a long file costs one pass. The search goes on in the source right
        // after what it replaced, so it never looks inside inserted text.
        const std::string source = Text;
        std::string result;
        size_t copied = 0;
        size_t p = source.find(sub);
        while (p != std::string::npos) {
            Position = static_cast<int32_t>(result.size() + (p - copied) + 1);
            if (ReadIntegerLink(Skip) == 0) {
                result.append(source, copied, p - copied);
                result += dest;
                copied = p + sub.size();
                p = source.find(sub, copied);
            } else {
                p = source.find(sub, p + 1);
            }
        }
        result.append(source, copied, std::string::npos);
        Text = result;
    }

    ForwardStr(Data, onReplace, Text);
}
