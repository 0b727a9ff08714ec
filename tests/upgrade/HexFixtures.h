// Intel HEX test files made in the tests, with correct checksums.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// One record line without its line end: ':' and the hex digits of count, address, type, data
// and checksum.
inline std::string HexLine(unsigned address, int type, const std::vector<int>& data,
                           bool lowerCase = false) {
    std::vector<int> bytes = {int(data.size()), int(address >> 8) & 0xFF, int(address) & 0xFF,
                              type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    int sum = 0;
    for (int b : bytes)
        sum += b;
    bytes.push_back((256 - (sum & 0xFF)) & 0xFF);
    std::string line = ":";
    char pair[3];
    for (int b : bytes) {
        std::snprintf(pair, sizeof pair, lowerCase ? "%02x" : "%02X", b & 0xFF);
        line += pair;
    }
    return line;
}

inline std::vector<int> DataBytes(int count, int seed) {
    std::vector<int> data;
    for (int k = 0; k < count; ++k)
        data.push_back((seed * 31 + k * 7 + 0x3A) & 0xFF);
    return data;
}

// `records` data records of 16 bytes and the end-of-file record, lines ended by `eol`.
inline std::string FirmwareFile(int records, const std::string& eol = "\r\n",
                                bool lowerCase = false) {
    std::string file;
    for (int r = 0; r < records; ++r)
        file += HexLine(unsigned(r * 16), 0, DataBytes(16, r), lowerCase) + eol;
    file += HexLine(0, 1, {}, lowerCase) + eol;
    return file;
}

// The binary records of a file made by FirmwareFile.
inline std::vector<std::string> BinaryRecords(int records) {
    std::vector<std::string> out;
    auto binary = [](const std::string& line) {
        std::string bytes;
        for (std::size_t i = 1; i + 1 < line.size(); i += 2)
            bytes += char(std::stoi(line.substr(i, 2), nullptr, 16));
        return bytes;
    };
    for (int r = 0; r < records; ++r)
        out.push_back(binary(HexLine(unsigned(r * 16), 0, DataBytes(16, r))));
    out.push_back(binary(HexLine(0, 1, {})));
    return out;
}
