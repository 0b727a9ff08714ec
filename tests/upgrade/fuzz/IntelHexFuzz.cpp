// libFuzzer entry over the Intel HEX checker and converter.
#include <cstdlib>

#include "upgrade/IntelHex.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    for (bool px70 : {false, true}) {
        std::vector<HexFrame> frames;
        if (!ConvertHexFile(text, size, px70, &frames)) {
            if (!frames.empty())
                std::abort();
            continue;
        }
        bool last = false;
        for (const HexFrame& f : frames)
            last = last || IsLastHexFrame(f, px70);
        if (!last)
            std::abort();
        for (const HexFrame& f : frames) {
            if (f.length < 2 || f.length > kHexFrameBytes || f.bytes[0] != ':')
                std::abort();
            if (HexFrameDump(f, text, size).size() > 1 + 5 * std::size_t(f.length))
                std::abort();
        }
    }
    return 0;
}
