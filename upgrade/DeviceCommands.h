// The bytes of the firmware programming protocol: what the page sends to each device type
// and what the devices answer. These values are the program's own; check them against a
// device's documentation before a real logger is programmed. No other code spells a command
// byte.
#pragma once

#include <cstdint>

enum class DeviceType { Quenta, Px70, Px80, Ferrant, Vx5400, Vx6400, Lindqvar, LindqvarPlus };

constexpr bool IsSdi12Device(DeviceType type) {
    return type == DeviceType::Vx5400 || type == DeviceType::Vx6400 ||
           type == DeviceType::Lindqvar || type == DeviceType::LindqvarPlus;
}

// Replies.
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;            // before the records: already in program mode
constexpr std::uint8_t kEraseStarted = 0xC5;   // answer to the program-mode entry sequence
constexpr std::uint8_t kCopyStarted = 0xC3;    // PX70: erase done, copying to data flash
constexpr std::uint8_t kExecuteStarted = 0xD8; // the records may follow

// Text commands of the logger types.
constexpr char kVersionRequest[] = "VER\r";
constexpr char kFerrantVersionRequest[] = "v\r";
constexpr char kPasswordPrefix[] = "PASSWD=";
constexpr char kPasswordAccepted[] = "Password Accepted";
constexpr char kPasswordIncorrect[] = "Incorrect Password";

// Program-mode entry: 10 bytes; byte 1 depends on Ferrant, byte 5 on the logger type.
constexpr int kProgramModeEntryLength = 10;
constexpr std::uint8_t kProgramModeEntry[kProgramModeEntryLength] = {0x1B, 0x55, 0xAA, 0x55, 0xAA,
                                                                     0x51, 0x55, 0xAA, 0x55, 0xAA};
constexpr std::uint8_t kProgramModeEntryFerrant1 = 0x66;
constexpr std::uint8_t kProgramModeType(DeviceType type) {
    return type == DeviceType::Px70 ? 0x50 : type == DeviceType::Ferrant ? 0x46 : 0x51;
}

// SDI-12 address query: "?!" CR LF (VX5400, VX6400) or "?!" CR (Lindqvar, Lindqvar Plus).
constexpr char kSdi12AddressQuery[] = "?!\r\n";
constexpr int kSdi12AddressQueryLength(DeviceType type) {
    return type == DeviceType::Vx5400 || type == DeviceType::Vx6400 ? 4 : 3;
}

// SDI-12 programming command ("Xprog") to sensor address 0.
constexpr const char* kSdi12ProgramCommand(DeviceType type) {
    switch (type) {
    case DeviceType::Vx6400:
        return "\r0XPROG!";
    case DeviceType::Lindqvar:
        return "0XPROGLQ!\r";
    case DeviceType::LindqvarPlus:
        return "0XPROGLP!\r";
    default:
        return "0XPROG!\r";
    }
}
