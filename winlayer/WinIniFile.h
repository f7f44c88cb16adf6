#pragma once
#include <cstdint>
#include <string>

#include "WinObject.h"

namespace winlayer {

enum class TIniFileMode { ifmRead, ifmWrite };

// Integer values of one section of an initialisation file, read or written
// through the platform's profile calls. Windows only.
class TWinIniFile : public TWinObject {
public:
    explicit TWinIniFile(const std::string &fileName);

    const std::string &FileName() const { return FFileName; }
    const std::string &Section() const { return FSection; }
    void SetSection(const std::string &section) { FSection = section; }
    TIniFileMode Mode() const { return FMode; }
    void SetMode(TIniFileMode mode) { FMode = mode; }

    // Read mode: the key's integer, or value when the key is missing.
    // Write mode: stores value as decimal text and returns it.
    int32_t ValueInteger(const std::string &key, int32_t value);

protected:
    ~TWinIniFile() override = default;

private:
    std::string FFileName;
    std::string FSection;
    TIniFileMode FMode = TIniFileMode::ifmRead;
};

} // namespace winlayer
