// Turns a picture of the device's screen (host pixels 0x00RRGGBB, row by row) into PNG bytes
// with libpng, for screenshots taken through the control socket.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PngEncoder {
public:
    // pixels holds height rows of width pixels each. Empty result and error text on failure.
    static std::vector<std::uint8_t> Encode(const std::vector<std::uint32_t>& pixels, int width,
                                            int height, std::string& error);
};
