#pragma once
// The platform's virtual-key numbers that the editor binds or checks.
#include <cstdint>

namespace vk {
constexpr std::uint16_t Back = 0x08;
constexpr std::uint16_t Tab = 0x09;
constexpr std::uint16_t Return = 0x0D;
constexpr std::uint16_t Shift = 0x10;
constexpr std::uint16_t Control = 0x11;
constexpr std::uint16_t Menu = 0x12;  // Alt
constexpr std::uint16_t Escape = 0x1B;
constexpr std::uint16_t Prior = 0x21;  // Page Up
constexpr std::uint16_t Next = 0x22;   // Page Down
constexpr std::uint16_t End = 0x23;
constexpr std::uint16_t Home = 0x24;
constexpr std::uint16_t Left = 0x25;
constexpr std::uint16_t Up = 0x26;
constexpr std::uint16_t Right = 0x27;
constexpr std::uint16_t Down = 0x28;
constexpr std::uint16_t Insert = 0x2D;
constexpr std::uint16_t Delete = 0x2E;
constexpr std::uint16_t F1 = 0x70;
}  // namespace vk
